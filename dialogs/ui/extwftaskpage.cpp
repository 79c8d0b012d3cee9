#include "dialogs/ui/extwftaskpage.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

#include "dialogs/ui/dialoglists.h"
#include "dialogs/ui/extdirpage.h"
#include "extdir/extdirdata.h"
#include "extdir/extdiritems.h"
#include "model/node.h"

namespace {

struct Detail {
  const char* label;
  const char* objectName;
  std::string velk::CExtDirItemExtRegOrg::*field;  // null: stays empty
};

using Org = velk::CExtDirItemExtRegOrg;
const Detail kPersonal[] = {{"Deptm.:", "department", &Org::Department},
                            {"Web-Page:", "webSite", &Org::WebSite},
                            {"Mail:", "mail", &Org::MailAddress}};
const Detail kCompany[] = {{"Name:", "companyName", nullptr},
                           {"Address:", "address", &Org::OfficeStreetAddress},
                           {"City:", "city", &Org::OfficeCity},
                           {"State:", "state", &Org::OfficeState},
                           {"ZIP:", "zip", &Org::OfficeZIP},
                           {"Country:", "country", &Org::OfficeCountry},
                           {"Phone:", "phone", &Org::OfficeNumber}};
const Detail kAccess[] = {{"Password:", "password", &Org::HTTPPassword}};

template <std::size_t N>
QGroupBox* DetailGroup(const char* title, const Detail (&details)[N]) {
  auto* group = new QGroupBox(QString::fromLatin1(title));
  auto* form = new QFormLayout(group);
  for (const Detail& d : details) form->addRow(QString::fromLatin1(d.label), NewValueText(d.objectName));
  return group;
}

}  // namespace

CDlgNodePropertyExtWFTask::CDlgNodePropertyExtWFTask(const NodeSheetContext& context)
    : CNodePropertyPage(context, velk::NodePage::ExtWFTask),
      performer_(NewComboBox("externalPerformer", true, 30)) {
  auto* top = new QGroupBox(QStringLiteral("External Performer"));
  (new QVBoxLayout(top))->addWidget(performer_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(top);
  layout->addWidget(DetailGroup("Personal Informations", kPersonal));
  layout->addWidget(DetailGroup("Company Informations", kCompany));
  layout->addWidget(DetailGroup("Access Informations", kAccess));
  layout->addStretch();
  connect(performer_, &QComboBox::currentIndexChanged, this,
          &CDlgNodePropertyExtWFTask::ShowDetails);
}

void CDlgNodePropertyExtWFTask::OnInitPage() {
  const QSignalBlocker quiet(performer_);
  if (velk::CExtDirData* directory = ExternalDirectory())
    for (const Org* org : directory->ItemsOf<Org>())
      if (!org->FullName.empty() && performer_->findText(ToQ(org->FullName)) < 0)
        AddSorted(performer_, org->FullName);
  performer_->setCurrentIndex(-1);
  SelectOrAdd(performer_, NodeValues().member, true);
  ShowDetails();
}

void CDlgNodePropertyExtWFTask::ShowDetails() {
  const Org* found = nullptr;
  const int index = performer_->currentIndex();
  velk::CExtDirData* directory = ExternalDirectory();
  if (index >= 0 && directory) {
    const std::string name = FromQ(performer_->itemText(index));
    for (const Org* org : directory->ItemsOf<Org>())
      if (org->FullName == name) {
        found = org;
        break;
      }
  }
  auto show = [&](const Detail& d) {
    auto* text = findChild<QLabel*>(QLatin1String(d.objectName));
    text->setText(found && d.field ? ToQ(found->*d.field) : QString());
  };
  for (const Detail& d : kPersonal) show(d);
  for (const Detail& d : kCompany) show(d);
  for (const Detail& d : kAccess) show(d);
}

void CDlgNodePropertyExtWFTask::Apply(velk::NodeAttributes& attributes) {
  attributes.member = FromQ(performer_->currentText());
  member_ = attributes.member;
}

void CDlgNodePropertyExtWFTask::ApplyToDocument() {
  context_.document.SetNodePicture(context_.node, member_.empty() ? velk::NodePicture::ExtWFTask
                                                                  : velk::NodePicture::ExtWFTaskAssigned);
}
