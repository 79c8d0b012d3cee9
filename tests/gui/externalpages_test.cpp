// The task sheet opened by double-clicking the demo workflows' tasks in the
// running program: every page of an In task, the external-task pages, the
// content-management pages and a stored form the repository no longer has.

#include <QLabel>
#include <QLineEdit>

#include "dialogs/ui/cmpage.h"
#include "dialogs/ui/cmtemplatedialog.h"
#include "dialogs/ui/extdirdialog.h"
#include "dialogs/ui/formspage.h"
#include "extdir/extdirdata.h"
#include "extdir/extdirtree.h"
#include "modelerfixture.h"

namespace {

using shelltest::MessageBoxWatcher;
using Strings = std::vector<std::string>;

class ExternalPagesTest : public ModelerTest {
 protected:
  // Double-clicks the task; `act` works on its sheet, which it must close.
  void Sheet(const std::string& task, const std::function<void(CDlgNodeProperty&)>& act) {
    ASSERT_NE(Node(task), nullptr) << task;
    sheettest::WithModal<CDlgNodeProperty>([&] { DoubleClick(Centre(*Node(task))); }, act);
  }
  // The page of that title brought to the front with a click on its tab.
  static QWidget* Page(CDlgNodeProperty& sheet, const QString& title) {
    sheettest::ClickTab(sheet.Tabs(), title);
    shelltest::Picture(sheet, title);
    return sheet.Tabs()->currentWidget();
  }
  static CDlgNodePropertyCM& CmPage(CDlgNodeProperty& sheet, const QString& title) {
    return static_cast<CDlgNodePropertyCM&>(*Page(sheet, title));
  }
  static QString Text(const QWidget& page, const char* name) {
    auto* label = page.findChild<QLabel*>(QLatin1String(name));
    return label ? label->text() : QStringLiteral("<missing %1>").arg(QLatin1String(name));
  }
  // Selects the row showing `text` as a click does.
  static void Pick(QListWidget* list, const QString& text) {
    const auto found = list->findItems(text, Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << text.toStdString();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(found.front()).center());
  }
};

// Every page of a richly filled In task fills from the demo repositories; OK on
// them all changes nothing (the sorted lists hold sorted names). Its incoming
// content management then takes a template and Adhoc.
TEST_F(ExternalPagesTest, EveryPageOfAnInTaskFillsAndOkChangesNothingAndTemplatesConnect) {
  OpenWorkflow(QStringLiteral("Version 2.0"));
  velk::CNode* receive = Node("Receive order");
  velk::NodeAttributes a = receive->Attributes();
  a.performerType = 2;
  a.member = "Order Desk";
  a.teamManager = "Ann Lee/Sales/Marvelund";
  a.readers = {"Carlos Mendes/Sales/Marvelund", "Sales/North", "Clerk"};
  a.objects = {"Purchase Order|GF_PurchaseOrder", "Credit Report|GF_CreditReport"};
  a.folderObjects = {"Delivery Note|GF_DeliveryNote", "Invoice|GF_Invoice"};
  a.activities = {"Check customer data", "Confirm receipt", "Forward to credit check"};
  a.resources = {"Company Car", "Notebook Pool"};
  Doc().SetNodeAttributes(*receive, a);
  a = receive->Attributes();
  MessageBoxWatcher boxes;
  Sheet("Receive order", [](CDlgNodeProperty& sheet) {
    for (int i = 0; i < sheet.Tabs()->count(); ++i) Page(sheet, sheet.Tabs()->tabText(i));
    EXPECT_GT(sheet.findChild<QComboBox*>("person")->count(), 1);
    EXPECT_EQ(sheet.findChild<QComboBox*>("primaryForm")->currentText(),
              QStringLiteral("Purchase Order|GF_PurchaseOrder"));
    ClickOk(sheet);
  });
  EXPECT_EQ(receive->Attributes(), a);
  EXPECT_TRUE(boxes.boxes.empty()) << boxes.Texts().join('|').toStdString();

  // A template connects again what reset undid; Adhoc stores no connections.
  const Strings stored = receive->Attributes().outContentManagement;
  ASSERT_EQ(stored.size(), 2u);
  Sheet("Receive order", [](CDlgNodeProperty& sheet) {
    auto& page = CmPage(sheet, QStringLiteral("Incoming CM"));
    QTest::mouseClick(page.findChild<QPushButton*>("reset"), Qt::LeftButton);
    EXPECT_EQ(page.NeededFields()->count(), 2);
    sheettest::OnNextModal<CDlgSelectCMTemplate>([](CDlgSelectCMTemplate& dialog) {
      EXPECT_EQ(dialog.Names()->currentText(), QStringLiteral("Credit check to Borealis"));
      sheettest::Choose(dialog.Names(), QStringLiteral("Order to Acme"));
      EXPECT_EQ(sheettest::Texts(dialog.Fields()),
                (Strings{"Customer_Name <=> CustomerName", "Order_Amount <=> Amount"}));
      shelltest::Picture(dialog, QStringLiteral("Template"));
      ClickOk(dialog);
    });
    QTest::mouseClick(page.findChild<QPushButton*>("applyTemplate"), Qt::LeftButton);
    EXPECT_EQ(page.NeededFields()->count(), 0);
    ClickOk(sheet);
  });
  EXPECT_EQ(receive->Attributes().outContentManagement, stored);

  Sheet("Receive order", [](CDlgNodeProperty& sheet) {
    auto& page = CmPage(sheet, QStringLiteral("Incoming CM"));
    sheettest::Choose(page.Type(), QStringLiteral("Adhoc"));
    EXPECT_FALSE(page.Blocks()->isEnabled());
    ClickOk(sheet);
  });
  EXPECT_TRUE(receive->Attributes().outContentManagement.empty());
  EXPECT_EQ(receive->Attributes().outContentManagementType, 2);
}

// Cancel on the sheet is checked with its other pages.
TEST_F(ExternalPagesTest, ExternalPerformerShowsTheOrganisationAndStoresMemberAndPicture) {
  OpenWorkflow(QStringLiteral("Complaint Handling"));
  velk::CNode* expert = Node("Expert opinion");
  Sheet("Expert opinion", [](CDlgNodeProperty& sheet) {
    QWidget* page = Page(sheet, QStringLiteral("External Performer"));
    auto* performer = page->findChild<QComboBox*>("externalPerformer");
    EXPECT_EQ(performer->count(), 6);
    EXPECT_EQ(performer->currentText(), QStringLiteral("Tom Keller/Consulting/Cirrus Consulting"));
    EXPECT_EQ(
        Text(*page, "department") + "|" + Text(*page, "city") + "|" + Text(*page, "companyName"),
        QStringLiteral("Consulting|Zurich|"));
    sheettest::Choose(performer, QStringLiteral("Sara Jones/Sales/Acme Logistics"));
    EXPECT_EQ(Text(*page, "city"), QStringLiteral("Hamburg"));
    ClickOk(sheet);
  });
  EXPECT_EQ(expert->Attributes().member, "Sara Jones/Sales/Acme Logistics");
  EXPECT_EQ(expert->Picture(), velk::NodePicture::ExtWFTaskAssigned);

  Sheet("Expert opinion", [](CDlgNodeProperty& sheet) {
    Page(sheet, QStringLiteral("External Performer"))
        ->findChild<QComboBox*>("externalPerformer")
        ->setEditText(QString());
    ClickOk(sheet);
  });
  EXPECT_EQ(expert->Attributes().member, "");
  EXPECT_EQ(expert->Picture(), velk::NodePicture::ExtWFTask);
}

TEST_F(ExternalPagesTest, GriPagesShowTheLeafItsHeaderAndTheReferenceAndReportAMissingLeaf) {
  OpenWorkflow(QStringLiteral("Complaint Handling"));
  // Task, tab, and the leaf's name, process view and (when shown) connected task.
  const std::tuple<const char*, const char*, const char*> cases[] = {
      {"Record complaint", "GRI Info",
       "Complaints/Complaint Handling|Sales Processes|<missing taskName>"},
      {"Carrier statement", "External Subscribed Workflow",
       "Transport/Parcel Delivery|Logistics Services|not connected"},
      {"Carrier follow-up", "External Subscribed Workflow",
       "Not yet loaded|Not yet loaded|Carrier statement"},
  };
  for (const auto& [task, tab, shown] : cases) {
    const velk::NodeAttributes before = Node(task)->Attributes();
    Sheet(task, [&](CDlgNodeProperty& sheet) {
      QWidget* page = Page(sheet, QString::fromLatin1(tab));
      EXPECT_EQ(QStringList({Text(*page, "canonicalName"), Text(*page, "processView"),
                             Text(*page, "taskName")})
                    .join('|'),
                QString::fromLatin1(shown));
      // No External Directory window is open.
      if (auto* view = page->findChild<QPushButton*>("viewExtDir")) {
        EXPECT_FALSE(view->isEnabled());
      }
      Page(sheet, QStringLiteral("Incoming CM"));
      ClickOk(sheet);
    });
    EXPECT_EQ(Node(task)->Attributes(), before) << task;
  }

  // A leaf missing from the directory is reported.
  velk::CNode* carrier = Node("Carrier statement");
  velk::NodeAttributes a = carrier->Attributes();
  a.griId = "00000000000000000000000000000000";
  Doc().SetNodeAttributes(*carrier, a);
  MessageBoxWatcher boxes;
  Sheet("Carrier statement", [&](CDlgNodeProperty& sheet) {
    EXPECT_EQ(Text(*Page(sheet, QStringLiteral("External Subscribed Workflow")), "canonicalName"),
              QStringLiteral("Not yet loaded"));
    EXPECT_EQ(CmPage(sheet, QStringLiteral("Incoming CM")).NeededFields()->count(), 0);
  });
  ASSERT_EQ(boxes.boxes.size(), 1u) << boxes.Texts().join("|").toStdString();
  EXPECT_EQ(boxes.boxes[0].text,
            QStringLiteral("Error: \n\nThe connected GRI ID 00000000000000000000000000000000\nwas "
                           "not found in External Directory Database.\nPlease inform your database "
                           "administrator!"));

  // With the directory shown, "View ExtDir" opens the leaf's sheet.
  velk::CExtDirTree shown(*Doc().Databases().externalDirectory.repository);
  Sheet("Record complaint", [](CDlgNodeProperty& sheet) {
    auto* view = Page(sheet, QStringLiteral("GRI Info"))->findChild<QPushButton*>("viewExtDir");
    ASSERT_TRUE(view->isEnabled());
    sheettest::WithModal<CDlgExtDir>(
        [view] { QTest::mouseClick(view, Qt::LeftButton); },
        [](CDlgExtDir& leaf) { EXPECT_EQ(leaf.windowTitle(), "Published Item Properties"); });
  });
}

TEST_F(ExternalPagesTest, OrderedSubWorkflowShowsAndStoresItsOrder) {
  OpenWorkflow(QStringLiteral("ICDR: Credit check"));
  velk::CNode* bank = Node("Ask the bank");
  ASSERT_NE(bank, nullptr);
  MessageBoxWatcher boxes;
  Sheet("Ask the bank", [&](CDlgNodeProperty& sheet) {
    QWidget* page = Page(sheet, QStringLiteral("Ordered Sub-Workflow"));
    QStringList shown;
    for (const char* box : {"input", "format", "expectedDurationUnit"})
      shown << page->findChild<QComboBox*>(QLatin1String(box))->currentText();
    EXPECT_EQ(shown.join('|'), QStringLiteral("Purchase Order|GF_PurchaseOrder|Notes|Days"));
    auto* view = page->findChild<QPushButton*>("viewExtDir");
    ASSERT_TRUE(view->isEnabled());
    QStringList tabs;
    sheettest::OnNextModal<CDlgExtDir>([&](CDlgExtDir& request) {
      for (int i = 0; i < request.Tabs()->count(); ++i) tabs << request.Tabs()->tabText(i);
      request.reject();
    });
    QTest::mouseClick(view, Qt::LeftButton);
    EXPECT_EQ(tabs.join('|'), QStringLiteral("Basics|Master Organization|Sub Organization"));

    auto* duration = page->findChild<QLineEdit*>("expectedDuration");
    duration->setText(QStringLiteral("soon"));
    ClickOk(sheet);
    EXPECT_TRUE(sheet.isVisible()) << "a duration that is no integer keeps the sheet";
    duration->setText(QStringLiteral("8"));
    sheettest::Choose(page->findChild<QComboBox*>("expectedDurationUnit"), QStringLiteral("Weeks"));
    page->findChild<QLineEdit*>("requiredDate")->setText(QStringLiteral("30.06.2027"));
    ClickOk(sheet);
  });
  EXPECT_EQ(boxes.Texts(), QStringList{QStringLiteral("Please enter an integer.")});
  const velk::NodeAttributes& a = bank->Attributes();
  EXPECT_EQ(std::tuple(a.extClusterExpectedDuration, a.extClusterExpectedDurationUnit,
                       a.extClusterRequiredDate, a.extClusterInput),
            std::tuple(8, 2, "30.06.2027", "Purchase Order|GF_PurchaseOrder"));
}

// How connections are kept and stored is the core's; here the page's lists and
// buttons make and undo them and OK stores them with the type.
TEST_F(ExternalPagesTest, ConnectionsAreMadeAndRemovedOnThePageAndStoredOnOk) {
  OpenWorkflow(QStringLiteral("Complaint Handling"));
  Sheet("Carrier statement", [](CDlgNodeProperty& sheet) {
    auto& page = CmPage(sheet, QStringLiteral("Outgoing CM"));
    EXPECT_EQ(sheettest::Texts(page.Blocks()),
              (Strings{"Customer (0 of 1)", "Complaint (0 of 3)", "More Fields (0 of 1)"}));
    EXPECT_EQ(
        sheettest::Texts(page.NeededFields()),
        (Strings{"Carrier", "CustomerCity", "CustomerName", "CustomerStreet", "DeliveryDate"}));
    Pick(page.Blocks(), QStringLiteral("Customer (0 of 1)"));
    Pick(page.ContentFields(), QStringLiteral("Name"));
    EXPECT_FALSE(page.ConnectButton()->isEnabled());
    Pick(page.NeededFields(), QStringLiteral("CustomerName"));
    QTest::mouseClick(page.ConnectButton(), Qt::LeftButton);
    Pick(page.Blocks(), QStringLiteral("Complaint (0 of 3)"));
    Pick(page.ContentFields(), QStringLiteral("Date"));
    Pick(page.NeededFields(), QStringLiteral("DeliveryDate"));
    QTest::mouseClick(page.ConnectButton(), Qt::LeftButton);
    EXPECT_EQ(sheettest::Texts(page.ContentFields()),
              (Strings{"Date <=> DeliveryDate", "Subject", "Text"}));
    shelltest::Picture(sheet, QStringLiteral("ConnectedCM"));
    Pick(page.ContentFields(), QStringLiteral("Date <=> DeliveryDate"));
    QTest::mouseClick(page.DisconnectButton(), Qt::LeftButton);
    EXPECT_EQ(sheettest::Texts(page.Blocks())[0], "Customer (1 of 1)");
    sheettest::Choose(page.Type(), QStringLiteral("Control"));
    ClickOk(sheet);
  });
  const velk::NodeAttributes& a = Node("Carrier statement")->Attributes();
  EXPECT_EQ(a.outContentManagement, Strings{"CustomerName <=> Customer_Name"});
  EXPECT_EQ(a.outContentManagementType, 1);
}

TEST_F(ExternalPagesTest, AStoredPrimaryFormMissingFromTheRepositoryIsKept) {
  OpenWorkflow(QStringLiteral("Travel Request"));
  velk::CNode* review = Node("Review");
  velk::NodeAttributes a = review->Attributes();
  a.objects = {"Old Request|GF_OldRequest", "Travel Request|GF_TravelRequest"};
  Doc().SetNodeAttributes(*review, a);
  Sheet("Review", [](CDlgNodeProperty& sheet) {
    auto* primary = Page(sheet, QStringLiteral("Forms"))->findChild<QComboBox*>("primaryForm");
    EXPECT_EQ(primary->currentText(), QStringLiteral("Old Request|GF_OldRequest"));
    EXPECT_EQ(primary->toolTip(), QString::fromLatin1(kNotInRepository));
    ClickOk(sheet);
  });
  EXPECT_EQ(review->Attributes().objects, a.objects);
}

}  // namespace
