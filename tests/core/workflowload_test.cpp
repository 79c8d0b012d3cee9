// Loading stored workflows: the chosen version, positions, codes, arrows rebuilt
// across cluster boundaries and the messages of damaged data.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "common/services.h"
#include "model/clusterlevels.h"
#include "model/workflowbuild.h"
#include "model/workflowload.h"
#include "model/workflowsave.h"
#include "saverfixture.h"
#include "storagefixture.h"

namespace velk::testing {
namespace {

class LoadTest : public StorageTest {
 protected:
  void Header(const std::string& name, const std::string& id, int version,
              const char* status = "Design") {
    AddStored(forms::kHeader, {{"Type", {name}},
                               {"WorkFlowID", {id}},
                               {"Version", {std::to_string(version)}},
                               {"Status", {status}},
                               {"Category", {"Sales"}},
                               {"Creator", {"Ann Lee"}}});
  }
  // A task of workflow W in `version`: its code, position and further items.
  void Task(int code, int version, Items more = {}, const std::string& ypos = "-100") {
    Items items{{"WorkflowID", {"W"}},
                {"Version", {std::to_string(version)}},
                {"Code", {std::to_string(code) + "-W"}},
                {"Task", {"T" + std::to_string(code)}},
                {"XPOS", {std::to_string(100 * code)}},
                {"YPOS", {ypos}},
                {"BelongsToCluster", {"1"}}};
    items.insert(items.end(), more.begin(), more.end());
    AddStored(forms::kWorkflowStructure, items);
  }
  CNode* Named(CWorkflowDoc& d, const std::string& name) {
    for (CNode* n : d.AllNodes())
      if (n->Name() == name) return n;
    return nullptr;
  }

  CWorkflowDoc loaded{ui, kTestUser, "06.12.2026"};
};

TEST_F(LoadTest, ChosenVersionIsReadWithPositionsCodesAndClusterArrowsRebuilt) {
  Header("Flow", "W", 1, "Freeze");
  Header("Flow", "W", 2, "Template");
  Task(1, 2);  // of the other version
  // 1 -> cluster node 2 (level 2: 3 start, 4 end; 4 and 6 loop back to 3); 2 -> 5.
  Task(1, 1, {{"IsClusterStartNode", {"Yes"}}, {"Xor", {"3-W"}}, {"Xor_Condition", {"x > 1"}}});
  Task(2, 1, {{"TaskType", {"IWC"}}, {"RepresentsCluster", {"2"}}, {"And", {"5-W"}}}, "100");
  Task(3, 1, {{"BelongsToCluster", {"2"}}, {"IsClusterStartNode", {"Yes"}}, {"And", {"4-W"}}});
  Task(4, 1, {{"BelongsToCluster", {"2"}}, {"IsClusterEndNode", {"Yes"}}, {"And", {"5-W", "3-W"}}});
  Task(5, 1, {{"IsClusterEndNode", {"Yes"}}, {"Cor", {"1-W"}}, {"Cor_Condition", {"again"}}});
  Task(6, 1, {{"BelongsToCluster", {"2"}}, {"Or", {"3-W"}}, {"Or_Condition", {"retry"}}});
  ASSERT_TRUE(LoadStored(loaded, "Flow", "W", 1));
  const WorkflowHeader& h = loaded.Header();  // the version chosen, not the first of its name
  EXPECT_EQ(std::tuple(h.version, h.status, h.user),
            std::tuple(1, WorkflowStatus::Freeze, "Ann Lee"));
  EXPECT_EQ(loaded.StartNode(), Named(loaded, "T1"));
  EXPECT_FALSE(loaded.IsNew());
  EXPECT_EQ(ui.currentStatus(), "");
  CNode* cluster = Named(loaded, "T2");
  CNode* inner = Named(loaded, "T3");
  EXPECT_EQ(cluster->GetRect(), NodeRectAt(200, -100)) << "either sign of YPOS";
  EXPECT_EQ(Named(loaded, "T1")->GetRect(), NodeRectAt(100, -100));
  EXPECT_EQ(std::pair(inner->Code(), inner->CodeText()), std::pair(3, std::string("3-W")));
  EXPECT_EQ(cluster->ClusterStartNode(), inner);
  EXPECT_EQ(cluster->ClusterEndNode(), Named(loaded, "T4"));
  EXPECT_EQ(loaded.EndNode(), Named(loaded, "T5"));
  EXPECT_EQ(cluster->Picture(), NodePicture::Cluster);
  EXPECT_EQ(inner->Picture(), NodePicture::ClusterStart);
  // T1's arrow goes into the cluster node; the cluster node's arrow stored with its
  // end task is not the end task's own; arrows leave the workflow's end; loops back
  // to the cluster's start stay inside the cluster.
  EXPECT_EQ(ArrowLines(loaded),
            (std::vector<std::string>{"T1>T2 Xor x > 1", "T2>T5 And", "T3>T4 And", "T4>T3 And",
                                      "T5>T1 Cor again", "T6>T3 Or retry"}));
  EXPECT_TRUE(ui.messages.empty());

  CWorkflowDoc second{ui, kTestUser, "06.12.2026"};
  ASSERT_TRUE(LoadStored(second, "Flow", "W", 2));
  EXPECT_EQ(second.NodeCount(), 1u);
}

TEST_F(LoadTest, ArrowsToUnknownTasksAreDroppedMissingHeadersOrTasksEndTheLoadAllSaidSo) {
  Header("Flow", "W", 1);
  Task(1, 1, {{"And", {"9-W"}}});
  Task(2, 1);
  Task(3, 1, {{"Reference", {"1-W"}}, {"TaskType", {"Extern"}}, {"Else", {"2-W"}}});
  ASSERT_TRUE(LoadStored(loaded, "Flow", "W", 1));
  EXPECT_EQ(Said(),
            (std::vector<std::string>{
                "Error: \r\n\r\nThe endnode 9-W in the arrow from 1-W could not be found in "
                "the nodelist."}));
  const CNode* external = Named(loaded, "T3");
  ASSERT_TRUE(external && external->Kind() == NodeKind::Extern);
  EXPECT_EQ(external->ReferencedNode(), Named(loaded, "T1"));
  EXPECT_EQ(loaded.AllArrows().size(), 1u);

  // A missing header or missing tasks end the load with their message.
  struct Case {
    const char* id;
    std::string message;
  } cases[] = {
      {"X",
       "Error: \r\n\r\nThe chosen workflow 'Flowwas not found in the Application Environment "
       "Database:appenv.nsf"},
      {"E", "Error: \r\n\r\nNo tasks were found."},
      {"B",
       "Error: \r\n\r\nThe header document for workflow Flow holds not all necessary information "
       "about the workflow.\r\n \t\t\t\tSome important values are missing although they should."},
  };
  Header("Flow", "E", 1);
  AddStored(forms::kHeader, {{"Type", {"Flow"}}, {"WorkFlowID", {"B"}}, {"Version", {"1"}}});
  WorkflowDatabases databases;
  databases.applicationEnvironment.location = {"appenv.nsf", ""};
  loaded.SetDatabases(databases);
  for (const Case& c : cases) {
    ui.messages.clear();
    EXPECT_FALSE(LoadStored(loaded, "Flow", c.id, 1)) << c.id;
    EXPECT_EQ(Said(), std::vector<std::string>{c.message}) << c.id;
  }
}

TEST_F(LoadTest, SaveAndLoadCountDownTheirTasksAFewTimesNotOncePerTask) {
  std::vector<CNode*> chain;
  for (int i = 0; i < 400; ++i) chain.push_back(Add("T" + std::to_string(i), i % 20, i / 20));
  for (std::size_t i = 0; i + 1 < chain.size(); ++i) Link(chain[i], chain[i + 1]);
  doc.SetStartNode(chain.front());
  doc.SetEndNode(chain.back());
  const auto countdowns = [this] {
    return std::ranges::count_if(ui.statusTexts, [](const std::string& t) {
      return t.find("tasks to go") != std::string::npos;
    });
  };
  ASSERT_TRUE(WriteWorkflow(doc));
  EXPECT_LT(countdowns(), 20) << "the save";
  ui.statusTexts.clear();
  ASSERT_TRUE(LoadStored(loaded, doc.Header().name, doc.Header().workflowId, doc.Header().version));
  EXPECT_EQ(loaded.NodeCount(), 400u);
  EXPECT_LT(countdowns(), 20) << "the load";
}

// A cluster node standing for its own level (or the top one) would make every
// walk down the levels endless: it opens as a plain task, and is said to.
TEST_F(LoadTest, ClusterNodeOfItsOwnLevelOpensAsAPlainTaskAndIsNotSavedSo) {
  Header("Flow", "W", 1);
  Task(1, 1, {{"IsClusterStartNode", {"Yes"}}, {"And", {"2-W"}}});
  Task(2, 1, {{"TaskType", {"IWC"}}, {"RepresentsCluster", {"2"}}});
  Task(3, 1,
       {{"TaskType", {"IWC"}},
        {"BelongsToCluster", {"2"}},
        {"RepresentsCluster", {"2"}},
        {"IsClusterStartNode", {"Yes"}}});
  Task(4, 1, {{"BelongsToCluster", {"2"}}, {"IsClusterEndNode", {"Yes"}}});
  Task(5, 1, {{"TaskType", {"IWC"}}, {"RepresentsCluster", {"1"}}});
  ASSERT_TRUE(LoadStored(loaded, "Flow", "W", 1));
  for (const char* name : {"T3", "T5"})
    EXPECT_EQ(std::tuple(Named(loaded, name)->Kind(), Named(loaded, name)->RepresentsCluster()),
              std::tuple(NodeKind::Intern, 0))
        << name;
  EXPECT_TRUE(Named(loaded, "T2")->IsClusterNode());
  const std::vector<InfoEntry> said = ui.infoCenter().entries(kLoadingWorkflowCategory);
  ASSERT_EQ(said.size(), 2u);
  EXPECT_EQ(said[0].text,
            "Task 3-W: The cluster node \"T3\" stands for the level it lies in or for a level "
            "enclosing it (cluster 2). It is shown as a plain task.");
  EXPECT_EQ(said[0].severity, Severity::Error);
  EXPECT_EQ(loaded.LoadFaults().size(), 2u);
  EXPECT_EQ(WorkflowLevels(loaded).size(), 2u);

  // Made so in memory, it is not saved.
  loaded.SetNodeKind(*Named(loaded, "T3"), NodeKind::IWC);
  loaded.SetRepresentsCluster(*Named(loaded, "T3"), 2);
  ui.messages.clear();
  TestSaver saver(ui, session);
  EXPECT_FALSE(saver->Save(loaded));
  ASSERT_EQ(Said().size(), 1u);
  EXPECT_TRUE(Said()[0].starts_with("Error: \r\n\r\nThe cluster node \"T3\" stands for"))
      << Said()[0];
}

}  // namespace
}  // namespace velk::testing
