#include "repository/databasecache.h"

#include <stdexcept>

#include "common/infocenter.h"
#include "common/requirecollaborator.h"
#include "common/services.h"
#include "extdir/extdirdata.h"
#include "model/workflowdoc.h"
#include "repository/applicationenvdb.h"
#include "repository/gatewaydb.h"
#include "repository/infrastructuredb.h"
#include "repository/processdefdb.h"
#include "repository/trackingdb.h"

namespace velk {

namespace {

// The kind as the initialisation entries name it.
const char* InitializingName(DatabaseKind kind) {
  switch (kind) {
    case DatabaseKind::ApplicationEnvironment:
      return "Application Environment";
    case DatabaseKind::ProcessDefinitions:
      return "Process Definitions";
    case DatabaseKind::Infrastructure:
      return "Infrastructure";
    case DatabaseKind::ExternalDirectory:
      return "External Directory";
    case DatabaseKind::Gateway:
      return "Gateway";
    case DatabaseKind::Tracking:
      return "Tracking";
    case DatabaseKind::None:
      break;
  }
  return "";
}

void ReportInitializing(Services& services, DatabaseKind kind) {
  const std::string name = InitializingName(kind);
  services.infoCenter().addEntry(
      kInitializingDatabasesCategory, "Initializing " + name + " Database",
      "The " + name + " Database is initialized successfully.", 0, Severity::Success);
}

}  // namespace

ExtDirLinks CacheExtDirLinks(DatabaseCache& cache) {
  ExtDirLinks links;
  links.storedWorkflowIds = [&cache] {
    std::vector<std::string> ids;
    const std::vector<CProcessDefDb*> processDefs = cache.Objects<CProcessDefDb>();
    if (processDefs.empty()) return ids;
    processDefs.front()->ReadHeaders(false);
    for (const WorkflowHeaderEntry& header : processDefs.front()->Headers())
      ids.push_back(header.workflowId);
    return ids;
  };
  links.officeMail = [&cache] {
    const std::vector<CApplicationEnvDb*> appEnvs = cache.Objects<CApplicationEnvDb>();
    return appEnvs.empty() ? std::string() : appEnvs.front()->OfficeMail();
  };
  return links;
}

DatabaseCache::DatabaseCache(Services& services, LNNotesSession& session,
                             HeaderSource processDefHeaders, const DirectoryLinks& directoryLinks)
    : services_(services), session_(session), kinds_(kDatabaseKindCount) {
  RequireCollaborator(directoryLinks, "External Directory links");
  SetLoader(StandardLoader<CApplicationEnvDb>());
  SetLoader(StandardLoader<CInfrastructureDb>());
  SetLoader(StandardLoader<CGatewayDb>());
  SetLoader(StandardLoader<CTrackingDb>());
  SetLoader(StandardLoader<CProcessDefDb>(std::move(processDefHeaders)));
  ExtDirLinks links = directoryLinks(*this);
  RequireExtDirLinks(links);
  SetLoader(StandardLoader<CExtDirData>(std::move(links)));
}

DatabaseCache::~DatabaseCache() = default;

DatabaseCache::Kind& DatabaseCache::KindOf(DatabaseKind kind) {
  const int code = static_cast<int>(kind);
  if (code < 1 || code > kDatabaseKindCount)
    throw std::out_of_range("DatabaseCache: not a database kind");
  return kinds_[static_cast<std::size_t>(code - 1)];
}

const DatabaseCache::Kind& DatabaseCache::KindOf(DatabaseKind kind) const {
  return const_cast<DatabaseCache*>(this)->KindOf(kind);
}

void DatabaseCache::SetErasedLoader(DatabaseKind kind, ErasedLoader loader) {
  KindOf(kind).loader = std::move(loader);
}

bool DatabaseCache::HasLoader(DatabaseKind kind) const {
  return bool(KindOf(kind).loader);
}

std::size_t DatabaseCache::Count(DatabaseKind kind) const {
  return KindOf(kind).entries.size();
}

std::vector<void*> DatabaseCache::ErasedObjects(DatabaseKind kind) const {
  std::vector<void*> result;
  for (const Entry& entry : KindOf(kind).entries) result.push_back(entry.object.get());
  return result;
}

void* DatabaseCache::FindOrLoadErased(DatabaseKind kind, const DatabaseLocation& location,
                                      CWorkflowDoc* user) {
  Kind& cached = KindOf(kind);
  if (!cached.loader) return nullptr;
  ReportInitializing(services_, kind);
  for (Entry& entry : cached.entries) {
    if (entry.location() == location) {
      if (entry.addUser) entry.addUser(user);
      return entry.object.get();
    }
  }
  cached.entries.push_back(cached.loader(services_, session_, location, user));
  return cached.entries.back().object.get();
}

void DatabaseCache::InitializeDatabases(WorkflowDatabases& databases, CWorkflowDoc* user) {
  services_.infoCenter().clearCategory(kInitializingDatabasesCategory);
  services_.beginProgress(100);
  services_.setProgress(0);
  Fill(databases.applicationEnvironment, user);
  services_.setProgress(20);
  Fill(databases.processDefinitions, user);
  services_.setProgress(40);
  Fill(databases.infrastructure, user);
  services_.setProgress(60);
  Fill(databases.externalDirectory, user);
  services_.setProgress(80);
  Fill(databases.tracking, user);
  services_.setProgress(90);
  Fill(databases.gateway, user);
  services_.setProgress(0);
  services_.endProgress();
}

void DatabaseCache::InitializeDatabases(CWorkflowDoc& document) {
  WorkflowDatabases databases = document.Databases();
  InitializeDatabases(databases, &document);
  document.SetDatabases(databases);
}

void CopyDefaultDatabases(CWorkflowDoc& document, const DatabaseLocations& defaults) {
  WorkflowDatabases databases = document.Databases();
  databases.SetLocations(defaults);
  document.SetDatabases(databases);
}

bool ReloadRepository(const WorkflowDatabases& databases) {
  bool reloaded = true;
  if (CApplicationEnvDb* appEnv = databases.applicationEnvironment.repository)
    reloaded = appEnv->ReloadForms() && reloaded;
  if (CInfrastructureDb* infrastructure = databases.infrastructure.repository)
    reloaded = infrastructure->Reload() && reloaded;
  return reloaded;
}

}  // namespace velk
