#pragma once
// Inside the demo repository: a document writer and the contents of each database.
// Documents are written through the field setters, so every item has the type and
// the flags the modeler's own writers give it and its readers expect.

#include <string>
#include <vector>

#include "repository/demodata.h"
#include "repository/store/lnnotes.h"

namespace velk::demo {

using Names = std::vector<std::string>;

// Throws LNStatusError for an error status; warnings pass.
void ThrowOnError(LNSTATUS status);

// Creates a document of `form` on construction; a store failure throws LNStatusError.
class DocumentWriter {
 public:
  DocumentWriter(LNDatabase& db, const char* form);
  DocumentWriter(const DocumentWriter&) = delete;
  DocumentWriter& operator=(const DocumentWriter&) = delete;

  DocumentWriter& text(const char* item, const std::string& value);  // one-element text
  DocumentWriter& integer(const char* item, int value);              // "%d" text
  DocumentWriter& number(const char* item, int value);               // number item
  DocumentWriter& flag(const char* item, bool value);                // "Yes" / "No"
  DocumentWriter& list(const char* item, const Names& values);       // no item when empty
  DocumentWriter& readers(const char* item, const Names& values);
  // Saves and closes the document.
  void save();
  // Saves, then writes `item` as the document's note id (8 hex digits) and saves
  // again: the modeler numbers content-management templates that way.
  void saveWithNoteIdAs(const char* item);

 private:
  LNDocument doc_;
};

// "CN=Ann Lee/OU=Sales/O=Marvelund" for first "Ann", last "Lee", unit "Sales".
std::string Canonical(const std::string& first, const std::string& last, const std::string& unit,
                      const std::string& organisation);
// "Ann Lee/Sales/Marvelund": the form names are listed in.
std::string Abbreviated(const std::string& first, const std::string& last, const std::string& unit,
                        const std::string& organisation);

// The contents per database.
void WriteApplicationEnvironment(LNDatabase& db);
void WriteProcessDefinitions(Services& services, LNDatabase& db, const DemoLinks& links);
void WriteInfrastructure(LNDatabase& db);
void WriteExternalDirectory(LNDatabase& db, const DemoLinks& links);
void WriteProcessViews(LNDatabase& db);  // part of the External Directory

// Identities that a later database quotes (stored workflows, IRI leafs, EIDM requests).
inline constexpr char kOrderHandlingLeafId[] = "8A9B0C1D2E3F40516273849506A7B8C9";
inline constexpr char kExportOrderLeafId[] = "8A9B0C1D2E3F40516273849506A7B8CA";
inline constexpr char kComplaintLeafId[] = "8A9B0C1D2E3F40516273849506A7B8CB";
inline constexpr char kSupplierRatingLeafId[] = "8A9B0C1D2E3F40516273849506A7B8CC";
inline constexpr char kParcelDeliveryLeafId[] = "4D5E6F708192A3B4C5D6E7F8091A2B3C";
inline constexpr char kCreditCheckLeafId[] = "4D5E6F708192A3B4C5D6E7F8091A2B3D";
inline constexpr char kCreditCheckRequestId[] = "3F4E5D6C7B8A90A1B2C3D4E5F6071829";

}  // namespace velk::demo
