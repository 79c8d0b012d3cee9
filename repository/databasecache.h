#pragma once
// The program-wide cache of repository objects: one object per database kind and
// (file name, server), loaded at first use and shared by every workflow that
// names the same database. Objects are never removed before the cache goes at
// program exit, so workflows may keep plain pointers to them.
//
// Each kind has a loader, all built in (see the constructor); SetLoader replaces
// one. A kind without a loader leaves its workflow slot empty.

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "extdir/extdirdata.h"
#include "model/databaseslots.h"
#include "repository/databasekind.h"
#include "repository/processdefdb.h"

class LNNotesSession;

namespace velk {

class CWorkflowDoc;

inline constexpr char kInitializingDatabasesCategory[] = "Initializing Databases";

// The kind each repository class is cached under.
template <class Repository>
struct RepositoryKind;
template <>
struct RepositoryKind<CApplicationEnvDb> {
  static constexpr DatabaseKind value = DatabaseKind::ApplicationEnvironment;
};
template <>
struct RepositoryKind<CProcessDefDb> {
  static constexpr DatabaseKind value = DatabaseKind::ProcessDefinitions;
};
template <>
struct RepositoryKind<CInfrastructureDb> {
  static constexpr DatabaseKind value = DatabaseKind::Infrastructure;
};
template <>
struct RepositoryKind<CExtDirData> {
  static constexpr DatabaseKind value = DatabaseKind::ExternalDirectory;
};
template <>
struct RepositoryKind<CGatewayDb> {
  static constexpr DatabaseKind value = DatabaseKind::Gateway;
};
template <>
struct RepositoryKind<CTrackingDb> {
  static constexpr DatabaseKind value = DatabaseKind::Tracking;
};

// How the objects of one kind are made and recognised.
template <class Repository>
struct RepositoryLoader {
  // Creates the object and lets it read its database, reporting any problem
  // itself; never returns null.
  std::function<std::unique_ptr<Repository>(Services&, LNNotesSession&, const DatabaseLocation&,
                                            CWorkflowDoc* user)>
      load;
  // Where the object was loaded from, compared exactly with a requested location.
  std::function<DatabaseLocation(const Repository&)> location;
  // Records a further workflow that uses the object; may be left empty.
  std::function<void(Repository&, CWorkflowDoc*)> addUser;
};

// The loader of a CRepositoryDb class constructed from (services, session, path, server,
// user, extra...): matched by Location(), which stays empty while the object
// never opened its database, so a failed load is tried again at the next request.
template <class Repository, class... Extra>
RepositoryLoader<Repository> StandardLoader(Extra... extra) {
  return {[extra...](Services& services, LNNotesSession& session, const DatabaseLocation& at,
                     CWorkflowDoc* user) {
            return std::make_unique<Repository>(services, session, at.fileName, at.server, user,
                                                extra...);
          },
          [](const Repository& r) { return r.Location(); },
          [](Repository& r, CWorkflowDoc* user) { r.AddUser(user); }};
}

class DatabaseCache {
 public:
  // What the External Directory data set is linked to, made from the cache.
  using DirectoryLinks = std::function<ExtDirLinks(DatabaseCache&)>;

  // The services and the session must outlive the cache; every object loaded
  // reports through those services. Process Definitions objects read their
  // header lists from where `processDefHeaders` says; External Directory data sets
  // get `directoryLinks`. Stops the program when a link is missing.
  DatabaseCache(Services& services, LNNotesSession& session, HeaderSource processDefHeaders,
                const DirectoryLinks& directoryLinks);
  ~DatabaseCache();
  DatabaseCache(const DatabaseCache&) = delete;
  DatabaseCache& operator=(const DatabaseCache&) = delete;

  // Installs or replaces the loader of the repository's kind. Objects already
  // loaded stay.
  template <class Repository>
  void SetLoader(RepositoryLoader<Repository> loader) {
    SetErasedLoader(RepositoryKind<Repository>::value, Erase(std::move(loader)));
  }
  bool HasLoader(DatabaseKind kind) const;

  Services& UserInterface() const { return services_; }

  // Reports "Initializing ... Database" to the Info Center, then returns the
  // cached object of the kind loaded from exactly this file name and server (case
  // mattering), or loads, keeps and returns a new one. Null only when the kind
  // has no loader.
  template <class Repository>
  Repository* FindOrLoad(const DatabaseLocation& location, CWorkflowDoc* user = nullptr) {
    return static_cast<Repository*>(
        FindOrLoadErased(RepositoryKind<Repository>::value, location, user));
  }

  // The objects of the repository's kind in load order.
  template <class Repository>
  std::vector<Repository*> Objects() const {
    std::vector<Repository*> result;
    for (void* object : ErasedObjects(RepositoryKind<Repository>::value))
      result.push_back(static_cast<Repository*>(object));
    return result;
  }
  std::size_t Count(DatabaseKind kind) const;

  // Fills the six slots from their file and server names, in the order
  // Application Environment, Process Definitions, Infrastructure, External
  // Directory, Tracking, Gateway, with the status line's progress bar.
  void InitializeDatabases(WorkflowDatabases& databases, CWorkflowDoc* user);
  void InitializeDatabases(CWorkflowDoc& document);

 private:
  struct Entry {
    std::shared_ptr<void> object;  // keeps the deleter of the real type
    std::function<DatabaseLocation()> location;
    std::function<void(CWorkflowDoc*)> addUser;
  };
  using ErasedLoader =
      std::function<Entry(Services&, LNNotesSession&, const DatabaseLocation&, CWorkflowDoc*)>;

  template <class Repository>
  static ErasedLoader Erase(RepositoryLoader<Repository> loader) {
    return [loader = std::move(loader)](Services& services, LNNotesSession& session,
                                        const DatabaseLocation& at, CWorkflowDoc* user) {
      std::shared_ptr<Repository> object = loader.load(services, session, at, user);
      Repository* raw = object.get();
      Entry entry{std::static_pointer_cast<void>(object),
                  [raw, f = loader.location] { return f(*raw); }, nullptr};
      if (loader.addUser)
        entry.addUser = [raw, f = loader.addUser](CWorkflowDoc* u) { f(*raw, u); };
      return entry;
    };
  }

  template <class Repository>
  void Fill(DatabaseSlot<Repository>& slot, CWorkflowDoc* user) {
    slot.repository = FindOrLoad<Repository>(slot.location, user);
  }

  void SetErasedLoader(DatabaseKind kind, ErasedLoader loader);
  void* FindOrLoadErased(DatabaseKind kind, const DatabaseLocation& location, CWorkflowDoc* user);
  std::vector<void*> ErasedObjects(DatabaseKind kind) const;

  struct Kind {
    ErasedLoader loader;
    std::vector<Entry> entries;
  };
  Kind& KindOf(DatabaseKind kind);
  const Kind& KindOf(DatabaseKind kind) const;

  Services& services_;
  LNNotesSession& session_;
  std::vector<Kind> kinds_;
};

// The modeler's links of an External Directory data set: the stored workflows and
// the office mail address of the first Process Definitions and Application
// Environment objects of the cache.
ExtDirLinks CacheExtDirLinks(DatabaseCache& cache);

// The default databases (ModelerSettings::databases) become the workflow's six
// file and server names; a slot whose name changes forgets its object.
void CopyDefaultDatabases(CWorkflowDoc& document, const DatabaseLocations& defaults);

// The workflow view's "&Reload Repository": the Application Environment forms,
// then the Infrastructure lists. False when either could not be reloaded; an
// uninitialised slot is skipped. Info Center entries of what is not read again stay.
bool ReloadRepository(const WorkflowDatabases& databases);

}  // namespace velk
