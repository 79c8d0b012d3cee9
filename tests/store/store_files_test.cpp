#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <random>

#include "store_fixture.h"

namespace {

namespace fs = std::filesystem;

using FileTest = StoreTest;

std::string RandomBytes(std::size_t size) {
  std::mt19937 engine(7);
  std::string bytes(size, '\0');
  for (char& c : bytes) c = static_cast<char>(engine());
  return bytes;
}

// Opening must give `expected`, and leave the file as it was.
void ExpectOpenFails(LNNotesSession& session, const std::string& path, const std::string& file,
                     LNSTATUS expected) {
  SCOPED_TRACE(path);
  std::error_code ec;
  auto sizeBefore = fs::file_size(file, ec);
  LNDatabase db;
  ASSERT_EQ(session.GetDatabase(path, &db), LNNOERROR);
  EXPECT_EQ(db.Open(), expected);
  EXPECT_FALSE(db.IsOpen());
  if (!ec) {
    EXPECT_EQ(fs::file_size(file), sizeBefore);
  }
}

TEST_F(FileTest, FilesThatAreNotOurDatabasesGiveAStatus) {
  WriteFile("empty.nsf", "");
  WriteFile("text.nsf", "This is a plain text file\nwith two lines\n");
  WriteFile("random.nsf", RandomBytes(8192));
  WriteFile("header-only.nsf", std::string("SQLite format 3\0", 16) + RandomBytes(300));
  RunSql("foreign.nsf", "CREATE TABLE contacts(name TEXT); INSERT INTO contacts VALUES('x');");
  RunSql("foreign-meta.nsf",
         "CREATE TABLE meta(key TEXT, value TEXT); INSERT INTO meta VALUES('magic','no');");
  RunSql("other-meta.nsf", "CREATE TABLE meta(k TEXT, v TEXT);");
  fs::create_directories(dir_ / "folder.nsf");
  const std::pair<const char*, LNSTATUS> cases[] = {
      {"empty.nsf", LNERR_NOT_A_DATABASE},      {"text.nsf", LNERR_NOT_A_DATABASE},
      {"random.nsf", LNERR_NOT_A_DATABASE},     {"header-only.nsf", LNERR_NOT_A_DATABASE},
      {"foreign.nsf", LNERR_NOT_A_DATABASE},    {"foreign-meta.nsf", LNERR_NOT_A_DATABASE},
      {"other-meta.nsf", LNERR_NOT_A_DATABASE}, {"folder.nsf", LNERR_NOT_A_DATABASE},
      {"missing.nsf", LNERR_FILE_NOT_FOUND},    {"no/such/folder.nsf", LNERR_FILE_NOT_FOUND},
  };
  for (const auto& [path, expected] : cases)
    ExpectOpenFails(session_, path, PathOf(path), expected);
  EXPECT_FALSE(fs::exists(PathOf("missing.nsf")));
}

TEST_F(FileTest, DamagedDatabasesGiveAStatusNeverACrash) {
  {
    LNDatabase db = NewDatabase("big.nsf");
    LNTransaction transaction(db);
    for (int i = 0; i < 300; ++i)
      AddDocument(db, "Task", {{"Key", std::to_string(i)}, {"Text", std::string(200, 'x')}});
    ASSERT_EQ(transaction.Commit(), LNNOERROR);
    ASSERT_EQ(db.CreateView({"All", {}, "Key", false}), LNNOERROR);
  }
  std::string bytes;
  {
    std::ifstream in(PathOf("big.nsf"), std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), {});
  }
  ASSERT_GT(bytes.size(), 40000u);
  std::string scribbled = bytes;
  for (std::size_t i = 8192; i < scribbled.size(); i += 4096)
    scribbled.replace(i + 100, 64, RandomBytes(64));
  const std::pair<const char*, std::string> damaged[] = {
      {"truncated.nsf", bytes.substr(0, bytes.size() / 3)},
      {"scribbled.nsf", scribbled},
  };
  for (const auto& [path, content] : damaged) {
    SCOPED_TRACE(path);
    WriteFile(path, content);
    LNDatabase db;
    ASSERT_EQ(session_.GetDatabase(path, &db), LNNOERROR);
    LNSTATUS status = db.Open();
    if (status == LNNOERROR) {  // the damage may only show when the data is read
      std::vector<LNDocument> docs;
      status = db.GetAllDocuments(&docs);
      for (std::size_t i = 0; status == LNNOERROR && i < docs.size(); ++i) status = docs[i].Open();
      LNViewFolder view;
      if (status == LNNOERROR) status = db.GetViewFolder("All", &view);
      if (status == LNNOERROR) status = view.Open();
    }
    EXPECT_EQ(status, LNERR_DATABASE_DAMAGED);
  }
}

TEST_F(FileTest, UnreadableFilesReportPermissionDenied) {
  if (geteuid() == 0) GTEST_SKIP() << "root reads every file";
  NewDatabase("locked.nsf").Close();
  fs::permissions(PathOf("locked.nsf"), fs::perms::none);
  ExpectOpenFails(session_, "locked.nsf", PathOf("locked.nsf"), LNERR_PERMISSION_DENIED);
  fs::permissions(PathOf("locked.nsf"), fs::perms::owner_read | fs::perms::owner_write);
}

// A broken schema shows on open, a corrupt value or id when its document is read.
TEST_F(FileTest, BrokenSchemaCorruptValuesAndIdsAreReportedAsDamage) {
  const std::pair<const char*, LNSTATUS> cases[] = {
      {"DROP TABLE items", LNERR_DATABASE_DAMAGED},
      {"ALTER TABLE items RENAME COLUMN flags TO flagz", LNERR_DATABASE_DAMAGED},
      {"UPDATE meta SET value = '99' WHERE key = 'schema'", LNERR_NOT_A_DATABASE},
      {"UPDATE items SET data = x'05ff' WHERE lname = 'n'", LNERR_DATABASE_DAMAGED},
      {"UPDATE notes SET unid = x'0102' WHERE class = 1", LNERR_DATABASE_DAMAGED},
      {"UPDATE notes SET unid = zeroblob(17) WHERE class = 1", LNERR_DATABASE_DAMAGED}};
  for (const auto& [damage, expected] : cases) {
    SCOPED_TRACE(damage);
    std::filesystem::remove(PathOf("test.nsf"));
    LNDatabase db = NewDatabase();
    LNDocument doc = AddDocument(db, "", {{"N", "1"}});
    ASSERT_EQ(db.Close(), LNNOERROR);
    RunSql("test.nsf", damage);
    const auto size = fs::file_size(PathOf("test.nsf"));
    ASSERT_EQ(session_.GetDatabase("test.nsf", &db), LNNOERROR);
    LNSTATUS status = db.Open();
    if (status == LNNOERROR) status = db.GetDocument(doc.GetNoteID(), &doc);
    EXPECT_EQ(status ? status : doc.Open(), expected);
    EXPECT_EQ(fs::file_size(PathOf("test.nsf")), size);
  }
}

TEST_F(FileTest, CreateRefusesExistingFilesAndMakesFolders) {
  LNDatabase db;
  ASSERT_EQ(session_.CreateDatabase("deep/er/new.nsf", &db, "Deep"), LNNOERROR);
  EXPECT_EQ(db.GetFilepath(), "deep/er/new.nsf");
  EXPECT_FALSE(db.IsOpen());
  ASSERT_EQ(db.Open(), LNNOERROR);
  EXPECT_EQ(db.GetTitle(), "Deep");
  WriteFile("taken.nsf", "precious");
  EXPECT_EQ(session_.CreateDatabase("taken.nsf", &db, "x"), LNERR_FILE_EXISTS);
  EXPECT_EQ(session_.CreateDatabase("deep/er/new.nsf", &db, "x"), LNERR_FILE_EXISTS);
  EXPECT_EQ(fs::file_size(PathOf("taken.nsf")), 8u) << "still the word \"precious\"";
  EXPECT_EQ(session_.CreateDatabase(PathOf("abs.nsf"), &db, "Absolute"), LNNOERROR);
  EXPECT_EQ(db.Open(), LNNOERROR);
}

TEST_F(FileTest, SessionMustBeInitialised) {
  LNNotesSession fresh;
  LNDatabase db;
  EXPECT_EQ(fresh.GetDatabase("x.nsf", &db), LNERR_NO_SESSION);
  EXPECT_EQ(fresh.CreateDatabase("x.nsf", &db, "x"), LNERR_NO_SESSION);
  std::vector<LNDatabase> dbs;
  EXPECT_EQ(fresh.GetDatabases(&dbs), LNERR_NO_SESSION);
  EXPECT_EQ(session_.GetDatabase("", &db), LNERR_INVALID_ARGUMENT);
}

TEST_F(FileTest, ListsDatabasesSortedByPath) {
  for (const char* path :
       {"b.nsf", "a.NSF", "sub/c.nsf", "sub/deeper/d.nsf", "notes.txt", "sub/e.nsf.bak"}) {
    WriteFile(path, "");
  }
  struct Case {
    std::string directory;
    int recursive;
    std::vector<std::string> paths;
  };
  const std::vector<Case> cases = {
      {"", 1, {"a.NSF", "b.nsf", "sub/c.nsf", "sub/deeper/d.nsf"}},
      {"", 0, {"a.NSF", "b.nsf"}},
      {"sub", 1, {"sub/c.nsf", "sub/deeper/d.nsf"}},
      {"sub\\deeper", 0, {"sub/deeper/d.nsf"}},
      {PathOf("sub/deeper"), 0, {PathOf("sub/deeper/d.nsf")}},
  };
  for (const Case& c : cases) EXPECT_EQ(Paths(c.directory, c.recursive), c.paths) << c.directory;
  std::vector<LNDatabase> dbs;
  EXPECT_EQ(session_.GetDatabases(&dbs, "nowhere"), LNERR_FILE_NOT_FOUND);
}

TEST_F(FileTest, DataDirectoryComesFromTheEnvironment) {
  EXPECT_EQ(session_.GetDataDirectory(), dir_.string());
  std::string xdg = (dir_ / "xdg").string();
  unsetenv("VELK_DATA_DIR");
  setenv("XDG_DATA_HOME", xdg.c_str(), 1);
  EXPECT_EQ(session_.GetDataDirectory(), xdg + "/velkmod");
  EXPECT_TRUE(fs::is_directory(xdg + "/velkmod"));
  unsetenv("XDG_DATA_HOME");
}

TEST(SessionNames, AbbreviatesCanonicalNamesOnly) {
  const std::pair<const char*, const char*> cases[] = {
      {"CN=Ann Lee/OU=Sales/O=Acme", "Ann Lee/Sales/Acme"},
      {"cn=Bo/O=Acme/C=DE", "Bo/Acme/DE"},
      {"Ann Lee/Sales/Acme", "Ann Lee/Sales/Acme"},
      {"OU=Sales/O=Acme", "OU=Sales/O=Acme"},
      {"CN=Sum=1/O=Acme", "Sum=1/Acme"},
      {"", ""},
  };
  for (const auto& [name, abbreviated] : cases)
    EXPECT_EQ(LNNotesSession::AbbreviateName(name), abbreviated);
}

TEST(SessionNames, UserNameComesFromTheEnvironment) {
  const char* before = std::getenv("VELK_USER");
  std::string saved = before ? before : "";
  LNNotesSession session;
  setenv("VELK_USER", "CN=Ann Lee/O=Acme", 1);
  EXPECT_EQ(session.GetUserNameText(), "CN=Ann Lee/O=Acme");
  unsetenv("VELK_USER");
  EXPECT_FALSE(session.GetUserNameText().empty());  // the login name
  if (before) setenv("VELK_USER", saved.c_str(), 1);
}

TEST(Datetimes, DateTextAndNow) {
  EXPECT_EQ(LNDatetime("2026-12-06T10:20:30").GetDateText(), "06.12.2026");
  EXPECT_EQ(LNDatetime("2026-12-06").GetDateText(), "06.12.2026");
  EXPECT_EQ(LNDatetime("06.12.2026").GetDateText(), "");
  EXPECT_EQ(LNDatetime().GetDateText(), "");
  std::string now = LNDatetime::Now().GetText();
  ASSERT_EQ(now.size(), 19u);
  EXPECT_EQ(now[10], 'T');
  EXPECT_FALSE(LNDatetime::Now().GetDateText().empty());
}

}  // namespace
