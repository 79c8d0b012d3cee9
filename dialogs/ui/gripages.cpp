#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/ui/dialoglists.h"
#include "dialogs/ui/extabopage.h"
#include "dialogs/ui/extdirpage.h"
#include "dialogs/ui/extdirsheet.h"
#include "dialogs/ui/gripage.h"
#include "extdir/extdirdata.h"
#include "extdir/extdiritems.h"
#include "extdir/extdirlookup.h"

CDlgNodePropertyExtAbo::CDlgNodePropertyExtAbo(const NodeSheetContext& context)
    : CNodePropertyPage(context, velk::NodePage::ExtAbo),
      info_(new CGriInfo),
      taskName_(NewValueText("taskName")) {
  auto* reference = new QGroupBox(QStringLiteral("Reference to ESW"));
  (new QFormLayout(reference))->addRow(QStringLiteral("Task Name:"), taskName_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(info_);
  layout->addWidget(reference);
  layout->addStretch();
}

void CDlgNodePropertyExtAbo::OnInitPage() {
  const velk::CNode* referenced = context_.node.ReferencedNode();
  taskName_->setText(referenced ? ToQ(referenced->Name()) : QStringLiteral("not connected"));
  info_->Show(ExternalDirectory(), NodeValues().griId);
}

CDlgNodePropertyIn::CDlgNodePropertyIn(const NodeSheetContext& context)
    : CNodePropertyPage(context, velk::NodePage::In),
      info_(new CGriInfo),
      view_(new QPushButton(QStringLiteral("View ExtDir"))) {
  view_->setObjectName(QStringLiteral("viewExtDir"));
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(view_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(info_);
  layout->addLayout(buttons);
  layout->addStretch();
  connect(view_, &QPushButton::clicked, this, &CDlgNodePropertyIn::ViewExtDir);
}

void CDlgNodePropertyIn::OnInitPage() {
  velk::CExtDirData* directory = ExternalDirectory();
  found_ = info_->Show(directory, NodeValues().griId);
  // The leaf's sheet belongs with the External Directory window: only while it is open.
  view_->setEnabled(directory && velk::CExtDirLookup::IsShown(*directory) && found_.leaf &&
                    found_.header);
}

void CDlgNodePropertyIn::ViewExtDir() {
  if (!found_.leaf || !found_.header) return;
  found_.header->LoadLeafs();
  ShowExtDirItemProperties(window(), *found_.leaf, nullptr);
  found_ = info_->Show(ExternalDirectory(), NodeValues().griId);
}
