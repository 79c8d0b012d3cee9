// "Import BPMN..." and "Export as BPMN...": processes of other tools as new
// workflows, and a workflow for them.
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

#include <stdexcept>
#include <string>

#include "app/ui/commands.h"
#include "app/ui/mainframe.h"
#include "app/ui/velkmodapp.h"
#include "app/ui/workflowframe.h"
#include "app/ui/workflowwindows.h"
#include "common/services.h"
#include "editor/ui/editor.h"
#include "model/bpmn.h"
#include "model/bpmnxml.h"
#include "model/workflowdoc.h"

namespace {

constexpr char kImportTitle[] = "Import BPMN";
constexpr char kExportTitle[] = "Export as BPMN";
const QString kFilter = QStringLiteral("BPMN 2.0 files (*.bpmn *.xml);;All files (*)");

void Refuse(velk::Services& services, const std::string& text, const char* title) {
  services.messageBox(text, velk::MsgIcon::Stop, velk::MsgButtons::Ok, title);
}

// The workflow's name as a file name.
QString SuggestedName(const velk::CWorkflowDoc& doc) {
  QString name = QString::fromStdString(doc.Header().name).trimmed();
  name.replace(QRegularExpression(QStringLiteral("[\\\\/:*?\"<>|\\r\\n]")), QStringLiteral("_"));
  return (name.isEmpty() ? QStringLiteral("workflow") : name) + QStringLiteral(".bpmn");
}

}  // namespace

void CVelkModApp::CreateBpmnCommands() {
  frame_->SetCommandHandler(cmd::FileImportBpmn, [this] { OnImportBpmn(); });
  frame_->SetCommandHandler(
      cmd::FileExportBpmn, [this] { OnExportBpmn(); },
      [this](CmdUI& ui) { ui.enabled = windows_->ActiveWindow() != nullptr; });
}

// The imported workflow opens in a window of its own, not yet stored: it is
// modified, so closing it asks whether to save it.
void CVelkModApp::OnImportBpmn() {
  {
    velk::WaitCursor wait(services_);
    if (!DefaultDatabasesValid()) {
      Refuse(services_,
             "Importing a workflow with wrong default databases is not possible. Importing "
             "aborted.",
             kImportTitle);
      return;
    }
  }
  const QString path =
      QFileDialog::getOpenFileName(frame_.get(), QString::fromLatin1(kImportTitle), {}, kFilter);
  if (path.isEmpty()) return;
  velk::WaitCursor wait(services_);
  QFile file(path);
  if (file.size() > static_cast<qint64>(velk::kMaxXmlBytes) || !file.open(QIODevice::ReadOnly)) {
    Refuse(services_,
           "The file " + path.toStdString() + " can not be read" +
               (file.size() > static_cast<qint64>(velk::kMaxXmlBytes) ? ": it is too large." : "."),
           kImportTitle);
    return;
  }
  const QByteArray text = file.readAll();
  std::shared_ptr<CWorkflowDoc> doc = NewWorkflowDocument();
  std::vector<velk::BpmnNotice> notices;
  try {
    notices = velk::WorkflowFromBpmn(std::string_view(text.constData(), text.size()), *doc);
  } catch (const std::runtime_error& e) {
    Refuse(services_, "The file " + path.toStdString() + " is not imported: " + e.what() + ".",
           kImportTitle);
    return;
  }
  OpenWorkflowWindow(doc);
  InitializeDatabases(*doc);
  doc->SetModified();
  editor_->UpdateAllViews(*doc);
  services_.showStatusText(notices.empty()
                               ? "Imported " + path.toStdString()
                               : "Imported " + path.toStdString() + "; the Info Center lists " +
                                     std::to_string(notices.size()) +
                                     (notices.size() == 1 ? " notice" : " notices"));
}

void CVelkModApp::OnExportBpmn() {
  CChildFrame* window = windows_->ActiveWindow();
  if (!window || !window->GetDocument()) return;
  const velk::CWorkflowDoc& doc = window->GetDocument()->Top();
  std::string xml;
  try {
    xml = velk::WorkflowToBpmn(doc);
  } catch (const std::runtime_error& e) {
    Refuse(services_, std::string("The workflow can not be exported: ") + e.what() + ".",
           kExportTitle);
    return;
  }
  QString path = QFileDialog::getSaveFileName(frame_.get(), QString::fromLatin1(kExportTitle),
                                              SuggestedName(doc), kFilter);
  if (path.isEmpty()) return;
  if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".bpmn");
  // Written whole or not at all: an earlier file of that name stays until then.
  QSaveFile file(path);
  const auto size = static_cast<qint64>(xml.size());
  if (!file.open(QIODevice::WriteOnly) || file.write(xml.data(), size) != size || !file.commit()) {
    Refuse(services_,
           "Cannot write " + path.toStdString() + ": " + file.errorString().toStdString(),
           kExportTitle);
    return;
  }
  services_.showStatusText("Exported " + path.toStdString());
}
