#pragma once
// Databases and their views.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "repository/store/lnnote.h"

class LNViewFolder;
class LNNotesSession;
namespace lnstore {
class DatabaseStore;
}

// A design view: the documents of the selected forms (all documents when empty),
// sorted ascending by the first value of `keyItem`, then by note id. In a
// categorized view each group of equal keys starts with a category row.
struct LNViewDesign {
  std::string name;
  std::vector<std::string> forms;
  std::string keyItem;
  bool categorized = false;
};

// A handle: copies refer to the same database.
class LNDatabase {
 public:
  LNDatabase();
  ~LNDatabase();
  LNDatabase(const LNDatabase&);
  LNDatabase& operator=(const LNDatabase&);

  bool IsNull() const;
  // Whether this database's failures, and those of its views, documents and
  // items, are thrown; it starts with the session's mode. A null handle returns.
  void SetThrowAllErrors(bool on);
  bool GetThrowAllErrors() const;
  // The text of `status` with the server's own words when this database's last
  // failure was that status.
  std::string ErrorMessage(LNSTATUS status) const;
  LNSTATUS Open(int options = 0);
  LNSTATUS Close();
  bool IsOpen() const;

  std::string GetTitle() const;
  LNSTATUS SetTitle(const std::string& title);
  LNREPLICAID GetReplicaID() const;
  void GetReplicaID(LNREPLICAID* id) const { *id = GetReplicaID(); }
  // Gives the database another replica id (restoring a dump, a fixed demo id).
  LNSTATUS SetReplicaID(const LNREPLICAID& id);
  std::string GetFilepath()
      const;  // as the database was named: relative to the data directory or absolute
  std::string GetServer() const;

  LNSTATUS GetViewFolder(const std::string& name, LNViewFolder* view);
  std::vector<std::string> GetViewNames() const;
  LNSTATUS GetForms(std::vector<LNForm>* forms);

  LNSTATUS CreateDocument(LNDocument* doc, const std::string& formName = {});
  LNSTATUS DeleteDocument(LNDocument* doc);
  LNSTATUS GetDocument(LNNOTEID noteId, LNDocument* doc);
  LNSTATUS GetDocument(const LNUNID& unid, LNDocument* doc);
  // Every document (not design notes) in note id order.
  LNSTATUS GetAllDocuments(std::vector<LNDocument>* docs);

  // Design, used by the database templates.
  LNSTATUS CreateForm(const std::string& title, const std::vector<std::string>& fields);
  LNSTATUS CreateView(const LNViewDesign& design);

  // Several writes all-or-nothing. Prefer LNTransaction.
  LNSTATUS BeginTransaction();
  LNSTATUS CommitTransaction();
  LNSTATUS RollbackTransaction();
  bool InTransaction() const;
  // Inside a transaction: waits while another transaction of this database holds
  // `key` and holds it until this one ends, so that writers of one thing take
  // turns however many programs write.
  LNSTATUS LockKey(const std::string& key);

 private:
  friend class LNNotesSession;
  friend class LNViewFolder;
  friend class LNReadSnapshot;
  friend class LNTransaction;
  explicit LNDatabase(std::shared_ptr<lnstore::DatabaseData> data);
  std::shared_ptr<lnstore::DatabaseData> d_;
};

// Sets the throwing mode of one database (every copy of its handle) or of the
// session for a scope and restores the previous one on every exit. The database
// is the one `db` names now, even if `db` is bound to another one meanwhile.
class LNThrowAllErrorsScope {
 public:
  LNThrowAllErrorsScope(const LNDatabase& db, bool on);
  LNThrowAllErrorsScope(LNNotesSession& session, bool on);
  ~LNThrowAllErrorsScope();
  LNThrowAllErrorsScope(const LNThrowAllErrorsScope&) = delete;
  LNThrowAllErrorsScope& operator=(const LNThrowAllErrorsScope&) = delete;

 private:
  LNDatabase db_;
  LNNotesSession* session_ = nullptr;
  bool previous_;
};

// Reads while it lives see one state of the database and are much cheaper in
// bulk. For reading only: a write ends the snapshot and commits on its own.
class LNReadSnapshot {
 public:
  explicit LNReadSnapshot(const LNDatabase& db);
  ~LNReadSnapshot();
  LNReadSnapshot(const LNReadSnapshot&) = delete;
  LNReadSnapshot& operator=(const LNReadSnapshot&) = delete;

 private:
  std::shared_ptr<lnstore::DatabaseData> d_;
  lnstore::DatabaseStore* store_ = nullptr;  // the open store it began on
};

// Rolls back on destruction unless committed.
class LNTransaction {
 public:
  explicit LNTransaction(LNDatabase& db);
  ~LNTransaction();
  LNTransaction(const LNTransaction&) = delete;
  LNTransaction& operator=(const LNTransaction&) = delete;
  LNSTATUS Commit();

 private:
  LNDatabase& db_;
  bool active_ = false;
};

inline constexpr int LNVFNAVIGATE_NEXT = 6;
// For a caller that goes on to read every document of the view: inside a read
// snapshot they are read with the keys, in one scan, and held until taken.
inline constexpr int LNVFOPEN_READ_DOCUMENTS = 1;
// For a caller that walks the documents of one key after Find: the view's
// entries are read when first needed, and a store with an index on the key
// finds the key's documents without reading the other entries (until the walk
// goes beyond them).
inline constexpr int LNVFOPEN_BY_KEY = 2;

class LNVFEntry {
 public:
  bool IsNull() const { return !db_; }
  bool IsCategory() const { return category_; }
  const std::string& GetKey() const { return key_; }  // the sorted column as text
  LNNOTEID GetNoteID() const { return noteId_; }      // 0 for category rows
  LNSTATUS GetDocument(LNDocument* doc) const;

 private:
  friend class LNViewFolder;
  std::shared_ptr<lnstore::DatabaseData> db_;
  std::string key_;
  LNNOTEID noteId_ = 0;
  bool category_ = false;
};

namespace lnstore {
struct ViewData;
}

// A view's entries as of Open; Open again to see later changes.
class LNViewFolder {
 public:
  LNViewFolder();
  ~LNViewFolder();
  LNViewFolder(const LNViewFolder&);
  LNViewFolder& operator=(const LNViewFolder&);

  LNSTATUS Open(int options = 0);
  // Every document of the view in one scan, in no particular order, each open
  // only while `read` runs: for a reader that takes them apart as they come
  // instead of holding them for a walk. `read` must not read this database's views.
  LNSTATUS ReadEachDocument(const std::function<void(LNDocument&)>& read);
  LNSTATUS Close();
  bool IsOpen() const;
  std::string GetName() const;
  bool IsCategorized() const;

  // Entries a walk with Goto visits, category rows included.
  long GetEntryCount() const;
  // The current entry: the first one after Open, the first match after Find.
  LNSTATUS GetEntry(LNVFEntry* entry) const;
  // LNVFNAVIGATE_NEXT moves to the next entry; past the last it returns LNWARN_NOT_FOUND.
  LNSTATUS Goto(int navigation, LNVFEntry* entry = nullptr);
  // First entry whose key equals `key` exactly (a category row in a categorized view)
  // and the number of entries with that key. No match: LNWARN_NOT_FOUND, count 0.
  LNSTATUS Find(const std::string& key, LNVFEntry* entry = nullptr, long* count = nullptr);

 private:
  friend class LNDatabase;
  std::shared_ptr<lnstore::ViewData> d_;
};
