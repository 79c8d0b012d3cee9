// The stored format of a workflow, the version rule, replacing stored versions
// and the all-or-nothing save.

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "common/headlessservices.h"
#include "model/consistencycheck.h"
#include "model/workflowsave.h"
#include "model/workflowsaver.h"
#include "repository/applicationenvdb.h"
#include "repository/demodata.h"
#include "repository/demowriter.h"
#include "repository/fieldaccess.h"
#include "saverfixture.h"
#include "storagefixture.h"

namespace velk::testing {
namespace {

using Names = std::vector<std::string>;

// Start -> A -(Or, Else)-> J (end); Start -(Xor)-> K; K = cluster 2 {I1 -> K2},
// K2 = cluster 3 {J1 -> J2}; K -(Cor)-> J.
class SaveFormatTest : public StorageTest {
 protected:
  void SetUp() override {
    StorageTest::SetUp();
    start = Add("Start");
    a = Add("A", 1);
    j = Add("", 2);
    k = Add("K", 1, 1, NodeKind::IWC);
    i1 = Add("I1");
    k2 = Add("K2", 1, 0, NodeKind::IWC);
    j1 = Add("J1");
    j2 = Add("J2", 1);
    MakeClusterOf(k, i1, k2);
    MakeClusterOf(k2, j1, j2);
    Link(start, a);
    doc.CreateArrow(*start, *k, {RoutingKind::Xor, "amount > 10", ""});
    doc.CreateArrow(*a, *j, {RoutingKind::Or, "urgent", ""});
    doc.CreateArrow(*a, *j, {RoutingKind::Else, "", ""});
    doc.CreateArrow(*k, *j, {RoutingKind::Cor, "big", "Order_Amount > 1000"});
    Link(i1, k2);
    Link(j1, j2);
    doc.DefineAsWorkflowStart(*start);
    doc.DefineAsWorkflowEnd(*j);
    NodeAttributes s = start->Attributes();
    s.activities = {"Check stock", "Check price"};
    s.duration = 2;
    s.remindFlag = true;
    s.performerType = 2;  // the header's OrgaType and Member come from the start task
    s.member = "Order Desk";
    doc.SetNodeAttributes(*start, s);
    EditHeader(doc, [](WorkflowHeader& h) {
      h.name = "Order Handling";
      h.editors = {"Order Desk"};  // an empty list is not stored
    });
  }

  // Items with the workflow id shown as "W".
  std::string ItemsOf(const LNDocument& d, std::initializer_list<const char*> names) const {
    return std::regex_replace(ItemText(d, names), std::regex(doc.Header().workflowId), "W");
  }

  CNode *start, *a, *j, *k, *i1, *k2, *j1, *j2;
};

TEST_F(SaveFormatTest, ArrowsLeavingEndTasksComeBackAndNoOthers) {
  Link(j, a, RoutingKind::Or);  // out of the workflow's end task
  Link(j2, j1);                 // out of the end task of the inner cluster
  const std::unique_ptr<CWorkflowDoc> loaded = SavedAndReopened(doc);
  EXPECT_EQ(ArrowLines(*loaded), ArrowLines(doc));
}

// The item order and the save's own values; what each field stores is the
// record round trip's.
TEST_F(SaveFormatTest, ItemsInOrderWithTheirWritersAndRoutingListsThroughNestedClusters) {
  ASSERT_TRUE(WriteWorkflow(doc, {nullptr, "C1257A1B:0034F2E1"}));
  LNDatabase db = Open();
  std::vector<LNDocument> headers = Documents(db, views::kHeaderById);
  ASSERT_EQ(headers.size(), 1u);
  const LNDocument& h = headers[0];
  EXPECT_EQ((ItemNames(h)),
            "User LastModify Type Category WorkFlowID AppReplikaID Version Status WFType "
            "OrgaType Member ValidFrom ValidUntil Editor Designer Supervisor FreeText "
            "TrackType TrackMix TrackMail TrackFrequency TrackRate TrackExternalFlag");
  EXPECT_EQ(doc.Header().workflowId.size(), 32u) << "a new workflow is named by its header's id";
  // The user joins the designers.
  EXPECT_EQ(ItemText(h, {"User", "Designer", "Supervisor", "OrgaType", "Member", "ValidFrom",
                         "TrackExternalFlag"}),
            std::string("User=") + kTestUser + " | Designer=" + kTestUser +
                " | Supervisor=" + kTestUser +
                " | OrgaType=Workgroup | Member=Order Desk | ValidFrom=06.12.2026 | "
                "TrackExternalFlag=No");
  EXPECT_TRUE(std::regex_match(Texts(h, "LastModify").at(0),
                               std::regex(R"(\d\d\.\d\d\.\d{4} \d\d:\d\d:\d\d)")));
  EXPECT_FALSE(doc.IsNew());
  EXPECT_FALSE(doc.Session().IsModified());

  std::map<int, LNDocument> tasks;  // by code
  for (LNDocument& d : Documents(db, views::kWorkflowStructure, doc.Header().workflowId))
    tasks[std::stoi(Text(d, "code_1"))] = d;
  ASSERT_EQ(tasks.size(), 8u);
  const LNDocument& s = tasks.at(start->Code());
  EXPECT_EQ((ItemNames(s)),
            "Task TaskType Activity ActivityFlag FreeText Duration DurationUnit "
            "FolderObject Type Category WorkflowID AppReplikaID Version Status OrgaType Member "
            "RoleArgument TeamManager TeamQuant RemindFlag RemindDuration "
            "RemindDurationUnit DeadlineDuration DeadlineDurationUnit "
            "InContentmanagementType OutContentmanagementType GriID ExternClusterMail "
            "ExternClusterID ExtClusterInput ExtClusterOutput ExtClusterFormat "
            "ExtClusterRequiredDate ExtClusterExpectedDuration "
            "ExtClusterExpectedDurationUnit ExtClusterSpecID BelongsToCluster "
            "IsClusterStartNode IsClusterEndNode RepresentsCluster XPOS YPOS Code code_1 "
            "next_1 Next And and_1 Xor xor_1 Xor_Condition GoesToJoin suc_code_1 Suc_Code");
  std::map<std::string, LNItem> items;
  for (const LNItem& item : s.GetItems()) items[item.name] = item;
  EXPECT_EQ(items["Activity"].flags, 0x0445u) << "text lists of the field writer";
  EXPECT_EQ(items["Duration"].type, LNItemType::Numbers);
  EXPECT_EQ(items["Duration"].numbers, std::vector<double>{2});
  EXPECT_EQ(items["Next"].flags, LNITEMFLAGS_SUMMARY) << "routing lists";
  EXPECT_EQ(ItemText(s, {"TeamQuant", "RemindFlag", "FolderObject", "IsClusterStartNode"}),
            "TeamQuant=0 | RemindFlag=Yes | FolderObject=All | IsClusterStartNode=Yes");
  EXPECT_EQ(Text(tasks.at(j->Code()), "Task"), "unnamed");
  EXPECT_EQ(j->Name(), "unnamed") << "the model takes the stored name";

  // Routing lists go through nested clusters and list joins per arrow.
  // Breadth first from Start; a cluster node is followed by its start task.
  EXPECT_EQ((std::vector<int>{start->Code(), a->Code(), k->Code(), i1->Code(), j->Code(),
                              k2->Code(), j1->Code(), j2->Code()}),
            (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8}));
  // Start's Xor goes into K, whose cluster starts with I1 (4).
  EXPECT_EQ(ItemsOf(tasks.at(1), {"And", "Xor", "xor_1", "Xor_Condition", "Suc_Code", "next_1",
                                  "Next", "GoesToJoin"}),
            "And=2-W | Xor=4-W | xor_1=4 | Xor_Condition=amount > 10 | Suc_Code=2-W,4-W | "
            "next_1=2,5,4,7,8 | Next=2-W,5-W,4-W,7-W,8-W | GoesToJoin=n");
  EXPECT_EQ(ItemsOf(tasks.at(2), {"Or", "Or_Condition", "Else", "Suc_Code", "Join", "GoesToJoin"}),
            "Or=5-W | Or_Condition=urgent | Else=5-W | Suc_Code=5-W,5-W | Join=5-W,5-W | "
            "GoesToJoin=y");
  // J2 ends K2, which ends K.
  EXPECT_EQ(ItemsOf(tasks.at(8), {"Cor", "Cor_Formula", "next_1"}),
            "Cor=5-W | Cor_Formula=Order_Amount > 1000 | next_1=5");
  EXPECT_EQ(ItemsOf(tasks.at(5),
                    {"GoesToJoin", "Suc_Code", "suc_code_1", "next_1", "Next", "Join", "And"}),
            "GoesToJoin=e | Suc_Code=end | !suc_code_1 | !next_1 | !Next | !Join | !And");
}

// A first import stores the version the rule gives, as a save does.
TEST_F(StorageTest, VersionRuleCountsActiveAndTemplateResetsDesignAndHoldsForAFirstImport) {
  CNode* only = Add("Only");
  EXPECT_TRUE(WriteWorkflow(doc)) << "a lone task is saved without the start role";
  doc.DefineAsWorkflowStart(*only);
  struct Case {
    WorkflowStatus status;
    int next;
  } cases[] = {{WorkflowStatus::Active, 6},
               {WorkflowStatus::Template, 6},
               {WorkflowStatus::Design, 0},
               {WorkflowStatus::Freeze, 5},
               {WorkflowStatus::Testing, 5}};
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.status));
    SetStatus(doc, c.status, 5);
    EXPECT_EQ(NextVersion(doc.Header()), c.next);
    if (c.status == WorkflowStatus::Freeze) continue;  // frozen ones are not imported
    EditHeader(doc, [&](WorkflowHeader& h) {
      h.name = "First " + std::to_string(static_cast<int>(c.status));
      h.workflowId.clear();
    });
    ASSERT_TRUE(WriteWorkflow(doc, {}, VersionRule::AfterStored));
    EXPECT_EQ(doc.Header().version, c.next);
  }
}

// The history comes from the replaced header only.
TEST_F(StorageTest, SameNameAndStatusReplaceTheStoredVersionAndItsHistoryOthersAndFrozenOnesStay) {
  doc.DefineAsWorkflowStart(*Add("Only"));
  // Saves and gives the users of the stored header.
  auto saveAs = [&](const std::string& name, WorkflowStatus status, int version,
                    const std::string& user) {
    EditHeader(doc, [&](WorkflowHeader& h) { h.name = name; });
    EditHeader(doc, [&](WorkflowHeader& h) { h.user = user; });
    SetStatus(doc, status, version);
    EXPECT_TRUE(WriteWorkflow(doc));
    return StoredRows(views::kHeaderById, doc.Header().workflowId, {"User"});
  };
  EXPECT_EQ(saveAs("A", WorkflowStatus::Design, 0, "a1"), Names{"User=a1"});
  const std::string first = doc.Header().workflowId;
  EXPECT_EQ(saveAs("A", WorkflowStatus::Design, 0, "a2"), Names{"User=a1,a2"});
  EXPECT_EQ(doc.Header().workflowId, first) << "Design replaces its stored version in place";
  LNDatabase db = Open();
  EXPECT_EQ(Documents(db, views::kHeaderById).size(), 1u);
  EXPECT_EQ(Documents(db, views::kWorkflowStructure).size(), 1u);

  EXPECT_EQ(saveAs("B", WorkflowStatus::Design, 0, "b0"), Names{"User=b0"}) << "a new id";
  EXPECT_NE(doc.Header().workflowId, first) << "another name keeps the stored one";
  EXPECT_EQ(Documents(db, views::kHeaderById).size(), 2u);
  EXPECT_EQ(saveAs("B", WorkflowStatus::Active, 1, "b1"), Names{"User=b1"}) << "a new status too";
  const std::string active = doc.Header().workflowId;
  EXPECT_EQ(saveAs("B", WorkflowStatus::Active, 2, "b2"), Names{"User=b1,b2"});
  EXPECT_NE(doc.Header().workflowId, active) << "every Active version gets its own id";
  EXPECT_EQ(StoredRows(views::kHeaderById, active, {"Status"}), Names{"Status=Freeze"});

  // A frozen workflow saved again never shares its id and version.
  SetStatus(doc, WorkflowStatus::Freeze, 1);
  ASSERT_TRUE(WriteWorkflow(doc));
  const std::string frozen = doc.Header().workflowId;
  ASSERT_TRUE(WriteWorkflow(doc));
  EXPECT_NE(doc.Header().workflowId, frozen);
  EXPECT_EQ(Documents(db, views::kHeaderById, frozen).size(), 1u) << "the frozen one is kept";
  EXPECT_EQ(Documents(db, views::kWorkflowStructure, frozen).size(), 1u);
}

TEST_F(StorageTest, ImportingTheSameVersionTwiceCountsUpAsASave) {
  doc.DefineAsWorkflowStart(*Add("Only"));
  SetStatus(doc, WorkflowStatus::Active, 2);
  for (int import = 0; import < 3; ++import) {
    SetStatus(doc, WorkflowStatus::Active, 1);
    EditHeader(doc, [](WorkflowHeader& h) { h.workflowId.clear(); });  // as a file gives it
    ASSERT_TRUE(WriteWorkflow(doc, {}, VersionRule::AfterStored));
  }
  EXPECT_EQ(doc.Header().version, 4);
  Names stored = StoredRows(views::kHeaderById, "", {"Version", "Status"});
  std::sort(stored.begin(), stored.end());
  EXPECT_EQ(stored, (Names{"Version=2 | Status=Freeze", "Version=3 | Status=Freeze",
                           "Version=4 | Status=Active"}));
}

// A trigger makes the store fail while the task named "Explode" is written.
void InjectTaskFailure(const std::filesystem::path& file) {
  sqlite3* raw = nullptr;
  ASSERT_EQ(sqlite3_open(file.c_str(), &raw), SQLITE_OK);
  ASSERT_EQ(
      sqlite3_exec(raw,
                   "CREATE TRIGGER inject BEFORE INSERT ON items WHEN NEW.lname = 'task' AND "
                   "instr(NEW.data, 'Explode') > 0 BEGIN SELECT RAISE(ABORT, 'injected'); END;",
                   nullptr, nullptr, nullptr),
      SQLITE_OK);
  sqlite3_close(raw);
}

// Another program holds the database past the store's wait: the write stores
// nothing and says so without asking; the saver asks, shows a save given up, and
// lands on "Retry" once the database is free again.
TEST_F(StorageTest, BusyDatabaseIsOfferedAgainTheRetryLandsAndAFailedSaveKeepsTheStoredVersion) {
  session.SetBusyTimeout(std::chrono::milliseconds(50));
  CNode* first = Add("First");
  CNode* second = Add("Second", 1);
  Link(first, second);
  doc.DefineAsWorkflowStart(*first);
  SetStatus(doc, WorkflowStatus::Active, 1);
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open((dir_ / "procdef.nsf").c_str(), &other), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
  const WriteResult busy = WriteWorkflow(doc);
  EXPECT_EQ(busy.outcome, WriteResult::Busy);
  EXPECT_NE(busy.text.find("could not be accessed"), std::string::npos);
  EXPECT_TRUE(ui.messages.empty()) << "the write does not ask";

  std::vector<std::string> questions;
  SaveAnswerer answerer = AnswererAsking(ui);
  answerer.retryWhenBusy = [&](const std::string& q) { return questions.push_back(q), false; };
  EXPECT_FALSE(WriteAnswering(doc, {}, VersionRule::Keep, answerer));
  ASSERT_EQ(questions.size(), 1u);
  EXPECT_NE(questions[0].find("Try again?"), std::string::npos);
  ASSERT_EQ(ui.messages.size(), 1u) << "a save given up is shown";

  answerer.retryWhenBusy = [&](const std::string& q) {
    questions.push_back(q);
    return sqlite3_exec(other, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK;
  };
  EXPECT_TRUE(WriteAnswering(doc, {}, VersionRule::Keep, answerer));
  sqlite3_close(other);
  EXPECT_EQ(questions.size(), 2u);

  // A save failing midway leaves the stored (retried) version intact and says so.
  const std::string stored = doc.Header().workflowId;
  InjectTaskFailure(dir_ / "procdef.nsf");

  EditNode(doc, *second, [&](NodeAttributes& changed) { changed.name = "Explode"; });
  SetStatus(doc, WorkflowStatus::Active, 2);
  EXPECT_FALSE(WriteWorkflow(doc));

  ASSERT_GE(ui.messages.size(), 2u);
  EXPECT_NE(ui.messages[ui.messages.size() - 2].text.find(
                "Error while saving workflow structure in Process Definitions Database"),
            std::string::npos);
  EXPECT_EQ(
      ui.messages.back().text,
      "Error: \r\n\r\nSaving the workflow failed.\r\nEventually existing parts are deleted\r\nor "
      "frozen.");
  EXPECT_EQ(doc.Header().workflowId, stored) << "the workflow keeps the id of what is stored";
  // The new header went with the failure, the old version was not frozen.
  EXPECT_EQ(StoredRows(views::kHeaderById, "", {"Status"}), Names{"Status=Active"});
  EXPECT_EQ(StoredRows(views::kWorkflowStructure, stored, {"Task", "Status"}),
            (Names{"Task=First | Status=Active", "Task=Second | Status=Active"}));
  EXPECT_EQ(ui.currentStatus(), "");
}

// The modeler's Save and Save As: the databases, the check, the name, the
// version rule and the External Directory step.
TEST_F(StorageTest, SaveCommandChecksAsksForANameWhenNeededAndCountsVersions) {
  // Complete enough for the consistency check to let it be saved as Active, and
  // published as the demo's Order Handling is.
  CNode* first = Add("First");
  CNode* last = Add("Last", 1);
  Link(first, last);
  doc.DefineAsWorkflowStart(*first);
  doc.DefineAsWorkflowEnd(*last);
  doc.MakeInTask(*first);
  for (CNode* n : {first, last})
    EditNode(doc, *n, [&](NodeAttributes& a) {
      a.member = "Clerk";
      a.objects = {"Order|GF_Order"};
      a.griId = n == first ? demo::kOrderHandlingLeafId : "";
    });
  EditHeader(doc, [&](WorkflowHeader& header) { header.supervisor = "Ann Lee/Sales/Marvelund"; });
  int asked = 0;
  const ChooseSaveName chooseName = [&](CWorkflowDoc& d) {
    ++asked;
    EditHeader(d, [&](WorkflowHeader& h) { h.name = "Order"; });
    return asked != 1;  // the first time: Cancel
  };
  {
    DatabaseCache cache(ui, session, HeadersFrom({"procdef.nsf", ""}), CacheExtDirLinks);
    const DatabaseLocations none;
    WorkflowSaver nowhere(cache, none, NoExternalDirectory(), AnswererAsking(ui));
    EXPECT_FALSE(nowhere.Save(doc, {false, chooseName, false, {}}));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].text.find("Please specify an Application Environment Database for"),
              std::string::npos);
    EXPECT_EQ(asked, 0);
  }
  // The settings name every database the save needs, the demo's External Directory
  // with the IRI leaf of Order Handling among them.
  LNDatabase directory;
  ASSERT_EQ(CreateDatabaseOfKind(session, DatabaseKind::ExternalDirectory, "extdir.nsf", "", "",
                                 &directory),
            LNNOERROR);
  ASSERT_EQ(directory.Open(), LNNOERROR);
  WriteDemoDocuments(ui, DatabaseKind::ExternalDirectory, directory, {"APP:REPLICA", "TRK:ID"});
  directory.Close();
  TestSaver saver(ui, session);
  EXPECT_FALSE(saver->Save(doc, {false, chooseName, false, {}})) << "cancelled";
  SetStatus(doc, WorkflowStatus::Active, 4);
  EditHeader(doc, [&](WorkflowHeader& header) { header.supervisor.clear(); });
  ui.messages.clear();
  EXPECT_FALSE(saver->Save(doc, {false, chooseName, false, {}})) << "an incomplete Active workflow";
  EXPECT_EQ(Said(), Names{"Error: \r\n\r\nThe consistency check refuses the workflow \"Order\"; "
                          "the Info Center lists why.\r\nNothing has been stored."});
  EditHeader(doc, [&](WorkflowHeader& header) { header.supervisor = "Ann Lee/Sales/Marvelund"; });
  ASSERT_TRUE(saver->Save(doc, {false, chooseName, false, {}}));
  EXPECT_EQ(std::pair(asked, doc.Header().version), std::pair(2, 5)) << "a new workflow is named";
  ASSERT_TRUE(saver->Save(doc, {false, chooseName, false, {}}));
  EXPECT_EQ(std::pair(asked, doc.Header().version), std::pair(2, 6)) << "a stored one is not";
  ASSERT_TRUE(saver->Save(doc, {true, chooseName, false, {}}));
  EXPECT_EQ(asked, 3) << "Save As always asks";
  EXPECT_EQ(StoredRows(views::kHeaderById, doc.Header().workflowId, {"AppReplikaID", "Version"}),
            Names{"AppReplikaID=" + doc.Databases().applicationEnvironment.repository->ReplicaId() +
                  " | Version=7"});
  // The published In Task's leaf leads to the version just saved.
  EXPECT_EQ(StoredRows(views::kIriLeaf, demo::kOrderHandlingLeafId, {"WorkflowID"}, "extdir.nsf"),
            Names{"WorkflowID=" + doc.Header().workflowId});
}

}  // namespace
}  // namespace velk::testing
