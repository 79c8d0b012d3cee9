#pragma once
// The application forms workflow tasks work with, and the office mail address of
// the configuration document, as read from an Application Environment Database.

#include <string>
#include <vector>

#include "repository/repositorydb.h"

namespace velk {

// An application form: its whole title (alias part included) and its field
// names without the modeler's and the workflow engine's own ones.
struct FormRecord {
  std::string name;
  std::vector<std::string> fields;
  bool operator==(const FormRecord&) const = default;
};

inline constexpr char kApplicationEnvCategory[] = "Loading Application Environment Database";

// True for the titles of application forms: those containing "GF", case mattering.
bool IsApplicationFormTitle(const std::string& title);
// False for empty names and those beginning with "tmp", "wf" or "$".
bool IsApplicationFieldName(const std::string& name);

class CApplicationEnvDb : public CRepositoryDb {
 public:
  // Opens the database and reads the configuration document and the forms; every
  // problem becomes an Info Center entry.
  CApplicationEnvDb(Services& services, LNNotesSession& session, const std::string& path, const std::string& server,
                    CWorkflowDoc* user);

  // Reads the forms again (not the configuration). False when the database cannot
  // be opened or a form cannot be read. Replaces only the Info Center entries of
  // opening and of the forms; those of the configuration stay.
  bool ReloadForms();

  bool ReadConfiguration(LNDatabase& db);
  // Empties the form list first; a broken form ends it with the forms before it.
  bool ReadForms(LNDatabase& db);

  const std::string& OfficeMail() const { return officeMail_; }  // "wfOfficeMail"
  const std::vector<FormRecord>& Forms() const { return forms_; }

 private:
  std::string officeMail_;
  std::vector<FormRecord> forms_;
};

}  // namespace velk
