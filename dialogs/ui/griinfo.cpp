#include "dialogs/ui/griinfo.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QVBoxLayout>

#include "dialogs/ui/dialoglists.h"
#include "dialogs/ui/extdirpage.h"
#include "extdir/extdirdata.h"
#include "extdir/extdiritems.h"

CGriInfo::CGriInfo()
    : id_(NewValueText("griId")),
      organisation_(NewValueText("organization")),
      processView_(NewValueText("processView")),
      canonical_(NewValueText("canonicalName")),
      formatServer_(NewValueText("formatServer")),
      gateway_(NewValueText("gatewayDb")),
      direction_(NewValueText("direction")),
      validUntil_(NewValueText("validUntil")) {
  auto* idGroup = new QGroupBox(QStringLiteral("GRI Leaf ID"));
  (new QVBoxLayout(idGroup))->addWidget(id_);
  auto* info = new QGroupBox(QStringLiteral("Informations about GRI Leaf"));
  auto* form = new QFormLayout(info);
  form->addRow(QStringLiteral("Organization:"), organisation_);
  form->addRow(QStringLiteral("Process View:"), processView_);
  form->addRow(QStringLiteral("Canonical Name:"), canonical_);
  form->addRow(QStringLiteral("Format Server:"), formatServer_);
  form->addRow(QStringLiteral("Gateway DB:"), gateway_);
  form->addRow(QStringLiteral("Direction:"), direction_);
  form->addRow(QStringLiteral("Valid Until:"), validUntil_);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(idGroup);
  layout->addWidget(info);
}

GriLeafFound CGriInfo::Show(velk::CExtDirData* directory, const std::string& griId) {
  id_->setText(ToQ(griId));
  for (QLabel* text : {organisation_, processView_, canonical_, formatServer_, gateway_,
                       direction_, validUntil_})
    text->setText(QString::fromLatin1(kNotYetLoaded));
  GriLeafFound found;
  if (!directory || griId.empty()) return found;
  found.leaf = directory->LoadLeafById(griId);
  if (!found.leaf) return found;
  validUntil_->setText(ToQ(found.leaf->ValidUntil));
  formatServer_->setText(ToQ(found.leaf->FormatServer));
  direction_->setText(ToQ(found.leaf->Direction));
  canonical_->setText(ToQ(found.leaf->LeafName));
  found.header =
      dynamic_cast<velk::CExtDirItemGRIProcView*>(directory->FindItemById(found.leaf->HeaderID));
  if (!found.header) return found;
  processView_->setText(ToQ(found.header->ProcViewName));
  organisation_->setText(ToQ(found.header->OrgName));
  gateway_->setText(ToQ(found.header->GatewayDB));
  return found;
}
