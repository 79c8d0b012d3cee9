#include "app/ui/bpmncommands.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

#include <stdexcept>
#include <string>

#include "app/ui/mainframe.h"
#include "common/services.h"
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

CBpmnCommands::CBpmnCommands(CMainFrame& frame, velk::Services& services, Parts parts)
    : frame_(frame), services_(services), parts_(std::move(parts)) {}

void CBpmnCommands::Import() {
  {
    velk::WaitCursor wait(services_);
    if (!parts_.defaultDatabasesValid()) {
      Refuse(services_,
             "Importing a workflow with wrong default databases is not possible. Importing "
             "aborted.",
             kImportTitle);
      return;
    }
  }
  const QString path =
      QFileDialog::getOpenFileName(&frame_, QString::fromLatin1(kImportTitle), {}, kFilter);
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
  std::shared_ptr<velk::CWorkflowDoc> doc = parts_.newWorkflow();
  std::vector<velk::BpmnNotice> notices;
  try {
    notices = velk::WorkflowFromBpmn(std::string_view(text.constData(), text.size()), *doc);
  } catch (const std::runtime_error& e) {
    Refuse(services_, "The file " + path.toStdString() + " is not imported: " + e.what() + ".",
           kImportTitle);
    return;
  }
  parts_.openImported(doc);
  services_.showStatusText(notices.empty()
                               ? "Imported " + path.toStdString()
                               : "Imported " + path.toStdString() + "; the Info Center lists " +
                                     std::to_string(notices.size()) +
                                     (notices.size() == 1 ? " notice" : " notices"));
}

void CBpmnCommands::Export() {
  const velk::CWorkflowDoc* active = parts_.activeWorkflow();
  if (!active) return;
  const velk::CWorkflowDoc& doc = *active;
  std::string xml;
  try {
    xml = velk::WorkflowToBpmn(doc);
  } catch (const std::runtime_error& e) {
    Refuse(services_, std::string("The workflow can not be exported: ") + e.what() + ".",
           kExportTitle);
    return;
  }
  QString path = QFileDialog::getSaveFileName(&frame_, QString::fromLatin1(kExportTitle),
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
