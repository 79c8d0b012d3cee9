// Creating database files and recognising them on open.

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "repository/store/lnsqlitestore.h"

namespace lnstore {

namespace {

namespace fs = std::filesystem;

constexpr char kMagic[] = "VelkMod document store";
constexpr int kSchemaVersion = 1;
// Also marks our files in the SQLite header ("VLKM").
constexpr char kApplicationId[] = "PRAGMA application_id = 1447840589";

constexpr char kTables[] =
    "CREATE TABLE meta(key TEXT PRIMARY KEY NOT NULL, value) WITHOUT ROWID;"
    "CREATE TABLE notes(note_id INTEGER PRIMARY KEY AUTOINCREMENT, unid BLOB NOT NULL UNIQUE,"
    " class INTEGER NOT NULL, form TEXT NOT NULL DEFAULT '');"
    "CREATE INDEX notes_by_form ON notes(class, form);"
    "CREATE TABLE items(note_id INTEGER NOT NULL REFERENCES notes(note_id) ON DELETE CASCADE,"
    " lname TEXT NOT NULL, seq INTEGER NOT NULL, name TEXT NOT NULL, type INTEGER NOT NULL,"
    " flags INTEGER NOT NULL, data BLOB NOT NULL, PRIMARY KEY(note_id, lname)) WITHOUT ROWID;";

// Checksums of the notes (see NoteHasher). Added to files of earlier versions at
// their first open: those versions keep writing such files, and a note they
// rewrite loses its checksum instead of keeping a stale one.
constexpr char kHashes[] =
    "CREATE TABLE IF NOT EXISTS hashes(note_id INTEGER PRIMARY KEY"
    " REFERENCES notes(note_id) ON DELETE CASCADE, hash INTEGER NOT NULL);"
    "CREATE TRIGGER IF NOT EXISTS notes_rewritten AFTER UPDATE ON notes"
    " BEGIN DELETE FROM hashes WHERE note_id = OLD.note_id; END;";

// The columns every statement relies on.
constexpr std::pair<const char*, const char*> kColumns[] = {
    {"meta", "'key', 'value'"},
    {"notes", "'note_id', 'unid', 'class', 'form'"},
    {"items", "'note_id', 'lname', 'seq', 'name', 'type', 'flags', 'data'"}};

// Refuses what is plainly no SQLite file before SQLite reads or writes it (SQLite
// would turn an empty file into a database). Only regular files: opening a named
// pipe would wait for a writer forever.
LNSTATUS CheckRegularFile(const std::string& file) {
  struct stat info;
  if (::stat(file.c_str(), &info) != 0) return MapErrno(errno);
  return S_ISREG(info.st_mode) ? LNNOERROR : LNERR_NOT_A_DATABASE;
}

// The first bytes, read through the connection's own descriptor. A second one,
// once closed, would drop every lock this process holds on the file (POSIX locks
// belong to the process): another process could then take the database for
// unused and reset its log under the connections still writing to it.
LNSTATUS CheckHeader(Connection& db) {
  sqlite3_file* file = nullptr;
  if (sqlite3_file_control(db.Handle(), "main", SQLITE_FCNTL_FILE_POINTER, &file) != SQLITE_OK ||
      !file || !file->pMethods)
    return LNERR_NOT_A_DATABASE;
  char header[16] = {};
  const int rc = file->pMethods->xRead(file, header, sizeof header, 0);
  if (rc == SQLITE_IOERR_SHORT_READ) return LNERR_NOT_A_DATABASE;
  if (rc != SQLITE_OK) return MapSqliteError(rc, 0);
  return std::memcmp(header, "SQLite format 3", 16) == 0 ? LNNOERROR : LNERR_NOT_A_DATABASE;
}

// Runs a one-row query outside the statement cache, its columns as texts (none
// when it yields no row); returns the raw SQLite code.
int Row(Connection& db, const char* query, std::vector<std::string>* values) {
  values->clear();
  sqlite3_stmt* stmt = nullptr;
  int rc = sqlite3_prepare_v2(db.Handle(), query, -1, &stmt, nullptr);
  if (rc == SQLITE_OK) {
    rc = sqlite3_step(stmt);
    if (rc == SQLITE_ROW) {
      for (int i = 0; i < sqlite3_column_count(stmt); ++i) {
        const unsigned char* text = sqlite3_column_text(stmt, i);
        values->emplace_back(text ? reinterpret_cast<const char*>(text) : "");
      }
      rc = SQLITE_OK;
    } else if (rc == SQLITE_DONE) {
      rc = SQLITE_OK;
    }
  }
  if (rc != SQLITE_OK) rc = sqlite3_extended_errcode(db.Handle());
  sqlite3_finalize(stmt);
  return rc;
}

void RemoveFiles(const std::string& file) {
  std::error_code ignored;
  for (const char* suffix : {"", "-wal", "-shm", "-journal"}) fs::remove(file + suffix, ignored);
}

// A new database is built under a hidden name of its own beside the final one
// and renamed into place when complete: an interrupted creation leaves no file
// behind that would block the next attempt, and no one opens a database whose
// design is half written. The builder holds a lock on its file while it lives;
// a file without one was left by a creation that was killed.
constexpr char kPartPrefix[] = ".velkmod-create-";
// What an earlier version named its files: the final name, ".part-" and 8 digits.
constexpr char kOldPartInfix[] = ".nsf.part-";

// The suffixes of the files SQLite keeps beside a database.
constexpr const char* kCompanions[] = {"-journal", "-wal", "-shm"};

bool IsHex(std::string_view text) {
  return text.size() == 8 && text.find_first_not_of("0123456789ABCDEF") == std::string_view::npos;
}

// The part file a name in the folder belongs to ("" for none of ours), and
// whether an earlier version made it.
std::string PartOf(const std::string& name, bool* old) {
  std::string base = name;
  for (const char* suffix : kCompanions) {
    const std::size_t n = std::strlen(suffix);
    if (base.size() > n && base.compare(base.size() - n, n, suffix) == 0)
      base.resize(base.size() - n);
  }
  const std::size_t prefix = std::strlen(kPartPrefix);
  *old = false;
  if (base.compare(0, prefix, kPartPrefix) == 0 && IsHex(std::string_view(base).substr(prefix)))
    return base;
  const std::size_t infix = base.rfind(kOldPartInfix);
  *old = infix != std::string::npos &&
         IsHex(std::string_view(base).substr(infix + std::strlen(kOldPartInfix)));
  return *old ? base : std::string();
}

// Whether the creation that made `file` has ended without finishing it: nobody
// holds its lock. An earlier version took no lock, so its files count as left
// once they are an hour old.
bool Abandoned(const fs::path& file, bool old) {
  if (old) {
    std::error_code ec;
    const auto written = fs::last_write_time(file, ec);
    return !ec && fs::file_time_type::clock::now() - written > std::chrono::hours(1);
  }
  const int fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOFOLLOW);
  if (fd < 0) return errno == ENOENT;  // a companion whose database is gone
  const bool free = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
  ::close(fd);
  return free;
}

// Removes what killed creations left in `folder`.
void RemoveAbandonedParts(const fs::path& folder) {
  std::error_code ec;
  std::vector<fs::path> left;
  for (fs::directory_iterator it(folder.empty() ? fs::path(".") : folder, ec), end;
       !ec && it != end; it.increment(ec)) {
    bool old = false;
    const std::string base = PartOf(it->path().filename().string(), &old);
    if (!base.empty() && Abandoned(it->path().parent_path() / base, old))
      left.push_back(it->path());
  }
  for (const fs::path& file : left) fs::remove(file, ec);
}

class PartialFile {
 public:
  explicit PartialFile(const std::string& file) : file_(file) {
    const fs::path folder = fs::path(file).parent_path();
    RemoveAbandonedParts(folder);
    for (int attempt = 0; attempt < 4; ++attempt) {
      char name[32];
      std::snprintf(name, sizeof name, "%s%08X", kPartPrefix, static_cast<unsigned>(RandomWord()));
      const std::string path = (folder / name).string();
      fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
      if (fd_ >= 0) {
        ::flock(fd_, LOCK_EX);  // never waits: the file is new
        path_ = path;
        status_ = LNNOERROR;
        return;
      }
      status_ = MapErrno(errno);
      if (errno != EEXIST) return;
    }
  }
  ~PartialFile() {
    if (!path_.empty()) RemoveFiles(path_);
    if (fd_ >= 0) ::close(fd_);
  }
  PartialFile(const PartialFile&) = delete;
  PartialFile& operator=(const PartialFile&) = delete;

  LNSTATUS Status() const { return status_; }
  const std::string& Path() const { return path_; }

  // Renames the finished file into place, unless a file of that name appeared meanwhile.
  LNSTATUS Publish() {
    std::error_code ec;
    // A log still beside the file (a connection left open) holds data the file lacks.
    if (fs::exists(path_ + "-wal", ec)) return LNERR_INTERNAL;
    if (::renameat2(AT_FDCWD, path_.c_str(), AT_FDCWD, file_.c_str(), RENAME_NOREPLACE) != 0) {
      if (errno != EINVAL && errno != ENOSYS) return MapErrno(errno);
      // File systems without it: a hard link also fails when the name is taken.
      if (::link(path_.c_str(), file_.c_str()) != 0) return MapErrno(errno);
      ::unlink(path_.c_str());
    }
    path_.clear();
    return LNNOERROR;
  }

 private:
  std::string file_;
  std::string path_;  // empty once published or when it could not be made
  int fd_ = -1;       // holds the lock that tells a live creation from a killed one
  LNSTATUS status_ = LNERR_INTERNAL;
};

LNSTATUS Populate(Connection& db, const std::string& title) {
  // Durable once the connection closes: closing checkpoints and syncs the file.
  LNSTATUS status = db.Exec("PRAGMA synchronous = NORMAL; PRAGMA journal_mode = WAL");
  if (status == LNNOERROR) status = sql::CreateTables(db, title);
  return status;
}

}  // namespace

namespace sql {

const char* InsertItems(std::size_t rows) {
  static const auto texts = [] {
    std::vector<std::string> built;
    for (std::size_t n = 1; n <= kMaxItemRows; n *= 2) {
      std::string text = "INSERT INTO items(note_id, lname, seq, name, type, flags, data) VALUES";
      for (std::size_t row = 0; row < n; ++row)
        text += row ? ",(?,?,?,?,?,?,?)" : "(?,?,?,?,?,?,?)";
      built.push_back(std::move(text));
    }
    return built;
  }();
  std::size_t index = 0;
  while ((std::size_t{1} << index) < rows) ++index;
  return texts.at(index).c_str();
}

LNSTATUS CreateTables(Connection& db, const std::string& title) {
  WriteScope scope(db);
  if (scope.Status() != LNNOERROR) return scope.Status();
  LNSTATUS status = db.Exec(kTables);
  if (status == LNNOERROR) status = db.Exec(kHashes);
  if (status == LNNOERROR) status = db.Exec(kApplicationId);
  const std::string values[][2] = {{"magic", kMagic},
                                   {"schema", std::to_string(kSchemaVersion)},
                                   {"title", title},
                                   {"replica0", std::to_string(RandomWord())},
                                   {"replica1", std::to_string(RandomWord())}};
  for (const auto& row : values) {
    if (status != LNNOERROR) break;
    static constexpr char kInsertMeta[] = "INSERT INTO meta(key, value) VALUES(?1, ?2)";
    Query insert(db, kInsertMeta);
    status = insert.Bind(1, row[0]).Bind(2, row[1]).Run();
  }
  return status != LNNOERROR ? status : scope.Finish();
}

LNSTATUS Check(Connection& db) {
  // The first read of the file: foreign and damaged files show up here.
  std::vector<std::string> row;
  int rc = Row(db, "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = 'meta'",
               &row);
  if (rc != SQLITE_OK) return MapSqliteError(rc);
  if (row.size() != 1 || row[0] != "1") return LNERR_NOT_A_DATABASE;
  // The marker, the version and the columns the statements need in one statement:
  // each statement prepared costs about as much as its reading here. The
  // statements themselves are prepared when first used: preparing them all took
  // most of an open.
  std::string query =
      "SELECT (SELECT value FROM meta WHERE key = 'magic'), (SELECT value FROM meta WHERE key = "
      "'schema'), ''";
  std::string expected;
  for (const auto& [table, columns] : kColumns) {
    query += std::string(" || ' ' || (SELECT count(*) FROM pragma_table_info('") + table +
             "') WHERE name IN (" + columns + "))";
    expected += " " + std::to_string(std::count(columns, columns + std::strlen(columns), ',') + 1);
  }
  rc = Row(db, query.c_str(), &row);
  // A table "meta" without our columns is someone else's.
  if ((rc & 0xff) == SQLITE_ERROR || (rc == SQLITE_OK && (row.size() != 3 || row[0] != kMagic)))
    return LNERR_NOT_A_DATABASE;
  if (rc != SQLITE_OK) return MapSqliteError(rc);
  const std::string& schema = row[1];
  if (schema.empty() || schema.find_first_not_of("0123456789") != std::string::npos)
    return LNERR_DATABASE_DAMAGED;
  // A later version may store things this one cannot read back faithfully.
  if (schema.size() > 6 || std::stoi(schema) > kSchemaVersion) return LNERR_NOT_A_DATABASE;
  // A table or column the statements need that is missing is damage.
  return row[2] == expected ? LNNOERROR : LNERR_DATABASE_DAMAGED;
}

}  // namespace sql

LNSTATUS SqliteStore::Open(const std::string& file, int busyTimeoutMs,
                           std::unique_ptr<DatabaseStore>* out) {
  LNSTATUS status = CheckRegularFile(file);
  if (status != LNNOERROR) return status;
  std::unique_ptr<Connection> db;
  status = Connection::Open(file, false, busyTimeoutMs, &db);
  if (status == LNNOERROR) status = CheckHeader(*db);
  if (status == LNNOERROR) status = sql::Check(*db);
  // Temporary data in memory: the savepoint that makes each Save atomic inside a
  // long transaction would otherwise journal every page it touches to a temp file.
  if (status == LNNOERROR) {
    status = db->Exec(
        "PRAGMA synchronous = NORMAL; PRAGMA foreign_keys = ON; PRAGMA temp_store = MEMORY");
  }
  if (status != LNNOERROR) return status;
  auto store = std::unique_ptr<SqliteStore>(new SqliteStore(std::move(db)));
  store->PrepareAdditions(kHashes);
  *out = std::move(store);
  return LNNOERROR;
}

LNSTATUS SqliteStore::Create(const std::string& file, const std::string& title,
                             const DatabaseFill& fill, FailureDetail* detail) {
  // The file system takes names of 255 bytes; SQLite's log beside the database
  // adds "-wal" to its name.
  constexpr std::size_t kLongestName = 251;
  if (fs::path(file).filename().native().size() > kLongestName) {
    detail->Set(LNERR_NAME_TOO_LONG,
                "a database name has at most 251 bytes, since the log SQLite keeps beside "
                "the database adds \"-wal\" to it");
    return LNERR_NAME_TOO_LONG;
  }
  fs::path parent = fs::path(file).parent_path();
  std::error_code ec;
  if (!parent.empty()) fs::create_directories(parent, ec);
  // A part of the path that exists but is a file, not a folder.
  if (ec == std::errc::file_exists) return LNERR_NOT_A_FOLDER;
  if (ec) return MapErrno(ec.value());
  struct stat info;
  if (::lstat(file.c_str(), &info) == 0) return LNERR_FILE_EXISTS;
  if (errno != ENOENT) return MapErrno(errno);
  PartialFile partial(file);
  LNSTATUS status = partial.Status();
  if (status == LNNOERROR) {
    std::unique_ptr<Connection> db;
    status = Connection::Open(partial.Path(), true, kBusyTimeoutMs, &db);
    if (status == LNNOERROR) status = Populate(*db, title);
  }
  if (status == LNNOERROR && fill) status = fill(partial.Path());
  return status == LNNOERROR ? partial.Publish() : status;
}

}  // namespace lnstore
