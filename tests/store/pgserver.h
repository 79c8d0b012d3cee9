#pragma once
// A throwaway PostgreSQL server for the tests of named servers: one per test
// process, in a temporary folder on a free port, stopped when the process ends.
// A cluster made by initdb is kept as a template beside it, so that the next test
// process copies it instead of running initdb again. As root the server runs as
// "nobody" (PostgreSQL refuses to run as root).

#include <libpq-fe.h>
#include <netinet/in.h>
#include <pwd.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

namespace pgtest {

namespace fs = std::filesystem;

class Server {
 public:
  // The server of this process, started on first use; null when PostgreSQL is
  // not installed or does not start (Reason() tells why).
  static Server* Get() {
    static std::unique_ptr<Server> server = Start();
    return server && server->port_ ? server.get() : nullptr;
  }
  static std::string& Reason() {
    static std::string reason;
    return reason;
  }

  ~Server() {
    if (port_) Run(Bin("pg_ctl") + " -D " + dir_ + "/data -m immediate -w stop >/dev/null 2>&1");
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }

  // A connection string to a new, empty database of the server.
  std::string NewDatabase() {
    const std::string name = "t" + std::to_string(++databases_);
    PGconn* admin = PQconnectdb(Conninfo("postgres").c_str());
    PQclear(PQexec(admin, ("CREATE DATABASE " + name).c_str()));
    PQfinish(admin);
    return Conninfo(name);
  }

  std::string Conninfo(const std::string& database) const {
    return "host=127.0.0.1 port=" + std::to_string(port_) + " user=postgres dbname=" + database;
  }

  // Runs SQL on a database of the server; false on failure.
  static bool Exec(const std::string& conninfo, const std::string& sql) {
    PGconn* conn = PQconnectdb(conninfo.c_str());
    PGresult* result = PQexec(conn, sql.c_str());
    const ExecStatusType status = PQresultStatus(result);
    PQclear(result);
    PQfinish(conn);
    return status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK;
  }

  // A port nothing listens on.
  static int FreePort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    int port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), size) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) == 0)
      port = ntohs(address.sin_port);
    ::close(fd);
    return port;
  }

 private:
  static std::string BinDir() {
    std::string best;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator("/usr/lib/postgresql", ec)) {
      const std::string bin = entry.path().string() + "/bin";
      if (fs::exists(bin + "/initdb") && fs::exists(bin + "/pg_ctl") && bin > best) best = bin;
    }
    return best;
  }
  static std::string Bin(const std::string& tool) { return BinDir() + "/" + tool; }
  // As "nobody" when running as root.
  static int Run(const std::string& command) {
    const std::string full = geteuid() == 0 ? "runuser -u nobody -- " + command : command;
    return std::system(full.c_str());
  }
  static void GiveAway(const std::string& path) {
    if (geteuid() != 0) return;
    const passwd* nobody = getpwnam("nobody");
    if (nobody && ::chown(path.c_str(), nobody->pw_uid, nobody->pw_gid) != 0) return;
  }

  static std::string Template() {
    const std::string dir = fs::temp_directory_path().string() + "/velkmod-pgtemplate-" +
                            std::to_string(geteuid()) + "-" + fs::path(BinDir()).parent_path().filename().string();
    if (fs::exists(dir + "/PG_VERSION")) return dir;
    std::string building = dir + ".XXXXXX";
    if (!mkdtemp(building.data())) return {};
    GiveAway(building);
    const int rc = Run(Bin("initdb") + " -D " + building + " -U postgres --auth=trust -N -E UTF8" +
                       " --locale=C >/dev/null 2>&1");
    std::error_code ec;
    if (rc == 0) fs::rename(building, dir, ec);  // another process may have been first
    fs::remove_all(building, ec);
    return fs::exists(dir + "/PG_VERSION") ? dir : std::string();
  }

  static std::unique_ptr<Server> Start() {
    if (BinDir().empty()) {
      Reason() = "PostgreSQL is not installed (no /usr/lib/postgresql/*/bin/initdb)";
      return nullptr;
    }
    const std::string templ = Template();
    if (templ.empty()) {
      Reason() = "initdb failed";
      return nullptr;
    }
    auto server = std::unique_ptr<Server>(new Server);
    std::string dir = fs::temp_directory_path().string() + "/velkmod-pg-XXXXXX";
    if (!mkdtemp(dir.data())) return nullptr;
    server->dir_ = dir;
    GiveAway(dir);
    if (std::system(("cp -a " + templ + " " + dir + "/data").c_str()) != 0) {
      Reason() = "cannot copy the template cluster";
      return nullptr;
    }
    for (int attempt = 0; attempt < 3 && !server->port_; ++attempt) {
      const int port = FreePort();
      const std::string options = "-p " + std::to_string(port) + " -k " + dir +
                                  " -c listen_addresses=127.0.0.1 -c fsync=off"
                                  " -c synchronous_commit=off -c full_page_writes=off";
      if (Run(Bin("pg_ctl") + " -D " + dir + "/data -o '" + options + "' -l " + dir +
              "/log -w start >/dev/null 2>&1") == 0)
        server->port_ = port;
    }
    if (!server->port_) Reason() = "the server did not start (see its log)";
    return server;
  }

  Server() = default;
  std::string dir_;
  int port_ = 0;
  int databases_ = 0;
};

}  // namespace pgtest
