// The task sheet filled from the demo repository, as a workflow's loaded
// repositories fill it. With VELK_SCREENSHOT_DIR set, every page is also saved
// there as a picture (sheet-*.png) for a look at the layout.

#include <QDir>
#include <QTabWidget>
#include <QTemporaryDir>

#include "dialogs/ui/nodeproperty.h"
#include "gui/sheetfixture.h"
#include "gui/shellfixture.h"
#include "repository/demodata.h"
#include "repository/processdefdb.h"
#include "repository/store/lnnotes.h"

namespace {

using namespace sheettest;

class DemoSheetTest : public SheetTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    ASSERT_EQ(session_.Init(410), LNNOERROR);
    velk::WorkflowDatabases databases;
    for (const velk::DemoResult& r : velk::CreateDemoRepository(ui, session_, {})) {
      if (r.kind == velk::DatabaseKind::Infrastructure)
        infrastructure_ = std::make_unique<velk::CInfrastructureDb>(doc.UserInterface(), session_,
                                                                    r.path, "", &doc);
      if (r.kind == velk::DatabaseKind::ApplicationEnvironment)
        application_ = std::make_unique<velk::CApplicationEnvDb>(doc.UserInterface(), session_,
                                                                 r.path, "", &doc);
      if (r.kind == velk::DatabaseKind::ProcessDefinitions)
        processes_ = std::make_unique<velk::CProcessDefDb>(
            doc.UserInterface(), session_, r.path, "", &doc, velk::HeadersFrom({r.path, ""}));
    }
    ASSERT_TRUE(infrastructure_ && application_ && processes_);
    databases.infrastructure.repository = infrastructure_.get();
    databases.applicationEnvironment.repository = application_.get();
    databases.processDefinitions.repository = processes_.get();
    doc.SetDatabases(databases);
    lists = velk::ListsOfWorkflow(doc);
  }
  void TearDown() override { session_.Term(); }

  // Saves the widget's picture when pictures are asked for.
  static void Shoot(QWidget& widget, const QString& name) {
    const QByteArray dir = qgetenv("VELK_SCREENSHOT_DIR");
    QApplication::processEvents();
    const QPixmap picture = widget.grab();
    EXPECT_FALSE(picture.isNull());
    if (!dir.isEmpty()) {
      EXPECT_TRUE(picture.save(QDir(QString::fromLocal8Bit(dir)).filePath(name + ".png")));
    }
  }

  velk::CNode* IncomingTask() {
    velk::CNode* node = AddTask(velk::NodeKind::In, [](velk::NodeAttributes& a) {
      a.name = "Receive purchase order";
      a.freeText =
          "The customer's order arrives from the partner portal and is checked for completeness.";
      a.duration = 2;
      a.durationUnit = 1;
      a.performerType = 2;
      a.member = "Order Desk";
      a.teamManager = "Ann Lee/Sales/Marvelund";
      a.readers = {"Carlos Mendes/Sales/Marvelund", "Sales/North", "Clerk"};
      a.objects = {"Purchase Order|GF_PurchaseOrder", "Credit Report|GF_CreditReport"};
      a.folderObjects = {"Delivery Note|GF_DeliveryNote", "Invoice|GF_Invoice"};
      a.activities = {"Check customer data", "Confirm receipt", "Forward to credit check"};
      a.activityFlag = true;
      a.resources = {"Company Car", "Notebook Pool"};
    });
    doc.SetNodeCodeText(*node, "3");
    return node;
  }

  QTemporaryDir dir_;
  shelltest::ScopedEnv dataDir_{"VELK_DATA_DIR", QFile::encodeName(dir_.path())};
  LNNotesSession session_;
  std::unique_ptr<velk::CInfrastructureDb> infrastructure_;
  std::unique_ptr<velk::CApplicationEnvDb> application_;
  std::unique_ptr<velk::CProcessDefDb> processes_;
};

TEST_F(DemoSheetTest, EveryPageOfAnInTaskFillsFromTheWorkflowsRepositories) {
  ASSERT_FALSE(lists.persons.empty());
  ASSERT_FALSE(lists.forms.empty());
  ASSERT_FALSE(lists.resources.empty());
  velk::CNode* node = IncomingTask();
  CDlgNodeProperty sheet(QStringLiteral("Task Properties"), doc, *node, lists, directory);
  sheet.show();
  for (int i = 0; i < sheet.Tabs()->count(); ++i) {
    sheet.Tabs()->setCurrentIndex(i);
    ASSERT_EQ(sheet.Tabs()->currentIndex(), i);
    Shoot(sheet, QStringLiteral("sheet-%1-%2")
                     .arg(i + 1)
                     .arg(sheet.Tabs()->tabText(i).remove(QLatin1Char(' '))));
  }
  auto* person = sheet.findChild<QComboBox*>(QStringLiteral("person"));
  EXPECT_EQ(person->count(), static_cast<int>(lists.persons.size()));
  EXPECT_EQ(sheet.findChild<QComboBox*>(QStringLiteral("primaryForm"))->currentText(),
            QStringLiteral("Purchase Order|GF_PurchaseOrder"));
  const velk::NodeAttributes before = node->Attributes();
  sheet.accept();
  // Every page shown and nothing changed (the sorted lists held sorted names).
  EXPECT_EQ(node->Attributes(), before);
  EXPECT_TRUE(ui.messages.empty()) << MessageTexts()[0];
}

}  // namespace
