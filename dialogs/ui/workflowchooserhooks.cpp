#include "dialogs/ui/workflowchooserhooks.h"

#include <memory>
#include <string>

#include "app/databasecache.h"
#include "app/ui/shellhooks.h"
#include "dialogs/ui/workflowchooserdialogs.h"
#include "model/workflowhooks.h"
#include "model/workflowload.h"

namespace {

// The shell names the chosen workflow by a key: its workflow id and version.
std::string KeyOf(const velk::WorkflowHeaderEntry& header) {
  return header.workflowId + "/" + std::to_string(header.version);
}

}  // namespace

void InstallWorkflowChooserHooks(ShellHooks& hooks, LNNotesSession& session,
                                 std::function<velk::DatabaseLocation()> defaultProcessDefinitions,
                                 std::function<QWidget*()> parent) {
  velk::SetDefaultProcessDefinitionsSource(defaultProcessDefinitions);
  auto chosen = std::make_shared<velk::WorkflowHeaderEntry>();
  hooks.chooseWorkflow = [chosen, defaultProcessDefinitions,
                          parent]() -> std::optional<std::string> {
    if (!velk::hasDatabaseCache()) return std::nullopt;
    velk::CProcessDefDb* repository =
        velk::databaseCache().FindOrLoad<velk::CProcessDefDb>(defaultProcessDefinitions());
    if (!repository) return std::nullopt;
    CDlgLoadWorkflow dialog(*repository, parent());
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    *chosen = dialog.Chosen();
    return KeyOf(*chosen);
  };
  hooks.loadWorkflow = [chosen, &session](velk::CWorkflowDoc& doc, const std::string& key) {
    velk::WorkflowHeaderEntry header = *chosen;
    if (KeyOf(header) != key) {  // a key from elsewhere: id and version
      header = {};
      const std::size_t slash = key.rfind('/');
      header.workflowId = key.substr(0, slash);
      if (slash != std::string::npos) header.version = std::atoi(key.c_str() + slash + 1);
    }
    return velk::LoadWorkflow(doc, header, session);
  };
  velk::workflowHooks().chooseSaveName = [parent](velk::CWorkflowDoc& doc) {
    CDlgSaveWorkflowAs dialog(&doc, parent());
    return dialog.exec() == QDialog::Accepted;
  };
}
