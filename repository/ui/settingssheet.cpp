#include "repository/ui/settingssheet.h"

#include "common/services.h"
#include "repository/databasechoice.h"
#include "repository/ui/opendatabase.h"
#include "repository/ui/settingsicons.h"
#include "repository/ui/settingspages.h"

namespace {

constexpr char kWorkflowDatabasesNote[] =
    "These are this workflow's databases. OK makes the databases of both pages the default "
    "databases of new workflows; this workflow keeps its own databases.";

constexpr char kNotSavedText[] =
    "The settings could not be written; they apply until the modeler is closed.";

}  // namespace

SettingsSheetContext SessionSettingsContext(velk::Services& services,
                                            velk::ModelerSettings& settings,
                                            velk::SettingsBackend& store, LNNotesSession& session) {
  return {services, settings, store,
          [&services, &session](const std::string& path, const std::string& server) {
            return velk::DetectDatabaseKind(services, session, path, server);
          },
          [&services, &session](QWidget* parent) {
            CDlgOpenDatabase chooser(services, session, parent);
            return chooser.exec() == QDialog::Accepted ? chooser.ChosenDatabases() : std::string();
          }};
}

CDlgDatabaseSheet::CDlgDatabaseSheet(const QString& caption, SettingsSheetContext context,
                                     const velk::DatabaseLocations& shown, QWidget* parent)
    : CPropertySheet(caption, parent),
      context_(std::move(context)),
      working_(context_.settings),
      shown_(shown),
      internal_(new CDlgSettingsPropInternalDB(*this)),
      external_(new CDlgSettingsPropExternalDB(*this)) {
  AddPage(internal_);
  AddPage(external_);
}

CDlgSettingsDatabasePage* CDlgDatabaseSheet::DatabasePageOf(velk::DatabaseKind kind) const {
  if (velk::PageOfKind(kind) == velk::DatabasePage::Internal) return internal_;
  return external_;
}

void CDlgDatabaseSheet::Browse() {
  if (!context_.chooseDatabases) return;
  const std::string chosen = context_.chooseDatabases(this);
  if (!chosen.empty()) AssignChosenDatabases(chosen);
}

void CDlgDatabaseSheet::AssignChosenDatabases(const std::string& chosen) {
  velk::DatabaseLocations fields;
  for (CDlgSettingsDatabasePage* page : {static_cast<CDlgSettingsDatabasePage*>(internal_),
                                         static_cast<CDlgSettingsDatabasePage*>(external_)}) {
    page->EnsureInitialised();  // so that showing it later keeps what is written now
    page->ReadFields(fields);
  }
  for (velk::DatabaseKind kind :
       velk::AssignChosenDatabases(context_.services, chosen, context_.detectKind, fields))
    DatabasePageOf(kind)->WriteField(kind, fields[kind]);
}

bool CDlgDatabaseSheet::CanClose() {
  if (!CPropertySheet::CanClose()) return false;
  for (int i = 0; i < PageCount(); ++i) {
    auto* page = qobject_cast<CDlgSettingsDatabasePage*>(PageAt(i));
    if (i == ActiveIndex() || !page || !page->IsModified()) continue;
    if (!page->OnKillActive()) {
      ShowPage(i);
      return false;
    }
  }
  return true;
}

void CDlgDatabaseSheet::OnCommit() {
  context_.settings = working_;
  if (!context_.store.sync())
    context_.services.messageBox(kNotSavedText, velk::MsgIcon::Exclamation, velk::MsgButtons::Ok);
}

CDlgSettings::CDlgSettings(SettingsSheetContext context, QWidget* parent)
    : CDlgDatabaseSheet(QStringLiteral("Modeler Settings"), context, context.settings.databases,
                        parent),
      basics_(new CDlgSettingsPropAutoSave(*this)) {
  setWindowIcon(SettingsIcon());
  AddPage(basics_);
}

CDlgWorkflowDatabase::CDlgWorkflowDatabase(const QString& caption, SettingsSheetContext context,
                                           const velk::DatabaseLocations& workflowDatabases,
                                           QWidget* parent)
    : CDlgDatabaseSheet(caption, std::move(context), workflowDatabases, parent) {
  setWindowIcon(SettingsIcon());
  InternalPage()->SetNote(QString::fromLatin1(kWorkflowDatabasesNote));
  ExternalPage()->SetNote(QString::fromLatin1(kWorkflowDatabasesNote));
}
