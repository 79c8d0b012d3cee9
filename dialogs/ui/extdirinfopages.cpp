#include "dialogs/ui/extdirinfopages.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QListWidget>
#include <QVBoxLayout>

#include "dialogs/ui/dialogicons.h"
#include "dialogs/ui/dialoglists.h"
#include "extdir/extdiritems.h"
#include "repository/vocabulary.h"

namespace {

QVBoxLayout* PageLayout(QWidget* page) {
  if (auto* layout = qobject_cast<QVBoxLayout*>(page->layout())) return layout;
  auto* layout = new QVBoxLayout(page);
  layout->addStretch();
  return layout;
}

std::string DurationText(int duration, int unit) {
  return std::to_string(duration) + " " + DurationUnitToWord(unit);
}

}  // namespace

QFormLayout* CExtDirInfoPage::AddGroup(const char* title,
                                       std::vector<std::pair<const char*, const char*>> rows) {
  auto* group = new QGroupBox(QString::fromLatin1(title));
  auto* form = new QFormLayout(group);
  for (const auto& [label, name] : rows) form->addRow(QString::fromLatin1(label), NewValueText(name));
  QVBoxLayout* layout = PageLayout(this);
  layout->insertWidget(layout->count() - 1, group);
  return form;
}

void CExtDirInfoPage::Show(const char* objectName, const std::string& value) {
  if (auto* label = findChild<QLabel*>(QLatin1String(objectName))) label->setText(ToQ(value));
}

QListWidget* CExtDirInfoPage::AddNameList(QFormLayout* form, const char* label,
                                          const char* objectName) {
  auto* list = new QListWidget;
  list->setObjectName(QLatin1String(objectName));
  list->setIconSize(kDialogIconSize);
  list->setEnabled(false);
  form->addRow(QString::fromLatin1(label), list);
  return list;
}

void CExtDirInfoPage::ShowNames(QListWidget* list, const std::vector<std::string>& names) {
  for (const std::string& name : names)
    list->addItem(new QListWidgetItem(DialogIconOf(DialogIcon::Person), ToQ(name)));
}

CDlgExtDirPerson::CDlgExtDirPerson(velk::CExtDirItem& item, velk::CExtDirTree* tree)
    : CExtDirInfoPage(item, tree) {
  AddGroup("External Performer", {{"", "fullName"}});
  AddGroup("Personal Informations",
           {{"Deptm.:", "department"}, {"Web-Page:", "webSite"}, {"Mail:", "mail"}});
  AddGroup("Company Informations", {{"Name:", "companyName"},
                                    {"Address:", "address"},
                                    {"City:", "city"},
                                    {"State:", "state"},
                                    {"ZIP:", "zip"},
                                    {"Country:", "country"},
                                    {"Phone:", "phone"}});
  AddGroup("Access Informations", {{"Password:", "password"}});
}

void CDlgExtDirPerson::OnInitPage() {
  const auto& person = static_cast<const velk::CExtDirItemExtRegOrg&>(item_);
  Show("fullName", person.FullName);
  Show("department", person.Department);
  Show("webSite", person.WebSite);
  Show("mail", person.MailAddress);
  Show("address", person.OfficeStreetAddress);
  Show("city", person.OfficeCity);
  Show("state", person.OfficeState);
  Show("zip", person.OfficeZIP);
  Show("country", person.OfficeCountry);
  Show("phone", person.OfficeNumber);
  Show("password", person.HTTPPassword);
}

CDlgExtDirEIDMBasics::CDlgExtDirEIDMBasics(velk::CExtDirItem& item, velk::CExtDirTree* tree)
    : CExtDirInfoPage(item, tree) {
  AddGroup("Basics", {{"Name:", "name"},
                      {"EIDM-ID:", "eidmId"},
                      {"Version:", "version"},
                      {"Status:", "status"},
                      {"Format:", "format"},
                      {"Goal", "goal"},
                      {"Input:", "input"},
                      {"Output:", "output"},
                      {"Confirmed:", "confirmed"},
                      {"Expected:", "expected"}});
}

void CDlgExtDirEIDMBasics::OnInitPage() {
  const auto& eidm = static_cast<const velk::CExtDirItemEIDM&>(item_);
  Show("name", eidm.ExtClusterName);
  Show("eidmId", eidm.ID);
  Show("version", std::to_string(eidm.ExtClusterVersion));
  Show("status", EidmStateToWord(eidm.ExtClusterStatus));
  Show("format", eidm.ExtClusterFormat);
  Show("goal", eidm.ExtClusterGoal);
  Show("input", eidm.ExtClusterInput);
  Show("output", eidm.ExtClusterOutput);
  Show("confirmed",
       DurationText(eidm.ExtClusterConfirmedDuration, eidm.ExtClusterConfirmedDurationUnit));
  Show("expected",
       DurationText(eidm.ExtClusterExpectedDuration, eidm.ExtClusterExpectedDurationUnit));
}

CDlgExtDirEIDMMaster::CDlgExtDirEIDMMaster(velk::CExtDirItem& item, velk::CExtDirTree* tree)
    : CExtDirInfoPage(item, tree) {
  AddGroup("Master Organization", {{"Name:", "masterOrg"},
                                   {"Workflow-ID:", "workflowId"},
                                   {"Engine:", "engine"},
                                   {"Tracking:", "tracking"}});
}

void CDlgExtDirEIDMMaster::OnInitPage() {
  const auto& eidm = static_cast<const velk::CExtDirItemEIDM&>(item_);
  Show("masterOrg", eidm.MasterOrg);
  Show("workflowId", eidm.MasterWorkflowID);
  Show("engine", eidm.MasterEngineAddress);
  Show("tracking", eidm.MasterTrackingAddress);
}

CDlgExtDirEIDMSub::CDlgExtDirEIDMSub(velk::CExtDirItem& item, velk::CExtDirTree* tree)
    : CExtDirInfoPage(item, tree) {
  QFormLayout* form = AddGroup("Sub Organization", {{"Name:", "subOrg"},
                                                    {"Application ID:", "appId"},
                                                    {"Application Mail:", "appMail"},
                                                    {"Start Date:", "startDate"},
                                                    {"Designer:", "designer"}});
  responsible_ = AddNameList(form, "Responsible Persons:", "responsible");
}

void CDlgExtDirEIDMSub::OnInitPage() {
  const auto& eidm = static_cast<const velk::CExtDirItemEIDM&>(item_);
  Show("subOrg", eidm.ExtClusterOrg);
  Show("appId", eidm.ExtClusterAppID);
  Show("appMail", eidm.ExtClusterMail);
  Show("startDate", eidm.ExtClusterStartDate);
  Show("designer", eidm.ExtClusterDesigner);
  ShowNames(responsible_, eidm.ExtClusterResponsible);
}

CDlgExtDirEIDMOrg::CDlgExtDirEIDMOrg(velk::CExtDirItem& item, velk::CExtDirTree* tree)
    : CExtDirInfoPage(item, tree) {
  QFormLayout* form = AddGroup(
      "EIDM Organization", {{"Name:", "extOrganization"}, {"Readername:", "reader"}, {"ID:", "orgId"}});
  responsible_ = AddNameList(form, "Responsible Designers:", "responsible");
}

void CDlgExtDirEIDMOrg::OnInitPage() {
  const auto& org = static_cast<const velk::CExtDirItemEIDMOrg&>(item_);
  Show("extOrganization", org.ExtOrganization);
  Show("reader", org.ExtOrgReader);
  Show("orgId", org.ID);
  ShowNames(responsible_, org.ExtOrgResponsible);
}
