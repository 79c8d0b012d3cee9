#pragma once
// A workflow as a JSON document, for exporting and importing workflows.
//
// {
//   "format": "velkmod-workflow", "formatVersion": 1,
//   "header": { "name", "category", "applicationReplicaId", "version", "status",
//               "workflowType", "validFrom", "validUntil", "editors", "designers",
//               "supervisor", "freeText", "trackingType", "trackingMix",
//               "trackingMail", "trackingFrequency", "trackingRate",
//               "trackingExternal", "user", "modifiers" },
//   "nodes": [ { "id", "name", "kind", "x", "y", "belongsToCluster",
//                "representsCluster", "isClusterStartNode", "isClusterEndNode",
//                "reference", "subWorkflowId" (when there is one), and every task
//                field of NodeAttributes under its own name ("activities",
//                "duration", "durationUnit", ...) } ],
//   "arrows": [ { "from", "to", "kind", "condition", "formula" } ]
// }
//
// The fields, their names and their order are those of the record descriptions
// (model/workflowrecords.h). Enumerations are the stored words ("Active", "ICDR", "Xor", "d", "Workgroup",
// "Standard", "Send"); "x"/"y" are the left and top of the node. Nodes are named
// by their "id" (any distinct integers; an export numbers them by their place);
// "reference" is the id of the task an external subscribed workflow refers to, or
// null. An import makes the arrows kind by kind (And, Or, Cor, Xor, Else), as
// loading does, so an exported stored workflow lists them in that order.
// What depends on the database is left out: the workflow id and the node codes,
// which every save assigns anew. So an export of a stored workflow, imported and
// exported again, gives the same document.

#include <nlohmann/json.hpp>

namespace velk {

class CWorkflowDoc;

using WorkflowJson = nlohmann::ordered_json;

WorkflowJson WorkflowToJson(const CWorkflowDoc& doc);

// Fills the empty document with the workflow described, as loading rebuilds a
// stored one (arrows whose ends are unknown are reported and dropped). Missing
// fields take their defaults; numbers must be whole and fit an int. Throws
// std::runtime_error naming what is malformed (by its place, "nodes[3].x"), or
// "the workflow has no tasks", and then leaves the document as it was.
void WorkflowFromJson(const WorkflowJson& json, CWorkflowDoc& doc);

}  // namespace velk
