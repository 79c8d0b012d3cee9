#include "dialogs/ui/nodepropertyentry.h"

#include "dialogs/ui/nodeproperty.h"
#include "dialogs/ui/taskroutingdialog.h"

bool EditNodeProperties(QWidget* parent, velk::CWorkflowDoc& document, velk::CNode& node,
                        const velk::CExtDirLookup& externalDirectory) {
  CDlgNodeProperty sheet(QString::fromLatin1(velk::kTaskPropertiesCaption), document, node,
                         velk::ListsOfWorkflow(document), externalDirectory, parent);
  return sheet.exec() == QDialog::Accepted;
}

bool EditArrowRouting(QWidget* parent, velk::CWorkflowDoc& document, velk::CArrow& arrow) {
  CDlgTaskRouting dialog(document, arrow, velk::ListsOfWorkflow(document), parent);
  return dialog.exec() == QDialog::Accepted;
}
