#pragma once
// Each test runs against a fresh temporary data directory and session. The tests
// of BackendTest run twice: on the local store and on a PostgreSQL server.

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "pgserver.h"
#include "repository/store/lnnotes.h"

class StoreTest : public ::testing::Test {
 protected:
  StoreTest() = default;
  // `server` names the one server of `servers` the helpers below use.
  StoreTest(LNNotesSession::ServerMap servers, std::string server)
      : server_(std::move(server)), session_(std::move(servers)) {}

  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "velkstore-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
    setenv("VELK_DATA_DIR", dir_.c_str(), 1);
    ASSERT_EQ(session_.Init(410), LNNOERROR);
  }

  void TearDown() override {
    unsetenv("VELK_DATA_DIR");
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }

  // A new, open database in the data directory.
  LNDatabase NewDatabase(const std::string& path = "test.nsf", const std::string& title = "Test") {
    LNDatabase db;
    EXPECT_EQ(session_.CreateDatabase(path, &db, title, server_), LNNOERROR);
    EXPECT_EQ(db.Open(), LNNOERROR);
    return db;
  }

  // Opens `path` again through a new handle, as another part of the program would.
  LNDatabase Reopen(const std::string& path = "test.nsf") {
    LNDatabase db;
    EXPECT_EQ(session_.GetDatabase(path, &db, server_), LNNOERROR);
    EXPECT_EQ(db.Open(), LNNOERROR);
    return db;
  }

  // A saved document with the given form and text items.
  LNDocument AddDocument(LNDatabase& db, const std::string& form,
                         const std::vector<std::pair<std::string, std::string>>& texts) {
    LNDocument doc;
    EXPECT_EQ(db.CreateDocument(&doc, form), LNNOERROR);
    for (const auto& [name, value] : texts)
      EXPECT_EQ(doc.CreateItem(name, LNText(value)), LNNOERROR);
    EXPECT_EQ(doc.Save(), LNNOERROR);
    return doc;
  }

  // Every document of `db`, in note id order.
  static std::vector<LNDocument> All(LNDatabase& db) {
    std::vector<LNDocument> all;
    EXPECT_EQ(db.GetAllDocuments(&all), LNNOERROR);
    return all;
  }
  static std::vector<LNDocument> All(LNDatabase&& db) { return All(db); }

  // The note ids of every document of `db`, in order.
  static std::vector<LNNOTEID> IdsOf(LNDatabase& db) {
    std::vector<LNNOTEID> ids;
    for (const LNDocument& doc : All(db)) ids.push_back(doc.GetNoteID());
    return ids;
  }
  static std::vector<LNNOTEID> IdsOf(LNDatabase&& db) { return IdsOf(db); }

  // The first text of item "N" of every document of `db`, in note id order.
  static std::vector<std::string> Ns(LNDatabase& db) {
    std::vector<std::string> ns;
    for (LNDocument& doc : All(db)) ns.push_back(doc.Open() ? "(unreadable)" : TextOf(doc, "N"));
    return ns;
  }

  // The paths of the databases `folder` holds on the fixture's server.
  std::vector<std::string> Paths(const std::string& folder, int recursive = 1) {
    std::vector<LNDatabase> dbs;
    EXPECT_EQ(session_.GetDatabases(&dbs, folder, server_, recursive), LNNOERROR);
    std::vector<std::string> paths;
    for (const LNDatabase& db : dbs) paths.push_back(db.GetFilepath());
    return paths;
  }

  // The view `name` of `db`, opened with `options`.
  static LNViewFolder ViewOf(LNDatabase& db, const std::string& name, int options = 0) {
    LNViewFolder view;
    EXPECT_EQ(db.GetViewFolder(name, &view), LNNOERROR);
    EXPECT_EQ(view.Open(options), LNNOERROR);
    return view;
  }

  // The document of the first entry of `view`, opened.
  static LNDocument FirstDocumentOf(LNViewFolder& view) {
    LNVFEntry entry;
    LNDocument doc;
    EXPECT_EQ(view.GetEntry(&entry), LNNOERROR);
    EXPECT_EQ(entry.GetDocument(&doc), LNNOERROR);
    EXPECT_EQ(doc.Open(), LNNOERROR);
    return doc;
  }

  // The document `id` of `db`, opened.
  static LNDocument Load(LNDatabase& db, LNNOTEID id) {
    LNDocument doc;
    EXPECT_EQ(db.GetDocument(id, &doc), LNNOERROR);
    EXPECT_EQ(doc.Open(), LNNOERROR);
    return doc;
  }

  // The first text of item `name`; empty when there is none.
  static std::string TextOf(const LNDocument& doc, const std::string& name) {
    std::string first;
    doc.GetFirstText(name, &first);
    return first;
  }

  // Changes a local database file behind the store's back, as another program would.
  void RunSql(const std::string& relative, const char* sql) const {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(PathOf(relative).c_str(), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    sqlite3_close(db);
  }

  std::string PathOf(const std::string& relative) const { return (dir_ / relative).string(); }

  void WriteFile(const std::string& relative, const std::string& bytes) const {
    std::filesystem::create_directories((dir_ / relative).parent_path());
    std::ofstream(dir_ / relative, std::ios::binary) << bytes;
  }

  std::filesystem::path dir_;
  std::string server_;  // empty: the local machine
  LNNotesSession session_;
};

enum class Backend { Local, Server };

inline std::string BackendName(const ::testing::TestParamInfo<Backend>& info) {
  return info.param == Backend::Local ? "Local" : "Server";
}

// Each case on a fresh database of its own on the test process's PostgreSQL server.
inline LNNotesSession::ServerMap ServersFor(Backend backend) {
  if (backend == Backend::Local) return {};
  pgtest::Server* server = pgtest::Server::Get();
  return {{"Hub", server ? server->NewDatabase() : "host=/nonexistent"}};
}

class BackendTest : public StoreTest, public ::testing::WithParamInterface<Backend> {
 protected:
  BackendTest() : StoreTest(ServersFor(GetParam()), GetParam() == Backend::Local ? "" : "Hub") {}
  void SetUp() override {
    if (GetParam() == Backend::Server && !pgtest::Server::Get())
      GTEST_SKIP() << "no PostgreSQL server for the tests: " << pgtest::Server::Reason();
    StoreTest::SetUp();
  }
};

#define VELK_BOTH_BACKENDS(Suite)                                                               \
  INSTANTIATE_TEST_SUITE_P(Backends, Suite, ::testing::Values(Backend::Local, Backend::Server), \
                           BackendName)
