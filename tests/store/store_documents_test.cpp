#include <gtest/gtest.h>

#include "repository/store/lnsqlitecheck.h"
#include "store_fixture.h"

namespace {

using lnstore::CheckStoredValues;
using DocumentTest = BackendTest;

std::vector<std::string> NamesOf(const LNNote& note) {
  std::vector<std::string> names;
  for (const LNItem& item : note.GetItems()) names.push_back(item.name);
  return names;
}

TEST_P(DocumentTest, ItemsKeepTypeFlagsAndValuesAcrossReopen) {
  LNDatabase db = NewDatabase();
  LNDocument doc;
  ASSERT_EQ(db.CreateDocument(&doc, "Header"), LNNOERROR);
  EXPECT_TRUE(doc.IsNewNote());
  EXPECT_EQ(doc.GetNoteID(), 0u);
  ASSERT_EQ(doc.CreateItem("Readers", LNText{"CN=Ann Lee/O=Acme", "", "[Admin]"}, 0x445),
            LNNOERROR);
  ASSERT_EQ(doc.CreateItem("Sizes", LNNumbers{1.5, -2, 1e300}, 0), LNNOERROR);
  ASSERT_EQ(doc.CreateItem("Due", LNDatetime("2026-12-06T10:20:30")), LNNOERROR);
  ASSERT_EQ(doc.CreateItem("Empty", LNText()), LNNOERROR);
  ASSERT_EQ(doc.Save(), LNNOERROR);
  EXPECT_NE(doc.GetNoteID(), 0u);
  EXPECT_FALSE(doc.IsNewNote());
  ASSERT_EQ(db.Close(), LNNOERROR);

  LNDatabase again = Reopen();
  LNDocument loaded;
  ASSERT_EQ(again.GetDocument(doc.GetUniversalID(), &loaded), LNNOERROR);
  ASSERT_EQ(loaded.Open(), LNNOERROR);
  EXPECT_EQ(loaded.GetNoteID(), doc.GetNoteID());
  EXPECT_EQ(loaded.GetFormName(), "Header");
  EXPECT_EQ(loaded.GetItems(),
            (std::vector<LNItem>{
                {"Form", LNItemType::Text, 4, {"Header"}, {}},
                {"Readers", LNItemType::Text, 0x445, {"CN=Ann Lee/O=Acme", "", "[Admin]"}, {}},
                {"Sizes", LNItemType::Numbers, 0, {}, {1.5, -2, 1e300}},
                {"Due", LNItemType::Datetimes, 4, {"2026-12-06T10:20:30"}, {}},
                {"Empty", LNItemType::Text, 4, {}, {}}}));
  // Typed reads find an item whatever the case of its name, and replace what they held.
  LNItem readers;
  LNNumbers sizes{7};
  LNDatetime due;
  LNText empty{"x"};
  ASSERT_EQ(loaded.GetItem("readers", &readers), LNNOERROR);
  ASSERT_EQ(loaded.GetItem("SIZES", &sizes), LNNOERROR);
  ASSERT_EQ(loaded.GetItem("due", &due), LNNOERROR);
  ASSERT_EQ(loaded.GetItem("empty", &empty), LNNOERROR);
  EXPECT_EQ(readers, loaded.GetItems().at(1));
  EXPECT_EQ(sizes, (LNNumbers{1.5, -2, 1e300}));
  EXPECT_EQ(due.GetText(), "2026-12-06T10:20:30");
  EXPECT_EQ(empty.GetCount(), 0u);
}

TEST_P(DocumentTest, OneItemPerNameWhateverTheCaseAndOption) {
  struct Case {
    LNITEMOPTION option;
    std::vector<std::string> order;
  };
  const Case cases[] = {{LNITEMOPTION_REPLACE, {"A", "status", "C"}},
                        {LNITEMOPTION_DELETE_APPEND, {"A", "C", "status"}}};
  LNDatabase db = NewDatabase();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.option);
    LNDocument doc = AddDocument(db, "", {{"A", "1"}, {"Status", "Draft"}, {"C", "3"}});
    ASSERT_EQ(doc.CreateItem("status", LNText("Active"), LNITEMFLAGS_SUMMARY, c.option), LNNOERROR);
    ASSERT_EQ(doc.Save(), LNNOERROR);
    LNDocument loaded = Load(db, doc.GetNoteID());
    EXPECT_EQ(NamesOf(loaded), c.order);
    EXPECT_EQ(TextOf(loaded, "STATUS"), "Active");
  }
}

TEST_P(DocumentTest, MissingItemsAndWrongTypesAreReported) {
  LNDatabase db = NewDatabase();
  LNDocument doc = AddDocument(db, "", {{"Name", "x"}});
  ASSERT_EQ(doc.CreateItem("Count", LNNumbers(3)), LNNOERROR);
  LNText text;
  LNNumbers numbers;
  LNDatetime when;
  EXPECT_EQ(doc.GetItem("Nothing", &text), LNERR_ITEM_NOT_FOUND);
  EXPECT_EQ(doc.GetItem("Name", &numbers), LNERR_ITEM_TYPE_MISMATCH);
  EXPECT_EQ(doc.GetItem("Name", &when), LNERR_ITEM_TYPE_MISMATCH);
  EXPECT_EQ(doc.GetItem("Count", &text), LNERR_ITEM_TYPE_MISMATCH);
  EXPECT_EQ(doc.DeleteItem("nothing"), LNERR_ITEM_NOT_FOUND);
  EXPECT_EQ(doc.CreateItem("", LNText("x")), LNERR_INVALID_ARGUMENT);
  EXPECT_FALSE(doc.HasItem("Nothing"));
  ASSERT_EQ(doc.CreateItem("nothing", LNText("now")), LNNOERROR);  // missing a moment ago
  EXPECT_TRUE(doc.HasItem("NOTHING"));
  ASSERT_EQ(doc.DeleteItem("NAME"), LNNOERROR);
  EXPECT_FALSE(doc.HasItem("name"));
  ASSERT_EQ(doc.Close(), LNNOERROR);
  EXPECT_EQ(doc.GetItem("Count", &numbers), LNERR_DOCUMENT_NOT_OPEN);
  EXPECT_EQ(doc.Save(), LNERR_DOCUMENT_NOT_OPEN);
}

TEST_P(DocumentTest, ThrowingModeThrowsErrorsButReturnsWarnings) {
  LNDatabase db = NewDatabase();
  LNDocument doc = AddDocument(db, "", {{"Name", "x"}});
  db.SetThrowAllErrors(true);
  LNText text;
  try {
    doc.GetItem("Nothing", &text);
    FAIL() << "no exception";
  } catch (const LNStatusError& error) {
    EXPECT_EQ(error.GetStatus(), LNERR_ITEM_NOT_FOUND);
    EXPECT_STREQ(error.what(), "Item not found in the document");
  }
  EXPECT_THROW(db.GetDocument(LNNOTEID{999999}, &doc), LNStatusError);
  ASSERT_NO_THROW(db.CreateView(LNViewDesign{"All", {}, "Name", false}));
  LNViewFolder view = ViewOf(db, "All");
  long count = -1;
  EXPECT_EQ(view.Find("none", nullptr, &count), LNWARN_NOT_FOUND);
  EXPECT_EQ(view.Goto(LNVFNAVIGATE_NEXT), LNWARN_NOT_FOUND);
}

TEST_P(DocumentTest, IdsAreStableAndNeverReusedAfterDelete) {
  LNDatabase db = NewDatabase();
  LNDocument first = AddDocument(db, "", {{"N", "1"}});
  LNDocument second = AddDocument(db, "", {{"N", "2"}});
  LNNOTEID secondId = second.GetNoteID();
  LNUNID secondUnid = second.GetUniversalID();
  EXPECT_LT(first.GetNoteID(), secondId);
  EXPECT_NE(first.GetUniversalID(), secondUnid);
  LNREPLICAID replica = db.GetReplicaID();
  EXPECT_NE(replica, LNREPLICAID{});

  LNDocument stale;
  ASSERT_EQ(db.GetDocument(secondId, &stale), LNNOERROR);
  ASSERT_EQ(db.DeleteDocument(&second), LNNOERROR);
  EXPECT_FALSE(second.IsOpen());
  EXPECT_EQ(stale.Open(), LNERR_DOCUMENT_DELETED);
  EXPECT_EQ(db.DeleteDocument(&stale), LNERR_DOCUMENT_DELETED);
  EXPECT_EQ(db.GetDocument(secondId, &stale), LNERR_DOCUMENT_NOT_FOUND);
  EXPECT_EQ(db.GetDocument(secondUnid, &stale), LNERR_DOCUMENT_NOT_FOUND);

  LNDocument third = AddDocument(db, "", {{"N", "3"}});
  EXPECT_GT(third.GetNoteID(), secondId);
  ASSERT_EQ(db.Close(), LNNOERROR);
  // The deleted document's items went with it: the file's check finds none left.
  EXPECT_TRUE(GetParam() == Backend::Server || CheckStoredValues(PathOf("test.nsf")).empty());

  LNDatabase again = Reopen();
  EXPECT_EQ(again.GetReplicaID(), replica);
  EXPECT_EQ(again.GetTitle(), "Test");
  EXPECT_EQ(IdsOf(again), (std::vector<LNNOTEID>{first.GetNoteID(), third.GetNoteID()}));
}

TEST_P(DocumentTest, FormsComeInCreationOrderWithTitleAndFields) {
  LNDatabase db = NewDatabase();
  ASSERT_EQ(db.CreateForm("Travel GF", {"Name", "tmpX", "Days"}), LNNOERROR);
  ASSERT_EQ(db.CreateForm("Address", {}), LNNOERROR);
  ASSERT_EQ(db.CreateForm("Travel GF", {"Name"}), LNNOERROR);  // replaces the first
  std::vector<LNForm> forms;
  ASSERT_EQ(db.GetForms(&forms), LNNOERROR);
  ASSERT_EQ(forms.size(), 2u);
  ASSERT_EQ(forms[0].Open(), LNNOERROR);
  EXPECT_EQ(forms[0].GetItems(),
            (std::vector<LNItem>{{"$TITLE", LNItemType::Text, 4, {"Travel GF"}, {}},
                                 {"$Fields", LNItemType::Text, 4, {"Name"}, {}}}));
  EXPECT_EQ(forms[0].GetNoteClass(), LNNoteClass::Form);
  EXPECT_TRUE(All(db).empty());
}

TEST_P(DocumentTest, RolledBackTransactionLeavesNothingBehind) {
  LNDatabase db = NewDatabase();
  LNDocument kept = AddDocument(db, "", {{"N", "kept"}});
  LNDocument added;
  ASSERT_EQ(db.BeginTransaction(), LNNOERROR);
  EXPECT_EQ(db.BeginTransaction(), LNERR_TRANSACTION);
  added = AddDocument(db, "", {{"N", "added"}});
  ASSERT_EQ(kept.CreateItem("N", LNText("changed")), LNNOERROR);
  ASSERT_EQ(kept.Save(), LNNOERROR);
  ASSERT_EQ(db.SetTitle("Renamed"), LNNOERROR);
  ASSERT_EQ(db.RollbackTransaction(), LNNOERROR);
  EXPECT_EQ(db.RollbackTransaction(), LNERR_TRANSACTION);
  EXPECT_EQ(db.CommitTransaction(), LNERR_TRANSACTION);
  EXPECT_EQ(db.GetTitle(), "Test");
  // The rolled-back document is new again: saving it now adds it.
  EXPECT_TRUE(added.IsNewNote());
  EXPECT_EQ(added.GetNoteID(), 0u);
  ASSERT_EQ(db.Close(), LNNOERROR);

  LNDatabase again = Reopen();
  EXPECT_EQ(again.GetTitle(), "Test");
  EXPECT_EQ(Ns(again), (std::vector<std::string>{"kept"}));

  ASSERT_EQ(db.Open(), LNNOERROR);
  ASSERT_EQ(added.Save(), LNNOERROR);
  EXPECT_EQ(Ns(again), (std::vector<std::string>{"kept", "added"}));
}

TEST_P(DocumentTest, ReadSnapshotSeesOneStateAndNeverHoldsBackAWrite) {
  LNDatabase reader = NewDatabase();
  AddDocument(reader, "", {{"N", "first"}});
  LNDatabase writer = Reopen();
  {
    LNReadSnapshot snapshot(reader);
    ASSERT_EQ(All(reader).size(), 1u);
    AddDocument(writer, "", {{"N", "second"}});
    EXPECT_EQ(All(reader).size(), 1u) << "the snapshot's state";
  }
  EXPECT_EQ(All(reader).size(), 2u);

  {
    LNReadSnapshot snapshot(reader);
    LNReadSnapshot nested(reader);
    All(reader);
    AddDocument(reader, "", {{"N", "third"}});  // committed at once, not with the snapshot
    EXPECT_EQ(All(writer).size(), 3u);
    EXPECT_FALSE(reader.InTransaction());
    LNTransaction transaction(reader);
    AddDocument(reader, "", {{"N", "rolled back"}});
  }
  EXPECT_EQ(All(writer).size(), 3u);

  LNReadSnapshot outlived(reader);
  ASSERT_EQ(reader.Close(), LNNOERROR);
  ASSERT_EQ(reader.Open(), LNNOERROR);
  AddDocument(reader, "", {{"N", "after reopen"}});
  EXPECT_EQ(All(writer).size(), 4u);
}

TEST_P(DocumentTest, FailedSaveInsideATransactionKeepsTheRestOfIt) {
  LNDatabase db = NewDatabase();
  LNDocument doomed = AddDocument(db, "", {{"N", "doomed"}});
  LNDocument stale = Load(db, doomed.GetNoteID());
  LNTransaction transaction(db);
  LNDocument added = AddDocument(db, "", {{"N", "added"}});
  ASSERT_EQ(db.DeleteDocument(&doomed), LNNOERROR);
  ASSERT_EQ(stale.CreateItem("N", LNText("revived")), LNNOERROR);
  EXPECT_EQ(stale.Save(), LNERR_DOCUMENT_DELETED);
  EXPECT_TRUE(db.InTransaction());
  ASSERT_EQ(transaction.Commit(), LNNOERROR);
  EXPECT_EQ(IdsOf(db), (std::vector<LNNOTEID>{added.GetNoteID()}));
  EXPECT_EQ(Load(db, added.GetNoteID()).GetItems(),
            (std::vector<LNItem>{{"N", LNItemType::Text, LNITEMFLAGS_SUMMARY, {"added"}, {}}}));
}

TEST_P(DocumentTest, ScopedTransactionCommitsOnlyWhenAsked) {
  LNDatabase db = NewDatabase();
  {
    LNTransaction transaction(db);
    AddDocument(db, "", {{"N", "dropped"}});
  }
  EXPECT_FALSE(db.InTransaction());
  {
    LNTransaction transaction(db);
    AddDocument(db, "", {{"N", "committed"}});
    ASSERT_EQ(transaction.Commit(), LNNOERROR);
    EXPECT_EQ(transaction.Commit(), LNERR_TRANSACTION);
  }
  db.SetThrowAllErrors(true);
  try {
    LNTransaction transaction(db);
    AddDocument(db, "", {{"N", "thrown"}});
    LNDocument missing;
    db.GetDocument(LNNOTEID{424242}, &missing);
  } catch (const LNStatusError& error) {
    EXPECT_EQ(error.GetStatus(), LNERR_DOCUMENT_NOT_FOUND);
  }
  db.SetThrowAllErrors(false);
  EXPECT_EQ(Ns(db), (std::vector<std::string>{"committed"}));
}

// Beyond what a server takes in one batch: a note's items are never sent apart
// from, or ahead of, the note.
TEST_P(DocumentTest, ALargeTransactionOfNewNotesIsStoredWhole) {
  LNDatabase db = NewDatabase();
  const std::string bulk(6000, 'x');
  {
    LNTransaction transaction(db);
    for (int i = 0; i < 1600; ++i) AddDocument(db, "Bulk", {{"A", bulk}, {"N", std::to_string(i)}});
    ASSERT_EQ(transaction.Commit(), LNNOERROR);
  }
  std::vector<LNDocument> all = All(db);
  ASSERT_EQ(all.size(), 1600u);
  for (std::size_t i : {std::size_t{0}, std::size_t{1111}, all.size() - 1}) {
    ASSERT_EQ(all[i].Open(), LNNOERROR);
    EXPECT_EQ(NamesOf(all[i]), (std::vector<std::string>{"Form", "A", "N"}));
  }
}

TEST_P(DocumentTest, ClosedDatabaseRefusesWork) {
  LNDatabase db = NewDatabase();
  LNDocument doc = AddDocument(db, "", {{"N", "1"}});
  ASSERT_EQ(db.Close(), LNNOERROR);
  EXPECT_FALSE(db.IsOpen());
  EXPECT_EQ(doc.Save(), LNERR_DATABASE_NOT_OPEN);
  LNDocument other;
  EXPECT_EQ(db.CreateDocument(&other), LNERR_DATABASE_NOT_OPEN);
  EXPECT_EQ(LNDatabase().Open(), LNERR_INVALID_ARGUMENT);
  EXPECT_EQ(LNDocument().Open(), LNERR_INVALID_ARGUMENT);
  ASSERT_EQ(db.Open(), LNNOERROR);  // the same handle reopens; its documents work again
  EXPECT_EQ(doc.Save(), LNNOERROR);
}

VELK_BOTH_BACKENDS(DocumentTest);

}  // namespace
