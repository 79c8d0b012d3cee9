#include "model/workflowsaver.h"

#include <type_traits>
#include <vector>

#include "repository/databasecache.h"
#include "common/requirecollaborator.h"
#include "common/services.h"
#include "model/clusterlevels.h"
#include "model/consistencycheck.h"
#include "model/workflowdoc.h"
#include "model/workflowsave.h"
#include "repository/noteserror.h"
#include "repository/processdefdb.h"

namespace velk {

namespace {

std::string CheckRefusedText(const std::string& name) {
  return "The consistency check refuses the workflow \"" + name +
         "\"; the Info Center lists why.\r\nNothing has been stored.";
}

}  // namespace

WorkflowSaver::WorkflowSaver(DatabaseCache& cache, const DatabaseLocations& defaults,
                             const ExternalDirectoryLookup& directory, SaveAnswerer answerer)
    : cache_(cache), defaults_(defaults), directory_(directory), answerer_(std::move(answerer)) {
  RequireCollaborator(answerer_.retryWhenBusy, "answer to a busy database");
  RequireCollaborator(answerer_.otherSave, "answer to another designer's save");
}

// A slot already initialised keeps its object; one the workflow does not name
// takes the settings' database; one named nowhere stays empty.
void WorkflowSaver::InitializeDatabases(CWorkflowDoc& top) {
  WorkflowDatabases databases = top.Databases();
  auto fill = [&](auto& slot) {
    using Repository = std::remove_pointer_t<decltype(slot.repository)>;
    if (slot.IsInitialised()) return;
    if (slot.location.fileName.empty())
      slot.location = defaults_[RepositoryKind<Repository>::value];
    if (slot.location.fileName.empty()) return;
    slot.repository = cache_.FindOrLoad<Repository>(slot.location, &top);
  };
  fill(databases.applicationEnvironment);
  fill(databases.processDefinitions);
  fill(databases.infrastructure);
  fill(databases.externalDirectory);
  fill(databases.tracking);
  fill(databases.gateway);
  top.SetDatabases(databases);
}

bool WorkflowSaver::NeedsName(CWorkflowDoc& top, bool saveAs) const {
  if (saveAs || top.IsNew() || top.Header().status == WorkflowStatus::Freeze) return true;
  CProcessDefDb& repository = *top.Databases().processDefinitions.repository;
  repository.ReadHeaders(false);
  return !repository.FindHeaderByName(top.Header().name);
}

bool WorkflowSaver::Save(CWorkflowDoc& doc, const SaveRequest& request) {
  CWorkflowDoc& top = doc.Top();
  InitializeDatabases(top);
  if (!top.Databases().ReadyToSave()) {
    ShowErrorMessage(top.UserInterface(), kNoDatabasesText);
    return false;
  }
  // Loaded again, such a node would open its own level inside itself without end.
  if (const std::vector<CNode*> cycles = SelfEnclosingClusterNodes(top); !cycles.empty()) {
    ShowErrorMessage(
        top.UserInterface(),
        SelfEnclosingClusterText(*cycles.front()) +
            "\r\nA workflow whose levels contain themselves can not be stored; nothing "
            "has been stored.");
    return false;
  }
  if (!CheckConsistency(top, directory_)) {
    ShowErrorMessage(top.UserInterface(), CheckRefusedText(top.Header().name));
    return false;
  }
  if (request.chooseName && NeedsName(top, request.saveAs) && !request.chooseName(top))
    return false;
  const VersionRule rule = request.imported ? VersionRule::AfterStored : VersionRule::Next;
  if (!WriteAnswering(top, {nullptr, request.appReplicaId}, rule, answerer_)) return false;
  top.UserInterface().showStatusText({});
  return true;
}

}  // namespace velk
