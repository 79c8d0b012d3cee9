#include "model/consistencycheck.h"

#include <algorithm>
#include <functional>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "common/infocenter.h"
#include "common/services.h"
#include "model/checkloops.h"
#include "model/checkreferences.h"
#include "model/workflowdoc.h"

namespace velk {

namespace {

#define NOT_OPERATIONAL "\r\n\r\n--> Workflow type can not be saved as 'operational' yet."
#define MINIMUM_SET \
  "Tasks and clusters do have to be specified with minimum set of information. For some tasks " \
  "or clusters "

// clang-format off
const std::array<CheckRule, 13> kRules = {{
  {1, "VLK001", "workflow-elements", "Checking number of workflow elements",
   "Checking number of workflow elements",
   "The current workflow type does not contain tasks or clusters.\r\nConsistency check is not possible.",
   nullptr},
  {2, "VLK002", "workflow-name", "Checking workflow name", "Checking workflow name",
   "The workflow settings have to contain a minimum set of information.\r\nThe name of the current "
   "workflow type is not specified!" NOT_OPERATIONAL,
   "Workflow type has been checked successfully."},
  {3, "VLK003", "workflow-supervisor", "Checking workflow supervisor", "Checking workflow supervisor",
   "The workflow settings have to contain a minimum set of information.\r\nWorkflow supervisor is "
   "not specified!" NOT_OPERATIONAL,
   "Workflow supervisor has been checked successfully."},
  {4, "VLK004", "start-and-end", "Checking start and end tasks", "Checking start and end tasks",
   "Workflow types have to contain one start and one end task." NOT_OPERATIONAL,
   "Start and end tasks have been checked successfully."},
  {5, "VLK005", "node-names", "Checking node and cluster names", "Checking node and cluster names",
   MINIMUM_SET "'Name' was not specified in the properties box." NOT_OPERATIONAL,
   "Node and cluster names have been checked successfully."},
  {6, "VLK006", "performers", "Checking performers in nodes and clusters ",
   "Checking performers in nodes and clusters ",
   MINIMUM_SET "'Performer' was not specified in the properties box." NOT_OPERATIONAL,
   "Node and cluster performers have been checked successfully."},
  {7, "VLK007", "forms", "Checking assigned forms in nodes and clusters ",
   "Checking assigned forms in nodes and clusters ",
   MINIMUM_SET "'Forms' was not specified in the properties box." NOT_OPERATIONAL,
   "Node and cluster 'Forms' have been checked successfully."},
  {8, "VLK008", "in-task-published", "Checking IN-Task", "Checking IN-Task",
   "IN-Task must be published in the External Directory in the section 'Workflows Published by "
   "Us." NOT_OPERATIONAL,
   "IN-Task has been checked successfully"},
  {9, "VLK009", "external-performers", "Checking external workflow tasks",
   "Checking external workflow tasks",
   "Some of the assigned external 'Performers' are not valid or empty." NOT_OPERATIONAL,
   "External workflow tasks have been checked successfully"},
  {10, "VLK010", "subscribed-workflows", "Checking external subscribed workflows ",
   "Checking external subscribed workflows ",
   "External subscribed workflows have to be subscribed(via drag&drop) from the 'Workflows offered "
   "by Partners' section in the External Directory. In some of the external subscribed workflows "
   "this assignment is not valid or missing." NOT_OPERATIONAL,
   "External subscribed workflows have been checked successfully"},
  {11, "VLK011", "subscribed-references", "Checking reference between external subscribed workflows ",
   "Checking reference between  external subscribed workflows ",
   "Two or more external subscribed workflows are referencing forward or are not connected." NOT_OPERATIONAL,
   "References between external subscribed workflows have been checked successfully"},
  {12, "VLK012", "cluster-start-end", "Checking internal workflow clusters ",
   "Checking internal workflow clusters ",
   "Internal workflow clusters need one start and one end task. These have not been defined in "
   "all internal workflow clusters yet." NOT_OPERATIONAL,
   "Internal workflow clusters have been checked successfully"},
  {13, "VLK013", "and-loops", "Checking workflow type for infinite loops",
   "Checking workflow type for infinite loops",
   "In the current workflow type there are loops consisting of arrows that are all set to 'ALWAYS' "
   "(see properties box).\r\nDerived workflow instances thus may probably never end. Therefore the "
   "workflow type cannot be saved as 'operational' yet. To avoid deadlocks at minimum one of the "
   "arrows must be specified with a reasonable 'Condition' that prevents infinite loops." NOT_OPERATIONAL,
   "No infinite loops detected!"},
}};
// clang-format on

#undef NOT_OPERATIONAL
#undef MINIMUM_SET

bool IsTask(NodeKind kind) {
  return kind == NodeKind::Intern || kind == NodeKind::In || kind == NodeKind::Out;
}

class Rules {
 public:
  Rules(const CWorkflowDoc& doc, const ExternalDirectoryLookup& directory)
      : doc_(doc), directory_(directory) {}

  // Step 1 decides whether the others run.
  bool HasElements() const { return !doc_.LevelNodes().empty(); }

  void RunFrom2(std::vector<CheckFinding>& out) const {
    const WorkflowHeader& h = doc_.Header();
    Report(out, 2, !h.name.empty() && h.name != kNewWorkflowName);
    Report(out, 3, !h.supervisor.empty());
    Report(out, 4, doc_.StartNode() && doc_.EndNode());
    Nodes(out, 5, [](const CNode&) { return true; },
          [](const CNode& n) { return !n.Name().empty() && n.Name() != "unnamed"; });
    Nodes(out, 6, [](const CNode& n) { return IsTask(n.Kind()); },
          [](const CNode& n) { return !n.Attributes().member.empty(); });
    Nodes(out, 7, [](const CNode& n) { return IsTask(n.Kind()) || n.Kind() == NodeKind::ExtWFTask; },
          [](const CNode& n) { return !n.Attributes().objects.empty(); });
    InTask(out);
    Nodes(out, 9, [](const CNode& n) { return n.Kind() == NodeKind::ExtWFTask; },
          [this](const CNode& n) {
            const std::string& member = n.Attributes().member;
            return !member.empty() &&
                   directory_.IsRegisteredExternalPerformer(doc_.Databases(), member);
          });
    auto subscribed = [](const CNode& n) { return n.Kind() == NodeKind::Extern; };
    Nodes(out, 10, subscribed, [](const CNode& n) { return !n.Attributes().griId.empty(); });
    const std::vector<const CNode*> unreachable = UnreachableReferences(doc_);
    const std::unordered_set<const CNode*> cut(unreachable.begin(), unreachable.end());
    Nodes(out, 11, subscribed, [&cut](const CNode& n) { return !cut.contains(&n); });
    Nodes(out, 12, [](const CNode& n) { return n.IsClusterNode(); },
          [](const CNode& n) { return n.ClusterStartNode() && n.ClusterEndNode(); });
    Loops(out);
  }

 private:
  static void Report(std::vector<CheckFinding>& out, int step, bool ok,
                     std::vector<const CNode*> nodes = {}) {
    out.push_back({&kRules[step - 1], ok ? CheckOutcome::Passed : CheckOutcome::Failed,
                   std::move(nodes)});
  }
  // A rule over the nodes it applies to. Those from step 8 on do not apply to a
  // workflow without such nodes; the others then simply pass.
  template <class Applies, class Holds>
  void Nodes(std::vector<CheckFinding>& out, int step, Applies applies, Holds holds) const {
    bool any = false;
    std::vector<const CNode*> failing;
    for (const CNode* node : doc_.AllNodes()) {
      if (!applies(*node)) continue;
      any = true;
      if (!holds(*node)) failing.push_back(node);
    }
    if (!any && step >= 8) return;
    const bool ok = failing.empty();  // before the list is moved away
    Report(out, step, ok, std::move(failing));
  }

  void InTask(std::vector<CheckFinding>& out) const {
    const CNode* start = doc_.StartNode();
    if (!start || start->Kind() != NodeKind::In) return;
    const bool ok = !start->Attributes().griId.empty();
    Report(out, 8, ok, ok ? std::vector<const CNode*>{} : std::vector<const CNode*>{start});
  }

  void Loops(std::vector<CheckFinding>& out) const {
    std::vector<const CNode*> nodes;
    for (const CArrow* arrow : FindAndLoops(doc_))
      for (const CNode* n : {arrow->Target(), arrow->Source()})
        if (std::ranges::find(nodes, n) == nodes.end()) nodes.push_back(n);
    const bool ok = nodes.empty();
    Report(out, 13, ok, std::move(nodes));
  }

  const CWorkflowDoc& doc_;
  const ExternalDirectoryLookup& directory_;
};

}  // namespace

const std::array<CheckRule, 13>& CheckRules() {
  return kRules;
}

ConsistencyResult RunConsistencyRules(const CWorkflowDoc& doc,
                                      const ExternalDirectoryLookup& directory,
                                      std::optional<WorkflowStatus> judgeAs) {
  ConsistencyResult result;
  Rules rules(doc, directory);
  if (!rules.HasElements()) {
    result.findings.push_back({&kRules[0], CheckOutcome::Failed, {}});
    result.anyFailed = true;
    return result;
  }
  rules.RunFrom2(result.findings);
  result.anyFailed = std::ranges::any_of(
      result.findings, [](const CheckFinding& f) { return f.outcome == CheckOutcome::Failed; });
  const WorkflowStatus status = judgeAs.value_or(doc.Header().status);
  result.passed = status != WorkflowStatus::Active || !result.anyFailed;
  return result;
}

bool CheckConsistency(const CWorkflowDoc& doc, const ExternalDirectoryLookup& directory) {
  const ConsistencyResult result = RunConsistencyRules(doc, directory);
  // The tasks a finding names carry the ids 'workflow export' gives them.
  std::unordered_map<const CNode*, int> ids;
  for (const CNode* node : doc.AllNodes()) ids.emplace(node, static_cast<int>(ids.size()));
  InfoCenter& center = doc.UserInterface().infoCenter();
  center.clearCategory(kConsistencyCheckCategory);
  for (const CheckFinding& f : result.findings) {
    std::string text = f.Text();
    if (!f.nodes.empty()) text += "\r\n\r\nTasks concerned:";
    for (const CNode* n : f.nodes)
      text += "\r\n  node " + std::to_string(ids.at(n)) + " \"" + n->Name() + "\"";
    center.addEntry(kConsistencyCheckCategory, f.Title(), text, 0, f.GetSeverity());
  }
  return result.passed;
}

}  // namespace velk
