#include <gtest/gtest.h>

#include <map>
#include <set>

#include "store_fixture.h"

namespace {

// One visited entry: its key, and "#" for a category row or the value of item "N".
using Row = std::pair<std::string, std::string>;

class ViewTest : public BackendTest {
 protected:
  void SetUp() override {
    BackendTest::SetUp();
    if (IsSkipped()) return;
    db_ = NewDatabase();
  }

  void Add(const std::string& form, const std::string& key, const std::string& n) {
    AddDocument(db_, form, {{"Key", key}, {"N", n}});
  }

  // Every entry a walk visits, from the current one on.
  std::vector<Row> Walk(LNViewFolder& view, LNVFEntry entry) {
    std::vector<Row> rows;
    do {
      rows.emplace_back(entry.GetKey(), entry.IsCategory() ? "#" : N(DocOf(entry)));
    } while (view.Goto(LNVFNAVIGATE_NEXT, &entry) == LNNOERROR);
    return rows;
  }

  // Every entry of a walk of the whole view.
  std::vector<Row> WalkAll(LNViewFolder& view) {
    LNVFEntry entry;
    EXPECT_EQ(view.GetEntry(&entry), LNNOERROR);
    return Walk(view, entry);
  }

  // The document of an entry, opened.
  static LNDocument DocOf(const LNVFEntry& entry) {
    LNDocument doc;
    EXPECT_EQ(entry.GetDocument(&doc), LNNOERROR);
    EXPECT_EQ(doc.Open(), LNNOERROR);
    return doc;
  }

  LNDocument AddNumber(const std::string& form, const std::string& keyItem, double key,
                       const std::string& n) {
    LNDocument doc;
    EXPECT_EQ(db_.CreateDocument(&doc, form), LNNOERROR);
    EXPECT_EQ(doc.CreateItem(keyItem, LNNumbers(key)), LNNOERROR);
    EXPECT_EQ(doc.CreateItem("N", LNText(n)), LNNOERROR);
    EXPECT_EQ(doc.Save(), LNNOERROR);
    return doc;
  }

  // Items of every type and flag, not in the order of their names.
  LNDocument AddMixed(const std::string& form) {
    LNDocument mixed;
    EXPECT_EQ(db_.CreateDocument(&mixed, form), LNNOERROR);
    EXPECT_EQ(mixed.CreateItem("Zeta", LNText{"z1", "", "z3"}, LNITEMFLAGS_READERS), LNNOERROR);
    EXPECT_EQ(mixed.CreateItem("key", LNText("m")), LNNOERROR);
    EXPECT_EQ(mixed.CreateItem("Amount", LNNumbers{1.5, -2}), LNNOERROR);
    EXPECT_EQ(mixed.CreateItem("When", LNDatetime("01.02.2026")), LNNOERROR);
    EXPECT_EQ(mixed.CreateItem("Empty", LNText()), LNNOERROR);
    EXPECT_EQ(mixed.Save(), LNNOERROR);
    return mixed;
  }

  // Every item of each document a walk of the whole view hands out.
  static std::map<LNNOTEID, std::vector<LNItem>> ItemsByNote(LNViewFolder& view) {
    std::map<LNNOTEID, std::vector<LNItem>> items;
    LNVFEntry entry;
    if (view.GetEntry(&entry) != LNNOERROR) return items;
    do {
      if (entry.IsCategory()) continue;
      const LNDocument doc = DocOf(entry);
      items[doc.GetNoteID()] = doc.GetItems();
    } while (view.Goto(LNVFNAVIGATE_NEXT, &entry) == LNNOERROR);
    return items;
  }

  static std::string N(const LNDocument& doc) { return TextOf(doc, "N"); }

  LNViewFolder OpenView(const LNViewDesign& design) {
    EXPECT_EQ(db_.CreateView(design), LNNOERROR);
    return ViewOf(db_, design.name);
  }

  LNDatabase db_;
};

TEST_P(ViewTest, SortsByKeyIgnoringCaseThenBytesThenNoteId) {
  Add("Task", "b", "1");
  Add("Task", "B", "2");
  Add("Other", "a", "skipped");
  Add("Task", "a", "3");
  Add("Task", "b", "4");
  Add("Task", "", "5");
  LNDocument noKey = AddDocument(db_, "Task", {{"N", "6"}});
  LNViewFolder view = OpenView({"(Tasks)", {"Task"}, "Key", false});
  EXPECT_FALSE(view.IsCategorized());
  EXPECT_EQ(view.GetEntryCount(), 6);
  EXPECT_EQ(
      WalkAll(view),
      (std::vector<Row>{{"", "5"}, {"", "6"}, {"a", "3"}, {"B", "2"}, {"b", "1"}, {"b", "4"}}));
  LNVFEntry entry;
  // Past the end the walk stays ended.
  EXPECT_EQ(view.Goto(LNVFNAVIGATE_NEXT, &entry), LNWARN_NOT_FOUND);
  EXPECT_EQ(view.GetEntry(&entry), LNERR_NO_CURRENT_ENTRY);
}

TEST_P(ViewTest, FindMatchesExactKeysAndCountsThem) {
  Add("Task", "wf-1", "1");
  Add("Task", "WF-1", "2");
  Add("Task", "wf-1", "3");
  Add("Task", "wf-2", "4");
  struct Case {
    bool categorized;
    std::string key;
    long count;
    std::vector<Row> fromMatch;
  };
  const std::vector<Case> cases = {
      {false, "wf-1", 2, {{"wf-1", "1"}, {"wf-1", "3"}, {"wf-2", "4"}}},
      {false, "WF-1", 1, {{"WF-1", "2"}, {"wf-1", "1"}, {"wf-1", "3"}, {"wf-2", "4"}}},
      {false, "wf-3", 0, {}},
      {false, "Wf-1", 0, {}},
      {true,
       "wf-1",
       3,
       {{"wf-1", "#"}, {"wf-1", "1"}, {"wf-1", "3"}, {"wf-2", "#"}, {"wf-2", "4"}}},
      {true, "wf-2", 2, {{"wf-2", "#"}, {"wf-2", "4"}}},
      {true, "", 0, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key + (c.categorized ? " categorized" : ""));
    LNViewFolder view =
        OpenView({c.categorized ? "ByKeyCat" : "ByKey", {"Task"}, "Key", c.categorized});
    long count = -1;
    LNVFEntry entry;
    LNSTATUS status = view.Find(c.key, &entry, &count);
    EXPECT_EQ(count, c.count);
    if (c.count == 0) {
      EXPECT_EQ(status, LNWARN_NOT_FOUND);
      continue;
    }
    ASSERT_EQ(status, LNNOERROR);
    EXPECT_EQ(entry.IsCategory(), c.categorized);
    EXPECT_EQ(view.GetEntryCount(), c.categorized ? 7 : 4);  // three category rows
    if (c.categorized) {                                     // a category row has no document
      EXPECT_EQ(entry.GetNoteID(), 0u);
      LNDocument doc;
      EXPECT_EQ(entry.GetDocument(&doc), LNERR_ENTRY_IS_CATEGORY);
    }
    EXPECT_EQ(Walk(view, entry), c.fromMatch);
  }
}

TEST_P(ViewTest, FormsAreSelectedIgnoringCaseAsItemNamesAre) {
  Add("person", "b", "1");
  Add("PERSON", "a", "2");
  Add("Person", "c", "3");
  Add("Persons", "d", "other form");
  Add("\xC3\x84rger", "e", "only ASCII letters fold");  // "Ärger"
  LNViewFolder view = OpenView({"(People)", {"Person", "PERSON", "\xC3\xA4rger"}, "Key", false});
  EXPECT_EQ(WalkAll(view), (std::vector<Row>{{"a", "2"}, {"b", "1"}, {"c", "3"}}));
}

TEST_P(ViewTest, NumbersSortByValueBeforeTexts) {
  for (double value : {10.0, 2.0, -1.5}) AddNumber("Task", "Key", value, "n");
  Add("Task", "1", "t");
  LNViewFolder view = OpenView({"Numbers", {"Task"}, "Key", false});
  EXPECT_EQ(WalkAll(view), (std::vector<Row>{{"-1.5", "n"}, {"2", "n"}, {"10", "n"}, {"1", "t"}}));
  long count = 0;
  EXPECT_EQ(view.Find("10", nullptr, &count), LNNOERROR);
  EXPECT_EQ(count, 1);
}

TEST_P(ViewTest, ViewIsASnapshotUntilOpenedAgain) {
  Add("Task", "a", "1");
  LNViewFolder view = OpenView({"Snap", {"Task"}, "Key", false});
  Add("Task", "b", "2");
  EXPECT_EQ(view.GetEntryCount(), 1);
  ASSERT_EQ(view.Open(), LNNOERROR);
  EXPECT_EQ(view.GetEntryCount(), 2);

  // A document deleted after the view was opened reports itself on open.
  LNVFEntry entry;
  ASSERT_EQ(view.GetEntry(&entry), LNNOERROR);
  LNDocument doc, stale;
  ASSERT_EQ(entry.GetDocument(&doc), LNNOERROR);
  ASSERT_EQ(entry.GetDocument(&stale), LNNOERROR);
  ASSERT_EQ(db_.DeleteDocument(&doc), LNNOERROR);
  EXPECT_EQ(stale.Open(), LNERR_DOCUMENT_DELETED);
}

// In a read snapshot a server reads the documents of a walk in batches, the next
// one while the last is taken apart: every document comes once and whole, a run
// found by key ends where it ends, and a write drops what was read ahead.
TEST_P(ViewTest, WalksInASnapshotReadEachDocumentAsStored) {
  std::vector<Row> all, second;
  for (int i = 0; i < 1600; ++i) {  // several batches
    const std::string key = "k" + std::to_string(i % 3);
    Add("Task", key, std::to_string(i));
    if (i % 3 == 1) second.emplace_back(key, std::to_string(i));
  }
  LNViewFolder view = OpenView({"Batch", {"Task"}, "Key", false});
  all = WalkAll(view);                  // outside a snapshot: one document at a time
  std::map<std::string, LNUNID> unids;  // by "N", read one document at a time
  for (LNDocument& doc : All(db_)) {
    ASSERT_EQ(doc.Open(), LNNOERROR);
    unids[N(doc)] = doc.GetUniversalID();
  }
  LNReadSnapshot snapshot(db_);
  ASSERT_EQ(view.Open(), LNNOERROR);
  EXPECT_EQ(WalkAll(view), all);
  LNVFEntry entry;
  long count = 0;
  ASSERT_EQ(view.Find("k1", &entry, &count), LNNOERROR);
  std::vector<Row> run;
  for (long i = 0; i < count; ++i, view.Goto(LNVFNAVIGATE_NEXT, &entry)) {
    LNDocument doc = DocOf(entry);
    run.emplace_back(entry.GetKey(), N(doc));
    EXPECT_TRUE(doc.GetUniversalID() == unids[N(doc)]);  // a batch may leave it unread
    if (i == 0) {                                        // a write in the middle of the walk
      ASSERT_EQ(doc.CreateItem("N", LNText("changed")), LNNOERROR);
      ASSERT_EQ(doc.Save(), LNNOERROR);
    }
  }
  ASSERT_EQ(view.Find("k1", &entry, &count), LNNOERROR);
  EXPECT_EQ(N(DocOf(entry)), "changed");
  EXPECT_EQ(run, second);
}

TEST_P(ViewTest, ReadingTheDocumentsWithTheKeysGivesTheSameWalk) {
  Add("Task", "b", "1");
  Add("TASK", "B", "2");
  Add("Other", "a", "3");
  Add("task", "", "4");
  AddDocument(db_, "Task", {{"N", "no key"}});
  const LNDocument number = AddNumber("Task", "kEY", 2.5, "number");
  LNDocument mixed = AddMixed("TASK");
  ASSERT_EQ(mixed.CreateItem("N", LNText("mixed")), LNNOERROR);
  ASSERT_EQ(mixed.Save(), LNNOERROR);
  LNDocument bare;  // without any item
  ASSERT_EQ(db_.CreateDocument(&bare), LNNOERROR);
  ASSERT_EQ(bare.Save(), LNNOERROR);
  const std::vector<LNViewDesign> designs = {{"Plain", {"Task"}, "Key", false},
                                             {"Categorized", {"task"}, "Key", true},
                                             {"Every form", {}, "Key", true}};
  for (const LNViewDesign& design : designs) {
    SCOPED_TRACE(design.name);
    LNViewFolder view = OpenView(design);
    const std::vector<Row> plain = WalkAll(view);
    ASSERT_EQ(view.Open(), LNNOERROR);
    const auto stored = ItemsByNote(view);
    LNReadSnapshot snapshot(db_);
    ASSERT_EQ(view.Open(LNVFOPEN_READ_DOCUMENTS), LNNOERROR);
    EXPECT_EQ(WalkAll(view), plain);
    ASSERT_EQ(view.Open(LNVFOPEN_READ_DOCUMENTS), LNNOERROR);
    EXPECT_EQ(ItemsByNote(view), stored);
    // Or handed over one at a time: the same documents, none held afterwards.
    std::multiset<std::string> each, documents;
    ASSERT_EQ(view.ReadEachDocument([&](LNDocument& doc) { each.insert(N(doc)); }), LNNOERROR);
    for (const auto& [key, n] : plain)
      if (n != "#") documents.insert(n);
    EXPECT_EQ(each, documents);
    // The universal id, not read with the items, is still the stored one.
    long count = 0;
    LNVFEntry entry;
    ASSERT_EQ(view.Find("2.5", &entry, &count), LNNOERROR);
    if (entry.IsCategory()) view.Goto(LNVFNAVIGATE_NEXT, &entry);
    EXPECT_EQ(DocOf(entry).GetUniversalID(), number.GetUniversalID());
  }
}

// A walk in a snapshot reads its documents in place from the stored bytes: each
// reader answers as for the document read alone, and a change keeps the rest.
TEST_P(ViewTest, DocumentsHeldForAWalkReadAndSaveAsTheyDoAlone) {
  const LNDocument mixed = AddMixed("Task");
  const auto answers = [](const LNDocument& doc) {
    std::string all = doc.GetFormName();
    for (const char* name : {"Zeta", "zETA", "KEY", "Amount", "When", "Empty", "Missing"}) {
      std::string first;
      std::vector<std::string> texts;
      LNNumbers numbers;
      LNDatetime when;
      LNText text;
      all += std::string("|") + name + (doc.HasItem(name) ? " has" : " lacks");
      all += " " + std::to_string(doc.GetFirstText(name, &first)) + ":" + first;
      all += " " + std::to_string(doc.GetTexts(name, &texts)) + ":" + std::to_string(texts.size());
      all += " " + std::to_string(doc.GetItem(name, &text)) + ":" + std::to_string(text.GetCount());
      all += " " + std::to_string(doc.GetItem(name, &numbers));
      for (std::size_t i = 0; i < numbers.GetCount(); ++i) all += "," + std::to_string(numbers[i]);
      all += " " + std::to_string(doc.GetItem(name, &when)) + ":" + when.GetText();
    }
    return all;
  };
  const auto reread = [&] { return Load(db_, mixed.GetNoteID()); };
  const LNDocument alone = reread();
  std::vector<LNItem> expected = alone.GetItems();
  LNViewFolder view = OpenView({"Held", {"Task"}, "Key", false});
  LNReadSnapshot snapshot(db_);
  ASSERT_EQ(view.Open(LNVFOPEN_READ_DOCUMENTS), LNNOERROR);
  LNDocument held = FirstDocumentOf(view);
  EXPECT_EQ(answers(held), answers(alone));
  ASSERT_EQ(held.Save(), LNNOERROR);
  EXPECT_EQ(reread().GetItems(), expected);
  ASSERT_EQ(held.CreateItem("key", LNText("changed"), LNITEMFLAGS_SUMMARY, LNITEMOPTION_REPLACE),
            LNNOERROR);
  ASSERT_EQ(held.Save(), LNNOERROR);
  expected[2].texts = {"changed"};  // after the form and "Zeta"
  EXPECT_EQ(reread().GetItems(), expected);
}

TEST_P(ViewTest, ViewsAreFoundByNameAndEmptyViewsHaveNoEntries) {
  OpenView({"(Modeler\\Header)", {"Header"}, "WorkflowID", false});
  OpenView({"Other", {}, "Key", true});
  EXPECT_EQ(db_.GetViewNames(), (std::vector<std::string>{"(Modeler\\Header)", "Other"}));
  LNViewFolder view;
  EXPECT_EQ(db_.GetViewFolder("(Modeler\\Missing)", &view), LNERR_VIEW_NOT_FOUND);
  ASSERT_EQ(db_.GetViewFolder("(modeler\\header)", &view), LNNOERROR);
  EXPECT_EQ(view.GetName(), "(Modeler\\Header)");
  EXPECT_EQ(view.GetEntryCount(), 0);
  LNVFEntry entry;
  EXPECT_EQ(view.GetEntry(&entry), LNERR_VIEW_NOT_OPEN);
  ASSERT_EQ(view.Open(), LNNOERROR);
  EXPECT_EQ(view.GetEntryCount(), 0);
  EXPECT_EQ(view.GetEntry(&entry), LNERR_NO_CURRENT_ENTRY);
  EXPECT_EQ(view.Goto(LNVFNAVIGATE_NEXT, &entry), LNWARN_NOT_FOUND);
  EXPECT_EQ(view.Goto(1, &entry), LNERR_INVALID_ARGUMENT);
}

VELK_BOTH_BACKENDS(ViewTest);

}  // namespace
