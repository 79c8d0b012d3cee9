#include "repository/infrastructuredb.h"

#include <unordered_map>

#include "common/infocenter.h"
#include "common/services.h"
#include "repository/databasetemplates.h"
#include "repository/fieldaccess.h"
#include "repository/store/lnnotes.h"
#include "repository/viewreader.h"

namespace velk {

namespace {

const ViewReaderTexts kPersonTexts{
    kInfrastructureCategory,
    "Reading Persons",
    views::kOrgaAgentLastName,
    "Read Persons",
    "The selected Infrastructure Database holds no informations about Persons.\r\n",
    "Reading Persons",
    "Reading Persons from Infrastructure Database was successful.",
    "Reading Persons from View (Modeler\\OrgaAgentLastName)",
    "Unable to read persons out of Infrastructure Database,\r\nbecause the database has no view "
    "(Modeler\\OrgaAgentLastName). Maybe this database is no\r\nVELK-database or from a former "
    "version of VELK. Please choose another one.",
    "Reading Persons",
    "Unable to read persons from Infrastructure Database, because documents\r\ncould not be "
    "opened. \r\nMaybe the documents are locked or you have no permission to read.\r\n"};

const ViewReaderTexts kWorkgroupTexts{
    kInfrastructureCategory,
    "Reading workgroups",
    views::kWorkgroups,
    "Reading Workgroups",
    "The selected Infrastructure Database holds no informations about Workgroups.\r\n",
    "Reading Workgroups",
    "Reading Workgroups from Infrastructure Database was successful.",
    "Read persons from view (Modeler\\Workgroups)",
    "Unable to read workgroups out of Infrastructure Database,\r\nbecause the database has no view "
    "(Modeler\\Workgroups). Maybe this database is no\r\nVELK-database or from a former version "
    "of VELK. Please choose another one.",
    "Reading Workgroups",
    "Unable to read workgroups from Infrastructure Database, because documents\r\ncould not be "
    "opened. \r\nMaybe the documents are locked or you have no permission to read.\r\n"};

const ViewReaderTexts kUnitTexts{
    kInfrastructureCategory,
    "Reading Units",
    views::kUnits,
    "Read units",
    "The selected Infrastructure Database holds no informations about units.\r\n",
    "Reading Units",
    "Reading units from Infrastructure Database was successful.",
    "Reading units from view (Modeler\\Units)",
    "Unable to read units out of Infrastructure Database,\r\nbecause the database has no view "
    "(Modeler\\Units). Maybe this database is no\r\nVELK-database or from a former version of "
    "VELK. Please choose another one.",
    "Reading Units",
    "Unable to read units from Infrastructure Database, because documents\r\ncould not be "
    "opened. \r\nMaybe the documents are locked or you have no permission to read.\r\n"};

const ViewReaderTexts kRoleTexts{
    kInfrastructureCategory,
    "Reading Roles",
    views::kRoles,
    "Reading Roles",
    "The selected Infrastructure Database holds no informations about roles.\r\n",
    "Reading Roles",
    "Reading Roles from Infrastructure Database was successful.",
    "Reading Roles from View (Modeler\\Roles)",
    "Unable to read roles out of Infrastructure Database,\r\nbecause the database has no view "
    "(Modeler\\Roles). Maybe this database is no\r\nVELK-database or from a former version of "
    "VELK. Please choose another one.",
    "Read roles",
    "Unable to read roles from Infrastructure Database, because documents\r\ncould not be "
    "opened. \r\nMaybe the documents are locked or you have no permission to read.\r\n"};

constexpr char kMissingWorkgroupText[] =
    "Unable to read workgroups from Infrastructure Database, because the\r\nview "
    "(Modeler\\Workgroups) has no field \"NewWorkgroup\".\r\nMaybe this database is no "
    "VELK-database or from a former version of VELK. \r\nPlease choose another one.";
constexpr char kMissingRoleNameText[] =
    "Unable to read roles from Infrastructure Database, because the\r\nview (Modeler\\Roles) has "
    "no field \"Name\".\r\nMaybe this database is no VELK-database or from a former version of "
    "VELK. \r\nPlease choose another one.";

constexpr char kOpenTitle[] = "Opening Infrastructure Database";
constexpr char kReopenTitle[] = "Opening database";
constexpr char kOpenFailText[] =
    "The chosen Infrastructure Database could not be opened. Please choose another one\r\nor "
    "retry later.";

WorkgroupRecord GroupRecord(Services& services, std::string name, LNDocument& document) {
  WorkgroupRecord record;
  record.name = std::move(name);
  record.manager = GetFieldContent(services, "NewManager", document);
  GetFieldListContent(services, "NewPersons", document, record.members);
  record.memberCount = static_cast<int>(record.members.size());
  return record;
}

}  // namespace

CInfrastructureDb::CInfrastructureDb(Services& services, LNNotesSession& session,
                                     const std::string& path, const std::string& server,
                                     CWorkflowDoc* user)
    : CRepositoryDb(services, session, {path, server}) {
  services_.infoCenter().clearCategory(kInfrastructureCategory);
  StatusScope status(services_, "Opening Infrastructure Database");
  try {
    LNDatabase db;
    OpenDatabase(db);
    LNReadSnapshot snapshot(db);
    TakeIdentity(db, user);
    LoadAll(db);
    db.Close();
  } catch (const LNStatusError& e) {
    ReportStoreFailure(services_, kInfrastructureCategory, kOpenTitle, e, kOpenFailText);
  }
}

bool CInfrastructureDb::Reload() {
  WaitCursor wait(services_);
  // A reload that cannot open the database keeps the lists, and so the entries
  // about them; only once it reads the lists again do those entries go.
  InfoCenter& info = services_.infoCenter();
  info.clearEntries(kInfrastructureCategory, {kOpenTitle, kReopenTitle});
  StatusScope status(services_, "Loading Infrastructure Database");
  try {
    LNDatabase db;
    OpenDatabase(db);
    LNReadSnapshot snapshot(db);
    TakeIdentity(db, nullptr);
    info.clearCategory(kInfrastructureCategory);
    LoadAll(db);
    db.Close();
  } catch (const LNStatusError& e) {
    ReportStoreFailure(services_, kInfrastructureCategory, kReopenTitle, e, kOpenFailText);
    return false;
  }
  return true;
}

void CInfrastructureDb::LoadAll(LNDatabase& db) {
  persons_.clear();
  workgroups_.clear();
  units_.clear();
  roles_.clear();
  ReadPersons(db);
  ReadWorkgroups(db);
  ReadUnits(db);
  ReadRoles(db);
}

bool CInfrastructureDb::ReadPersons(LNDatabase& db) {
  persons_.clear();
  return ReadViewDocuments(services_, db, kPersonTexts, false, [this](LNDocument& document) {
    std::string name =
        LNNotesSession::AbbreviateName(GetFieldContent(services_, "FullName", document));
    if (!name.empty()) persons_.push_back(std::move(name));
    return true;
  });
}

bool CInfrastructureDb::ReadWorkgroups(LNDatabase& db) {
  workgroups_.clear();
  return ReadViewDocuments(services_, db, kWorkgroupTexts, false, [this](LNDocument& document) {
    if (!document.HasItem("NewWorkgroup")) {
      Report(services_, kInfrastructureCategory, "Read workgroups", kMissingWorkgroupText,
             Severity::Error);
      return false;
    }
    workgroups_.push_back(
        GroupRecord(services_, GetFieldContent(services_, "NewWorkgroup", document), document));
    return true;
  });
}

bool CInfrastructureDb::ReadUnits(LNDatabase& db) {
  units_.clear();
  return ReadViewDocuments(services_, db, kUnitTexts, false, [this](LNDocument& document) {
    std::string name = GetFieldContent(services_, "NewArrangement", document) + "/" +
                       GetFieldContent(services_, "NewUnit", document);
    units_.push_back(GroupRecord(services_, std::move(name), document));
    return true;
  });
}

bool CInfrastructureDb::ReadRoles(LNDatabase& db) {
  roles_.clear();
  // Role documents of one name need not be adjacent in the view.
  std::unordered_map<std::string, std::size_t> byName;
  return ReadViewDocuments(services_, db, kRoleTexts, true, [this, &byName](LNDocument& document) {
    if (!document.HasItem("Name")) {
      Report(services_, kInfrastructureCategory, "Read Roles", kMissingRoleNameText,
             Severity::Error);
      return false;
    }
    std::string name = GetFieldContent(services_, "Name", document);
    std::string parameter = GetFieldContent(services_, "Parameter", document);
    auto [at, added] = byName.try_emplace(name, roles_.size());
    if (added) roles_.push_back({std::move(name), {}});
    if (!parameter.empty()) roles_[at->second].parameters.push_back(std::move(parameter));
    return true;
  });
}

}  // namespace velk
