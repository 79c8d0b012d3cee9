#include "model/workflowextdir.h"

#include "common/infocenter.h"
#include "common/services.h"
#include "extdir/extdirdata.h"
#include "extdir/extdiritems.h"
#include "model/node.h"
#include "model/workflowdoc.h"

namespace velk {

void UpdatePublishedLeafs(CWorkflowDoc& top,
                          const std::vector<std::pair<std::string, std::string>>& published) {
  if (published.empty()) return;
  CExtDirData* directory = top.Databases().externalDirectory.repository;
  for (const auto& [leafId, workflowId] : published) {
    if (directory) {
      directory->UpdateIriLeaf(leafId, workflowId);
      continue;
    }
    // Said rather than skipped: the partners would go on reaching the old workflow.
    top.UserInterface().infoCenter().addEntry(
        kExtDirLoadCategory, "IRI Leafs",
        "The External Directory Database is not initialized, so the IRI leaf \"" + leafId +
            "\" still names its former workflow.",
        0, Severity::Warning);
  }
}

std::string LeafOrganisation(CWorkflowDoc& top, const std::string& leafId) {
  CExtDirData* directory = top.Databases().externalDirectory.repository;
  if (!directory || leafId.empty()) return {};
  const CExtDirItemGRILeaf* leaf = directory->LoadLeafById(leafId);
  if (!leaf) return {};
  const auto* header =
      dynamic_cast<const CExtDirItemGRIProcView*>(directory->FindItemById(leaf->HeaderID));
  return header ? header->OrgName : std::string();
}

void TakeSubscribedOrganisations(CWorkflowDoc& top) {
  if (!top.Databases().externalDirectory.repository) return;
  for (CNode* node : top.AllNodes()) {
    if (node->Kind() != NodeKind::Extern || node->Attributes().griId.empty() ||
        !node->ReferenceText().empty())
      continue;
    const std::string organisation = LeafOrganisation(top, node->Attributes().griId);
    if (organisation.empty()) continue;
    NodeAttributes attributes = node->Attributes();
    attributes.member = organisation;
    top.SetNodeAttributes(*node, std::move(attributes));
  }
}

}  // namespace velk
