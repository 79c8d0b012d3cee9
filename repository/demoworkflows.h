#pragma once
// The demo's stored workflows, written through the modeler's own save so that
// they are stored exactly as the modeler stores workflows.

#include <memory>
#include <string>
#include <vector>

class LNDatabase;

namespace velk {

class CWorkflowDoc;
class Services;

namespace demo {

// The demo workflows in memory, without databases: "Order Handling" in an
// earlier, frozen version and its Active one (nested clusters, every routing
// kind, joins, a published In Task, a sub-workflow node), the ICDR sub-workflow
// "Credit Check", the Design "Travel Request" (a loop) and the Template
// "Complaint Handling" (external tasks, a reference).
std::vector<std::unique_ptr<CWorkflowDoc>> BuildDemoWorkflows(Services& services);

struct StoredDemoWorkflow {
  std::string name;
  std::string workflowId;
  int version = 0;
  std::string status;
};

// Stores the demo workflows in the open Process Definitions Database `db` at
// `path`, inside the caller's transaction, with `appReplicaId` as their
// Application Environment. Throws std::runtime_error when a save fails.
std::vector<StoredDemoWorkflow> StoreDemoWorkflows(Services& services, LNDatabase& db,
                                                   const std::string& path,
                                                   const std::string& appReplicaId);

}  // namespace demo
}  // namespace velk
