#include "dialogs/ui/extdirbasicpages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QVBoxLayout>
#include <climits>

#include "dialogs/integercheck.h"
#include "dialogs/ui/dialoglists.h"
#include "extdir/extdirdata.h"
#include "extdir/extdiritems.h"
#include "extdir/extdirtree.h"

namespace {

using Rows = std::initializer_list<std::pair<const char*, QWidget*>>;

QGroupBox* FormGroup(const char* title, Rows rows) {
  auto* group = new QGroupBox(QString::fromLatin1(title));
  auto* form = new QFormLayout(group);
  for (const auto& [label, widget] : rows) form->addRow(QString::fromLatin1(label), widget);
  return group;
}

void Stack(QWidget* page, std::initializer_list<QGroupBox*> groups) {
  auto* layout = new QVBoxLayout(page);
  for (QGroupBox* group : groups) layout->addWidget(group);
  layout->addStretch();
}

QString Number(int value) {
  return QString::asprintf("%i", value);
}

// A leaf is stored under its folder path and own name; folders are not stored
// at all. Renames on these pages must reach that path, or the next load of the
// directory brings the old names back.
std::string FolderPath(const velk::CExtDirTreeNode* node) {
  std::string path;
  for (; node && dynamic_cast<const velk::CExtDirItemGRIFolder*>(node->Item()); node = node->Parent())
    path = node->Item()->Label() + (path.empty() ? "" : "/" + path);
  return path;
}

std::string LeafPath(const std::string& folders, const std::string& name) {
  return folders.empty() ? name : folders + "/" + name;
}

void RenameLeafsBelow(const velk::CExtDirTreeNode& node) {
  for (const auto& child : node.Children()) {
    if (auto* leaf = dynamic_cast<velk::CExtDirItemGRILeaf*>(child->Item()))
      leaf->LeafName = LeafPath(FolderPath(&node), leaf->displayName);
    RenameLeafsBelow(*child);
  }
}

}  // namespace

CDlgExtDirHeader::CDlgExtDirHeader(velk::CExtDirItem& item, velk::CExtDirTree* tree)
    : CExtDirPage(item, tree),
      orgName_(NewValueText("orgName")),
      headerId_(NewValueText("headerId")),
      procView_(NewLineEdit("processView")),
      gateway_(NewLineEdit("gatewayDb")) {
  Stack(this, {FormGroup("Organization Information", {{"Name:", orgName_}}),
               FormGroup("Header Identification",
                         {{"Header ID:", headerId_}, {"Process View:", procView_}}),
               FormGroup("Gateway Database", {{"Name:", gateway_}})});
}

void CDlgExtDirHeader::OnInitPage() {
  auto& header = static_cast<velk::CExtDirItemGRIProcView&>(item_);
  orgName_->setText(ToQ(header.OrgName));
  headerId_->setText(ToQ(header.ID));
  procView_->setText(ToQ(header.ProcViewName));
  gateway_->setText(ToQ(header.GatewayDB));
}

void CDlgExtDirHeader::Apply() {
  auto& header = static_cast<velk::CExtDirItemGRIProcView&>(item_);
  header.ProcViewName = FromQ(procView_->text());
  header.GatewayDB = FromQ(gateway_->text());
  header.UpdateTreeText();
  header.SetModified();
}

CDlgExtDirOrg::CDlgExtDirOrg(velk::CExtDirItem& item, velk::CExtDirTree* tree)
    : CExtDirPage(item, tree), orgName_(NewLineEdit("orgName")), gateway_(NewLineEdit("gatewayDb")) {
  Stack(this, {FormGroup("Organization Information", {{"Name:", orgName_}}),
               FormGroup("Gateway Database", {{"Name:", gateway_}})});
}

void CDlgExtDirOrg::OnInitPage() {
  auto& org = static_cast<velk::CExtDirItemGRIOrg&>(item_);
  orgName_->setText(ToQ(org.OrgName));
  gateway_->setText(ToQ(org.GatewayDB));
}

void CDlgExtDirOrg::Apply() {
  auto& org = static_cast<velk::CExtDirItemGRIOrg&>(item_);
  org.OrgName = FromQ(orgName_->text());
  org.GatewayDB = FromQ(gateway_->text());
  // The process views name their organisation; they follow the rename.
  if (org.treeNode) {
    for (const auto& child : org.treeNode->Children()) {
      if (auto* header = dynamic_cast<velk::CExtDirItemGRIProcView*>(child->Item())) {
        header->OrgName = org.OrgName;
        header->GatewayDB = org.GatewayDB;
      }
    }
  }
  org.UpdateTreeText();
  org.SetModified();
}

CDlgExtDirFolder::CDlgExtDirFolder(velk::CExtDirItem& item, velk::CExtDirTree* tree)
    : CExtDirPage(item, tree), name_(NewLineEdit("folderName")) {
  Stack(this, {FormGroup("Folder Name:", {{"Name:", name_}})});
}

void CDlgExtDirFolder::OnInitPage() {
  name_->setText(ToQ(static_cast<velk::CExtDirItemGRIFolder&>(item_).name));
}

void CDlgExtDirFolder::Apply() {
  auto& folder = static_cast<velk::CExtDirItemGRIFolder&>(item_);
  const std::string name = FromQ(name_->text());
  const bool renamed = name != folder.name;
  folder.name = name;
  if (renamed && folder.treeNode) RenameLeafsBelow(*folder.treeNode);
  folder.UpdateTreeText();
  folder.SetModified();
}

CDlgExtDirLeafBasics::CDlgExtDirLeafBasics(velk::CExtDirItem& item, velk::CExtDirTree* tree)
    : CExtDirPage(item, tree),
      name_(NewLineEdit("name")),
      description_(NewLineEdit("description")),
      canonical_(NewValueText("canonical")),
      leafId_(NewValueText("leafId")),
      status_(NewComboBox("status", false)),
      version_(NewLineEdit("version")),
      validUntil_(NewLineEdit("validUntil")),
      tracking_(new QCheckBox(QStringLiteral("Tracking allowed"))),
      duration_(NewLineEdit("duration")),
      unit_(NewComboBox("durationUnit", false)),
      formatServer_(NewLineEdit("formatServer")) {
  tracking_->setObjectName(QStringLiteral("trackingAllowed"));
  status_->addItems({QStringLiteral("Design"), QStringLiteral("Active"), QStringLiteral("Archive")});
  unit_->addItems({QStringLiteral("Hour(s)"), QStringLiteral("Day(s)"), QStringLiteral("Week(s)")});
  auto* duration = new QWidget;
  auto* row = new QHBoxLayout(duration);
  row->setContentsMargins(0, 0, 0, 0);
  row->addWidget(duration_);
  row->addWidget(unit_);
  Stack(this, {FormGroup("Leaf Identification:", {{"Name:", name_},
                                                  {"Description:", description_},
                                                  {"Canonical:", canonical_},
                                                  {"Leaf-ID:", leafId_}}),
               FormGroup("Parameter:", {{"Status:", status_},
                                        {"Version:", version_},
                                        {"Valid until:", validUntil_},
                                        {"", tracking_}}),
               FormGroup("Remote Information:", {{"Duration:", duration}}),
               FormGroup("Format Server", {{"EMail-Adress:", formatServer_}})});
}

void CDlgExtDirLeafBasics::OnInitPage() {
  auto& leaf = static_cast<velk::CExtDirItemGRILeaf&>(item_);
  name_->setText(ToQ(leaf.displayName));
  description_->setText(ToQ(leaf.Description2));
  canonical_->setText(ToQ(leaf.LeafName));
  leafId_->setText(ToQ(leaf.ID));
  status_->setCurrentIndex(leaf.Status >= 0 && leaf.Status < status_->count() ? leaf.Status : -1);
  version_->setText(Number(leaf.Version));
  validUntil_->setText(ToQ(leaf.ValidUntil));
  tracking_->setChecked(leaf.TrackingAllowed);
  duration_->setText(Number(leaf.Duration));
  unit_->setCurrentIndex(leaf.DurationUnit >= 0 && leaf.DurationUnit < unit_->count()
                             ? leaf.DurationUnit
                             : -1);
  formatServer_->setText(ToQ(leaf.FormatServer));
}

bool CDlgExtDirLeafBasics::Validate() {
  if (!velk::TakeInteger(item_.Data().UserInterface(), FromQ(version_->text()), 0, 99999)) {
    version_->setFocus();
    return false;
  }
  if (!velk::TakeInteger(item_.Data().UserInterface(), FromQ(duration_->text()), INT_MIN,
                         INT_MAX)) {
    duration_->setFocus();
    return false;
  }
  return true;
}

void CDlgExtDirLeafBasics::Apply() {
  auto& leaf = static_cast<velk::CExtDirItemGRILeaf&>(item_);
  const std::string name = FromQ(name_->text());
  if (name != leaf.displayName) {
    const std::size_t slash = leaf.LeafName.rfind('/');
    const std::string folders = leaf.treeNode ? FolderPath(leaf.treeNode->Parent())
                                : slash == std::string::npos ? std::string()
                                                             : leaf.LeafName.substr(0, slash);
    leaf.LeafName = LeafPath(folders, name);
  }
  leaf.displayName = name;
  leaf.Description2 = FromQ(description_->text());
  // A status or unit the lists do not offer stays as it was.
  if (status_->currentIndex() >= 0) leaf.Status = status_->currentIndex();
  leaf.Version = velk::ParseInteger(FromQ(version_->text())).value_or(leaf.Version);
  leaf.ValidUntil = FromQ(validUntil_->text());
  leaf.TrackingAllowed = tracking_->isChecked();
  leaf.Duration = velk::ParseInteger(FromQ(duration_->text())).value_or(leaf.Duration);
  if (unit_->currentIndex() >= 0) leaf.DurationUnit = unit_->currentIndex();
  leaf.FormatServer = FromQ(formatServer_->text());
  leaf.UpdateTreeText();
  leaf.SetModified();
}
