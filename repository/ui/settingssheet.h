#pragma once
// "Modeler Settings" (`CDlgSettings`) and "Workflow Databases"
// (`CDlgWorkflowDatabase`): property sheets on the default databases and, for
// the first, the basic settings. Pages take their values over into a working
// copy when they are left; OK makes the copy the program's settings and writes
// the pages shown to "Default Settings"; Cancel changes nothing.

#include <functional>
#include <string>

#include "app/settings.h"
#include "repository/databasepages.h"
#include "repository/ui/propertysheet.h"

class LNNotesSession;
class CDlgSettingsDatabasePage;
class CDlgSettingsPropInternalDB;
class CDlgSettingsPropExternalDB;
class CDlgSettingsPropAutoSave;

struct SettingsSheetContext {
  velk::Services& services;         // the sheet's messages
  velk::ModelerSettings& settings;  // the program's settings, changed on OK
  velk::SettingsBackend& store;     // written on OK
  velk::KindDetector detectKind;
  // Runs "Open Database": the chosen-databases text, empty when cancelled.
  std::function<std::string(QWidget* parent)> chooseDatabases;
};

// Kinds detected through the session, databases chosen in "Open Database".
SettingsSheetContext SessionSettingsContext(velk::Services& services,
                                            velk::ModelerSettings& settings,
                                            velk::SettingsBackend& store, LNNotesSession& session);

class CDlgDatabaseSheet : public CPropertySheet {
  Q_OBJECT
 public:
  // The database pages show `shown`.
  CDlgDatabaseSheet(const QString& caption, SettingsSheetContext context,
                    const velk::DatabaseLocations& shown, QWidget* parent = nullptr);

  CDlgSettingsPropInternalDB* InternalPage() const { return internal_; }
  CDlgSettingsPropExternalDB* ExternalPage() const { return external_; }
  CDlgSettingsDatabasePage* DatabasePageOf(velk::DatabaseKind kind) const;

  // What the pages have taken over so far.
  velk::ModelerSettings& Working() { return working_; }
  const velk::DatabaseLocations& Shown() const { return shown_; }
  const SettingsSheetContext& Context() const { return context_; }

  // "Browse" of either database page.
  void Browse();
  // Writes each chosen database into the field of its kind on either page.
  void AssignChosenDatabases(const std::string& chosen);

 protected:
  // The page in front, then every other database page changed since its values
  // were taken over (by "Browse" on the other page); a page that fails comes to
  // the front.
  bool CanClose() override;
  void OnCommit() override;

 private:
  SettingsSheetContext context_;
  velk::ModelerSettings working_;
  velk::DatabaseLocations shown_;
  CDlgSettingsPropInternalDB* internal_;
  CDlgSettingsPropExternalDB* external_;
};

class CDlgSettings : public CDlgDatabaseSheet {
  Q_OBJECT
 public:
  explicit CDlgSettings(SettingsSheetContext context, QWidget* parent = nullptr);
  CDlgSettingsPropAutoSave* BasicsPage() const { return basics_; }

 private:
  CDlgSettingsPropAutoSave* basics_;
};

class CDlgWorkflowDatabase : public CDlgDatabaseSheet {
  Q_OBJECT
 public:
  // The pages show the workflow's databases; what OK takes over are the
  // default databases of new workflows, and the pages say so.
  CDlgWorkflowDatabase(const QString& caption, SettingsSheetContext context,
                       const velk::DatabaseLocations& workflowDatabases, QWidget* parent = nullptr);
};
