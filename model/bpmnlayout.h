#pragma once
// What a workflow becomes in a BPMN file, before any XML is written: one plane
// per level (the top process, then each cluster level as a sub-process), the
// elements of each with their diagram bounds, and the sequence flows with their
// waypoints. Tasks keep their places; the gateways and events the export adds
// sit beside them.

#include <string>
#include <vector>

#include "model/geometry.h"

namespace velk {

class CWorkflowDoc;

// Two diagram pixels to a logical unit: other tools draw a task 100 x 80 pixels
// and space tasks 150 to 250 pixels apart, which keeps a workflow's spacing
// about as the modeler shows it. Places are the shapes' centres; y points down
// in BPMN.
inline constexpr int kBpmnPixelsPerUnit = 2;

struct BpmnShape {
  std::string id;
  std::string element;  // connectors: "bpmn:startEvent", ...; empty for tasks
  int node = -1;        // tasks: the node's place among all nodes
  std::string defaultFlow;
  int x = 0, y = 0, width = 0, height = 0;
};

struct BpmnEdge {
  std::string id;
  std::string source;
  std::string target;
  int arrow = -1;  // the arrow's place among all arrows; -1 for a flow the export adds
  std::vector<Point> waypoints;
};

struct BpmnPlane {
  std::string container;  // the process or sub-process it shows
  std::vector<BpmnShape> shapes;
  std::vector<BpmnEdge> edges;
};

struct BpmnShapes {
  std::vector<BpmnPlane> planes;  // the process first
  // The plane of a sub-process, or null.
  const BpmnPlane* PlaneOf(const std::string& container) const;
};

BpmnShapes PlanBpmnShapes(const CWorkflowDoc& top);

// "Workflow_" and the workflow id (characters XML ids lack become "_"); the
// process of a workflow not yet stored is "Workflow".
std::string BpmnProcessId(const std::string& workflowId);
// The workflow id such a process id names; any other text as it is.
std::string WorkflowIdOfProcess(const std::string& processId);

// The node rectangle a diagram shape of any size stands for: a node of our size
// centred where the shape's centre is.
Rect NodeRectOfBounds(double x, double y, double width, double height);

}  // namespace velk
