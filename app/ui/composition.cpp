#include "app/ui/composition.h"

#include <QApplication>

#include "app/databasecache.h"
#include "app/ui/helpwindow.h"
#include "dialogs/ui/workflowchooserdialogs.h"
#include "extdir/extdirlookup.h"
#include "model/consistencycheck.h"
#include "repository/store/lnstatus.h"

ShellCollaborators StandardShellCollaborators() {
  ShellCollaborators parts;
  parts.initSession = [](LNNotesSession& session) {
    const LNSTATUS status = session.Init(410);
    if (status != LNNOERROR && !LNIsWarning(status)) throw LNStatusError(status);
  };
  parts.chooseWorkflow = [](velk::CProcessDefDb& repository,
                            QWidget* parent) -> std::optional<velk::WorkflowHeaderEntry> {
    CDlgLoadWorkflow dialog(repository, parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.Chosen();
  };
  parts.chooseSaveName = [](velk::CWorkflowDoc& doc, QWidget* parent) {
    CDlgSaveWorkflowAs dialog(&doc, parent);
    return dialog.exec() == QDialog::Accepted;
  };
  parts.showHelp = ShowHelpTopics;
  // External performers and the external-task pages look things up in each
  // workflow's External Directory.
  auto externalDirectory = std::make_shared<velk::CExtDirLookup>();
  parts.editor = StandardEditorCollaborators(externalDirectory);
  parts.externalDirectory = externalDirectory;
  parts.directoryLinks = velk::CacheExtDirLinks;
  return parts;
}

std::unique_ptr<CVelkModApp> StartModeler(const CVelkModApp::Options& options,
                                          ShellCollaborators parts) {
  auto app = std::make_unique<CVelkModApp>(options, std::move(parts));
  if (!app->InitInstance()) return nullptr;
  return app;
}

int RunVelkMod(const CVelkModApp::Options& options) {
  QApplication::setQuitOnLastWindowClosed(false);
  std::unique_ptr<CVelkModApp> app = StartModeler(options, StandardShellCollaborators());
  if (!app) return 1;
  return app->ExitInstance(QApplication::exec());
}
