#pragma once
// Enumerations of the workflow model. Each keeps the integer code under which the
// rest of the program knows it (the stored words are those of repository/vocabulary.h:
// TaskKindToWord, WorkflowStatusToWord, WorkflowTypeToWord); a value read from a
// damaged document may lie outside the named codes, so switches keep a default.

namespace velk {

enum class NodeKind : int {
  Intern = 0,     // internal task
  In = 1,         // entry point published to partners
  Out = 2,        // last task
  IWC = 3,        // internal workflow cluster: stands for a sub-level
  ICDR = 4,       // sub-workflow with central design and replication
  CDDR = 5,       // sub-workflow with distributed design and replication
  Extern = 6,     // external subscribed workflow
  ExtWFTask = 7,  // external workflow task
  EIDM = 8,       // external sub-workflow with independent design and messaging
};
inline constexpr int kNodeKindCount = 9;

enum class RoutingKind : int { And = 0, Or = 1, Xor = 2, Cor = 3, Else = 4 };
inline constexpr int kRoutingKindCount = 5;

// "And", "Or", "Xor", "Cor", "Else"; "And" for a code outside 0..4 (stored under And).
const char* RoutingKindName(RoutingKind kind);
// Or, Xor and Cor arrows carry a condition; only Cor also a formula.
bool RoutingHasCondition(RoutingKind kind);
bool RoutingHasFormula(RoutingKind kind);

enum class WorkflowStatus : int { Design = 0, Active = 1, Freeze = 2, Template = 3, Testing = 4 };

enum class WorkflowType : int { Normal = 0, ICDR = 1, CDDR = 2, Referenced = 3 };

}  // namespace velk
