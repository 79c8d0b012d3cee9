#pragma once
// The organisation a workflow is performed by, as read from an Infrastructure
// Database: persons, workgroups, units and roles. The modeler never writes it;
// dialogs take their names from the lists below, which keep view order.

#include <string>
#include <vector>

#include "repository/repositorydb.h"

namespace velk {

// A workgroup, or a unit (named "arrangement/unit").
struct WorkgroupRecord {
  std::string name;
  std::string manager;
  std::vector<std::string> members;
  int memberCount = 0;  // members at load time
  bool operator==(const WorkgroupRecord&) const = default;
};
using UnitRecord = WorkgroupRecord;

// All role documents of one name merged: their non-empty parameters in view order.
struct RoleRecord {
  std::string name;
  std::vector<std::string> parameters;
  bool operator==(const RoleRecord&) const = default;
};

inline constexpr char kInfrastructureCategory[] = "Loading Infrastructure Database";

class CInfrastructureDb : public CRepositoryDb {
 public:
  // Opens the database and reads all four lists; every problem becomes an Info
  // Center entry and leaves the lists as far as they were read.
  CInfrastructureDb(Services& services, LNNotesSession& session, const std::string& path, const std::string& server,
                    CWorkflowDoc* user);

  // Reads all lists again from the same database. False when it cannot be opened;
  // the previous lists then stay, and so do the Info Center entries about them.
  bool Reload();

  // Empties the four lists, then reads persons, workgroups, units and roles; a
  // failing reader does not stop the next one.
  void LoadAll(LNDatabase& db);
  // True when the view was read to its end or was empty.
  bool ReadPersons(LNDatabase& db);
  bool ReadWorkgroups(LNDatabase& db);
  bool ReadUnits(LNDatabase& db);
  bool ReadRoles(LNDatabase& db);

  const std::vector<std::string>& Persons() const { return persons_; }
  const std::vector<WorkgroupRecord>& Workgroups() const { return workgroups_; }
  const std::vector<UnitRecord>& Units() const { return units_; }
  const std::vector<RoleRecord>& Roles() const { return roles_; }

 private:
  std::vector<std::string> persons_;
  std::vector<WorkgroupRecord> workgroups_;
  std::vector<UnitRecord> units_;
  std::vector<RoleRecord> roles_;
};

}  // namespace velk
