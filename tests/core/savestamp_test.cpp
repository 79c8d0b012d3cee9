// Two designers saving one workflow: the later save asks instead of replacing
// the other's version unseen.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "model/workflowload.h"
#include "model/workflowsave.h"
#include "storagefixture.h"

namespace velk::testing {
namespace {

class TwoDesignersTest : public StorageTest {
 protected:
  // `doc` saved; then loaded by another designer, changed by `change` and saved.
  void SavedMeanwhile(CWorkflowDoc& other, const std::function<void(WorkflowHeader&)>& change) {
    doc.DefineAsWorkflowStart(*Add("Only"));
    ASSERT_TRUE(Write(doc));
    ASSERT_TRUE(StorageTest::LoadStored(other, doc.Header().name, doc.Header().workflowId,
                                        doc.Header().version, doc.Header().status));
    EditHeader(other, change);
    ASSERT_TRUE(Write(other));  // loaded from the stored version: no question
    EXPECT_TRUE(ui.messages.empty());
  }
  // The named items of every stored header, sorted.
  std::vector<std::string> Stored(const char* item, const char* second = nullptr) {
    LNDatabase db = Open();
    std::vector<std::string> texts;
    for (const LNDocument& d : Documents(db, views::kHeaderById))
      texts.push_back(Text(d, item) + (second ? " " + Text(d, second) : ""));
    std::sort(texts.begin(), texts.end());
    return texts;
  }
  // The save's write, its questions put to the designer.
  bool Write(CWorkflowDoc& workflow) {
    return WriteAnswering(workflow, {}, VersionRule::Keep, AnswererAsking(ui));
  }
  void SetFreeText(CWorkflowDoc& workflow, const std::string& text) {
    EditHeader(workflow, [&](WorkflowHeader& h) { h.freeText = text; });
  }
  CWorkflowDoc other{ui, kTestUser, "06.12.2026"};
};

TEST_F(TwoDesignersTest, SavingOverAnotherDesignersSaveAsksAndLosesNothing) {
  SavedMeanwhile(other, [](WorkflowHeader& h) { h.freeText = "theirs"; });
  SetFreeText(doc, "mine");
  const WriteResult unasked = WriteWorkflow(doc);
  EXPECT_EQ(unasked.outcome, WriteResult::OtherSave);
  EXPECT_TRUE(ui.messages.empty()) << "the write itself asks nothing";
  ui.answers = {MsgResult::Cancel};
  EXPECT_FALSE(Write(doc));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_NE(ui.messages[0].text.find("has been saved by"), std::string::npos);
  EXPECT_EQ(ui.messages[0].buttons, MsgButtons::YesNoCancel);
  EXPECT_EQ(Stored("FreeText"), (std::vector<std::string>{"theirs"}));

  ui.answers = {MsgResult::No};  // save as a new workflow beside theirs
  ASSERT_TRUE(Write(doc));
  EXPECT_NE(doc.Header().workflowId, other.Header().workflowId);
  EXPECT_EQ(Stored("FreeText"), (std::vector<std::string>{"mine", "theirs"}));

  SetFreeText(doc, "mine again");
  ASSERT_TRUE(Write(doc));  // its own last save: no question
  SetFreeText(other, "theirs again");
  ASSERT_TRUE(Write(other));
  EXPECT_EQ(ui.messages.size(), 2u);
}

TEST_F(TwoDesignersTest, OverwriteReplacesTheOtherVersionWhenConfirmed) {
  SavedMeanwhile(other, [](WorkflowHeader&) {});
  SetFreeText(doc, "mine");
  ui.answers = {MsgResult::Yes};
  ASSERT_TRUE(Write(doc));
  EXPECT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(doc.Header().workflowId, other.Header().workflowId);
  EXPECT_EQ(Stored("FreeText"), (std::vector<std::string>{"mine"}));
}

// Both designers numbered their save 2; the later one is asked, and replacing
// the other's version 2 makes it version 3: never two current versions.
TEST_F(TwoDesignersTest, ReplacingAVersionStoredMeanwhileSavesTheNextNumber) {
  SetStatus(doc, WorkflowStatus::Active, 1);
  SavedMeanwhile(other, [](WorkflowHeader& h) { h.version = 2; });
  EditHeader(doc, [](WorkflowHeader& h) { h.version = 2; });
  ui.answers = {MsgResult::Yes};
  ASSERT_TRUE(Write(doc));
  EXPECT_EQ(ui.messages.size(), 1u) << "the overwrite question";
  EXPECT_EQ(doc.Header().version, 3);
  EXPECT_EQ(Stored("Status", "Version"),
            (std::vector<std::string>{"Active 3", "Freeze 1", "Freeze 2"}));
}

}  // namespace
}  // namespace velk::testing
