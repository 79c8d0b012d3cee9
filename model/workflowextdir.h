#pragma once
// The External Directory steps of saving and loading a workflow.

#include <string>
#include <utility>
#include <vector>

namespace velk {

class CWorkflowDoc;

// After a save is committed: the IRI leaf of every saved In Task with a GRI id
// (GRI id, workflow id) names the saved workflow.
void UpdatePublishedLeafs(CWorkflowDoc& top,
                          const std::vector<std::pair<std::string, std::string>>& published);

// After loading: a subscribed external workflow (kind "Extern") with a GRI id
// and no reference text gets the organisation of its leaf as its member.
void TakeSubscribedOrganisations(CWorkflowDoc& top);

// The organisation a leaf's header names; empty when the leaf or its header is
// not found.
std::string LeafOrganisation(CWorkflowDoc& top, const std::string& leafId);

}  // namespace velk
