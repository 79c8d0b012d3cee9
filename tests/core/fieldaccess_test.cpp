#include "repository/fieldaccess.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "core/repositoryfixture.h"

namespace {

// A fresh database in a temporary data folder with one open, unsaved document.
class FieldAccess : public RepositoryTest {
 protected:
  void SetUp() override {
    RepositoryTest::SetUp();
    db_ = NewDatabaseWithViews("fields.nsf", {});
    ASSERT_EQ(db_.CreateDocument(&doc_, "Test"), LNNOERROR);
    db_.SetThrowAllErrors(true);
  }
  void TearDown() override {
    if (doc_.IsOpen()) doc_.Close();
    if (db_.IsOpen()) db_.Close();
    RepositoryTest::TearDown();
  }

  void PutText(const std::string& name, const std::string& text) {
    ASSERT_EQ(doc_.CreateItem(name, LNText(text)), LNNOERROR);
  }
  void PutNumber(const std::string& name, double value) {
    ASSERT_EQ(doc_.CreateItem(name, LNNumbers(value)), LNNOERROR);
  }
  LNItem Raw(const std::string& name) {
    LNItem item;
    EXPECT_EQ(doc_.GetItem(name, &item), LNNOERROR) << name;
    return item;
  }

  LNDatabase db_;
  LNDocument doc_;
};

TEST_F(FieldAccess, OnlyTheExactWordYesIsTrue) {
  const std::pair<const char*, bool> cases[] = {{"Yes", true}, {"yes", false}, {"YES", false},
                                                {"No", false}, {"", false},    {"Yes ", false}};
  for (const auto& [text, expected] : cases) {
    PutText("Flag", text);
    EXPECT_EQ(GetFieldBoolContent(ui_, "Flag", doc_), expected) << '"' << text << '"';
  }
}

TEST_F(FieldAccess, WritersStoreTheAgreedFormsAndFlagsAndOneItemPerName) {
  EXPECT_EQ(SetFieldContent("Name", "Order entry", doc_), LNNOERROR);
  EXPECT_EQ(SetFieldIntContent("Count", -42, doc_), LNNOERROR);
  EXPECT_EQ(SetFieldNumberContent("Amount", 7, doc_), LNNOERROR);
  EXPECT_EQ(SetFieldBoolContent("On", true, doc_), LNNOERROR);
  EXPECT_EQ(SetFieldBoolContent("Off", false, doc_), LNNOERROR);
  EXPECT_EQ(SetFieldListContent("Editor", doc_, {"Ann", "Bob", "Ann"}), LNNOERROR);
  EXPECT_EQ(SetFieldReadersContent("$Readers", doc_, {"Sales"}), LNNOERROR);

  struct Expect {
    const char* name;
    LNItemType type;
    LNITEMFLAGS flags;
    std::vector<std::string> texts;
    std::vector<double> numbers;
  };
  const Expect expected[] = {
      {"Name", LNItemType::Text, 0x0004, {"Order entry"}, {}},
      {"Count", LNItemType::Text, 0x0004, {"-42"}, {}},
      {"Amount", LNItemType::Numbers, 0x0004, {}, {7.0}},
      {"On", LNItemType::Text, 0x0004, {"Yes"}, {}},
      {"Off", LNItemType::Text, 0x0004, {"No"}, {}},
      {"Editor", LNItemType::Text, 0x0445, {"Ann", "Bob", "Ann"}, {}},
      {"$Readers", LNItemType::Text, 0x0400, {"Sales"}, {}},
  };
  for (const auto& e : expected) {
    SCOPED_TRACE(e.name);
    LNItem item = Raw(e.name);
    EXPECT_EQ(std::tie(item.type, item.flags, item.texts, item.numbers),
              std::tie(e.type, e.flags, e.texts, e.numbers));
  }

  std::vector<std::string> list;
  GetFieldListContent(ui_, "editor", doc_, list);  // names match without regard to case
  EXPECT_EQ(list, (std::vector<std::string>{"Ann", "Bob", "Ann"}));
  EXPECT_EQ(GetFieldIntContent(ui_, "Count", doc_), -42);
  EXPECT_EQ(GetFieldNumberContent(ui_, "Amount", doc_), 7);
  EXPECT_TRUE(GetFieldBoolContent(ui_, "On", doc_));
  EXPECT_EQ(GetFieldContent(ui_, "Name", doc_), "Order entry");

  // Rewriting keeps one item per name; an empty list leaves no item, nor one written earlier.
  EXPECT_EQ(SetFieldContent("name", "second", doc_), LNNOERROR);
  EXPECT_EQ(SetFieldIntContent("Count", 2, doc_), LNNOERROR);
  EXPECT_EQ(SetFieldListContent("Editor", doc_, {}), LNNOERROR);
  EXPECT_EQ(SetFieldReadersContent("$Readers", doc_, {}), LNNOERROR);
  EXPECT_EQ(SetFieldListContent("Resource", doc_, {}), LNNOERROR);
  EXPECT_EQ(SetFieldReadersContent("Resource", doc_, {}), LNNOERROR);
  EXPECT_FALSE(doc_.HasItem("Editor") || doc_.HasItem("$Readers") || doc_.HasItem("Resource"));
  EXPECT_EQ(
      std::ranges::count_if(doc_.GetItems(),
                            [](const LNItem& i) { return i.name == "Name" || i.name == "name"; }),
      1);
  EXPECT_EQ(GetFieldContent(ui_, "Name", doc_), "second");
  EXPECT_EQ(GetFieldIntContent(ui_, "Count", doc_), 2);
}

// A getter meeting a store failure shows exactly one message naming itself and the
// item, and returns its failure result; with throwing off as well as on.
TEST_F(FieldAccess, TypeMismatchIsReportedOnceWithTheGettersContext) {
  PutText("Title", "text");
  PutNumber("Amount", 2.5);
  std::vector<std::string> list{"stale"};
  struct Case {
    const char* context;
    std::function<bool()> readGivesFailureResult;
  };
  const Case cases[] = {
      {"Error in GetFieldContent of Amount",
       [&] { return GetFieldContent(ui_, "Amount", doc_).empty(); }},
      {"Error in GetFieldIntContent of Amount",
       [&] { return GetFieldIntContent(ui_, "Amount", doc_) == 0; }},
      {"Error in GetFieldNumberContent of Title",
       [&] { return GetFieldNumberContent(ui_, "Title", doc_) == 0; }},
      {"Error in GetFieldNumberContent of Amount",
       [&] { return !GetFieldBoolContent(ui_, "Amount", doc_); }},
      {"Error in GetFieldListContent of Amount",
       [&] {
         GetFieldListContent(ui_, "Amount", doc_, list);
         return list.empty();
       }},
  };
  const std::string prefix =
      "Document Store Error:\r\n" + LNGetErrorMessage(LNERR_ITEM_TYPE_MISMATCH) + "\r\n";
  for (bool throwAll : {true, false}) {
    LNThrowAllErrorsScope mode(db_, throwAll);
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(c.context) + (throwAll ? " (throwing)" : " (returning)"));
      ui_.messages.clear();
      EXPECT_TRUE(c.readGivesFailureResult());
      ASSERT_EQ(ui_.messages.size(), 1u);
      EXPECT_EQ(ui_.messages[0].text, prefix + c.context);
      EXPECT_EQ(ui_.messages[0].icon, velk::MsgIcon::Exclamation);
      EXPECT_EQ(ui_.currentStatus(), "");
    }
  }
}

// A missing item reads as an empty value without a message; a note that is not
// open is a failure, not a note without items: every getter reports it.
TEST_F(FieldAccess, MissingItemsReadEmptyAndAClosedOrUnboundNoteIsReportedByEveryGetter) {
  LNDocument closed, unbound;
  ASSERT_EQ(db_.CreateDocument(&closed, "Test"), LNNOERROR);
  SetFieldContent("Name", "kept", closed);
  ASSERT_EQ(closed.Save(), LNNOERROR);
  ASSERT_EQ(closed.Close(), LNNOERROR);
  const std::pair<LNNote*, LNSTATUS> notes[] = {
      {&doc_, LNNOERROR}, {&closed, LNERR_DOCUMENT_NOT_OPEN}, {&unbound, LNERR_INVALID_ARGUMENT}};
  for (const auto& [note, status] : notes) {
    SCOPED_TRACE(status);
    ui_.messages.clear();
    std::vector<std::string> list{"stale"};
    EXPECT_EQ(GetFieldContent(ui_, "Name", *note), "");
    EXPECT_EQ(GetFieldIntContent(ui_, "Name", *note), 0);
    EXPECT_EQ(GetFieldNumberContent(ui_, "Name", *note), 0);
    EXPECT_FALSE(GetFieldBoolContent(ui_, "Name", *note));
    GetFieldListContent(ui_, "Name", *note, list);
    EXPECT_TRUE(list.empty());
    ASSERT_EQ(ui_.messages.size(), status == LNNOERROR ? 0u : 5u);
    if (status != LNNOERROR) {
      EXPECT_EQ(ui_.messages[0].text, "Document Store Error:\r\n" + LNGetErrorMessage(status) +
                                          "\r\nError in GetFieldContent of Name");
    }
  }
}

TEST_F(FieldAccess, WritersPassFailuresOnToTheCaller) {
  ASSERT_EQ(doc_.Save(), LNNOERROR);
  ASSERT_EQ(doc_.Close(), LNNOERROR);
  EXPECT_THROW(SetFieldContent("Name", "x", doc_), LNStatusError);
  EXPECT_THROW(SetFieldListContent("Editor", doc_, {"Ann"}), LNStatusError);
  EXPECT_THROW(SetFieldReadersContent("$Readers", doc_, {}), LNStatusError);
  {
    LNThrowAllErrorsScope quiet(db_, false);
    EXPECT_NE(SetFieldIntContent("Count", 1, doc_), LNNOERROR);
    EXPECT_NE(SetFieldBoolContent("On", true, doc_), LNNOERROR);
  }
  EXPECT_TRUE(ui_.messages.empty());
}

}  // namespace
