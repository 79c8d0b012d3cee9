// "Item Properties" of the demo External Directory's items.

#include <QLabel>
#include <QLineEdit>

#include "dialogs/ui/extdirdialog.h"
#include "dialogs/ui/extdirsheet.h"
#include "extdir/extdirdata.h"
#include "extdir/extdiritems.h"
#include "extdir/extdirtree.h"
#include "modelerfixture.h"

namespace {

using velk::CExtDirItem;

class ItemSheetTest : public ModelerTest {
 protected:
  void SetUp() override {
    OpenWorkflow(QStringLiteral("Travel Request"));
    ASSERT_NE(Active(), nullptr);
    data = Doc().Databases().externalDirectory.repository;
    ASSERT_NE(data, nullptr);
    tree = std::make_unique<velk::CExtDirTree>(*data);
    for (auto* header : data->ItemsOf<velk::CExtDirItemGRIProcView>()) header->LoadLeafs();
  }

  CExtDirItem& Item(const char* className, const std::string& label) {
    for (const auto& item : data->Items())
      if (item->GetClassName() == std::string(className) && item->Label() == label) return *item;
    ADD_FAILURE() << className << " " << label;
    return *data->Items().front();
  }
  // Runs the item's sheet; `act` edits it and presses OK or Cancel.
  void RunSheet(CExtDirItem& item, const std::function<void(CDlgExtDir&)>& act) {
    sheettest::WithModal<CDlgExtDir>([&] { ShowExtDirItemProperties(frame(), item, tree.get()); },
                                     act);
  }
  static void SetEdit(CDlgExtDir& sheet, const char* name, const char* text) {
    auto* edit = sheet.Tabs()->currentWidget()->findChild<QLineEdit*>(QLatin1String(name));
    ASSERT_NE(edit, nullptr) << name;
    edit->setText(QString::fromLatin1(text));
  }

  velk::CExtDirData* data = nullptr;
  std::unique_ptr<velk::CExtDirTree> tree;
};

// Each editable page: an edit, then Cancel changes nothing; the same with OK
// changes the item, marks it modified and refreshes its label.
TEST_F(ItemSheetTest, EditablePagesWriteOnOkAndNotOnCancel) {
  // Class, label, sheet title, edit and new label. A folder marks what is below
  // it modified too: the leaf comes first. A process view header is renamed end
  // to end.
  const std::tuple<const char*, const char*, const char*, const char*, const char*> cases[] = {
      {"CExtDirItemGRILeaf", "Order Handling", "Published Item Properties", "name", "Orders In"},
      {"CExtDirItemGRIFolder", "Domestic", "Folder Properties", "folderName", "Home Market"},
      {"CExtDirItemGRIOrg", "Acme Logistics", "Organization Header Properties", "orgName",
       "Acme Freight"},
  };
  for (const auto& [className, label, title, edit, newLabel] : cases) {
    CExtDirItem& item = Item(className, label);
    for (bool ok : {false, true}) {
      RunSheet(item, [&](CDlgExtDir& sheet) {
        EXPECT_EQ(sheet.windowTitle(), QString::fromLatin1(title));
        if (ok) shelltest::Picture(sheet, sheet.windowTitle());
        SetEdit(sheet, edit, newLabel);
        if (ok) ClickOk(sheet);
      });
      EXPECT_EQ(std::tuple(item.Label(), item.treeNode->Text(), item.modified),
                std::tuple(ok ? newLabel : label, ok ? newLabel : label, ok))
          << className;
    }
  }
  // Leafs are stored under their folder path and name: renames reach it.
  EXPECT_EQ(
      static_cast<velk::CExtDirItemGRILeaf&>(Item("CExtDirItemGRILeaf", "Orders In")).LeafName,
      "Orders/Home Market/Orders In");
  // The organisation's process views follow its new name.
  auto& logistics = static_cast<velk::CExtDirItemGRIProcView&>(
      Item("CExtDirItemGRIProcView", "Logistics Services"));
  EXPECT_EQ(std::tuple(logistics.OrgName, logistics.modified), std::tuple("Acme Freight", true));
}

TEST_F(ItemSheetTest, LeafFieldsAndPublishingAreWrittenOnOk) {
  auto& leaf = static_cast<velk::CExtDirItemGRILeaf&>(Item("CExtDirItemGRILeaf", "Order Handling"));
  ASSERT_FALSE(leaf.InputFields.empty());
  const auto readers = leaf.PublishReader;
  shelltest::MessageBoxWatcher boxes;
  RunSheet(leaf, [&](CDlgExtDir& sheet) {
    EXPECT_EQ(sheet.Tabs()->count(), 4);
    SetEdit(sheet, "version", "100000");
    sheet.Tabs()->setCurrentIndex(1);
    EXPECT_EQ(sheet.Tabs()->tabText(sheet.Tabs()->currentIndex()), QStringLiteral("Basics"))
        << "a version out of range keeps the page";
    SetEdit(sheet, "version", "7");
    sheettest::ClickTab(sheet.Tabs(), QStringLiteral("Fields"));
    shelltest::Picture(sheet, "Published Item Properties-Fields");
    QWidget* fields = sheet.Tabs()->currentWidget();
    auto* input = fields->findChild<QTreeWidget*>("inputFields");
    EXPECT_EQ(input->topLevelItemCount(), 2);
    EXPECT_EQ(fields->findChild<QComboBox*>("outputDocumentType")->currentText(),
              QStringLiteral("Order Confirmation"));
    sheettest::Choose(fields->findChild<QComboBox*>("inputDocumentType"),
                      QStringLiteral("Purchase Order"));
    EXPECT_EQ(input->topLevelItemCount(), 9) << "customer, order head and order line fields";
    sheettest::ClickTab(sheet.Tabs(), QStringLiteral("Publish To"));
    shelltest::Picture(sheet, "Published Item Properties-Publish To");
    auto* mode = sheet.Tabs()->currentWidget()->findChild<QComboBox*>("publishTo");
    EXPECT_EQ(mode->currentText(), QStringLiteral("Publish selective"));
    sheettest::Choose(mode, QStringLiteral("Publish to all"));
    EXPECT_FALSE(
        sheet.Tabs()->currentWidget()->findChild<QListWidget*>("organisations")->isEnabled());
    ClickOk(sheet);
  });
  EXPECT_EQ(boxes.Texts(),
            QStringList{QStringLiteral("Please enter an integer between 0 and 99999.")});
  EXPECT_EQ(std::tuple(leaf.Version, leaf.InputDocTypeID, leaf.OutputDocTypeID, leaf.PublishTo),
            std::tuple(7, "DT-ORDER", "DT-CONFIRM", 0));
  EXPECT_TRUE(leaf.InputFields.empty());
  EXPECT_EQ(leaf.PublishReader, readers) << "the entries stay with publish to all";
}

TEST_F(ItemSheetTest, PersonsAndRequestsAreShownAndNotChanged) {
  // Class, label, object name of a shown value, its text, and the number of tabs.
  const std::tuple<const char*, const char*, const char*, const char*, int> cases[] = {
      {"CExtDirItemExtRegOrg", "Lisa Wong", "city", "Zurich", 1},
      {"CExtDirItemEIDM", "Credit check", "status", "Submitted", 3},
      {"CExtDirItemEIDMOrg", "Borealis Bank", "reader", "Borealis Bank Readers", 1},
  };
  for (const auto& [className, label, value, shown, tabs] : cases) {
    CExtDirItem& item = Item(className, label);
    RunSheet(item, [&](CDlgExtDir& sheet) {
      EXPECT_EQ(sheet.Tabs()->count(), tabs) << className;
      shelltest::Picture(sheet, sheet.windowTitle());
      auto* text = sheet.Tabs()->currentWidget()->findChild<QLabel*>(QLatin1String(value));
      ASSERT_NE(text, nullptr) << className;
      EXPECT_EQ(text->text(), QString::fromLatin1(shown));
      ClickOk(sheet);
    });
    EXPECT_FALSE(item.modified) << className;
  }
}

}  // namespace
