#include "app/ui/versioncommands.h"

#include <QIcon>
#include <QMdiArea>
#include <stdexcept>

#include "app/ui/comparisonwindow.h"
#include "app/ui/mainframe.h"
#include "common/requirecollaborator.h"
#include "common/services.h"
#include "dialogs/ui/versionhistorydialog.h"
#include "model/workflowdoc.h"
#include "model/workflowjson.h"
#include "repository/versionhistory.h"

namespace {

QString Caption(const velk::CWorkflowDoc& doc) {
  return QString::fromStdString(doc.Session().Title());
}

}  // namespace

CVersionCommands::CVersionCommands(CMainFrame& frame, velk::Services& services,
                                   const CNodeBitmaps& bitmaps, Parts parts)
    : frame_(frame), services_(services), bitmaps_(bitmaps), parts_(std::move(parts)) {
  velk::RequireCollaborator(parts_.activeWorkflow, "active workflow of the version commands");
  velk::RequireCollaborator(parts_.repositoryOf, "repository of the version commands");
  velk::RequireCollaborator(parts_.loadVersion, "version loader of the version commands");
}

void CVersionCommands::Tell(const std::string& text) {
  services_.messageBox(text, velk::MsgIcon::Information, velk::MsgButtons::Ok);
}

void CVersionCommands::AddWindow(CMdiChild* window) {
  frame_.MdiArea()->addSubWindow(window);
  // Two drawings side by side need the whole workspace; the others stay a click away.
  window->setGeometry(QRect(QPoint(0, 0), frame_.MdiArea()->viewport()->size()));
  window->setWindowIcon(QIcon(QStringLiteral(":/toolbar/task.svg")));
  window->show();
  frame_.MdiArea()->setActiveSubWindow(window);
}

void CVersionCommands::ShowHistory() {
  velk::CWorkflowDoc* doc = parts_.activeWorkflow();
  if (!doc) return;
  velk::CProcessDefDb* repository = parts_.repositoryOf(*doc);
  if (!repository) return;
  const std::string name = doc->Header().name;
  velk::VersionHistory history = velk::ReadVersionHistory(*repository, name);
  if (!history.error.empty()) return Tell(history.error);
  if (history.versions.empty())
    return Tell("The workflow \"" + velk::ShownName(name) + "\" has no stored version yet.");
  CDlgVersionHistory dialog(name, std::move(history.versions), &frame_);
  if (dialog.exec() != QDialog::Accepted) return;
  const std::vector<velk::StoredVersion>& chosen = dialog.ChosenVersions();
  if (dialog.Chosen() == CDlgVersionHistory::Choice::Open)
    OpenReadOnly(chosen[0].header);
  else if (dialog.Chosen() == CDlgVersionHistory::Choice::Compare)
    Compare(chosen[0].header, chosen[1].header);
}

void CVersionCommands::OpenReadOnly(const velk::WorkflowHeaderEntry& version) {
  std::shared_ptr<velk::CWorkflowDoc> doc = parts_.loadVersion(version);
  if (doc) AddWindow(new CVersionWindow(std::move(doc), bitmaps_));
}

void CVersionCommands::Compare(const velk::WorkflowHeaderEntry& older,
                               const velk::WorkflowHeaderEntry& newer) {
  std::shared_ptr<velk::CWorkflowDoc> a = parts_.loadVersion(older);
  if (!a) return;
  std::shared_ptr<velk::CWorkflowDoc> b = parts_.loadVersion(newer);
  if (!b) return;
  const QString captionA = Caption(*a), captionB = Caption(*b);
  AddWindow(new CComparisonWindow(std::move(a), captionA, std::move(b), captionB, bitmaps_));
}

void CVersionCommands::CompareWithStored() {
  velk::CWorkflowDoc* doc = parts_.activeWorkflow();
  if (!doc) return;
  const velk::WorkflowHeader& h = doc->Header();
  const std::string noVersion =
      "The workflow \"" + velk::ShownName(h.name) + "\" has no stored version to compare with.";
  velk::CProcessDefDb* repository = doc->IsNew() ? nullptr : parts_.repositoryOf(*doc);
  if (!repository) return Tell(noVersion);
  const velk::VersionHistory history = velk::ReadVersionHistory(*repository, h.name);
  if (!history.error.empty()) return Tell(history.error);
  // The version this workflow was loaded from or last saved as.
  const velk::StoredVersion* stored = nullptr;
  for (const velk::StoredVersion& v : history.versions)
    if (v.header.workflowId == h.workflowId) stored = &v;
  if (!stored) return Tell(noVersion);
  std::shared_ptr<velk::CWorkflowDoc> older = parts_.loadVersion(stored->header);
  if (!older) return;
  // A copy, so that editing on in the workflow's window leaves the comparison whole.
  auto open = std::make_shared<velk::CWorkflowDoc>(services_);
  try {
    velk::WorkflowFromJson(velk::WorkflowToJson(*doc), *open);
  } catch (const std::runtime_error& e) {
    return Tell("The workflow \"" + velk::ShownName(h.name) + "\" cannot be compared: " + e.what());
  }
  const QString captionA = QStringLiteral("%1 (stored)").arg(Caption(*older));
  const QString captionB = QStringLiteral("%1 (open%2)")
                               .arg(Caption(*open), doc->Session().IsModified() ? ", unsaved" : "");
  AddWindow(new CComparisonWindow(std::move(older), captionA, std::move(open), captionB, bitmaps_));
}
