#pragma once
// A workflow as BPMN 2.0 XML (the interchange format of other process tools),
// with its diagram. docs/bpmn.md has the mapping.
//
// Export: the top level is a `process`, each cluster level a `subProcess` in
// place of its cluster node; tasks are activities by kind; arrows are sequence
// flows, with gateways where a task splits into several arrows of And routing
// (parallel) or of conditional and Else routing (exclusive, the Else arrow its
// default flow); each level's start and end task get a start and an end event.
// Every field BPMN has no element for travels in `extensionElements` of our own
// namespace, so that an import of the export gives back the same workflow.
//
// Import: any BPMN 2.0 process; what a workflow cannot express is turned into
// what comes nearest and listed as notices, never dropped silently.

#include <string>
#include <string_view>
#include <vector>

namespace velk {

class CWorkflowDoc;

// The Info Center category of an import's notices.
inline constexpr char kBpmnImportCategory[] = "BPMN Import";

// Something of a BPMN file the workflow could not take as it was.
struct BpmnNotice {
  std::string element;  // the element's id
  std::string type;     // its BPMN type ("complexGateway")
  std::string action;   // what became of it
};
// "complexGateway G1: became the task \"G1\"".
std::string NoticeText(const BpmnNotice& notice);

// The workflow (all levels) as a BPMN document. Throws std::runtime_error when a
// text cannot be written as XML (not UTF-8, a control character), naming it.
std::string WorkflowToBpmn(const CWorkflowDoc& doc);

// Fills the empty document with the workflow of a BPMN file, as importing a
// workflow file does (model/workflowjson.h); nodes without a diagram position are
// placed by the layered layout (with Graphviz's dot unless `dot` is false). The
// notices also go to the Info Center. Throws std::runtime_error saying why the
// text is refused (not BPMN, not well-formed, declares entities, nested too
// deeply, no process, no tasks); the document is then left as it was.
std::vector<BpmnNotice> WorkflowFromBpmn(std::string_view xml, CWorkflowDoc& doc, bool dot = true);

// Whether a workflow file's text is XML (else it is taken for JSON): its first
// character after blanks and a byte order mark is "<".
bool LooksLikeXml(std::string_view text);

}  // namespace velk
