// The External Directory window of the running modeler: its tree of the demo
// directory, lazy leafs, its commands and menus, drags both ways and the EIDM
// requests taken through their states.

#include <QLineEdit>
#include <QMimeData>

#include "app/ui/clipboardformats.h"
#include "app/ui/statusline.h"
#include "extdir/extdirdata.h"
#include "extdir/extdiritems.h"
#include "extdir/ui/extdirimages.h"
#include "extdir/ui/extdirview.h"
#include "modelerfixture.h"

namespace {

using shelltest::MessageBoxWatcher;
using shelltest::ProcessEvents;

const QStringList kSales = {"Workflows Published By Us (Internal)", "Marvelund", "Sales Processes"};

class ExtDirEndToEndTest : public ModelerTest {
 protected:
  // Tasks dragged out of workflow windows are kept for the test.
  ExtDirEndToEndTest()
      : ModelerTest([this](ShellCollaborators& parts) {
          parts.editor.startDrag = [this](QWidget*, std::unique_ptr<QMimeData> data) {
            dragged = std::move(data);
          };
        }) {}

  CExtDirView* OpenDirectory() {
    Trigger(cmd::ExternalDirectory);
    return frame()->findChild<CExtDirView*>();
  }
  // The command's button in the directory's toolbar, else its menu entry.
  void Trigger(int command, Qt::KeyboardModifiers keys = {}) {
    ProcessEvents();
    frame()->activateWindow();
    frame()->UpdateCommandUI();
    if (QWidget* button =
            frame()->ToolBar(CMainFrame::ExtDirBar)->widgetForAction(frame()->Action(command)))
      QTest::mouseClick(button, Qt::LeftButton, keys);
    else
      frame()->Action(command)->trigger();
    ProcessEvents();
  }
  // The widget item at a path of labels from the top.
  static QTreeWidgetItem* At(CExtDirView* view, const QStringList& path) {
    QTreeWidgetItem* item = view->invisibleRootItem();
    for (const QString& label : path) {
      QTreeWidgetItem* parent = std::exchange(item, nullptr);
      for (int i = 0; i < parent->childCount() && !item; ++i)
        if (parent->child(i)->text(0) == label) item = parent->child(i);
      if (!item) return nullptr;
    }
    return item;
  }
  // The directory window comes to the front, as a click into it brings it.
  static QPoint Centre(CExtDirView* view, QTreeWidgetItem* item) {
    if (auto* window = qobject_cast<QMdiSubWindow*>(view->parentWidget()))
      window->mdiArea()->setActiveSubWindow(window);
    ProcessEvents();
    view->scrollToItem(item);
    return view->visualItemRect(item).center();
  }
  // A click, or with `twice` a double click, as the mouse sends them.
  static void Click(CExtDirView* view, QTreeWidgetItem* item, bool twice = false) {
    const QPoint at = Centre(view, item);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
    if (twice) {
      QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
      QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, at);
    }
    ProcessEvents();
  }
  // Right-clicks `item`: the entries of the menu that opens, `choose` picked.
  static QStringList RightClick(CExtDirView* view, QTreeWidgetItem* item,
                                const QString& choose = {}) {
    const QPoint at = Centre(view, item);
    const auto seen = OnNextPopup(choose);
    QTest::mouseClick(view->viewport(), Qt::RightButton, {}, at);
    ProcessEvents();
    return *seen;
  }
  // A drag carrying `data` let go at `at` on `target`.
  static bool Drop(QWidget* target, QPoint at, const QMimeData& data) {
    const Qt::DropActions allowed = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
    QDragEnterEvent enter(at, allowed, &data, Qt::LeftButton, {});
    QApplication::sendEvent(target, &enter);
    QDragMoveEvent move(at, allowed, &data, Qt::LeftButton, {});
    QApplication::sendEvent(target, &move);
    if (!move.isAccepted()) return false;
    QDropEvent drop(at, allowed, &data, Qt::LeftButton, {});
    QApplication::sendEvent(target, &drop);
    ProcessEvents();
    return drop.isAccepted();
  }
  // The workflow window, opened before the directory's, becomes the active one.
  void ActivateWorkflow() {
    frame()->MdiArea()->setActiveSubWindow(frame()->MdiArea()->subWindowList().first());
    ProcessEvents();
  }
  // CTRL and a press on the task: the workflow window's drag of it.
  std::unique_ptr<QMimeData> DragTaskOut(const std::string& name) {
    ActivateWorkflow();
    const QPoint at = Centre(*Node(name));
    QTest::mousePress(View()->viewport(), Qt::LeftButton, Qt::ControlModifier, at);
    QTest::mouseRelease(View()->viewport(), Qt::LeftButton, Qt::ControlModifier, at);
    ProcessEvents();
    return std::move(dragged);  // empty when nothing was dragged
  }
  template <class Item>
  static Item* ItemOf(CExtDirView* view, QTreeWidgetItem* item) {
    velk::CExtDirTreeNode* node = view->NodeOf(item);
    return node ? dynamic_cast<Item*>(node->Item()) : nullptr;
  }

  using ModelerTest::Centre;
  std::unique_ptr<QMimeData> dragged;
};

TEST_F(ExtDirEndToEndTest,
       TheDemoDirectoryShowsSectionsPicturesAndMenusReadsLeafsOnceAndSavesAndReloads) {
  EXPECT_FALSE(frame()->Action(cmd::ExtDirSave)->isEnabled()) << "no directory window yet";
  CExtDirView* view = OpenDirectory();
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->parentWidget()->windowTitle(), QStringLiteral("External Directory"));
  OpenDirectory();
  EXPECT_EQ(frame()->findChildren<CExtDirView*>().size(), 1u) << "one window only";
  frame()->UpdateCommandUI();
  EXPECT_TRUE(frame()->Action(cmd::ExtDirSave)->isEnabled());
  Trigger(cmd::ExtDirExpandAll);
  std::string labels = view->Tree().Print();
  for (std::size_t at; (at = labels.find(" [")) != std::string::npos;)
    labels.erase(at, labels.find(']', at) - at + 1);
  std::string shown;
  for (QTreeWidgetItemIterator it(view); *it; ++it) {
    int depth = 0;
    for (QTreeWidgetItem* up = (*it)->parent(); up; up = up->parent()) ++depth;
    shown += std::string(depth * 2, ' ') + (*it)->text(0).toStdString() + "\n";
    EXPECT_TRUE((*it)->isExpanded() || (*it)->childCount() == 0) << shown;
    EXPECT_EQ((*it)->icon(0).cacheKey(), ExtDirImage(view->NodeOf(*it)->Image()).cacheKey());
  }
  EXPECT_EQ(shown, labels) << "every node shown, expanded, in the tree's order";
  EXPECT_EQ(At(view, kSales)->childCount(), 0) << "without SHIFT no leafs are read";

  // Which entries each kind and state enables is the core's; here the menu built
  // from them, for the selected item wherever the right click was.
  Click(view,
        At(view, {"Ordered Sub-Workflows", "Ordered By Us", "Borealis Bank", "Credit check"}));
  QTreeWidgetItem* other =
      At(view, {"Ordered Sub-Workflows", "Ordered By Partners", "Acme Logistics", "Order intake"});
  EXPECT_EQ(RightClick(view, other),
            QStringList({"-&New Folder", "&Delete", "|", "-&Submit", "&Cancel", "|",
                         "DEMO: Copy to ext. section", "|", "|", "&Properties"}));
  Click(view, At(view, {"Ordered Sub-Workflows"}));
  EXPECT_TRUE(RightClick(view, other).isEmpty()) << "a section has no menu";
  Trigger(cmd::ExtDirCollapseAll);
  EXPECT_FALSE(At(view, {"Ordered Sub-Workflows"})->isExpanded());

  // A double-click on a process view reads its leafs, once; the second only closes it.
  velk::CExtDirData& data = view->Document().Data();
  QTreeWidgetItem* sales = At(view, kSales);
  Click(view, sales, true);
  EXPECT_TRUE(sales->isExpanded());
  EXPECT_EQ(sales->childCount(), 2);
  Click(view, sales, true);
  EXPECT_FALSE(sales->isExpanded());
  EXPECT_EQ(data.ItemsOf<velk::CExtDirItemGRILeaf>().size(), 3u);
  Trigger(cmd::ExtDirExpandAll, Qt::ShiftModifier);
  EXPECT_TRUE(At(view, {kSales[0], kSales[1], kSales[2], "Orders", "Domestic", "Order Handling"}));

  // A new folder, being empty, is not stored; saved and reloaded the directory is
  // read anew. A deletion and a renaming stored: the save question's test.
  Click(view, At(view, kSales));
  Trigger(cmd::ExtDirNewFolder);
  EXPECT_TRUE(At(view, kSales + QStringList{"New Folder"}));
  EXPECT_TRUE(frame()->StatusLine()->MessageText().contains(QStringLiteral("empty folder is gone")))
      << "the designer is told what becomes of an empty folder";
  Trigger(cmd::ExtDirSave);
  Trigger(cmd::ExtDirReload);
  EXPECT_EQ(view->NodeOf(At(view, kSales))->Image(), 8) << "read anew";
  Click(view, At(view, kSales), true);
  EXPECT_FALSE(At(view, kSales + QStringList{"New Folder"}));
  EXPECT_TRUE(At(view, kSales + QStringList{"Orders", "Domestic", "Order Handling"}));

  // Closing the window forgets the leafs.
  view->parentWidget()->close();
  ProcessEvents();
  EXPECT_EQ(data.ItemsOf<velk::CExtDirItemGRILeaf>().size(), 0u);
}

// Closing the window, or the program, with unsaved changes asks as workflow
// windows do: Cancel keeps the window, No drops the changes, Yes stores them.
TEST_F(ExtDirEndToEndTest, ClosingWithUnsavedChangesAsksWhetherToSaveThem) {
  const QStringList complaint = kSales + QStringList{"Complaints", "Complaint Handling"};
  MessageBoxWatcher asking;
  auto openSales = [&] {
    CExtDirView* view = OpenDirectory();
    Click(view, At(view, kSales), true);
    return view;
  };
  auto closeWith = [&](QMessageBox::StandardButton answer, int command) {
    asking.answers.push_back(answer);
    Trigger(command);
    return frame()->findChild<CExtDirView*>() != nullptr;
  };
  for (auto [answer, kept] :
       {std::pair{QMessageBox::No, true}, std::pair{QMessageBox::Yes, false}}) {
    CExtDirView* view = openSales();
    ASSERT_TRUE(At(view, complaint));
    Click(view, At(view, complaint));
    Trigger(cmd::ExtDirDelete);
    EXPECT_TRUE(closeWith(QMessageBox::Cancel, cmd::FileClose)) << "Cancel keeps the window";
    EXPECT_FALSE(closeWith(answer, cmd::FileClose));
    view = openSales();
    EXPECT_EQ(At(view, complaint) != nullptr, kept) << "No drops the deletion, Yes stores it";
    Trigger(cmd::FileClose);  // nothing changed: no question
  }
  ASSERT_EQ(asking.boxes.size(), 4u) << "asked only with changes";
  EXPECT_EQ(asking.boxes[0].text, QStringLiteral("Save changes to the External Directory?"));
  EXPECT_EQ(asking.boxes[0].buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);

  // On exit the same: a published process view renamed in its property sheet,
  // then the program closed.
  CExtDirView* view = OpenDirectory();
  Click(view, At(view, kSales));
  sheettest::OnNextModal<QDialog>([](QDialog& sheet) {
    for (QLineEdit* edit : sheet.findChildren<QLineEdit*>())
      if (edit->text() == QStringLiteral("Sales Processes")) {
        edit->selectAll();
        QTest::keyClicks(edit, QStringLiteral("Sales Flows"));
      }
    ClickOk(sheet);
  });
  Trigger(cmd::ExtDirProperties);
  EXPECT_TRUE(closeWith(QMessageBox::Cancel, cmd::AppExit) && frame()->isVisible())
      << "Cancel keeps the program";
  closeWith(QMessageBox::Yes, cmd::AppExit);
  EXPECT_FALSE(frame()->isVisible());
  EXPECT_EQ(asking.boxes.size(), 6u);
  app.reset();
  app = StartModeler(env.Options(), StandardShellCollaborators());
  view = OpenDirectory();
  EXPECT_TRUE(At(view, {kSales[0], kSales[1], "Sales Flows"})) << "stored on exit";
}

TEST_F(ExtDirEndToEndTest, PersonsAndLeafsDraggedOntoAWorkflowSetItsTasks) {
  OpenWorkflow(QStringLiteral("Complaint Handling"));
  CExtDirView* view = OpenDirectory();
  Trigger(cmd::ExtDirExpandAll, Qt::ShiftModifier);
  auto* person = ItemOf<velk::CExtDirItemExtRegOrg>(
      view,
      At(view, {"External Registered Organisations", "Acme Logistics", "Sales", "Sara Jones"}));
  auto* offered = ItemOf<velk::CExtDirItemGRILeaf>(
      view, At(view, {"Workflows Offered By Partners (External)", "Acme Logistics",
                      "Logistics Services", "Transport", "Parcel Delivery"}));
  auto* ours = ItemOf<velk::CExtDirItemGRILeaf>(
      view, At(view, kSales + QStringList{"Complaints", "Complaint Handling"}));
  ASSERT_TRUE(person && offered && ours);
  Qt::DropActions allowed;
  const auto personData = view->DragDataOf(*person, &allowed);
  EXPECT_EQ(allowed, Qt::CopyAction);
  const auto leafData = view->DragDataOf(*offered, &allowed);
  EXPECT_EQ(allowed, Qt::CopyAction | Qt::MoveAction);
  EXPECT_TRUE(view->DragDataOf(*ours)->hasFormat(ClipboardMimeType(ClipFormat::InternalViewLeaf)));

  ActivateWorkflow();
  EXPECT_TRUE(Drop(View()->viewport(), Centre(*Node("Expert opinion")), *personData));
  EXPECT_EQ(Node("Expert opinion")->Attributes().member, person->FullName);
  EXPECT_TRUE(Drop(View()->viewport(), Centre(*Node("Carrier follow-up")), *leafData));
  EXPECT_EQ(Node("Carrier follow-up")->Attributes().griId, offered->ID);
  EXPECT_EQ(Node("Carrier follow-up")->Attributes().member, "Acme Logistics");
}

TEST_F(ExtDirEndToEndTest, AnInTaskDroppedOnAPublishedProcessViewIsPublished) {
  OpenWorkflow(QStringLiteral("Version 2.0"));
  CExtDirView* view = OpenDirectory();
  Click(view, At(view, kSales), true);
  const auto plain = DragTaskOut("Check order");
  ASSERT_TRUE(plain);
  EXPECT_FALSE(Drop(view->viewport(), Centre(view, At(view, kSales)), *plain))
      << "a plain task is not published";
  const auto in = DragTaskOut("Receive order");
  ASSERT_TRUE(in && in->hasFormat(ClipboardMimeType(ClipFormat::InternalInTask)));
  ASSERT_TRUE(Drop(view->viewport(), Centre(view, At(view, kSales)), *in));
  auto* leaf =
      ItemOf<velk::CExtDirItemGRILeaf>(view, At(view, kSales + QStringList{"Receive order"}));
  ASSERT_NE(leaf, nullptr);
  EXPECT_FALSE(leaf->ID.empty() || leaf->isNew) << "stored at once";
  ActivateWorkflow();
  EXPECT_EQ(Node("Receive order")->Attributes().griId, leaf->ID);
  EXPECT_EQ(Node("Receive order")->Picture(), velk::NodePicture::InPublished);

  // Closing the workflow leaves the leaf without a task but with its workflow.
  const std::string workflowId = Doc().Header().workflowId;
  MessageBoxWatcher asking;
  asking.answers.push_back(QMessageBox::No);
  Active()->close();
  ProcessEvents();
  EXPECT_EQ(leaf->publishedTask, nullptr);
  EXPECT_EQ(leaf->workflowId, workflowId);
}

// The states themselves and the questions' texts are the core's; here the
// menus, the drop and the windows the answer opens.
TEST_F(ExtDirEndToEndTest, AnEidmRequestGoesThroughItsStatesAndIsAnsweredWithAStoredWorkflow) {
  MessageBoxWatcher asking;
  OpenWorkflow(QStringLiteral("ICDR: Credit check"));
  velk::NodeAttributes goal = Node("Ask the bank")->Attributes();
  goal.freeText = "Rate the customer";  // an order needs its goal
  Doc().SetNodeAttributes(*Node("Ask the bank"), goal);
  CExtDirView* view = OpenDirectory();
  Trigger(cmd::ExtDirExpandAll);
  const auto task = DragTaskOut("Ask the bank");
  ASSERT_TRUE(task && task->hasFormat(ClipboardMimeType(ClipFormat::SubflowOrderedByUs)));
  const QStringList byUs = {"Ordered Sub-Workflows", "Ordered By Us", "Borealis Bank"};
  ASSERT_TRUE(Drop(view->viewport(), Centre(view, At(view, byUs)), *task));
  QTreeWidgetItem* item = At(view, byUs + QStringList{"Ask the bank"});
  auto* request = ItemOf<velk::CExtDirItemEIDM>(view, item);
  ASSERT_NE(request, nullptr);
  // `entry` of the item's menu, its question answered with `answer`.
  auto choose = [&](QTreeWidgetItem* at, const char* entry,
                    QMessageBox::StandardButton answer = QMessageBox::NoButton) {
    Click(view, at);
    if (answer != QMessageBox::NoButton) asking.answers.push_back(answer);
    RightClick(view, at, QString::fromLatin1(entry));
  };
  choose(item, "&Submit", QMessageBox::No);
  EXPECT_EQ(request->ExtClusterStatus, velk::kEidmCreated);
  choose(item, "&Submit", QMessageBox::Yes);
  EXPECT_EQ(request->ExtClusterStatus, velk::kEidmSubmitted);
  EXPECT_EQ(asking.boxes.size(), 2u);

  RightClick(view, item, QStringLiteral("DEMO: Copy to ext. section"));
  QTreeWidgetItem* copyItem =
      At(view, {"Ordered Sub-Workflows", "Ordered By Partners", "Ask the bank"});
  auto* copy = ItemOf<velk::CExtDirItemEIDM>(view, copyItem);
  ASSERT_NE(copy, nullptr);
  choose(copyItem, "&Accept", QMessageBox::Yes);
  ASSERT_EQ(copy->ExtClusterStatus, velk::kEidmPerformed);
  ASSERT_NE(Active(), nullptr);
  EXPECT_EQ(Doc().Header().name, "Answer to EIDM-Request" + copy->ID);
  EXPECT_EQ(copy->ExtClusterWorkflowID, Doc().Header().workflowId);
  EXPECT_FALSE(Doc().Session().IsModified()) << "stored";

  const int windows = frame()->MdiArea()->subWindowList().size();
  choose(copyItem, "&View Workflow");
  ASSERT_EQ(frame()->MdiArea()->subWindowList().size(), windows + 1);
  EXPECT_EQ(Doc().NodeCount(), 2u) << "the stored answer, read back";

  choose(copyItem, "&Deny", QMessageBox::Yes);
  EXPECT_EQ(copy->ExtClusterStatus, velk::kEidmDenied) << "denied even after it was accepted";
}

}  // namespace
