// What only a named server does: reaching it, its schema, and several clients.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "store_fixture.h"

namespace {

using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;

using Clock = std::chrono::steady_clock;

TEST(ServerNames, UnreachableOrUnknownServersSayWhyAndDoNotHang) {
  const std::string refused = "host=127.0.0.1 port=" + std::to_string(pgtest::Server::FreePort());
  LNNotesSession session({{"Hub/Acme", refused},
                          {"Blackhole", "host=10.255.255.1 connect_timeout=1"},
                          {"Leaky", refused + " password=secret"}});
  ASSERT_EQ(session.Init(410), LNNOERROR);
  std::vector<std::string> names;
  ASSERT_EQ(session.GetServerNames(&names), LNNOERROR);
  EXPECT_EQ(names, (std::vector<std::string>{"Blackhole", "Hub/Acme", "Leaky"}));

  const auto start = Clock::now();
  LNDatabase db;
  ASSERT_EQ(session.GetDatabase("names.nsf", &db, "hub/acme"), LNNOERROR);
  EXPECT_EQ(db.GetServer(), "hub/acme");
  EXPECT_EQ(db.Open(), LNERR_SERVER_NOT_RESPONDING);
  // The server's lines, joined and trimmed.
  EXPECT_THAT(
      db.ErrorMessage(LNERR_SERVER_NOT_RESPONDING),
      AllOf(StartsWith("Server not responding: "), HasSubstr("refused"), Not(EndsWith(" "))));
  EXPECT_EQ(session.CreateDatabase("names.nsf", &db, "t", "Blackhole"),
            LNERR_SERVER_NOT_RESPONDING);
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(4));
  std::vector<LNDatabase> dbs;
  EXPECT_EQ(session.GetDatabases(&dbs, "", "Spoke"), LNERR_SERVER_NOT_RESPONDING);
  EXPECT_THAT(session.ErrorMessage(LNERR_SERVER_NOT_RESPONDING), HasSubstr("\"Spoke\""));
  EXPECT_EQ(session.GetDatabases(&dbs, "", "Leaky"), LNERR_PERMISSION_DENIED);
  EXPECT_THAT(session.ErrorMessage(LNERR_PERMISSION_DENIED), HasSubstr(".pgpass"));

  // The server's words stay with the server's failure.
  LNNotesSession local;
  ASSERT_EQ(local.Init(410), LNNOERROR);
  ASSERT_EQ(local.GetDatabase("/nonexistent/x.nsf", &db), LNNOERROR);
  EXPECT_EQ(db.Open(), LNERR_FILE_NOT_FOUND);
  EXPECT_EQ(db.ErrorMessage(LNERR_SERVER_NOT_RESPONDING), "Server not responding");
}

class ServerTest : public StoreTest {
 protected:
  ServerTest() : ServerTest(ServersFor(Backend::Server)) {}
  void SetUp() override {
    if (!pgtest::Server::Get())
      GTEST_SKIP() << "no PostgreSQL server for the tests: " << pgtest::Server::Reason();
    StoreTest::SetUp();
  }
  // A fresh server database of its own each time.
  std::string Conninfo() { return ServersFor(Backend::Server).at("Hub"); }
  // The one the fixture's session calls "Hub".
  const std::string hub_;

 private:
  explicit ServerTest(LNNotesSession::ServerMap servers)
      : StoreTest(servers, "Hub"), hub_(servers.at("Hub")) {}
};

TEST_F(ServerTest, AnUnknownUserIsRefusedAsCredentialsWithTheServersReason) {
  LNNotesSession session({{"Stranger", Conninfo() + " user=nosuchuser"}});
  ASSERT_EQ(session.Init(410), LNNOERROR);
  std::vector<LNDatabase> dbs;
  EXPECT_EQ(session.GetDatabases(&dbs, "", "Stranger"), LNERR_PERMISSION_DENIED);
  EXPECT_THAT(session.ErrorMessage(LNERR_PERMISSION_DENIED), HasSubstr("nosuchuser"));
}

TEST_F(ServerTest, ForeignAndNewerSchemasAreRefused) {
  const std::string foreign = Conninfo();
  ASSERT_TRUE(
      pgtest::Server::Exec(foreign, "CREATE SCHEMA velkmod; CREATE TABLE velkmod.x(a int)"));
  const std::string newer = Conninfo();
  LNNotesSession session({{"Foreign", foreign}, {"Newer", newer}});
  ASSERT_EQ(session.Init(410), LNNOERROR);
  std::vector<LNDatabase> dbs;
  EXPECT_EQ(session.GetDatabases(&dbs, "", "Foreign"), LNERR_NOT_A_DATABASE);
  EXPECT_THAT(session.ErrorMessage(LNERR_NOT_A_DATABASE), HasSubstr("another program"));
  ASSERT_EQ(session.GetDatabases(&dbs, "", "Newer"), LNNOERROR);  // creates the schema
  ASSERT_TRUE(
      pgtest::Server::Exec(newer, "UPDATE velkmod.meta SET value = '7' WHERE key = 'schema'"));
  LNNotesSession later(LNNotesSession::ServerMap{{"Newer", newer}});
  ASSERT_EQ(later.Init(410), LNNOERROR);
  EXPECT_EQ(later.GetDatabases(&dbs, "", "Newer"), LNERR_NOT_A_DATABASE);
  EXPECT_THAT(later.ErrorMessage(LNERR_NOT_A_DATABASE), HasSubstr("version 7"));
  // Nothing of the foreign schema was touched.
  EXPECT_TRUE(pgtest::Server::Exec(foreign, "SELECT a FROM velkmod.x"));
}

// One number the server answers for `sql` over a connection of its own.
int AskServer(const std::string& conninfo, const char* sql) {
  PGconn* admin = PQconnectdb(conninfo.c_str());
  PGresult* rows = PQexec(admin, sql);
  const int answer = PQntuples(rows) == 1 ? std::atoi(PQgetvalue(rows, 0, 0)) : -1;
  PQclear(rows);
  PQfinish(admin);
  return answer;
}

// Waits for the server to reach a state another thread or process brings about.
bool AwaitServer(const std::string& conninfo, const char* sql, int answer) {
  const auto deadline = Clock::now() + std::chrono::seconds(10);
  while (AskServer(conninfo, sql) != answer)
    if (Clock::now() > deadline) return false;
  return true;
}

constexpr const char* kOtherClientsFrom =
    " FROM pg_stat_activity WHERE datname = current_database()"
    " AND pid <> pg_backend_pid() AND application_name = 'velkmod'";

// The server process of this test's database (not the one asking).
int BackendOf(const std::string& conninfo) {
  const std::string sql =
      std::string("SELECT CASE count(*) WHEN 1 THEN max(pid) ELSE 0 END") + kOtherClientsFrom;
  return std::max(0, AskServer(conninfo, sql.c_str()));
}

TEST_F(ServerTest, AKeptConnectionTheServerDroppedIsNotHandedOut) {
  session_.SetTrustedIdle(std::chrono::milliseconds(0));
  LNDatabase db = NewDatabase();
  AddDocument(db, "Task", {{"N", "1"}});
  ASSERT_EQ(db.Close(), LNNOERROR);  // its connection is kept
  ASSERT_TRUE(pgtest::Server::Exec(hub_,
                                   "SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE"
                                   " datname = current_database() AND pid <> pg_backend_pid()"));
  ASSERT_TRUE(AwaitServer(hub_, (std::string("SELECT count(*)") + kOtherClientsFrom).c_str(), 0));
  EXPECT_EQ(All(Reopen()).size(), 1u);
}

TEST_F(ServerTest, AFrozenServerProcessIsNotRespondingAndItsTransactionWritesNothing) {
  setenv("VELK_SERVER_WAIT", "2", 1);
  LNDatabase db = NewDatabase();
  AddDocument(db, "Task", {{"N", "before"}});
  {
    LNTransaction transaction(db);
    AddDocument(db, "Task", {{"N", "during"}});
    const int backend = BackendOf(hub_);
    ASSERT_GT(backend, 0);
    ASSERT_EQ(::kill(backend, SIGSTOP), 0);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(transaction.Commit(), LNERR_SERVER_NOT_RESPONDING);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
    ::kill(backend, SIGCONT);
  }
  unsetenv("VELK_SERVER_WAIT");
  EXPECT_THAT(db.ErrorMessage(LNERR_SERVER_NOT_RESPONDING), HasSubstr("no answer"));
  EXPECT_EQ(All(Reopen()).size(), 1u) << "the frozen transaction left nothing";
}

TEST_F(ServerTest, AStoreOfTheFirstVersionIsUpgradedAndKeepsItsDocuments) {
  LNDatabase db = NewDatabase();
  AddDocument(db, "Task", {{"N", "kept"}});
  AddDocument(db, "Task", {{"N", "deleted"}});
  ASSERT_TRUE(
      pgtest::Server::Exec(hub_,
                           "ALTER TABLE velkmod.items ADD FOREIGN KEY(db_id, note_id) REFERENCES"
                           " velkmod.notes ON DELETE CASCADE; UPDATE velkmod.meta SET value = '1'"
                           " WHERE key = 'schema'"));
  LNNotesSession later(LNNotesSession::ServerMap{{"Hub", hub_}});  // checks the schema anew
  ASSERT_EQ(later.Init(410), LNNOERROR);
  LNDatabase again;
  ASSERT_EQ(later.GetDatabase("test.nsf", &again, "Hub"), LNNOERROR);
  ASSERT_EQ(again.Open(), LNNOERROR);
  std::vector<LNDocument> all = All(again);
  ASSERT_EQ(all.size(), 2u);
  ASSERT_EQ(again.DeleteDocument(&all[1]), LNNOERROR);
  EXPECT_TRUE(pgtest::Server::Exec(
      hub_,
      "DO $$ BEGIN IF (SELECT value FROM velkmod.meta WHERE key = 'schema') <> '2'"
      " OR EXISTS (SELECT 1 FROM velkmod.items i WHERE NOT EXISTS (SELECT 1 FROM"
      " velkmod.notes n WHERE n.db_id = i.db_id AND n.note_id = i.note_id))"
      " THEN RAISE 'not upgraded'; END IF; END $$"))
      << "upgraded, and the items of the deleted document went with it";
}

TEST_F(ServerTest, DatabasesAreFoundByPathIgnoringCaseAndListedByFolder) {
  NewDatabase("Team/ProcDef.nsf", "Processes").Close();
  NewDatabase("appenv.nsf", "Environment").Close();
  NewDatabase("team/sub/infra.nsf", "People").Close();
  LNDatabase db;
  EXPECT_EQ(session_.CreateDatabase("TEAM\\procdef.nsf", &db, "again", server_), LNERR_FILE_EXISTS);
  ASSERT_EQ(session_.GetDatabase("team\\procdef.nsf", &db, server_), LNNOERROR);
  ASSERT_EQ(db.Open(), LNNOERROR);
  EXPECT_EQ(db.GetTitle(), "Processes");
  EXPECT_EQ(Paths(""),
            (std::vector<std::string>{"Team/ProcDef.nsf", "appenv.nsf", "team/sub/infra.nsf"}));
  EXPECT_EQ(Paths("", 0), (std::vector<std::string>{"appenv.nsf"}));
  EXPECT_EQ(Paths("team", 0), (std::vector<std::string>{"team/ProcDef.nsf"}));
  // A creation that fails leaves nothing behind.
  const auto fails = [](LNDatabase&) { return LNERR_DISK_IO; };
  EXPECT_EQ(session_.CreateDatabase("new.nsf", &db, "New", server_, fails), LNERR_DISK_IO);
  EXPECT_EQ(Paths("").size(), 3u);
}

// Two designers adding documents at once, each in a transaction of their own.
TEST_F(ServerTest, TwoClientsAddingAtOnceGetDistinctIdsAndBothCommit) {
  LNDatabase first = NewDatabase();
  LNDatabase second = Reopen();
  LNTransaction one(first);
  LNTransaction two(second);
  const LNNOTEID a = AddDocument(first, "Task", {{"N", "a"}}).GetNoteID();
  std::thread racing([&] { AddDocument(second, "Task", {{"N", "b"}}); });  // waits for `one`
  ASSERT_TRUE(AwaitServer(hub_,
                          "SELECT count(*) FROM pg_stat_activity WHERE datname = current_database()"
                          " AND wait_event_type = 'Lock'",
                          1));
  const LNNOTEID c = AddDocument(first, "Task", {{"N", "c"}}).GetNoteID();
  EXPECT_EQ(one.Commit(), LNNOERROR);
  racing.join();
  EXPECT_EQ(two.Commit(), LNNOERROR);
  const std::vector<LNNOTEID> ids = IdsOf(Reopen());
  ASSERT_EQ(ids.size(), 3u);
  EXPECT_EQ(ids[0], a);
  EXPECT_EQ(ids[1], c);
  EXPECT_GT(ids[2], c);
}

// Connections are kept for the next opener; what one user left open stays with it.
TEST_F(ServerTest, AReusedConnectionCarriesNothingOfItsLastUser) {
  LNDatabase db = NewDatabase();
  const int backend = BackendOf(hub_);
  ASSERT_GT(backend, 0);
  ASSERT_EQ(db.BeginTransaction(), LNNOERROR);
  AddDocument(db, "Task", {{"N", "rolled back"}});
  ASSERT_EQ(db.Close(), LNNOERROR);
  LNDatabase reading = Reopen();
  {
    LNReadSnapshot snapshot(reading);
    EXPECT_TRUE(All(reading).empty());
    ASSERT_EQ(reading.Close(), LNNOERROR);  // in the middle of the snapshot
  }
  LNDatabase again = Reopen();
  EXPECT_EQ(BackendOf(hub_), backend) << "the closed database's connection, reused";
  EXPECT_FALSE(again.InTransaction());
  AddDocument(again, "Task", {{"N", "kept"}});
  EXPECT_EQ(All(Reopen()).size(), 1u);
}

}  // namespace
