#pragma once
// Workflows into windows of their own: new ones and stored versions, each with
// the default databases of the settings, each stored one remembered in the
// recent list; and the workflows a modeler that ended without saving left
// recovery copies of.

#include <memory>

#include "app/recentfiles.h"
#include "app/settings.h"

class CChildFrame;
class CEditor;
class CRecoveryWriter;
class CWorkflowWindows;
class LNNotesSession;

namespace velk {
class CWorkflowDoc;
class DatabaseCache;
class RecoveryFolder;
class Services;
class SettingsBackend;
struct WorkflowHeaderEntry;
}  // namespace velk

class CWorkflowOpener {
 public:
  CWorkflowOpener(velk::Services& services, LNNotesSession& session,
                  const velk::ModelerSettings& settings, velk::DatabaseCache& cache,
                  CWorkflowWindows& windows, CEditor& editor, velk::RecentWorkflowList& recent,
                  velk::SettingsBackend& store);

  // A new top-level workflow holding the default databases.
  std::shared_ptr<velk::CWorkflowDoc> NewDocument();
  // Opens a window on the top document `doc` and initialises its databases.
  CChildFrame* OpenWindow(std::shared_ptr<velk::CWorkflowDoc> doc);
  // Opens a window and loads the stored version into it; false when loading failed.
  bool OpenStored(const velk::WorkflowHeaderEntry& header);
  // A stored version in a new document without a window; null when it could not
  // be loaded (reported).
  std::shared_ptr<velk::CWorkflowDoc> LoadVersion(const velk::WorkflowHeaderEntry& header);
  void InitializeDatabases(velk::CWorkflowDoc& doc);
  // Puts the stored workflow first in the recent list.
  void Remember(const velk::CWorkflowDoc& doc);
  // Offers each workflow a modeler that ended without saving left a copy of.
  void OfferRecovered(velk::RecoveryFolder& folder, CRecoveryWriter& writer);

 private:
  velk::Services& services_;
  LNNotesSession& session_;
  const velk::ModelerSettings& settings_;
  velk::DatabaseCache& cache_;
  CWorkflowWindows& windows_;
  CEditor& editor_;
  velk::RecentWorkflowList& recent_;
  velk::SettingsBackend& store_;
};
