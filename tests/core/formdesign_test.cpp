// The forms of each kind of database name every item its documents hold, with
// the type the modeler stores it as; "db check" finds an item stored otherwise.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>

#include "common/headlessservices.h"
#include "repository/databasetemplates.h"
#include "repository/demodata.h"
#include "repository/store/lnencoding.h"

namespace velk {
namespace {

namespace fs = std::filesystem;

class FormDesignTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    std::string pattern = (fs::temp_directory_path() / "velkforms-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
    setenv("VELK_DATA_DIR", dir_.c_str(), 1);
    session_ = new LNNotesSession;
    session_->Init(410);
    HeadlessServices ui;
    results_ = CreateDemoRepository(ui, *session_, {});
  }
  static void TearDownTestSuite() {
    delete session_;
    unsetenv("VELK_DATA_DIR");
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }

  static LNDatabase Open(const DemoResult& result) {
    LNDatabase db;
    session_->GetDatabase(result.path, &db);
    db.Open();
    return db;
  }

  static inline fs::path dir_;
  static inline LNNotesSession* session_ = nullptr;
  static inline std::vector<DemoResult> results_;
};

TEST_F(FormDesignTest, EveryDemoDocumentHoldsOnlyItemsOfItsFormStoredAsTheFormSays) {
  for (const DemoResult& result : results_) {
    SCOPED_TRACE(CliNameOf(result.kind));
    LNDatabase db = Open(result);
    EXPECT_TRUE(MistypedItems(db, result.kind).empty());
    std::vector<LNDocument> documents;
    ASSERT_EQ(db.GetAllDocuments(&documents), LNNOERROR);
    const std::vector<FormDesign>& forms = TemplateOf(result.kind).forms;
    for (LNDocument& doc : documents) {
      doc.Open();
      auto form = std::ranges::find(forms, doc.GetFormName(), &FormDesign::title);
      ASSERT_NE(form, forms.end()) << doc.GetFormName();
      for (std::size_t i = 0; i < doc.GetItemCount(); ++i) {
        const std::string_view item = doc.GetItemName(i);
        if (item == "Form") continue;  // the store's own
        EXPECT_TRUE(std::ranges::any_of(form->fields, [&](const std::string& field) {
          return lnstore::SameName(field, item);
        })) << form->title << ": " << item;
      }
    }
  }
}

TEST_F(FormDesignTest, AnItemStoredOtherwiseThanTheModelerStoresItIsFound) {
  auto procdef = std::ranges::find(results_, DatabaseKind::ProcessDefinitions, &DemoResult::kind);
  LNDatabase db = Open(*procdef);
  std::vector<LNDocument> documents;
  db.GetAllDocuments(&documents);
  auto task = std::ranges::find_if(documents, [](LNDocument& doc) {
    doc.Open();
    return doc.GetFormName() == forms::kWorkflowStructure && doc.HasItem("duration");
  });
  ASSERT_NE(task, documents.end());
  ASSERT_EQ(task->CreateItem(LNItem{"Duration", LNItemType::Text, 0, {"2"}, {}},
                             LNITEMOPTION_REPLACE),
            LNNOERROR);
  ASSERT_EQ(task->Save(), LNNOERROR);

  const std::vector<MistypedItem> found = MistypedItems(db, DatabaseKind::ProcessDefinitions);
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].form, forms::kWorkflowStructure);
  EXPECT_EQ(found[0].noteId, task->GetNoteID());
  EXPECT_EQ(found[0].item, "Duration");
  EXPECT_EQ(found[0].stored, LNItemType::Text);
  EXPECT_EQ(found[0].expected, LNItemType::Numbers);
}

}  // namespace
}  // namespace velk
