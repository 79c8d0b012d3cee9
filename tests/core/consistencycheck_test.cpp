// The consistency check: each rule passing and failing on a small workflow, the
// rules that do not apply, the status rule, the Info Center, and loops of And
// arrows through clusters.

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>
#include <string>
#include <type_traits>
#include <vector>

#include "common/infocenter.h"
#include "common/services.h"
#include "editor_graphs.h"
#include "model/checkloops.h"
#include "model/consistencycheck.h"

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
    Set(in, &NodeAttributes::griId, "LEAF1");
    Set(t, &NodeAttributes::member, "Tom Keller/Consulting/Cirrus Consulting");
    for (CNode* s : {s1, s2}) Set(s, &NodeAttributes::griId, "LEAF2");
    doc.ConnectReference(*s2, *s1);
    Set(&WorkflowHeader::name, "Order");
    Set(&WorkflowHeader::supervisor, "Ann Lee/Sales/Marvelund");
    Set(&WorkflowHeader::status, WorkflowStatus::Active);
  }

  // A task with a performer and a form.
  CNode* Task(const std::string& name, int col, NodeKind kind = NodeKind::Intern) {
    CNode* n = Add(name, col, 0, kind);
    Set(n, &NodeAttributes::member, "Clerk");
    Set(n, &NodeAttributes::objects, {"Order|GF_Order"});
    return n;
  }
  template <class Field>
  void Set(CNode* n, Field NodeAttributes::*field, std::type_identity_t<Field> value = {}) {
    EditNode(doc, *n, [&](NodeAttributes& na) { na.*field = value; });
  }
  template <class Field>
  void Set(Field WorkflowHeader::*field, std::type_identity_t<Field> value = {}) {
    EditHeader(doc, [&](WorkflowHeader& h) { h.*field = value; });
  }
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

TEST_F(ConsistencyTest, CompleteWorkflowPassesEveryRuleThatApplies) {
  const ConsistencyResult r = Run();
  EXPECT_EQ(Steps(r, CheckOutcome::Passed),
            (std::set<int>{2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}));
  EXPECT_FALSE(r.anyFailed);
  EXPECT_TRUE(r.passed);
  // Rules without their kind of node are not reported at all.
  for (CNode* n : {t, s1, s2, c}) doc.DeleteNode(*n);
  doc.DefineAsWorkflowStart(*a);  // an internal start: no In Task to look at
  EXPECT_EQ(Steps(Run(), CheckOutcome::Passed), (std::set<int>{2, 3, 4, 5, 6, 7, 13}));
  EXPECT_TRUE(Steps(Run(), CheckOutcome::Failed).empty());
}

struct FailureCase {
  const char* what;
  std::function<void(ConsistencyTest&)> spoil;
  int step;
  std::vector<std::string> nodes;  // names of the nodes reported
};

class ConsistencyFailureTest : public ConsistencyTest,
                               public ::testing::WithParamInterface<FailureCase> {};

TEST_P(ConsistencyFailureTest, OnlyTheSpoiledRuleFailsAndNamesItsNodes) {
  GetParam().spoil(*this);
  const ConsistencyResult r = Run();
  EXPECT_EQ(Steps(r, CheckOutcome::Failed), std::set<int>{GetParam().step});
  EXPECT_FALSE(r.passed) << "Active";
  for (const CheckFinding& f : r.findings) {
    if (f.outcome != CheckOutcome::Failed) continue;
    EXPECT_EQ(f.GetSeverity(), Severity::Error);
    EXPECT_TRUE(std::string(f.Text()).ends_with(
        "\r\n\r\n--> Workflow type can not be saved as 'operational' yet."))
        << f.Text();
    std::vector<std::string> names;
    for (const CNode* n : f.nodes) names.push_back(n->Name());
    EXPECT_EQ(names, GetParam().nodes);
  }
}

using T = ConsistencyTest;
using NA = NodeAttributes;
using WH = WorkflowHeader;
const FailureCase kFailures[] = {
    {"DefaultName", [](T& w) { w.Set(&WH::name, "New workflow"); }, 2, {}},
    {"NoName", [](T& w) { w.Set(&WH::name); }, 2, {}},
    {"NoSupervisor", [](T& w) { w.Set(&WH::supervisor); }, 3, {}},
    {"NoEnd", [](T& w) { w.doc.SetEndNode(nullptr); }, 4, {}},
    {"Unnamed", [](T& w) { w.Set(w.a, &NA::name, "unnamed"); }, 5, {"unnamed"}},
    {"NoPerformer", [](T& w) { w.Set(w.y, &NA::member); }, 6, {"Pack"}},
    {"NoForm", [](T& w) { w.Set(w.t, &NA::objects); }, 7, {"Expert"}},
    {"InNotPublished", [](T& w) { w.Set(w.in, &NA::griId); }, 8, {"Receive"}},
    {"UnknownPartner", [](T& w) { w.Set(w.t, &NA::member, "Tom"); }, 9, {"Expert"}},
    {"NoPartner", [](T& w) { w.Set(w.t, &NA::member); }, 9, {"Expert"}},
    {"NotSubscribed", [](T& w) { w.Set(w.s1, &NA::griId); }, 10, {"Carrier"}},
    {"ForwardReference",
     [](T& w) {
       w.doc.DisconnectReference(*w.s2);
       w.doc.ConnectReference(*w.s1, *w.s2);
     },
     11,
     {"Carrier"}},
    {"ClusterWithoutEnd", [](T& w) { w.doc.SetClusterEndNode(*w.c, nullptr); }, 12, {"Fulfil"}},
    {"AndLoop", [](T& w) { w.Link(w.out, w.a); }, 13, {"Check", "Confirm"}},
};
INSTANTIATE_TEST_SUITE_P(Rules, ConsistencyFailureTest, ::testing::ValuesIn(kFailures),
                         [](const auto& param) { return std::string(param.param.what); });

TEST_F(ConsistencyTest, StatusDecidesWhetherFindingsRefuse) {
  Set(&WH::supervisor);
  EXPECT_FALSE(Run().passed);
  EXPECT_TRUE(RunConsistencyRules(doc, directory, WorkflowStatus::Design).passed);
  for (WorkflowStatus s : {WorkflowStatus::Design, WorkflowStatus::Freeze, WorkflowStatus::Template,
                           WorkflowStatus::Testing}) {
    Set(&WH::status, s);
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

TEST_F(ConsistencyTest, InfoCenterHoldsOnlyTheLatestRunWithItsTitlesAndTheTasksConcerned) {
  ui.infoCenter().addEntry("Other", "kept", "", 0, Severity::Notice);
  Set(&WH::supervisor);
  EXPECT_FALSE(CheckConsistency(doc, directory));
  Set(&WH::supervisor, "Ann");
  EXPECT_TRUE(CheckConsistency(doc, directory));
  const std::vector<InfoEntry> entries = ui.infoCenter().entries(kConsistencyCheckCategory);
  ASSERT_EQ(entries.size(), 12u);
  for (const InfoEntry& e : entries) EXPECT_EQ(e.severity, Severity::Success) << e.title;
  EXPECT_EQ(entries[1].title, "Checking workflow supervisor");
  EXPECT_EQ(entries[1].text, "Workflow supervisor has been checked successfully.");
  EXPECT_EQ(entries[9].title, "Checking reference between  external subscribed workflows ");
  EXPECT_EQ(entries[11].text, "No infinite loops detected!");
  EXPECT_EQ(ui.infoCenter().entries("Other").size(), 1u);
  // Failures name the tasks concerned as the command line does.
  Set(y, &NA::member);
  Set(t, &NA::objects);
  Set(out, &NA::objects);
  EXPECT_FALSE(CheckConsistency(doc, directory));
  std::map<std::string, std::string> texts;
  for (const InfoEntry& e : ui.infoCenter().entries(kConsistencyCheckCategory))
    if (e.severity == Severity::Error) texts[e.title] = e.text;
  const std::string missing =
      "Tasks and clusters do have to be specified with minimum set of information. For some "
      "tasks or clusters '";
  const std::string concerned =
      "' was not specified in the properties box.\r\n\r\n--> Workflow type can not be saved as "
      "'operational' yet.\r\n\r\nTasks concerned:\r\n  node ";
  EXPECT_EQ(texts, (std::map<std::string, std::string>{
                       {"Checking performers in nodes and clusters ",
                        missing + "Performer" + concerned + "4 \"Pack\""},
                       {"Checking assigned forms in nodes and clusters ",
                        missing + "Forms" + concerned + "5 \"Confirm\"\r\n  node 6 \"Expert\""}}));
}

// Loops: only arrows that are all And count; through cluster levels too.
TEST_F(WorkflowTest, AndLoopsAreFoundOrAndSelfArrowsAreNotAlsoOnALongChain) {
  CNode* p = Add("P");
  CNode* q = Add("Q", 1);
  CNode* r = Add("R", 2);
  doc.DefineAsWorkflowStart(*p);
  for (auto [from, to] : {std::pair{p, q}, {q, r}, {r, r}}) Link(from, to);
  EXPECT_TRUE(FindAndLoops(doc).empty()) << "a self-arrow";
  CArrow* back = Link(r, p, RoutingKind::Or);
  EXPECT_TRUE(FindAndLoops(doc).empty()) << "one Or arrow in the loop";
  doc.SetArrowRouting(*back, {RoutingKind::And, {}, {}});
  EXPECT_EQ(FindAndLoops(doc), std::vector<const CArrow*>{back});
  for (CNode* n : doc.AllNodes()) EXPECT_FALSE(n->work.visitMark);
  // A long chain is walked without recursion.
  doc.ClearGraph();
  CNode* first = Add("first");
  CNode* last = first;
  for (int i = 1; i < 60000; ++i) {
    CNode* next = doc.CreateNode(NodeRectAt(50 * (i % 1000), -50 * (i / 1000)));
    Link(last, next);
    last = next;
  }
  doc.DefineAsWorkflowStart(*first);
  EXPECT_TRUE(FindAndLoops(doc).empty());
  Link(last, first);
  EXPECT_FALSE(FindAndLoops(doc).empty());
}

// The loop closes from the end of the inner cluster, whose routing continues at
// K2's and then K's successors.
TEST_F(NestedClustersTest, AndLoopsThroughTwoClusterLevelsAreFound) {
  doc.DefineAsWorkflowStart(*start);
  EXPECT_TRUE(FindAndLoops(doc).empty());
  Link(after, start);
  EXPECT_FALSE(FindAndLoops(doc).empty());
  doc.SetArrowRouting(*onward, {RoutingKind::Xor, "done", {}});
  EXPECT_TRUE(FindAndLoops(doc).empty()) << "the way out of the cluster is conditional";
  EXPECT_LT(start->work.preorderNumber, j2->work.preorderNumber);
  EXPECT_GT(start->work.postorderNumber, j2->work.postorderNumber);
}

}  // namespace
}  // namespace velk::testing
