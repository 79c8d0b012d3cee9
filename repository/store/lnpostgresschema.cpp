// The store's schema on a server, and the databases it holds.

#include <algorithm>
#include <cstdio>

#include "repository/store/lnpostgresstore.h"

namespace lnstore {

namespace {

constexpr char kMagic[] = "VelkMod document store";
constexpr int kSchemaVersion = 2;

// Names, titles, forms and paths are bytes, as in the local store: the server's
// text encoding never refuses or changes them. Folded copies (only ASCII letters
// fold) serve the lookups without regard to case.
constexpr char kTables[] =
    "CREATE SCHEMA velkmod;"
    "CREATE TABLE velkmod.meta(key text PRIMARY KEY, value text NOT NULL);"
    "CREATE TABLE velkmod.databases(db_id bigserial PRIMARY KEY, lpath bytea NOT NULL UNIQUE,"
    " path bytea NOT NULL, ready boolean NOT NULL DEFAULT false,"
    " created timestamptz NOT NULL DEFAULT now(), title bytea NOT NULL,"
    " replica0 bigint NOT NULL, replica1 bigint NOT NULL, next_note bigint NOT NULL DEFAULT 1);"
    "CREATE TABLE velkmod.notes(db_id bigint NOT NULL REFERENCES velkmod.databases"
    " ON DELETE CASCADE, note_id bigint NOT NULL, unid bytea NOT NULL, class smallint NOT NULL,"
    " lform bytea NOT NULL, PRIMARY KEY(db_id, note_id), UNIQUE(db_id, unid));"
    "CREATE INDEX notes_by_form ON velkmod.notes(db_id, class, lform);"
    "CREATE TABLE velkmod.items(db_id bigint NOT NULL, note_id bigint NOT NULL,"
    " lname bytea NOT NULL, seq integer NOT NULL, name bytea NOT NULL, type smallint NOT NULL,"
    " flags bigint NOT NULL, data bytea NOT NULL, PRIMARY KEY(db_id, note_id, lname));"
    // Numbering goes on after the highest id ever used; past the top id new notes
    // take the lowest free one. The id stays readable for the rest of the save.
    "CREATE FUNCTION velkmod.take_note_id(d bigint) RETURNS bigint LANGUAGE plpgsql AS $$"
    " DECLARE n bigint; BEGIN"
    " UPDATE velkmod.databases SET next_note = next_note + 1 WHERE db_id = d"
    " RETURNING next_note - 1 INTO n;"
    " IF n > 4294967295 THEN"
    " SELECT min(c.id) INTO n FROM (SELECT 1::bigint AS id UNION ALL SELECT note_id + 1"
    " FROM velkmod.notes WHERE db_id = d AND note_id < 4294967295) c"
    " WHERE NOT EXISTS (SELECT 1 FROM velkmod.notes x WHERE x.db_id = d AND x.note_id = c.id);"
    " END IF;"
    " PERFORM set_config('velkmod.note', n::text, true); RETURN n; END $$;"
    "CREATE FUNCTION velkmod.current_note() RETURNS bigint LANGUAGE sql STABLE AS"
    " $$ SELECT current_setting('velkmod.note')::bigint $$;";

LNSTATUS Refuse(PgConnection& db, const std::string& reason) {
  db.Report(LNERR_NOT_A_DATABASE, reason);
  return LNERR_NOT_A_DATABASE;
}

LNSTATUS CheckMeta(PgConnection& db) {
  PgRows rows;
  LNSTATUS status =
      db.Exec("SELECT key, value FROM velkmod.meta WHERE key IN ('magic', 'schema')", {}, &rows);
  if (status != LNNOERROR) return status;
  std::string magic, version;
  for (int row = 0; row < rows.Count(); ++row)
    (rows.Text(row, 0) == "magic" ? magic : version) = rows.Text(row, 1);
  if (magic != kMagic)
    return Refuse(db, "the server's schema \"velkmod\" belongs to another program");
  if (version.empty() || version.size() > 6 ||
      version.find_first_not_of("0123456789") != std::string::npos) {
    return LNERR_DATABASE_DAMAGED;
  }
  // A later version may store things this one cannot read back faithfully.
  if (std::stoi(version) > kSchemaVersion) {
    return Refuse(db, "the server's store has schema version " + version +
                          ", newer than this program's " + std::to_string(kSchemaVersion));
  }
  // Upgrades, step by step, under the caller's lock.
  if (version == "1") {
    // Version 2: items are removed with their note by the store itself; checking
    // every item against its note took most of a save on the server.
    PgScript upgrade;
    upgrade.Add(
        "DO $$ DECLARE c text; BEGIN FOR c IN SELECT conname FROM pg_constraint"
        " WHERE conrelid = 'velkmod.items'::regclass AND contype = 'f' LOOP"
        " EXECUTE format('ALTER TABLE velkmod.items DROP CONSTRAINT %I', c); END LOOP; END $$;"
        " UPDATE velkmod.meta SET value = '2' WHERE key = 'schema';");
    status = db.Run(upgrade);
  }
  return status;
}

LNSTATUS Create(PgConnection& db) {
  PgScript script;
  script.Add(kTables).Add("INSERT INTO velkmod.meta VALUES('magic', ").Text(kMagic);
  script.Add("), ('schema', '").Int(kSchemaVersion).Add("');");
  return db.Run(script);
}

LNSTATUS CheckOrCreate(PgConnection& db) {
  PgRows rows;
  LNSTATUS status = db.Exec(
      "SELECT (to_regnamespace('velkmod') IS NOT NULL)::int,"
      " (to_regclass('velkmod.meta') IS NOT NULL)::int",
      {}, &rows);
  if (status != LNNOERROR) return status;
  if (rows.Int(0, 0) == 0) return Create(db);
  if (rows.Int(0, 1) == 0)
    return Refuse(db, "the server's schema \"velkmod\" belongs to another program");
  return CheckMeta(db);
}

// Gives a connection back to the pool when its user is done.
struct Lent {
  PgPool& pool;
  const std::string& conninfo;
  std::unique_ptr<PgConnection>& db;
  ~Lent() { pool.Give(conninfo, std::move(db)); }
};

}  // namespace

namespace pg {

std::string HexParam(std::string_view bytes) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string text = "\\x";
  for (char c : bytes) {
    text += kHex[static_cast<unsigned char>(c) >> 4];
    text += kHex[static_cast<unsigned char>(c) & 15];
  }
  return text;
}

std::string NormalizePath(const std::string& path) {
  std::string normal = path;
  std::replace(normal.begin(), normal.end(), '\\', '/');
  while (normal.starts_with("/") || normal.starts_with("./"))
    normal.erase(0, normal[0] == '/' ? 1 : 2);
  while (normal.ends_with("/")) normal.pop_back();
  return normal;
}

LNSTATUS EnsureSchema(PgConnection& db) {
  // Two programs meeting a new server at once: one creates, the other then checks.
  if (LNSTATUS status = db.Exec("BEGIN")) return status;
  LNSTATUS status = db.Exec("SELECT pg_advisory_xact_lock(1447840589)");
  if (status == LNNOERROR) status = CheckOrCreate(db);
  if (status == LNNOERROR) status = db.Exec("COMMIT");
  if (status != LNNOERROR && db.InTransaction()) db.Exec("ROLLBACK");
  return status;
}

}  // namespace pg

LNSTATUS ServerBackend::Connect(const std::string& server, std::unique_ptr<PgConnection>* out,
                                std::string* conninfo, FailureDetail* detail) {
  detail->Clear();
  auto found = std::find_if(servers_.begin(), servers_.end(),
                            [&](const auto& entry) { return SameName(entry.first, server); });
  if (found == servers_.end()) {
    detail->Set(LNERR_SERVER_NOT_RESPONDING,
                "no server \"" + server + "\" in the \"Servers\" section of the settings");
    return LNERR_SERVER_NOT_RESPONDING;
  }
  if (conninfo) *conninfo = found->second;
  if (checked_.count(found->second) && (*out = pool_->Take(found->second))) {
    (*out)->ReportTo(detail);
    return LNNOERROR;
  }
  if (LNSTATUS status = PgConnection::Connect(found->second, out, detail)) return status;
  if (checked_.count(found->second)) return LNNOERROR;
  if (LNSTATUS status = pg::EnsureSchema(**out)) {
    out->reset();
    return status;
  }
  checked_.insert(found->second);
  return LNNOERROR;
}

LNSTATUS ServerBackend::OpenDatabase(const std::string& server, const std::string& path,
                                     std::unique_ptr<DatabaseStore>* store, FailureDetail* detail) {
  std::unique_ptr<PgConnection> db;
  std::string conninfo;
  if (LNSTATUS status = Connect(server, &db, &conninfo, detail)) return status;
  PgRows rows;
  const std::string lpath = pg::HexParam(FoldName(pg::NormalizePath(path)));
  if (LNSTATUS status = db->Exec(
          "SELECT db_id, title, replica0, replica1 FROM velkmod.databases WHERE lpath = $1",
          {lpath}, &rows)) {
    return status;
  }
  if (rows.Count() == 0) return LNERR_FILE_NOT_FOUND;
  const std::int64_t id = rows.Int(0, 0);
  DatabaseInfo info;
  if (LNSTATUS status = PostgresStore::ReadInfo(rows, 1, &info)) return status;
  *store = std::make_unique<PostgresStore>(std::move(db), id, pool_, std::move(conninfo),
                                           std::move(info));
  return LNNOERROR;
}

// The database is made under a name of its own and renamed when complete, so that
// no one opens one whose design is half written and a failed creation leaves none.
LNSTATUS ServerBackend::CreateDatabase(const std::string& server, const std::string& path,
                                       const std::string& title, const DatabaseFill& fill,
                                       FailureDetail* detail) {
  detail->Clear();
  const std::string named = pg::NormalizePath(path);
  if (named.empty()) return LNERR_INVALID_ARGUMENT;
  std::unique_ptr<PgConnection> db;
  std::string conninfo;
  if (LNSTATUS status = Connect(server, &db, &conninfo, detail)) return status;
  Lent lent{*pool_, conninfo, db};
  // What a creation cut short a day ago left behind.
  db->Exec(
      "WITH gone AS (DELETE FROM velkmod.databases WHERE NOT ready AND created < now() -"
      " interval '1 day' RETURNING db_id)"
      " DELETE FROM velkmod.items WHERE db_id IN (SELECT db_id FROM gone)");
  char suffix[16];
  std::snprintf(suffix, sizeof suffix, ".part-%08X", static_cast<unsigned>(RandomWord()));
  const std::string partial = named + suffix;
  PgRows rows;
  LNSTATUS status = db->Exec(
      "INSERT INTO velkmod.databases(lpath, path, title, replica0, replica1)"
      " SELECT $1, $2, $3, $4, $5 WHERE NOT EXISTS"
      " (SELECT 1 FROM velkmod.databases WHERE lpath = $6) RETURNING db_id",
      {pg::HexParam(FoldName(partial)), pg::HexParam(partial), pg::HexParam(title),
       std::to_string(RandomWord()), std::to_string(RandomWord()), pg::HexParam(FoldName(named))},
      &rows);
  if (status == LNNOERROR && rows.Count() == 0) return LNERR_FILE_EXISTS;
  if (status != LNNOERROR) return status;
  const std::string id = std::to_string(rows.Int(0, 0));
  if (fill) status = fill(partial);
  if (status == LNNOERROR) {
    PgRows published;
    status = db->Exec(
        "UPDATE velkmod.databases SET lpath = $2, path = $3, ready = true WHERE db_id = $1",
        {id, pg::HexParam(FoldName(named)), pg::HexParam(named)}, &published);
    if (status != LNNOERROR && db->LastState() == "23505")
      status = LNERR_FILE_EXISTS;  // made by someone else meanwhile
  }
  if (status != LNNOERROR) {
    db->Exec(
        "WITH items AS (DELETE FROM velkmod.items WHERE db_id = $1)"
        " DELETE FROM velkmod.databases WHERE db_id = $1",
        {id});
  }
  return status;
}

LNSTATUS ServerBackend::ListDatabases(const std::string& server, const std::string& directory,
                                      bool recursive, std::vector<std::string>* paths,
                                      FailureDetail* detail) {
  std::unique_ptr<PgConnection> db;
  std::string conninfo;
  if (LNSTATUS status = Connect(server, &db, &conninfo, detail)) return status;
  Lent lent{*pool_, conninfo, db};
  PgRows rows;
  if (LNSTATUS status = db->Exec("SELECT path FROM velkmod.databases WHERE ready", {}, &rows)) {
    return status;
  }
  const std::string folder = pg::NormalizePath(directory);
  const std::string prefix = folder.empty() ? std::string() : FoldName(folder) + "/";
  std::string path;
  for (int row = 0; row < rows.Count(); ++row) {
    if (!rows.Bytes(row, 0, &path)) return LNERR_DATABASE_DAMAGED;
    if (!FoldName(path).starts_with(prefix)) continue;
    const std::string rest = path.substr(prefix.size());
    if (!recursive && rest.find('/') != std::string::npos) continue;
    paths->push_back(folder.empty() ? rest : folder + "/" + rest);
  }
  std::sort(paths->begin(), paths->end());
  return LNNOERROR;
}

std::shared_ptr<Backend> MakeServerBackend(std::map<std::string, std::string> servers,
                                           std::chrono::milliseconds trustedIdle) {
  return std::make_shared<ServerBackend>(std::move(servers), trustedIdle);
}

}  // namespace lnstore
