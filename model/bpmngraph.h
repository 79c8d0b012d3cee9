#pragma once
// A BPMN process as read, before it becomes a workflow: its flow nodes by role,
// its sequence flows, the sub-processes they nest in and the diagram bounds.

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "model/bpmn.h"
#include "model/bpmnxml.h"

namespace velk {

enum class BpmnRole { Task, Gateway, Start, End };

struct BpmnElement {
  std::string id;
  std::string type;  // the BPMN element name ("userTask")
  std::string name;
  const xmlNode* xml = nullptr;
  BpmnRole role = BpmnRole::Task;
  int container = 0;         // the process or sub-process it lies in
  int inner = -1;            // a sub-process: the container it opens
  bool absorbed = false;     // an event that became its level's start or end task
  std::vector<int> in, out;  // sequence flows
  std::string defaultFlow;
  std::string lane;  // the innermost lane holding it
};

struct BpmnFlow {
  std::string id;
  const xmlNode* xml = nullptr;
  int source = -1;
  int target = -1;
  bool conditional = false;
  std::string condition;
};

struct BpmnContainer {
  const xmlNode* xml = nullptr;
  int element = -1;  // the sub-process; -1 for the process
  int start = -1;    // the elements that start and end its level
  int end = -1;
};

struct BpmnGraph {
  XmlDocument doc;
  const xmlNode* process = nullptr;
  std::vector<BpmnElement> elements;
  std::vector<BpmnFlow> flows;
  std::vector<BpmnContainer> containers;  // the process first
  std::unordered_map<std::string, int> byId;
  std::unordered_map<std::string, const xmlNode*> bounds;  // element id: its dc:Bounds
  std::vector<BpmnNotice> notices;

  void Notice(const std::string& id, const std::string& type, std::string action) {
    notices.push_back({id, type, std::move(action)});
  }
};

// Reads the process of a BPMN file (the one carrying a workflow of ours, else
// the first with flow elements). Throws std::runtime_error when the text is
// refused or holds no process.
BpmnGraph ReadBpmnGraph(std::string_view xml);

// Turns start and end events into their levels' start and end marks where an
// event leads to one task, and into tasks (with a notice) where not.
void AbsorbEvents(BpmnGraph& graph);

// An arrow between two task elements, through the gateways between them.
struct BpmnArrow {
  int source = -1;
  int target = -1;
  std::string kind;  // "And", "Or", "Else"
  std::string condition;
  int via = -1;  // the flow that reaches the target
};
std::vector<BpmnArrow> ArrowsThroughGateways(const BpmnGraph& graph);

}  // namespace velk
