// Sub-workflows of ICDR and CDDR tasks: creation with its immediate save, the
// id kept with the task across save, load and JSON, and the lookup.

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <tuple>

#include "common/services.h"
#include "model/consistencycheck.h"
#include "model/subworkflows.h"
#include "model/workflowjson.h"
#include "model/workflowload.h"
#include "saverfixture.h"
#include "storagefixture.h"

namespace velk::testing {
namespace {

class SubWorkflowTest : public StorageTest {
 protected:
  void SetUp() override {
    StorageTest::SetUp();
    Attach(sub);
    EditHeader(doc, [&](WorkflowHeader& h) { h.name = "Order"; });
    check = Add("Credit check", 1, 0, NodeKind::ICDR);
    other = Add("Plain", 2);
  }
  CWorkflowDoc sub{ui, kTestUser, "06.12.2026"};
  CNode* check = nullptr;
  CNode* other = nullptr;
};

TEST_F(SubWorkflowTest, CreationSavesASubWorkflowThatOpensAgainAndLinksItsTask) {
  EXPECT_EQ(CreateSubWorkflowQuestion(NodeKind::CDDR),
            "No Subworkflow available.Create a new CDDR Subworkflow?");
  TestSaver saver(ui, session);
  EditHeader(sub, [](WorkflowHeader& h) { h.version = 3; });  // a Design version is stored as 0
  ASSERT_TRUE(CreateSubWorkflow(doc, *check, sub, *saver));
  EXPECT_EQ(std::tuple(sub.Header().name, sub.Header().workflowType, sub.Header().version),
            std::tuple("ICDR: Credit check", WorkflowType::ICDR, 0));
  ASSERT_EQ(sub.NodeCount(), 2u);
  EXPECT_EQ(ArrowLines(sub), std::vector<std::string>{"Start>End And"});
  ASSERT_TRUE(sub.StartNode() && sub.EndNode());
  EXPECT_EQ(sub.StartNode()->Name() + " " + sub.EndNode()->Name(), "Start End");
  EXPECT_FALSE(sub.IsNew());
  EXPECT_EQ(check->SubWorkflowId(), sub.Header().workflowId);
  EXPECT_EQ(check->ClusterDocument(), &sub);
  EXPECT_EQ(sub.RepresentingNode(), check);
  EXPECT_TRUE(doc.Session().IsModified());
  // Saved as the modeler saves: checked, with every database the save needs.
  EXPECT_FALSE(ui.infoCenter().entries(kConsistencyCheckCategory).empty());
  EXPECT_TRUE(sub.Databases().AllInitialised());

  const std::optional<WorkflowHeaderEntry> found = FindSubWorkflow(*repository, *check);
  ASSERT_TRUE(found);
  EXPECT_EQ(found->type, "ICDR: Credit check");
  CWorkflowDoc opened{ui, kTestUser, "06.12.2026"};
  Attach(opened);
  ASSERT_TRUE(LoadWorkflow(opened, *found, session)) << "a workflow without tasks would not";
  EXPECT_EQ(opened.NodeCount(), 2u);
  EXPECT_TRUE(opened.StartNode() && opened.EndNode());
  EXPECT_TRUE(ui.messages.empty());
  doc.SetSubWorkflowId(*check, "0123456789ABCDEF0123456789ABCDEF");
  EXPECT_FALSE(FindSubWorkflow(*repository, *check));
  EXPECT_EQ(Said(), std::vector<std::string>{kSubWorkflowNotFoundText});

  // The id survives save, load and JSON, only for sub-workflow tasks.
  doc.SetSubWorkflowId(*check, "5D0E7A1B2C3D4E5F60718293A4B5C6D7");
  doc.SetSubWorkflowId(*other, "not stored for an internal task");
  doc.DefineAsWorkflowStart(*other);
  std::unique_ptr<CWorkflowDoc> loaded = SavedAndReopened(doc);
  std::map<std::string, std::string> ids;
  for (const CNode* n : loaded->AllNodes()) ids[n->Name()] = n->SubWorkflowId();
  EXPECT_EQ(ids, (std::map<std::string, std::string>{
                     {"Credit check", "5D0E7A1B2C3D4E5F60718293A4B5C6D7"}, {"Plain", ""}}));

  CWorkflowDoc copy{ui, kTestUser, "06.12.2026"};
  WorkflowFromJson(WorkflowToJson(*loaded), copy);
  for (const CNode* n : copy.AllNodes()) EXPECT_EQ(n->SubWorkflowId(), ids[n->Name()]) << n->Name();
}

}  // namespace
}  // namespace velk::testing
