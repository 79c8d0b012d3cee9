// The consistency check: each rule passing and failing on a small workflow, the
// rules that do not apply, the status rule, the Info Center, and loops of And
// arrows through clusters.

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "common/infocenter.h"
#include "common/services.h"
#include "model/checkloops.h"
#include "model/consistencycheck.h"
#include "workflowfixture.h"

namespace velk::testing {
namespace {

// Knows one registered external person.
class OnePerson : public ExternalDirectoryLookup {
 public:
  bool IsRegisteredExternalPerformer(const WorkflowDatabases&,
                                     const std::string& name) const override {
    return name == "Tom Keller/Consulting/Cirrus Consulting";
  }
};

// In (published) -> A -> C {X -> Y} -> Out, In -> T (external task),
// In -> S1 -> S2 (subscribed workflows, S2 refers to S1): every rule applies and passes.
class ConsistencyTest : public WorkflowTest {
 public:
  // The cases below change the workflow from outside.
  using WorkflowTest::doc;
  using WorkflowTest::Link;

  ConsistencyTest() {
    in = Task("Receive", 0, NodeKind::In);
    a = Task("Check", 1);
    c = Add("Fulfil", 2, 0, NodeKind::IWC);
    x = Task("Pick", 0);
    y = Task("Pack", 1);
    out = Task("Confirm", 3, NodeKind::Out);
    t = Task("Expert", 1, NodeKind::ExtWFTask);
    s1 = Add("Carrier", 1, 2, NodeKind::Extern);
    s2 = Add("Follow-up", 2, 2, NodeKind::Extern);
    MakeClusterOf(c, x, y);
    for (auto [from, to] :
         {std::pair{in, a}, {a, c}, {c, out}, {x, y}, {in, t}, {in, s1}, {s1, s2}})
      Link(from, to);
    doc.MakeInTask(*in);
    doc.MakeOutTask(*out);
    Edit(in, [](NodeAttributes& n) { n.griId = "LEAF1"; });
    Edit(t, [](NodeAttributes& n) { n.member = "Tom Keller/Consulting/Cirrus Consulting"; });
    for (CNode* s : {s1, s2}) Edit(s, [](NodeAttributes& n) { n.griId = "LEAF2"; });
    doc.ConnectReference(*s2, *s1);
    WorkflowHeader h = doc.Header();
    h.name = "Order";
    h.supervisor = "Ann Lee/Sales/Marvelund";
    h.status = WorkflowStatus::Active;
    doc.SetHeader(h);
  }

  // A task with a performer and a form.
  CNode* Task(const std::string& name, int col, NodeKind kind = NodeKind::Intern) {
    CNode* n = Add(name, col, 0, kind);
    Edit(n, [](NodeAttributes& na) {
      na.member = "Clerk";
      na.objects = {"Order|GF_Order"};
    });
    return n;
  }
  void Edit(CNode* n, const std::function<void(NodeAttributes&)>& change) {
    EditNode(doc, *n, change);
  }
  void Header(const std::function<void(WorkflowHeader&)>& change) { EditHeader(doc, change); }
  ConsistencyResult Run() { return RunConsistencyRules(doc, directory); }
  static std::set<int> Steps(const ConsistencyResult& r, CheckOutcome outcome) {
    std::set<int> steps;
    for (const CheckFinding& f : r.findings)
      if (f.outcome == outcome) steps.insert(f.rule->step);
    return steps;
  }

  OnePerson directory;
  CNode *in, *a, *c, *x, *y, *out, *t, *s1, *s2;
};

TEST_F(ConsistencyTest, CompleteWorkflowPassesEveryRuleAndIsAccepted) {
  const ConsistencyResult r = Run();
  EXPECT_EQ(Steps(r, CheckOutcome::Passed),
            (std::set<int>{2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}));
  EXPECT_FALSE(r.anyFailed);
  EXPECT_TRUE(r.passed);
}

struct FailureCase {
  const char* what;
  std::function<void(ConsistencyTest&)> spoil;
  int step;
  std::vector<std::string> nodes;  // names of the nodes reported
};

class ConsistencyFailureTest : public ConsistencyTest,
                               public ::testing::WithParamInterface<FailureCase> {};

#define NOT_OPERATIONAL "\r\n\r\n--> Workflow type can not be saved as 'operational' yet."
// What each step says when it fails, word for word.
const std::map<int, std::string> kFailedTexts = {
    {2,
     "The workflow settings have to contain a minimum set of information.\r\nThe name of the "
     "current workflow type is not specified!" NOT_OPERATIONAL},
    {3,
     "The workflow settings have to contain a minimum set of information.\r\nWorkflow "
     "supervisor is not specified!" NOT_OPERATIONAL},
    {4, "Workflow types have to contain one start and one end task." NOT_OPERATIONAL},
    {5,
     "Tasks and clusters do have to be specified with minimum set of information. For some "
     "tasks or clusters 'Name' was not specified in the properties box." NOT_OPERATIONAL},
    {6,
     "Tasks and clusters do have to be specified with minimum set of information. For some "
     "tasks or clusters 'Performer' was not specified in the properties box." NOT_OPERATIONAL},
    {7,
     "Tasks and clusters do have to be specified with minimum set of information. For some "
     "tasks or clusters 'Forms' was not specified in the properties box." NOT_OPERATIONAL},
    {8,
     "IN-Task must be published in the External Directory in the section 'Workflows Published "
     "by Us." NOT_OPERATIONAL},
    {9, "Some of the assigned external 'Performers' are not valid or empty." NOT_OPERATIONAL},
    {10,
     "External subscribed workflows have to be subscribed(via drag&drop) from the 'Workflows "
     "offered by Partners' section in the External Directory. In some of the external "
     "subscribed workflows this assignment is not valid or missing." NOT_OPERATIONAL},
    {11,
     "Two or more external subscribed workflows are referencing forward or are not "
     "connected." NOT_OPERATIONAL},
    {12,
     "Internal workflow clusters need one start and one end task. These have not been "
     "defined in all internal workflow clusters yet." NOT_OPERATIONAL},
    {13,
     "In the current workflow type there are loops consisting of arrows that are all set to "
     "'ALWAYS' (see properties box).\r\nDerived workflow instances thus may probably never "
     "end. Therefore the workflow type cannot be saved as 'operational' yet. To avoid "
     "deadlocks at minimum one of the arrows must be specified with a reasonable 'Condition' "
     "that prevents infinite loops." NOT_OPERATIONAL},
};
#undef NOT_OPERATIONAL

TEST_P(ConsistencyFailureTest, OnlyTheSpoiledRuleFailsAndNamesItsNodes) {
  GetParam().spoil(*this);
  const ConsistencyResult r = Run();
  EXPECT_EQ(Steps(r, CheckOutcome::Failed), std::set<int>{GetParam().step});
  EXPECT_FALSE(r.passed) << "Active";
  for (const CheckFinding& f : r.findings) {
    if (f.outcome != CheckOutcome::Failed) continue;
    EXPECT_EQ(f.GetSeverity(), Severity::Error);
    EXPECT_EQ(f.Text(), kFailedTexts.at(f.rule->step));
    std::vector<std::string> names;
    for (const CNode* n : f.nodes) names.push_back(n->Name());
    EXPECT_EQ(names, GetParam().nodes);
  }
}

using T = ConsistencyTest;
INSTANTIATE_TEST_SUITE_P(
    Rules, ConsistencyFailureTest,
    ::testing::Values(
        FailureCase{
            "DefaultName", [](T& w) { w.Header([](auto& h) { h.name = "New workflow"; }); }, 2, {}},
        FailureCase{"NoName", [](T& w) { w.Header([](auto& h) { h.name.clear(); }); }, 2, {}},
        FailureCase{
            "NoSupervisor", [](T& w) { w.Header([](auto& h) { h.supervisor.clear(); }); }, 3, {}},
        FailureCase{"NoEnd", [](T& w) { w.doc.SetEndNode(nullptr); }, 4, {}},
        FailureCase{"Unnamed",
                    [](T& w) { w.Edit(w.a, [](auto& n) { n.name = "unnamed"; }); },
                    5,
                    {"unnamed"}},
        FailureCase{"NoPerformer",
                    [](T& w) { w.Edit(w.y, [](auto& n) { n.member.clear(); }); },
                    6,
                    {"Pack"}},
        FailureCase{
            "NoForm", [](T& w) { w.Edit(w.t, [](auto& n) { n.objects.clear(); }); }, 7, {"Expert"}},
        FailureCase{"InNotPublished",
                    [](T& w) { w.Edit(w.in, [](auto& n) { n.griId.clear(); }); },
                    8,
                    {"Receive"}},
        FailureCase{"UnknownPartner",
                    [](T& w) { w.Edit(w.t, [](auto& n) { n.member = "Tom"; }); },
                    9,
                    {"Expert"}},
        FailureCase{"NoPartner",
                    [](T& w) { w.Edit(w.t, [](auto& n) { n.member.clear(); }); },
                    9,
                    {"Expert"}},
        FailureCase{"NotSubscribed",
                    [](T& w) { w.Edit(w.s1, [](auto& n) { n.griId.clear(); }); },
                    10,
                    {"Carrier"}},
        FailureCase{"ForwardReference",
                    [](T& w) {
                      w.doc.DisconnectReference(*w.s2);
                      w.doc.ConnectReference(*w.s1, *w.s2);
                    },
                    11,
                    {"Carrier"}},
        FailureCase{"ClusterWithoutEnd",
                    [](T& w) { w.doc.SetClusterEndNode(*w.c, nullptr); },
                    12,
                    {"Fulfil"}},
        FailureCase{"AndLoop", [](T& w) { w.Link(w.out, w.a); }, 13, {"Check", "Confirm"}}),
    [](const auto& param) { return std::string(param.param.what); });

TEST_F(ConsistencyTest, RulesWithoutTheirKindOfNodeAreNotReported) {
  for (CNode* n : {t, s1, s2, c}) doc.DeleteNode(*n);
  doc.DefineAsWorkflowStart(*a);  // an internal start: no In Task to look at
  const ConsistencyResult r = Run();
  EXPECT_EQ(Steps(r, CheckOutcome::Passed), (std::set<int>{2, 3, 4, 5, 6, 7, 13}));
  EXPECT_TRUE(Steps(r, CheckOutcome::Failed).empty());
}

TEST_F(ConsistencyTest, StatusDecidesWhetherFindingsRefuse) {
  Header([](WorkflowHeader& h) { h.supervisor.clear(); });
  EXPECT_FALSE(Run().passed);
  EXPECT_TRUE(RunConsistencyRules(doc, directory, WorkflowStatus::Design).passed);
  for (WorkflowStatus s : {WorkflowStatus::Design, WorkflowStatus::Freeze, WorkflowStatus::Template,
                           WorkflowStatus::Testing}) {
    Header([s](WorkflowHeader& h) { h.status = s; });
    const ConsistencyResult r = Run();
    EXPECT_TRUE(r.anyFailed);
    EXPECT_TRUE(r.passed) << static_cast<int>(s);
  }
  // Without the External Directory nobody is a registered partner.
  EXPECT_EQ(Steps(RunConsistencyRules(doc, NoExternalDirectory()), CheckOutcome::Failed),
            (std::set<int>{3, 9}));
}

TEST_F(WorkflowTest, EmptyLevelEndsTheCheckWithFailureInAnyStatus) {
  EXPECT_FALSE(CheckConsistency(doc, NoExternalDirectory()));
  const std::vector<InfoEntry> entries = ui.infoCenter().entries(kConsistencyCheckCategory);
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].title, "Checking number of workflow elements");
  EXPECT_EQ(entries[0].text,
            "The current workflow type does not contain tasks or clusters.\r\nConsistency check is "
            "not possible.");
  EXPECT_EQ(entries[0].severity, Severity::Error);
  EXPECT_TRUE(ui.infoWindowShown);
}

TEST_F(ConsistencyTest, InfoCenterHoldsOnlyTheLatestRunWithItsTitles) {
  ui.infoCenter().addEntry("Other", "kept", "", 0, Severity::Notice);
  Header([](WorkflowHeader& h) { h.supervisor.clear(); });
  EXPECT_FALSE(CheckConsistency(doc, directory));
  Header([](WorkflowHeader& h) { h.supervisor = "Ann"; });
  EXPECT_TRUE(CheckConsistency(doc, directory));
  const std::vector<InfoEntry> entries = ui.infoCenter().entries(kConsistencyCheckCategory);
  ASSERT_EQ(entries.size(), 12u);
  for (const InfoEntry& e : entries) EXPECT_EQ(e.severity, Severity::Success) << e.title;
  EXPECT_EQ(entries[1].title, "Checking workflow supervisor");
  EXPECT_EQ(entries[1].text, "Workflow supervisor has been checked successfully.");
  EXPECT_EQ(entries[9].title, "Checking reference between  external subscribed workflows ");
  EXPECT_EQ(entries[11].text, "No infinite loops detected!");
  EXPECT_EQ(ui.infoCenter().entries("Other").size(), 1u);
}

TEST_F(ConsistencyTest, InfoCenterEntriesNameTheTasksAsTheCommandLineDoes) {
  Edit(y, [](NodeAttributes& n) { n.member.clear(); });
  Edit(t, [](NodeAttributes& n) { n.objects.clear(); });
  Edit(out, [](NodeAttributes& n) { n.objects.clear(); });
  EXPECT_FALSE(CheckConsistency(doc, directory));
  std::map<std::string, std::string> texts;
  for (const InfoEntry& e : ui.infoCenter().entries(kConsistencyCheckCategory))
    if (e.severity == Severity::Error) texts[e.title] = e.text;
  EXPECT_EQ(
      texts,
      (std::map<std::string, std::string>{
          {"Checking performers in nodes and clusters ",
           kFailedTexts.at(6) + "\r\n\r\nTasks concerned:\r\n  node 4 \"Pack\""},
          {"Checking assigned forms in nodes and clusters ",
           kFailedTexts.at(7) + "\r\n\r\nTasks concerned:\r\n  node 5 \"Confirm\"\r\n  node 6 "
                                "\"Expert\""}}));
}

// Loops: only arrows that are all And count; through cluster levels too.
class LoopTest : public WorkflowTest {
 protected:
  bool HasLoop() { return !FindAndLoops(doc).empty(); }
};

TEST_F(LoopTest, AndLoopsAreFoundOrAndSelfArrowsAreNot) {
  CNode* p = Add("P");
  CNode* q = Add("Q", 1);
  CNode* r = Add("R", 2);
  doc.DefineAsWorkflowStart(*p);
  Link(p, q);
  Link(q, r);
  Link(r, r);
  EXPECT_FALSE(HasLoop()) << "a self-arrow";
  CArrow* back = Link(r, p, RoutingKind::Or);
  EXPECT_FALSE(HasLoop()) << "one Or arrow in the loop";
  doc.SetArrowRouting(*back, {RoutingKind::And, {}, {}});
  const std::vector<const CArrow*> loops = FindAndLoops(doc);
  ASSERT_EQ(loops.size(), 1u);
  EXPECT_EQ(loops[0], back);
  for (CNode* n : doc.AllNodes()) EXPECT_FALSE(n->work.visitMark);
}

TEST_F(LoopTest, LoopsThroughTwoClusterLevelsAreFound) {
  // Top: S -> K -> E, E -> S? no: the loop closes from the inner end of the inner
  // cluster, whose routing continues at K2's and then K's successors.
  CNode* s = Add("S");
  CNode* k = Add("K", 1, 0, NodeKind::IWC);
  CNode* e = Add("E", 2);
  CNode* i1 = Add("I1");
  CNode* k2 = Add("K2", 1, 0, NodeKind::IWC);
  CNode* j1 = Add("J1");
  CNode* j2 = Add("J2", 1);
  MakeClusterOf(k, i1, k2);
  MakeClusterOf(k2, j1, j2);
  doc.DefineAsWorkflowStart(*s);
  Link(s, k);
  Link(i1, k2);
  Link(j1, j2);
  CArrow* onward = Link(k, e);
  EXPECT_FALSE(HasLoop());
  Link(e, s);
  EXPECT_TRUE(HasLoop());
  doc.SetArrowRouting(*onward, {RoutingKind::Xor, "done", {}});
  EXPECT_FALSE(HasLoop()) << "the way out of the cluster is conditional";
  EXPECT_LT(s->work.preorderNumber, j2->work.preorderNumber);
  EXPECT_GT(s->work.postorderNumber, j2->work.postorderNumber);
}

TEST_F(LoopTest, LongChainIsWalkedWithoutRecursion) {
  CNode* first = Add("first");
  CNode* last = first;
  for (int i = 1; i < 60000; ++i) {
    CNode* next = doc.CreateNode(NodeRectAt(50 * (i % 1000), -50 * (i / 1000)));
    Link(last, next);
    last = next;
  }
  doc.DefineAsWorkflowStart(*first);
  EXPECT_FALSE(HasLoop());
  Link(last, first);
  EXPECT_TRUE(HasLoop());
}

}  // namespace
}  // namespace velk::testing
