#pragma once
// The consistency check: thirteen rules that decide whether a workflow type is
// complete enough to run. Every save runs it before writing, and the designer
// runs it from the Workflow menu. Findings go to the Info Center; only an Active
// workflow is refused when a rule fails.

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "common/services.h"
#include "model/kinds.h"

namespace velk {

class CNode;
class CWorkflowDoc;
struct WorkflowDatabases;

inline constexpr char kConsistencyCheckCategory[] = "Consistency check";

// What the check asks of the External Directory. The check is given one where
// the program is composed, so it never reaches for a data set of its own.
class ExternalDirectoryLookup {
 public:
  virtual ~ExternalDirectoryLookup() = default;
  // Whether the External Directory of a workflow with these databases holds a
  // registered external person of exactly this (abbreviated) name.
  virtual bool IsRegisteredExternalPerformer(const WorkflowDatabases& databases,
                                             const std::string& name) const = 0;
};

// For a program without External Directory data: nobody is registered, so every
// external workflow task fails the rule that wants a registered performer.
class NoExternalDirectory final : public ExternalDirectoryLookup {
 public:
  bool IsRegisteredExternalPerformer(const WorkflowDatabases&, const std::string&) const override {
    return false;
  }
};

// One rule of the check, in the order the rules run.
struct CheckRule {
  int step;
  const char* id;           // stable, for scripts: "VLK004"
  const char* name;         // "start-and-end"
  const char* title;        // the Info Center title of a failure
  const char* passedTitle;  // of a pass (one rule spells it differently)
  const char* failedText;
  const char* passedText;  // nullptr: a pass is not reported
};
const std::array<CheckRule, 13>& CheckRules();

enum class CheckOutcome { NotApplicable, Passed, Failed };

struct CheckFinding {
  const CheckRule* rule = nullptr;
  CheckOutcome outcome = CheckOutcome::Passed;
  // The nodes that make a rule fail, in workflow order.
  std::vector<const CNode*> nodes;

  const char* Title() const {
    return outcome == CheckOutcome::Failed ? rule->title : rule->passedTitle;
  }
  const char* Text() const {
    return outcome == CheckOutcome::Failed ? rule->failedText : rule->passedText;
  }
  Severity GetSeverity() const {
    return outcome == CheckOutcome::Failed ? Severity::Error : Severity::Success;
  }
};

struct ConsistencyResult {
  // The reported findings (passed or failed) in rule order; rules that did not
  // apply are left out.
  std::vector<CheckFinding> findings;
  bool anyFailed = false;
  // The verdict: an empty level always fails; otherwise only an Active workflow
  // fails, when a rule failed.
  bool passed = false;
};

// Runs the rules on `doc` (its level for the first and fourth, the whole workflow
// for the others) and judges by `judgeAs`, else by the workflow's status.
// Reports nothing.
ConsistencyResult RunConsistencyRules(const CWorkflowDoc& doc,
                                      const ExternalDirectoryLookup& directory,
                                      std::optional<WorkflowStatus> judgeAs = {});

// The check as the modeler runs it: replaces the entries of the Info Center
// category "Consistency check" by the findings; pass or fail.
bool CheckConsistency(const CWorkflowDoc& doc, const ExternalDirectoryLookup& directory);

}  // namespace velk
