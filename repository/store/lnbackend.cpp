#include "repository/store/lnbackend.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <random>

#include "repository/store/lnfail.h"
#include "repository/store/lnsqlitestore.h"

namespace lnstore {

namespace {

namespace fs = std::filesystem;

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

std::string HomeDirectory() {
  std::string home = Env("HOME");
  if (!home.empty()) return home;
  const passwd* user = getpwuid(getuid());
  return user && user->pw_dir ? user->pw_dir : "/tmp";
}

// Paths may come from settings written on Windows.
std::string Normalize(std::string path) {
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

bool IsDatabaseFile(const fs::path& path) {
  std::string extension = path.extension().string();
  return SameName(extension, ".nsf");
}

LNSTATUS ErrorStatus(const std::error_code& ec) {
  return MapErrno(ec.value());
}

template <typename Iterator>
LNSTATUS Collect(Iterator it, const fs::path& base, const std::string& directory,
                 std::vector<std::string>* paths) {
  std::error_code ec;
  for (; !ec && it != Iterator(); it.increment(ec)) {
    std::error_code fileError;
    if (!it->is_regular_file(fileError) || !IsDatabaseFile(it->path())) continue;
    fs::path relative = it->path().lexically_relative(base);
    paths->push_back(directory.empty() ? relative.generic_string()
                                       : (fs::path(directory) / relative).generic_string());
  }
  return ec ? ErrorStatus(ec) : LNNOERROR;
}

class LocalBackend final : public Backend {
 public:
  explicit LocalBackend(int busyTimeoutMs) : busyTimeoutMs_(busyTimeoutMs) {}

  LNSTATUS OpenDatabase(const std::string&, const std::string& path,
                        std::unique_ptr<DatabaseStore>* store, FailureDetail* detail) override {
    detail->Clear();  // a server's words belong to a server's failure
    return SqliteStore::Open(ResolveLocalPath(path), busyTimeoutMs_, store);
  }

  LNSTATUS CreateDatabase(const std::string&, const std::string& path, const std::string& title,
                          const DatabaseFill& fill, FailureDetail* detail) override {
    detail->Clear();
    return SqliteStore::Create(ResolveLocalPath(path), title, fill, detail);
  }

  LNSTATUS ListDatabases(const std::string&, const std::string& directory, bool recursive,
                         std::vector<std::string>* paths, FailureDetail* detail) override {
    detail->Clear();
    std::string named = Normalize(directory);
    fs::path base = named.empty() ? fs::path(DataDirectory()) : fs::path(ResolveLocalPath(named));
    std::error_code ec;
    fs::file_status status = fs::status(base, ec);
    if (ec && ec != std::errc::no_such_file_or_directory) return ErrorStatus(ec);
    if (!fs::is_directory(status)) return LNERR_FILE_NOT_FOUND;
    constexpr auto options = fs::directory_options::skip_permission_denied;
    LNSTATUS result =
        recursive ? Collect(fs::recursive_directory_iterator(base, options, ec), base, named, paths)
                  : Collect(fs::directory_iterator(base, options, ec), base, named, paths);
    if (ec) result = ErrorStatus(ec);
    std::sort(paths->begin(), paths->end());
    return result;
  }

 private:
  int busyTimeoutMs_;
};

}  // namespace

std::shared_ptr<Backend> MakeLocalBackend(int busyTimeoutMs) {
  return std::make_shared<LocalBackend>(busyTimeoutMs);
}

std::string DataDirectory() {
  std::string dir = Env("VELK_DATA_DIR");
  if (dir.empty()) {
    std::string xdg = Env("XDG_DATA_HOME");
    // Relative values are invalid by the XDG rules and would depend on the working folder.
    dir = (!xdg.empty() && xdg.front() == '/') ? xdg + "/velkmod"
                                               : HomeDirectory() + "/.local/share/velkmod";
  }
  std::error_code ignored;  // a folder that cannot be made shows when a database is opened
  fs::create_directories(dir, ignored);
  // A relative folder is taken from the working folder once, here: paths built
  // on it are handed on (a new database's file is opened again by the filling
  // step) and must not be resolved against it a second time.
  const fs::path absolute = fs::absolute(dir, ignored);
  return ignored ? dir : absolute.lexically_normal().string();
}

std::string ResolveLocalPath(const std::string& path) {
  fs::path named(Normalize(path));
  if (named.is_absolute()) return named.string();
  return (fs::path(DataDirectory()) / named).string();
}

std::uint32_t RandomWord() {
  static std::mt19937 engine = [] {
    std::random_device device;
    std::seed_seq seed{device(), device(), device(), device(),
                       device(), device(), device(), device()};
    return std::mt19937(seed);
  }();
  return static_cast<std::uint32_t>(engine());
}

std::string FormOf(const std::vector<LNItem>& items) {
  for (const LNItem& item : items) {
    if (SameName(item.name, "Form")) {
      return item.type == LNItemType::Text && !item.texts.empty() ? item.texts.front()
                                                                  : std::string();
    }
  }
  return {};
}

}  // namespace lnstore

namespace lnstore {

std::string PackUnid(const LNUNID& unid) {
  std::string out(16, '\0');
  for (std::size_t w = 0; w < 4; ++w) {
    for (std::size_t b = 0; b < 4; ++b)
      out[w * 4 + b] = static_cast<char>(unid.words[w] >> (24 - 8 * b));
  }
  return out;
}

bool UnpackUnid(std::string_view blob, LNUNID* unid) {
  if (blob.size() != 16) return false;
  for (std::size_t w = 0; w < 4; ++w) {
    std::uint32_t word = 0;
    for (std::size_t b = 0; b < 4; ++b)
      word = (word << 8) | static_cast<unsigned char>(blob[w * 4 + b]);
    unid->words[w] = word;
  }
  return true;
}

bool IsStoredNoteClass(std::int64_t value) {
  return value >= 1 && value <= 3;
}

bool IsStoredItemType(std::int64_t value) {
  return value >= 1 && value <= 3;
}

LNSTATUS DatabaseStore::LoadNotes(const std::vector<LNNOTEID>& ids,
                                  std::vector<NoteRecord>* notes) {
  for (LNNOTEID id : ids) {
    NoteRecord note;
    const LNSTATUS status = LoadNote(id, &note);
    if (status == LNERR_DOCUMENT_NOT_FOUND) continue;
    if (status != LNNOERROR) return status;
    note.id = id;
    notes->push_back(std::move(note));
  }
  return LNNOERROR;
}

LNSTATUS DatabaseStore::EachViewNote(const std::string& form, bool anyForm,
                                     const std::function<LNSTATUS(NoteRecord&)>& each) {
  std::vector<NoteRecord> notes;
  LNSTATUS status = ViewNotes(form, anyForm, &notes);
  for (std::size_t i = 0; status == LNNOERROR && i < notes.size(); ++i) status = each(notes[i]);
  return status;
}

std::size_t StoredNotes::Append(std::string_view text) {
  const std::size_t at = bytes.size();
  bytes.append(text);
  return at;
}

void StoredNotes::Decode(const Note& note, std::vector<LNItem>* out) const {
  out->clear();
  out->resize(note.itemCount);
  for (std::size_t i = 0; i < note.itemCount; ++i) {
    const Item& stored = items[note.firstItem + i];
    LNItem& item = (*out)[i];
    item.name = Name(stored);
    item.type = stored.type;
    item.flags = stored.flags;
    DecodeValues(Data(stored), &item);
  }
}

LNSTATUS DatabaseStore::LockKey(const std::string& /*key*/) {
  return InTransaction() ? LNNOERROR : LNERR_TRANSACTION;
}

LNSTATUS DatabaseStore::ClassNotes(LNNoteClass noteClass, std::vector<NoteRecord>* notes) {
  std::vector<NoteRecord> headers;
  LNSTATUS status = ListNotes(noteClass, &headers);
  if (status != LNNOERROR || headers.empty()) return status;
  std::vector<LNNOTEID> ids;
  for (const NoteRecord& header : headers) ids.push_back(header.id);
  return LoadNotes(ids, notes);
}

}  // namespace lnstore
