// Saving and loading workflows on a PostgreSQL server beside the same on a local
// database file, in the same run: 100, 1,000 and 5,000 tasks of the realistic
// mix. Prints the medians, the ratio server/local and the requests each
// operation sent to the server (a request is a round trip: with 1 ms of network
// latency, 1,000 of them cost a second). Goals: within 2x of local on a local
// server; a load in a number of round trips that does not grow with the tasks.
// The server is a throwaway one of this run (PostgreSQL must be installed).
//
//   server_bench [runs]      (default 3)

#include <stdlib.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "bench/benchsupport.h"
#include "bench/workflowshapes.h"
#include "common/headlessservices.h"
#include "model/workflowload.h"
#include "model/workflowsave.h"
#include "repository/databasetemplates.h"
#include "repository/processdefdb.h"
#include "repository/store/lnnotes.h"
#include "repository/store/lnpostgres.h"
#include "tests/store/pgserver.h"

namespace {

using bench::Milliseconds;

using namespace velk;
using bench::Median;

constexpr char kServer[] = "Bench";

struct Measured {
  std::vector<double> saveMs, loadMs;
  std::uint64_t saveTrips = 0, loadTrips = 0;
};

// A fresh Process Definitions Database on `server` (empty: local), one save and
// one load of a workflow of `tasks` tasks.
bool SaveAndLoad(Services& services, LNNotesSession& session, const std::string& server,
                 const std::string& path, int tasks, Measured& m) {
  LNDatabase created;
  CreateDatabaseOfKind(session, DatabaseKind::ProcessDefinitions, path, "", server, &created);
  CProcessDefDb repository(services, session, path, server, nullptr, HeadersFrom({path, server}));
  CWorkflowDoc doc(services, "CN=Bench/O=Marvelund");
  WorkflowDatabases databases;
  databases.processDefinitions = {{path, server}, &repository};
  doc.SetDatabases(databases);
  bench::BuildMix(doc, tasks);
  bool saved = false, read = false;
  std::uint64_t trips = lnstore::PgConnection::RoundTrips();
  m.saveMs.push_back(
      Milliseconds([&] { saved = static_cast<bool>(WriteWorkflow(doc, {nullptr, "C1257A1B:0034F2E1"})); }));
  m.saveTrips = lnstore::PgConnection::RoundTrips() - trips;
  WorkflowHeaderEntry chosen;
  chosen.type = doc.Header().name;
  chosen.workflowId = doc.Header().workflowId;
  CWorkflowDoc loaded{services};
  loaded.SetDatabases(databases);
  trips = lnstore::PgConnection::RoundTrips();
  m.loadMs.push_back(Milliseconds([&] { read = LoadWorkflow(loaded, chosen, session); }));
  m.loadTrips = lnstore::PgConnection::RoundTrips() - trips;
  if (saved && read && loaded.NodeCount() == doc.NodeCount()) return true;
  std::fprintf(stderr, "%s%s: save or load failed\n", server.c_str(), path.c_str());
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
  pgtest::Server* pg = pgtest::Server::Get();
  if (!pg) {
    std::fprintf(stderr, "no PostgreSQL server: %s\n", pgtest::Server::Reason().c_str());
    return 1;
  }
  const std::string dir = bench::ScratchFolder("velkserverbench");
  if (dir.empty()) return 1;
  setenv("VELK_DATA_DIR", dir.c_str(), 1);
  HeadlessServices ui;
  LNNotesSession session({{kServer, pg->NewDatabase()}});
  session.Init(410);
  std::printf("%6s  %9s %9s %6s %7s  %9s %9s %6s %7s\n", "tasks", "save ms", "local", "ratio",
              "trips", "load ms", "local", "ratio", "trips");
  bool ok = true;
  for (int tasks : {100, 1000, 5000}) {
    Measured server, local;
    for (int run = 0; run < runs && ok; ++run) {
      const std::string name = "wf" + std::to_string(tasks) + "-" + std::to_string(run) + ".nsf";
      ok = SaveAndLoad(ui, session, kServer, name, tasks, server) &&
           SaveAndLoad(ui, session, "", name, tasks, local);
    }
    if (!ok) break;
    const double save = Median(server.saveMs), load = Median(server.loadMs);
    std::printf("%6d  %9.1f %9.1f %6.2f %7llu  %9.1f %9.1f %6.2f %7llu\n", tasks, save,
                Median(local.saveMs), save / Median(local.saveMs),
                static_cast<unsigned long long>(server.saveTrips), load, Median(local.loadMs),
                load / Median(local.loadMs), static_cast<unsigned long long>(server.loadTrips));
  }
  std::error_code ignored;
  std::filesystem::remove_all(dir, ignored);
  return ok ? 0 : 1;
}
