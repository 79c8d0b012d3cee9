// The external-task pages and the content-management pages of the task sheet,
// opened by double-clicking the demo workflows' tasks in the running program.

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>

#include "dialogs/ui/cmpage.h"
#include "dialogs/ui/cmtemplatedialog.h"
#include "dialogs/ui/extdirdialog.h"
#include "dialogs/ui/nodeproperty.h"
#include "extdir/extdirdata.h"
#include "extdir/extdirtree.h"
#include "modelerfixture.h"

namespace {

using shelltest::MessageBoxWatcher;
using shelltest::ProcessEvents;
using Strings = std::vector<std::string>;

class ExternalPagesTest : public ModelerTest {
 protected:
  // Double-clicks the task; `act` works on its sheet, which it must close.
  void Sheet(const std::string& task, std::function<void(CDlgNodeProperty&)> act) {
    velk::CNode* node = Node(task);
    ASSERT_NE(node, nullptr) << task;
    bool ran = false;
    sheettest::OnNextModal<CDlgNodeProperty>([&](CDlgNodeProperty& sheet) {
      ran = true;
      act(sheet);
      if (sheet.isVisible()) sheet.reject();
    });
    const QPoint at = Centre(*node);
    QTest::mouseClick(View()->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(View()->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(View()->viewport(), Qt::LeftButton, {}, at);
    ProcessEvents();
    EXPECT_TRUE(ran) << task;
  }
  static void ClickTab(CDlgNodeProperty& sheet, const QString& title) {
    QTabWidget* tabs = sheet.Tabs();
    for (int i = 0; i < tabs->count(); ++i)
      if (tabs->tabText(i) == title)
        QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {}, tabs->tabBar()->tabRect(i).center());
    ASSERT_EQ(tabs->tabText(tabs->currentIndex()), title);
    Shoot(sheet, title);
  }
  // Pictures of the pages when VELK_SCREENSHOT_DIR names a folder.
  static void Shoot(QWidget& widget, QString name) {
    static int count = 0;
    const QByteArray dir = qgetenv("VELK_SCREENSHOT_DIR");
    if (dir.isEmpty()) return;
    ProcessEvents();
    name = QStringLiteral("%1-%2").arg(++count, 2, 10, QLatin1Char('0')).arg(name.remove(' '));
    widget.grab().save(QString::fromLocal8Bit(dir) + QLatin1Char('/') + name + ".png");
  }
  static QString Text(const QWidget& page, const char* name) {
    auto* label = page.findChild<QLabel*>(QLatin1String(name));
    return label ? label->text() : QStringLiteral("<missing %1>").arg(QLatin1String(name));
  }
  static void Click(QWidget* button) { QTest::mouseClick(button, Qt::LeftButton); }
  static void Ok(CDlgNodeProperty& sheet) { ClickOk(sheet); }
  // Selects the row showing `text` as a click does.
  static void Pick(QListWidget* list, const QString& text) {
    const auto found = list->findItems(text, Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << text.toStdString();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(found.front()).center());
  }
  velk::CExtDirData& Directory() { return *Doc().Databases().externalDirectory.repository; }
};

TEST_F(ExternalPagesTest, ExternalPerformerShowsTheOrganisationAndStoresMemberAndPicture) {
  OpenWorkflow(QStringLiteral("Complaint Handling"));
  velk::CNode* expert = Node("Expert opinion");
  ASSERT_NE(expert, nullptr);
  Sheet("Expert opinion", [](CDlgNodeProperty& sheet) {
    ClickTab(sheet, QStringLiteral("External Performer"));
    auto* performer = sheet.findChild<QComboBox*>("externalPerformer");
    EXPECT_EQ(performer->count(), 6);
    EXPECT_EQ(performer->currentText(), QStringLiteral("Tom Keller/Consulting/Cirrus Consulting"));
    QWidget* page = sheet.Tabs()->currentWidget();
    EXPECT_EQ(Text(*page, "department"), QStringLiteral("Consulting"));
    EXPECT_EQ(Text(*page, "city"), QStringLiteral("Zurich"));
    EXPECT_EQ(Text(*page, "companyName"), QString());
    // Another organisation, then Cancel: nothing is written.
    sheettest::Choose(performer, QStringLiteral("Sara Jones/Sales/Acme Logistics"));
    EXPECT_EQ(Text(*page, "city"), QStringLiteral("Hamburg"));
  });
  EXPECT_EQ(expert->Attributes().member, "Tom Keller/Consulting/Cirrus Consulting");

  Sheet("Expert opinion", [](CDlgNodeProperty& sheet) {
    ClickTab(sheet, QStringLiteral("External Performer"));
    auto* performer = sheet.findChild<QComboBox*>("externalPerformer");
    performer->setEditText(QString());
    Ok(sheet);
  });
  EXPECT_EQ(expert->Attributes().member, "");
  EXPECT_EQ(expert->Picture(), velk::NodePicture::ExtWFTask);

  Sheet("Expert opinion", [](CDlgNodeProperty& sheet) {
    ClickTab(sheet, QStringLiteral("External Performer"));
    sheettest::Choose(sheet.findChild<QComboBox*>("externalPerformer"),
                      QStringLiteral("Sara Jones/Sales/Acme Logistics"));
    Ok(sheet);
  });
  EXPECT_EQ(expert->Attributes().member, "Sara Jones/Sales/Acme Logistics");
  EXPECT_EQ(expert->Picture(), velk::NodePicture::ExtWFTaskAssigned);
}

TEST_F(ExternalPagesTest, GriPagesShowTheLeafItsHeaderAndTheReference) {
  OpenWorkflow(QStringLiteral("Complaint Handling"));
  struct Case {
    const char* task;
    const char* tab;
    const char* canonical;
    const char* processView;
    const char* taskName;  // "External Subscribed Workflow" only
  };
  const Case cases[] = {
      {"Record complaint", "GRI Info", "Complaints/Complaint Handling", "Sales Processes", nullptr},
      {"Carrier statement", "External Subscribed Workflow", "Transport/Parcel Delivery",
       "Logistics Services", "not connected"},
      {"Carrier follow-up", "External Subscribed Workflow", "Not yet loaded", "Not yet loaded",
       "Carrier statement"},
  };
  for (const Case& c : cases) {
    const velk::NodeAttributes before = Node(c.task)->Attributes();
    Sheet(c.task, [&](CDlgNodeProperty& sheet) {
      ClickTab(sheet, QString::fromLatin1(c.tab));
      QWidget* page = sheet.Tabs()->currentWidget();
      EXPECT_EQ(Text(*page, "canonicalName"), QString::fromLatin1(c.canonical)) << c.task;
      EXPECT_EQ(Text(*page, "processView"), QString::fromLatin1(c.processView)) << c.task;
      if (c.taskName) {
        EXPECT_EQ(Text(*page, "taskName"), QString::fromLatin1(c.taskName));
      }
      // No External Directory window is open.
      if (auto* view = page->findChild<QPushButton*>("viewExtDir")) {
        EXPECT_FALSE(view->isEnabled());
      }
      ClickTab(sheet, QStringLiteral("Incoming CM"));
      Ok(sheet);
    });
    EXPECT_EQ(Node(c.task)->Attributes(), before) << c.task;
  }

  // With the directory shown, "View ExtDir" opens the leaf's sheet.
  velk::CExtDirTree shown(Directory());
  Sheet("Record complaint", [](CDlgNodeProperty& sheet) {
    ClickTab(sheet, QStringLiteral("GRI Info"));
    auto* view = sheet.Tabs()->currentWidget()->findChild<QPushButton*>("viewExtDir");
    ASSERT_TRUE(view->isEnabled());
    QString title;
    int tabs = 0;
    sheettest::OnNextModal<CDlgExtDir>([&](CDlgExtDir& leaf) {
      title = leaf.windowTitle();
      tabs = leaf.Tabs()->count();
      leaf.reject();
    });
    Click(view);
    EXPECT_EQ(title, QStringLiteral("Published Item Properties"));
    EXPECT_EQ(tabs, 4) << "a published leaf has its reference workflows";
  });
}

TEST_F(ExternalPagesTest, OrderedSubWorkflowShowsAndStoresItsOrder) {
  OpenWorkflow(QStringLiteral("ICDR: Credit check"));
  velk::CNode* bank = Node("Ask the bank");
  ASSERT_NE(bank, nullptr);
  MessageBoxWatcher boxes;
  Sheet("Ask the bank", [&](CDlgNodeProperty& sheet) {
    ClickTab(sheet, QStringLiteral("Ordered Sub-Workflow"));
    QWidget* page = sheet.Tabs()->currentWidget();
    EXPECT_EQ(page->findChild<QComboBox*>("input")->currentText(),
              QStringLiteral("Purchase Order|GF_PurchaseOrder"));
    EXPECT_EQ(page->findChild<QComboBox*>("format")->currentText(), QStringLiteral("Notes"));
    EXPECT_EQ(page->findChild<QComboBox*>("expectedDurationUnit")->currentText(),
              QStringLiteral("Days"));
    auto* view = page->findChild<QPushButton*>("viewExtDir");
    ASSERT_TRUE(view->isEnabled());
    QStringList tabs;
    sheettest::OnNextModal<CDlgExtDir>([&](CDlgExtDir& request) {
      for (int i = 0; i < request.Tabs()->count(); ++i) tabs << request.Tabs()->tabText(i);
      request.reject();
    });
    Click(view);
    EXPECT_EQ(tabs.join('|'), QStringLiteral("Basics|Master Organization|Sub Organization"));

    auto* duration = page->findChild<QLineEdit*>("expectedDuration");
    duration->setText(QStringLiteral("soon"));
    Ok(sheet);
    EXPECT_TRUE(sheet.isVisible()) << "a duration that is no integer keeps the sheet";
    duration->setText(QStringLiteral("8"));
    sheettest::Choose(page->findChild<QComboBox*>("expectedDurationUnit"), QStringLiteral("Weeks"));
    page->findChild<QLineEdit*>("requiredDate")->setText(QStringLiteral("30.06.2027"));
    Ok(sheet);
  });
  EXPECT_EQ(boxes.Texts(), QStringList{QStringLiteral("Please enter an integer.")});
  const velk::NodeAttributes& a = bank->Attributes();
  EXPECT_EQ(a.extClusterExpectedDuration, 8);
  EXPECT_EQ(a.extClusterExpectedDurationUnit, 2);
  EXPECT_EQ(a.extClusterRequiredDate, "30.06.2027");
  EXPECT_EQ(a.extClusterInput, "Purchase Order|GF_PurchaseOrder");
}

TEST_F(ExternalPagesTest, ConnectionsAreMadeRemovedSavedAndLoadedBack) {
  OpenWorkflow(QStringLiteral("Complaint Handling"));
  Sheet("Carrier statement", [](CDlgNodeProperty& sheet) {
    ClickTab(sheet, QStringLiteral("Outgoing CM"));
    auto& page = static_cast<CDlgNodePropertyCM&>(*sheet.Tabs()->currentWidget());
    EXPECT_EQ(sheettest::Texts(page.Blocks()),
              (Strings{"Customer (0 of 1)", "Complaint (0 of 3)", "More Fields (0 of 1)"}));
    EXPECT_EQ(sheettest::Texts(page.NeededFields()),
              (Strings{"Carrier", "CustomerCity", "CustomerName", "CustomerStreet", "DeliveryDate"}));
    Pick(page.Blocks(), QStringLiteral("Customer (0 of 1)"));
    Pick(page.ContentFields(), QStringLiteral("Name"));
    EXPECT_FALSE(page.ConnectButton()->isEnabled());
    Pick(page.NeededFields(), QStringLiteral("CustomerName"));
    Click(page.ConnectButton());
    Pick(page.Blocks(), QStringLiteral("Complaint (0 of 3)"));
    Pick(page.ContentFields(), QStringLiteral("Date"));
    Pick(page.NeededFields(), QStringLiteral("DeliveryDate"));
    Click(page.ConnectButton());
    EXPECT_EQ(sheettest::Texts(page.ContentFields()),
              (Strings{"Date <=> DeliveryDate", "Subject", "Text"}));
    Shoot(sheet, QStringLiteral("ConnectedCM"));
    // Undone again: the needed field is offered once more.
    Pick(page.ContentFields(), QStringLiteral("Date <=> DeliveryDate"));
    Click(page.DisconnectButton());
    EXPECT_EQ(page.NeededFields()->findItems(QStringLiteral("DeliveryDate"), Qt::MatchExactly).size(),
              1);
    EXPECT_EQ(sheettest::Texts(page.Blocks())[0], "Customer (1 of 1)");
    sheettest::Choose(page.Type(), QStringLiteral("Control"));
    Ok(sheet);
  });
  EXPECT_EQ(Node("Carrier statement")->Attributes().outContentManagement,
            Strings{"CustomerName <=> Customer_Name"});

  // Saved, closed and opened again.
  MessageBoxWatcher boxes;
  Key(Qt::Key_S);
  ASSERT_FALSE(Doc().Session().IsModified()) << boxes.Texts().join('|').toStdString();
  frame()->MdiArea()->closeAllSubWindows();
  ProcessEvents();
  OpenWorkflow(QStringLiteral("Complaint Handling"));
  const velk::NodeAttributes& loaded = Node("Carrier statement")->Attributes();
  EXPECT_EQ(loaded.outContentManagement, Strings{"CustomerName <=> Customer_Name"});
  EXPECT_EQ(loaded.outContentManagementType, 1);
  Sheet("Carrier statement", [](CDlgNodeProperty& sheet) {
    ClickTab(sheet, QStringLiteral("Outgoing CM"));
    auto& page = static_cast<CDlgNodePropertyCM&>(*sheet.Tabs()->currentWidget());
    EXPECT_EQ(sheettest::Texts(page.Blocks())[0], "Customer (1 of 1)");
    EXPECT_EQ(page.NeededFields()->findItems(QStringLiteral("CustomerName"), Qt::MatchExactly).size(),
              0);
  });
}

TEST_F(ExternalPagesTest, ATemplateConnectsAgainWhatResetUndidAndAdhocStoresNone) {
  OpenWorkflow(QStringLiteral("Version 2.0"));
  velk::CNode* receive = Node("Receive order");
  ASSERT_NE(receive, nullptr);
  const Strings stored = receive->Attributes().outContentManagement;
  ASSERT_EQ(stored.size(), 2u);
  Sheet("Receive order", [](CDlgNodeProperty& sheet) {
    ClickTab(sheet, QStringLiteral("Incoming CM"));
    auto& page = static_cast<CDlgNodePropertyCM&>(*sheet.Tabs()->currentWidget());
    Click(page.findChild<QPushButton*>("reset"));
    EXPECT_EQ(page.NeededFields()->count(), 2);
    sheettest::OnNextModal<CDlgSelectCMTemplate>([](CDlgSelectCMTemplate& dialog) {
      EXPECT_EQ(dialog.Names()->currentText(), QStringLiteral("Credit check to Borealis"));
      sheettest::Choose(dialog.Names(), QStringLiteral("Order to Acme"));
      EXPECT_EQ(sheettest::Texts(dialog.Fields()),
                (Strings{"Customer_Name <=> CustomerName", "Order_Amount <=> Amount"}));
      Shoot(dialog, QStringLiteral("Template"));
      ClickOk(dialog);
    });
    Click(page.findChild<QPushButton*>("applyTemplate"));
    EXPECT_EQ(page.NeededFields()->count(), 0);
    Ok(sheet);
  });
  EXPECT_EQ(receive->Attributes().outContentManagement, stored);

  Sheet("Receive order", [](CDlgNodeProperty& sheet) {
    ClickTab(sheet, QStringLiteral("Incoming CM"));
    auto& page = static_cast<CDlgNodePropertyCM&>(*sheet.Tabs()->currentWidget());
    sheettest::Choose(page.Type(), QStringLiteral("Adhoc"));
    EXPECT_FALSE(page.Blocks()->isEnabled());
    Ok(sheet);
  });
  EXPECT_TRUE(receive->Attributes().outContentManagement.empty());
  EXPECT_EQ(receive->Attributes().outContentManagementType, 2);
}

TEST_F(ExternalPagesTest, ALeafMissingFromTheDirectoryIsReported) {
  OpenWorkflow(QStringLiteral("Complaint Handling"));
  velk::CNode* carrier = Node("Carrier statement");
  velk::NodeAttributes a = carrier->Attributes();
  a.griId = "00000000000000000000000000000000";
  Doc().SetNodeAttributes(*carrier, a);
  MessageBoxWatcher boxes;
  Sheet("Carrier statement", [&](CDlgNodeProperty& sheet) {
    ClickTab(sheet, QStringLiteral("External Subscribed Workflow"));
    EXPECT_EQ(Text(*sheet.Tabs()->currentWidget(), "canonicalName"), QStringLiteral("Not yet loaded"));
    ClickTab(sheet, QStringLiteral("Incoming CM"));
    auto& page = static_cast<CDlgNodePropertyCM&>(*sheet.Tabs()->currentWidget());
    EXPECT_EQ(page.NeededFields()->count(), 0);
  });
  ASSERT_EQ(boxes.boxes.size(), 1u) << boxes.Texts().join("|").toStdString();
  EXPECT_EQ(boxes.boxes[0].text,
            QStringLiteral("Error: \n\nThe connected GRI ID 00000000000000000000000000000000\nwas "
                           "not found in External Directory Database.\nPlease inform your database "
                           "administrator!"));
}

}  // namespace
