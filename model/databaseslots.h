#pragma once
// The six databases of a workflow: where each lives and, once initialised, the
// shared repository object loaded from it (owned by the program-wide cache).

#include "repository/databasekind.h"

namespace velk {

class CApplicationEnvDb;
class CInfrastructureDb;
class CProcessDefDb;
class CTrackingDb;
class CExtDirData;
class CGatewayDb;

template <class Repository>
struct DatabaseSlot {
  DatabaseLocation location;
  Repository* repository = nullptr;  // not owned; null until initialised

  bool IsInitialised() const { return repository != nullptr; }
  bool operator==(const DatabaseSlot&) const = default;
};

struct WorkflowDatabases {
  DatabaseSlot<CApplicationEnvDb> applicationEnvironment;
  DatabaseSlot<CInfrastructureDb> infrastructure;
  DatabaseSlot<CProcessDefDb> processDefinitions;
  DatabaseSlot<CTrackingDb> tracking;
  DatabaseSlot<CExtDirData> externalDirectory;
  DatabaseSlot<CGatewayDb> gateway;

  bool AllInitialised() const {
    return applicationEnvironment.IsInitialised() && infrastructure.IsInitialised() &&
           processDefinitions.IsInitialised() && tracking.IsInitialised() &&
           externalDirectory.IsInitialised() && gateway.IsInitialised();
  }
  // What a save writes with. The External Directory is not among them while no
  // step of a save reads or writes it.
  bool ReadyToSave() const {
    return applicationEnvironment.IsInitialised() && infrastructure.IsInitialised() &&
           processDefinitions.IsInitialised() && tracking.IsInitialised() &&
           gateway.IsInitialised();
  }
  // The six file and server names, by kind.
  DatabaseLocations Locations() const {
    DatabaseLocations l;
    l[DatabaseKind::ApplicationEnvironment] = applicationEnvironment.location;
    l[DatabaseKind::Infrastructure] = infrastructure.location;
    l[DatabaseKind::ProcessDefinitions] = processDefinitions.location;
    l[DatabaseKind::Tracking] = tracking.location;
    l[DatabaseKind::ExternalDirectory] = externalDirectory.location;
    l[DatabaseKind::Gateway] = gateway.location;
    return l;
  }
  // Takes the six names over; a slot whose name changes loses its repository.
  void SetLocations(const DatabaseLocations& l) {
    Assign(applicationEnvironment, l[DatabaseKind::ApplicationEnvironment]);
    Assign(infrastructure, l[DatabaseKind::Infrastructure]);
    Assign(processDefinitions, l[DatabaseKind::ProcessDefinitions]);
    Assign(tracking, l[DatabaseKind::Tracking]);
    Assign(externalDirectory, l[DatabaseKind::ExternalDirectory]);
    Assign(gateway, l[DatabaseKind::Gateway]);
  }
  bool operator==(const WorkflowDatabases&) const = default;

 private:
  template <class Repository>
  static void Assign(DatabaseSlot<Repository>& slot, const DatabaseLocation& location) {
    if (slot.location == location) return;
    slot.location = location;
    slot.repository = nullptr;
  }
};

}  // namespace velk
