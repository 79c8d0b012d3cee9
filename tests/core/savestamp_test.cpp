// Two designers saving one workflow: the later save asks instead of replacing
// the other's version unseen.

#include <gtest/gtest.h>

#include <algorithm>

#include "model/workflowload.h"
#include "model/workflowsave.h"
#include "storagefixture.h"

namespace velk::testing {
namespace {

class TwoDesignersTest : public StorageTest {
 protected:
  // The workflow as the other designer loads it from the store.
  // `doc` as stored.
  void LoadStored(CWorkflowDoc& into, WorkflowStatus status = WorkflowStatus::Design,
                  int version = 0) {
    ASSERT_TRUE(StorageTest::LoadStored(into, doc.Header().name, doc.Header().workflowId, version,
                                        status));
  }
  std::vector<std::string> StoredFreeTexts() {
    LNDatabase db = Open();
    std::vector<std::string> texts;
    for (const LNDocument& d : Documents(db, views::kHeaderById)) texts.push_back(Text(d, "FreeText"));
    return texts;
  }
  std::vector<std::string> StoredVersions() {
    LNDatabase db = Open();
    std::vector<std::string> versions;
    for (const LNDocument& d : Documents(db, views::kHeaderById))
      versions.push_back(Text(d, "Status") + " " + Text(d, "Version"));
    std::sort(versions.begin(), versions.end());
    return versions;
  }
  void NextVersion(CWorkflowDoc& workflow) {
    WorkflowHeader h = workflow.Header();
    ++h.version;
    workflow.SetHeader(h);
  }
  // The save's write, its questions put to the designer.
  bool Write(CWorkflowDoc& workflow) {
    return WriteAnswering(workflow, {}, VersionRule::Keep, AnswererAsking(ui));
  }
  void SetFreeText(CWorkflowDoc& workflow, const std::string& text) {
    EditHeader(workflow, [&](WorkflowHeader& h) { h.freeText = text; });
  }
};

TEST_F(TwoDesignersTest, SavingOverAnotherDesignersSaveAsksAndLosesNothing) {
  doc.DefineAsWorkflowStart(*Add("Only"));
  ASSERT_TRUE(Write(doc));
  CWorkflowDoc other{ui, kTestUser, "06.12.2026"};
  LoadStored(other);
  SetFreeText(other, "theirs");
  ASSERT_TRUE(Write(other));  // loaded from the stored version: no question
  EXPECT_TRUE(ui.messages.empty());

  SetFreeText(doc, "mine");
  const WriteResult unasked = WriteWorkflow(doc);
  EXPECT_EQ(unasked.outcome, WriteResult::OtherSave);
  EXPECT_TRUE(ui.messages.empty()) << "the write itself asks nothing";
  ui.answers = {MsgResult::Cancel};
  EXPECT_FALSE(Write(doc));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_NE(ui.messages[0].text.find("has been saved by"), std::string::npos);
  EXPECT_EQ(ui.messages[0].buttons, MsgButtons::YesNoCancel);
  EXPECT_EQ(StoredFreeTexts(), (std::vector<std::string>{"theirs"}));

  ui.answers = {MsgResult::No};  // save as a new workflow beside theirs
  const std::string theirId = other.Header().workflowId;
  ASSERT_TRUE(Write(doc));
  EXPECT_NE(doc.Header().workflowId, theirId);
  std::vector<std::string> both = StoredFreeTexts();
  std::sort(both.begin(), both.end());
  EXPECT_EQ(both, (std::vector<std::string>{"mine", "theirs"}));

  SetFreeText(doc, "mine again");
  ASSERT_TRUE(Write(doc));  // its own last save: no question
  EXPECT_EQ(ui.messages.size(), 2u);
  SetFreeText(other, "theirs again");
  ASSERT_TRUE(Write(other));
  EXPECT_EQ(ui.messages.size(), 2u);
}

TEST_F(TwoDesignersTest, OverwriteReplacesTheOtherVersionWhenConfirmed) {
  doc.DefineAsWorkflowStart(*Add("Only"));
  ASSERT_TRUE(Write(doc));
  CWorkflowDoc other{ui, kTestUser, "06.12.2026"};
  LoadStored(other);
  ASSERT_TRUE(Write(other));
  SetFreeText(doc, "mine");
  ui.answers = {MsgResult::Yes};
  ASSERT_TRUE(Write(doc));
  EXPECT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(doc.Header().workflowId, other.Header().workflowId);
  EXPECT_EQ(StoredFreeTexts(), (std::vector<std::string>{"mine"}));
}

// Both designers numbered their save 2; the later one is asked, and replacing
// the other's version 2 makes it version 3: never two current versions.
TEST_F(TwoDesignersTest, ReplacingAVersionStoredMeanwhileSavesTheNextNumber) {
  WorkflowHeader h = doc.Header();
  h.status = WorkflowStatus::Active;
  h.version = 1;
  doc.SetHeader(h);
  doc.DefineAsWorkflowStart(*Add("Only"));
  ASSERT_TRUE(Write(doc));
  CWorkflowDoc other{ui, kTestUser, "06.12.2026"};
  LoadStored(other, WorkflowStatus::Active, 1);
  NextVersion(other);
  ASSERT_TRUE(Write(other));
  NextVersion(doc);
  ui.answers = {MsgResult::Yes};
  ASSERT_TRUE(Write(doc));
  EXPECT_EQ(ui.messages.size(), 1u) << "the overwrite question";
  EXPECT_EQ(doc.Header().version, 3);
  EXPECT_EQ(StoredVersions(), (std::vector<std::string>{"Active 3", "Freeze 1", "Freeze 2"}));
}

}  // namespace
}  // namespace velk::testing
