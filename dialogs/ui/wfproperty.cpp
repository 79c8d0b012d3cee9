#include "dialogs/ui/wfproperty.h"

#include "dialogs/workflowsettings.h"
#include "model/workflowundo.h"

CDlgWFProperty::CDlgWFProperty(const QString& caption, velk::CWorkflowDoc& document,
                               velk::RepositoryLists lists,
                               std::function<void(QWidget* parent)> runDatabases, QWidget* parent)
    : CPropertySheet(caption, parent),
      lists_(std::move(lists)),
      header_(document.Header()),
      context_{document, header_, lists_, std::move(runDatabases)} {
  for (const velk::WorkflowSheetPage& page : velk::WorkflowSheetPages(header_.workflowType)) {
    switch (page.page) {
      case velk::WorkflowPage::Basics:
        AddPage(basics_ = new CDlgWFPropertyBasics(context_));
        break;
      case velk::WorkflowPage::DesignInformation:
        AddPage(designInformation_ = new CDlgWFPropertyInitiator(context_));
        break;
      case velk::WorkflowPage::Initiator:
        AddPage(initiator_ = new CDlgWFPropertyDesignInfo(context_));
        break;
      case velk::WorkflowPage::Replication:
        AddPage(replication_ = new CDlgWFPropertyReplicate(context_));
        break;
      case velk::WorkflowPage::Tracking:
        AddPage(tracking_ = new CDlgWFPropertyTracking(context_));
        break;
    }
  }
}

void CDlgWFProperty::OnCommit() {
  context_.document.SetHeader(header_);
}

bool RunWorkflowSettings(velk::CWorkflowDoc& document,
                         std::function<void(QWidget* parent)> runDatabases, QWidget* parent) {
  bool ok = false;
  {
    // OK is one step of the workflow's undo history, like the task sheet's.
    velk::EditScope step(document, "Workflow Settings");
    CDlgWFProperty sheet(QStringLiteral("Workflow Settings"), document,
                         velk::ListsOfWorkflow(document), std::move(runDatabases), parent);
    ok = sheet.exec() == QDialog::Accepted;
  }
  if (ok) document.Session().SetModified();
  // Name and status show in the title of every window of the workflow.
  velk::CWorkflowDoc& top = document.Top();
  top.Session().RefreshTitle();
  for (velk::CWorkflowDoc* cluster : top.ClusterDocuments()) cluster->Session().RefreshTitle();
  return ok;
}
