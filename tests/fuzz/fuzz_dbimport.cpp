// `db import`: a dump from anywhere, added to a database all or nothing.
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

#include "fuzzdir.h"
#include "model/jsonlimits.h"
#include "repository/storejson.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  LNNotesSession& session = FuzzSession();
  velk::Json dump;
  try {
    dump = velk::ParseJsonWithinDepth(std::string(reinterpret_cast<const char*>(data), size));
  } catch (const std::exception&) {
    return 0;
  }
  const std::string path = "import.nsf";
  std::filesystem::remove(FuzzDataDirectory() / path);
  LNDatabase db;
  if (session.CreateDatabase(path, &db, "Import") != LNNOERROR || db.Open() != LNNOERROR)
    __builtin_trap();
  const velk::ImportResult result = velk::ImportDocuments(db, dump);
  // All or nothing: a refused dump leaves the database empty; a taken one can be
  // dumped again and still allows new documents.
  const velk::Json back = velk::DumpDatabase(db);
  if (!result.error.empty() && !back["documents"].empty()) __builtin_trap();
  if (result.error.empty()) {
    if (back["documents"].size() != static_cast<std::size_t>(result.imported)) __builtin_trap();
    LNDocument doc;
    if (db.CreateDocument(&doc, "Fuzz") != LNNOERROR || doc.Save() != LNNOERROR) __builtin_trap();
  }
  db.Close();
  return 0;
}
