#include "repository/demowriter.h"

#include "repository/fieldaccess.h"
#include "repository/identity.h"

namespace velk::demo {

void ThrowOnError(LNSTATUS status) {
  if (status != LNNOERROR && !LNIsWarning(status)) throw LNStatusError(status);
}

DocumentWriter::DocumentWriter(LNDatabase& db, const char* form) {
  ThrowOnError(db.CreateDocument(&doc_));
  ThrowOnError(doc_.SetFormNote(form));
}

DocumentWriter& DocumentWriter::text(const char* item, const std::string& value) {
  ThrowOnError(SetFieldContent(item, value, doc_));
  return *this;
}

DocumentWriter& DocumentWriter::integer(const char* item, int value) {
  ThrowOnError(SetFieldIntContent(item, value, doc_));
  return *this;
}

DocumentWriter& DocumentWriter::number(const char* item, int value) {
  ThrowOnError(SetFieldNumberContent(item, value, doc_));
  return *this;
}

DocumentWriter& DocumentWriter::flag(const char* item, bool value) {
  ThrowOnError(SetFieldBoolContent(item, value, doc_));
  return *this;
}

DocumentWriter& DocumentWriter::list(const char* item, const Names& values) {
  ThrowOnError(SetFieldListContent(item, doc_, values));
  return *this;
}

DocumentWriter& DocumentWriter::readers(const char* item, const Names& values) {
  ThrowOnError(SetFieldReadersContent(item, doc_, values));
  return *this;
}

void DocumentWriter::save() {
  ThrowOnError(doc_.Save());
  ThrowOnError(doc_.Close());
}

void DocumentWriter::saveWithNoteIdAs(const char* item) {
  ThrowOnError(doc_.Save());
  text(item, FormatNoteId(doc_.GetNoteID()));
  save();
}

std::string Canonical(const std::string& first, const std::string& last, const std::string& unit,
                      const std::string& organisation) {
  return "CN=" + first + " " + last + "/OU=" + unit + "/O=" + organisation;
}

std::string Abbreviated(const std::string& first, const std::string& last, const std::string& unit,
                        const std::string& organisation) {
  return LNNotesSession::AbbreviateName(Canonical(first, last, unit, organisation));
}

}  // namespace velk::demo
