#pragma once
// A database on a PostgreSQL server: one row of the server's database table, its
// notes and items in tables shared by all databases of that server.

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "repository/store/lnbackend.h"
#include "repository/store/lnpostgres.h"

namespace lnstore {

class PostgresStore final : public DatabaseStore {
 public:
  // The connection goes back to `pool` when the database is closed.
  // `opened`: the database's title and replica id, read when it was found.
  PostgresStore(std::unique_ptr<PgConnection> db, std::int64_t dbId, std::shared_ptr<PgPool> pool,
                std::string conninfo, DatabaseInfo opened)
      : db_(std::move(db)),
        dbNumber_(dbId),
        dbId_(std::to_string(dbId)),
        pool_(std::move(pool)),
        conninfo_(std::move(conninfo)),
        opened_(std::move(opened)) {}
  // Title and replica id from columns `first` on of a one-row result.
  static LNSTATUS ReadInfo(const PgRows& rows, int first, DatabaseInfo* info);
  ~PostgresStore() override;

  LNSTATUS ReadInfo(DatabaseInfo* info) override;
  LNSTATUS WriteTitle(const std::string& title) override;
  LNSTATUS WriteReplicaId(const LNREPLICAID& id) override;
  LNSTATUS LoadHeader(LNNOTEID id, NoteRecord* note) override;
  LNSTATUS FindHeader(const LNUNID& unid, NoteRecord* note) override;
  LNSTATUS LoadNote(LNNOTEID id, NoteRecord* note) override;
  LNSTATUS SaveNote(const NoteRecord& note, LNNOTEID* newId) override;
  LNSTATUS InsertNote(const NoteRecord& note) override;
  LNSTATUS DeleteNote(LNNOTEID id) override;
  LNSTATUS ListNotes(LNNoteClass noteClass, std::vector<NoteRecord>* notes) override;
  LNSTATUS ViewKeys(const std::string& form, bool anyForm, const std::string& keyItem,
                    std::vector<ViewKey>* keys) override;
  LNSTATUS ViewNotes(const std::string& form, bool anyForm,
                     std::vector<NoteRecord>* notes) override;
  LNSTATUS Begin() override;
  LNSTATUS Commit() override;
  LNSTATUS Rollback() override;
  bool InTransaction() const override { return db_->InTransaction() && !reading_; }
  LNSTATUS LockKey(const std::string& key) override;
  void BeginRead() override;
  void EndRead() override;
  std::size_t ReadAheadSize() const override { return 512; }
  bool Reading() const override { return reading_; }
  LNSTATUS LoadNotes(const std::vector<LNNOTEID>& ids, std::vector<NoteRecord>* notes) override;
  void Prefetch(const std::vector<LNNOTEID>& ids) override;
  LNSTATUS ClassNotes(LNNoteClass noteClass, std::vector<NoteRecord>* notes) override;

 private:
  LNSTATUS ReadNotes(const PgRows& rows, std::vector<NoteRecord>* notes);
  void StopReading();
  // Runs the statements of one write between BEGIN and COMMIT, or inside a
  // savepoint of the caller's transaction; undoes them when one fails.
  LNSTATUS Write(const PgScript& body, std::vector<PgRows>* results);
  // A new note under a reserved id, inserted with the next request.
  LNSTATUS DeferNew(LNNOTEID id, const NoteRecord& note);
  void AddNoteRow(PgScript& script, const std::string& noteId, const NoteRecord& note);
  void AddItems(PgScript& script, const std::string& noteId, const std::vector<LNItem>& items);
  // The next id of the block this transaction reserved; false when none can be
  // reserved (the numbering has reached the top), then the server picks one.
  bool ReservedNoteId(LNNOTEID* id);
  void DropReservation() {
    reserved_ = reservedEnd_ = 0;
    blocks_ = 0;
  }

  std::unique_ptr<PgConnection> db_;
  std::int64_t dbNumber_;
  std::string dbId_;
  std::shared_ptr<PgPool> pool_;
  std::string conninfo_;
  std::optional<DatabaseInfo> opened_;
  int readers_ = 0;
  bool reading_ = false;
  LNNOTEID reserved_ = 0, reservedEnd_ = 0;  // ids reserved by the open transaction
  int blocks_ = 0;                           // blocks it has reserved
};

// Named servers, each a libpq connection string; names compare without regard to case.
class ServerBackend final : public Backend {
 public:
  ServerBackend(std::map<std::string, std::string> servers, std::chrono::milliseconds trustedIdle)
      : servers_(std::move(servers)), pool_(std::make_shared<PgPool>(trustedIdle)) {}
  LNSTATUS OpenDatabase(const std::string& server, const std::string& path,
                        std::unique_ptr<DatabaseStore>* store, FailureDetail* detail) override;
  LNSTATUS CreateDatabase(const std::string& server, const std::string& path,
                          const std::string& title, const DatabaseFill& fill,
                          FailureDetail* detail) override;
  LNSTATUS ListDatabases(const std::string& server, const std::string& directory, bool recursive,
                         std::vector<std::string>* paths, FailureDetail* detail) override;

 private:
  // A connection to the server whose store schema is known to be ours and current,
  // reporting its failures' words to `detail` until it goes back to the pool.
  LNSTATUS Connect(const std::string& server, std::unique_ptr<PgConnection>* out,
                   std::string* conninfo, FailureDetail* detail);
  std::map<std::string, std::string> servers_;
  std::shared_ptr<PgPool> pool_;
  std::set<std::string> checked_;  // connection strings whose schema has been checked
};

namespace pg {
// "\x..." as a bytea parameter.
std::string HexParam(std::string_view bytes);
// Server paths: "/" separated, without a leading one.
std::string NormalizePath(const std::string& path);
// Creates the store's schema when the server has none, upgrades an older one;
// LNERR_NOT_A_DATABASE (with the reason as detail) for a foreign or newer one.
LNSTATUS EnsureSchema(PgConnection& db);
}  // namespace pg

}  // namespace lnstore
