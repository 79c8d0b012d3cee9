#include "repository/applicationenvdb.h"

#include <optional>

#include "common/infocenter.h"
#include "common/services.h"
#include "repository/databasetemplates.h"
#include "repository/fieldaccess.h"
#include "repository/identity.h"
#include "repository/store/lnnotes.h"
#include "repository/viewreader.h"

namespace velk {

namespace {

constexpr char kConfigurationKey[] = "ReplicaID";
constexpr char kConfigurationTitle[] = "Loading Application Configuration Document";
constexpr char kFormsTitle[] = "Reading forms of Application Environment Database";
constexpr char kFormsReadTitle[] = "Reading forms in Application Environment Database";
constexpr char kFormSkippedTitle[] = "Skipping form of Application Environment Database";
constexpr char kOpenTitle[] = "Opening Application Environment Database";
constexpr char kReopenTitle[] = "Opening database";

// The form's "$TITLE" ("" when missing); nullopt when the item holds no text.
// Read here rather than with GetFieldContent, which would show a message box.
std::optional<std::string> FormTitle(const LNForm& form) {
  if (!form.HasItem("$TITLE")) return std::string();
  LNItem item;
  form.GetItem("$TITLE", &item);
  if (item.type != LNItemType::Text) return std::nullopt;
  return item.texts.empty() ? std::string() : item.texts.front();
}

void ReportSkippedForm(Services& services, const LNForm& form) {
  Report(services, kApplicationEnvCategory, kFormSkippedTitle,
         "The Application Environment Database form with note id " +
             FormatNoteId(form.GetNoteID()) +
             " is skipped, because its item \"$TITLE\" holds no text.",
         Severity::Warning);
}

// Reads a form's "$Fields" (a form without it is broken: throws LNStatusError).
FormRecord ReadFormRecord(LNForm& form, std::string name) {
  LNText fields;
  form.GetItem("$Fields", &fields);
  FormRecord record{std::move(name), {}};
  for (const std::string& field : fields.Values()) {
    if (IsApplicationFieldName(field)) record.fields.push_back(field);
  }
  return record;
}

// Reads the configuration document under the key; false after a notice when the
// view has none. Throws LNStatusError when the document cannot be read.
bool ReadOfficeMail(Services& services, LNViewFolder& view, std::string& officeMail) {
  ViewWalk matches(view, kConfigurationKey, ViewWalk::Categories::Visit);
  if (matches.Empty()) {
    Report(services, kApplicationEnvCategory, kConfigurationTitle,
           "Loading Application Configuration Document was unsuccessful, because the view "
           "(Z. Runtime\\Configuration) holds no document under the key \"ReplicaID\".",
           Severity::Notice);
    view.Close();
    return false;
  }
  matches.Documents([&services, &officeMail](LNDocument& document) {  // the first
    officeMail = GetFieldContent(services, "wfOfficeMail", document);
    return false;
  });
  view.Close();
  return true;
}

}  // namespace

bool IsApplicationFormTitle(const std::string& title) {
  return title.find("GF") != std::string::npos;
}

bool IsApplicationFieldName(const std::string& name) {
  return !name.empty() && !name.starts_with("tmp") && !name.starts_with("wf") &&
         !name.starts_with("$");
}

CApplicationEnvDb::CApplicationEnvDb(Services& services, LNNotesSession& session,
                                     const std::string& path, const std::string& server,
                                     CWorkflowDoc* user)
    : CRepositoryDb(services, session, {path, server}) {
  services_.infoCenter().clearCategory(kApplicationEnvCategory);
  StatusScope status(services_, "Loading Application Environment Database");
  try {
    LNDatabase db;
    OpenDatabase(db);
    LNReadSnapshot snapshot(db);
    TakeIdentity(db, user);
    ReadConfiguration(db);
    ReadForms(db);
    db.Close();
  } catch (const LNStatusError& e) {
    ReportStoreFailure(services_, kApplicationEnvCategory, kOpenTitle, e,
                       "The Application Environment Database cannot be opened anymore.\r\nPlease "
                       "choose another Application Environment Database or retry this later.");
  }
}

bool CApplicationEnvDb::ReloadForms() {
  WaitCursor wait(services_);
  // Only the entries of the checks run again go: the configuration is not read
  // again, so what its reading reported still holds.
  InfoCenter& info = services_.infoCenter();
  info.clearEntries(kApplicationEnvCategory, {kOpenTitle, kReopenTitle});
  StatusScope status(services_, "Loading Application Environment Database");
  try {
    LNDatabase db;
    OpenDatabase(db);
    LNReadSnapshot snapshot(db);
    TakeIdentity(db, nullptr);
    info.clearEntries(kApplicationEnvCategory, {kFormsTitle, kFormsReadTitle, kFormSkippedTitle});
    const bool read = ReadForms(db);
    db.Close();
    return read;
  } catch (const LNStatusError& e) {
    ReportStoreFailure(services_, kApplicationEnvCategory, kReopenTitle, e,
                       "The chosen Application Environment Database could not be opened. Please "
                       "choose another one\r\nor retry later.");
    return false;
  }
}

bool CApplicationEnvDb::ReadConfiguration(LNDatabase& db) {
  StatusScope status(services_, "Reading Application Configuration Form");
  LNThrowAllErrorsScope throwing(db, true);
  LNViewFolder view;
  try {
    db.GetViewFolder(views::kRuntimeConfiguration, &view);
    view.Open();
  } catch (const LNStatusError& e) {
    ReportStoreFailure(services_, kApplicationEnvCategory,
                       "Opening view (Z. Runtime\\Configuration)", e,
                       "The chosen Application database could not be opened properly,\r\nbecause "
                       "it has no view (Z. Runtime\\Configuration). Maybe this database is no\r\n"
                       "VELK-database or from a former version of VELK. Please choose another "
                       "one.");
    return false;
  }
  try {
    return ReadOfficeMail(services_, view, officeMail_);
  } catch (const LNStatusError& e) {
    ReportStoreFailure(services_, kApplicationEnvCategory, kConfigurationTitle, e,
                       "Unable to open Configuration document. Maybe the document is locked or "
                       "you have no permission to read.");
    return false;
  }
}

bool CApplicationEnvDb::ReadForms(LNDatabase& db) {
  WaitCursor wait(services_);
  StatusScope status(services_, "Reading Application Environment Database forms");
  LNThrowAllErrorsScope throwing(db, true);
  forms_.clear();
  std::vector<LNForm> forms;
  try {
    db.GetForms(&forms);
  } catch (const LNStatusError& e) {
    ReportStoreFailure(services_, kApplicationEnvCategory, kFormsTitle, e,
                       "The Application Environment Database is not valid.\r\nIt has no "
                       "information about application forms.\r\nPlease choose another Application "
                       "Environment Database.");
    return false;
  }
  std::string name;
  try {
    for (LNForm& form : forms) {
      name.clear();
      form.Open();
      if (std::optional<std::string> title = FormTitle(form)) {
        name = std::move(*title);
        if (!name.empty() && IsApplicationFormTitle(name))
          forms_.push_back(ReadFormRecord(form, name));
      } else {
        ReportSkippedForm(services_, form);
      }
      form.Close();
    }
  } catch (const LNStatusError& e) {
    ReportStoreFailure(
        services_, kApplicationEnvCategory, kFormsTitle, e,
        "The Application Environment Database form " + name + "\r\nhas no field \"$Fields\"");
    return false;
  }
  Report(services_, kApplicationEnvCategory, kFormsReadTitle,
         "Reading forms in Application Environment Database completed successfully.",
         Severity::Success);
  return true;
}

}  // namespace velk
