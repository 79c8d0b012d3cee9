// Creating the demo repository: which databases, where, and never over a file
// that is not a demo database of its kind.

#include <filesystem>
#include <stdexcept>
#include <system_error>

#include "repository/databasetemplates.h"
#include "repository/demodata.h"
#include "repository/demowriter.h"
#include "repository/identity.h"

namespace fs = std::filesystem;

namespace velk {

namespace {

struct DemoFile {
  const DemoDatabase* database;
  fs::path file;     // absolute
  std::string name;  // as the store and the settings name it
  bool exists = false;
};

// Inside the data directory a database is named relative to it, as the modeler's
// settings name local databases; elsewhere by its absolute path.
std::string StoreName(const fs::path& file, const fs::path& dataDir) {
  const fs::path relative =
      fs::weakly_canonical(file).lexically_relative(fs::weakly_canonical(dataDir));
  if (relative.empty() || *relative.begin() == "..") return file.string();
  return relative.generic_string();
}

// Refuses a file under a demo name that is not a database of the demo's kind.
void CheckExisting(LNNotesSession& session, const DemoFile& f) {
  LNThrowAllErrorsScope returning(session, false);  // and the database it gives
  LNDatabase db;
  LNSTATUS status = session.GetDatabase(f.name, &db);
  if (status == LNNOERROR) status = db.Open();
  if (status != LNNOERROR)
    throw std::runtime_error(f.file.string() + " is in the way of the demo (" +
                             db.ErrorMessage(status) + "); move it away or choose another folder");
  const DatabaseKind kind = DetectKindByViews(db);
  db.Close();
  if (kind != f.database->kind)
    throw std::runtime_error(f.file.string() + " is not an " + KindNameOf(f.database->kind) +
                             " but " + KindNameOf(kind) +
                             "; move it away or choose another folder");
}

std::string ReplicaIdOf(LNNotesSession& session, const std::string& name) {
  LNDatabase db;
  session.GetDatabase(name, &db);
  db.Open();
  const std::string id = FormatReplicaId(db.GetReplicaID());
  db.Close();
  return id;
}

// Written under a temporary name and renamed when complete.
void CreateDemoDatabase(Services& services, LNNotesSession& session, const DemoFile& f,
                        const DemoLinks& links) {
  const fs::path partial = f.file.string() + ".part";
  fs::remove(partial);  // left over from an interrupted run
  {
    LNDatabase db;
    CreateDatabaseOfKind(session, f.database->kind, partial.string(), f.database->title, {}, &db);
    db.Open();
    if (auto id = ParseReplicaId(f.database->replicaId)) db.SetReplicaID(*id);
    WriteDemoDocuments(services, f.database->kind, db, links);
    db.Close();
  }
  fs::rename(partial, f.file);
}

}  // namespace

const std::vector<DemoDatabase>& DemoDatabases() {
  static const std::vector<DemoDatabase> databases = {
      {DatabaseKind::ApplicationEnvironment, "appenv.nsf", "Marvelund Application Environment",
       "C1257A1B:0034F2E1"},
      {DatabaseKind::Infrastructure, "infra.nsf", "Marvelund Infrastructure", "C1257A1C:0034F3A0"},
      {DatabaseKind::ProcessDefinitions, "procdef.nsf", "Marvelund Process Definitions",
       "C1257A1D:0034F4B7"},
      {DatabaseKind::Gateway, "gateway.nsf", "Marvelund Gateway", "C1257A2E:00512A10"},
      {DatabaseKind::Tracking, "tracking.nsf", "Marvelund Tracking", "C1257A2F:00512B3C"},
      {DatabaseKind::ExternalDirectory, "extdir.nsf", "Marvelund External Directory",
       "C1257A30:00513C55"},
  };
  return databases;
}

void WriteDemoDocuments(Services& services, DatabaseKind kind, LNDatabase& db,
                        const DemoLinks& links) {
  LNThrowAllErrorsScope throwing(db, true);
  LNTransaction transaction(db);
  switch (kind) {
    case DatabaseKind::ApplicationEnvironment:
      demo::WriteApplicationEnvironment(db);
      break;
    case DatabaseKind::ProcessDefinitions:
      demo::WriteProcessDefinitions(services, db, links);
      break;
    case DatabaseKind::Infrastructure:
      demo::WriteInfrastructure(db);
      break;
    case DatabaseKind::ExternalDirectory:
      demo::WriteExternalDirectory(db, links);
      break;
    case DatabaseKind::Gateway:
    case DatabaseKind::Tracking:
    case DatabaseKind::None:
      break;  // only their identity is used
  }
  transaction.Commit();
}

std::vector<DemoResult> CreateDemoRepository(Services& services, LNNotesSession& session,
                                             const std::string& directory) {
  LNThrowAllErrorsScope throwing(session, true);  // and the databases it gives
  const fs::path dataDir = session.GetDataDirectory();
  const fs::path base = directory.empty() ? dataDir : fs::absolute(directory);
  fs::create_directories(base);

  std::vector<DemoFile> files;
  for (const DemoDatabase& database : DemoDatabases()) {
    DemoFile f{&database, base / database.fileName, {}};
    f.name = StoreName(f.file, dataDir);
    f.exists = fs::exists(f.file);
    if (f.exists) CheckExisting(session, f);
    files.push_back(std::move(f));
  }

  DemoLinks links;
  std::vector<DemoResult> results;
  for (const DemoFile& f : files) {
    if (!f.exists) CreateDemoDatabase(services, session, f, links);
    if (f.database->kind == DatabaseKind::ApplicationEnvironment)
      links.appReplicaId = ReplicaIdOf(session, f.name);
    if (f.database->kind == DatabaseKind::Tracking)
      links.trackingReplicaId = ReplicaIdOf(session, f.name);
    results.push_back({f.database->kind, f.name, !f.exists});
  }
  return results;
}

}  // namespace velk
