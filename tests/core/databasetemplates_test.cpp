// The design each kind of database is created with: its views, their keys and
// selections, its forms, and how the kind is recognised again.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/repositoryfixture.h"

namespace velk {
namespace {

class DatabaseTemplatesTest : public RepositoryTest {
 protected:
  // Number of documents `view` finds under `key`.
  long Found(LNDatabase& db, const char* view, const std::string& key) {
    LNViewFolder folder;
    db.GetViewFolder(view, &folder);
    folder.Open();
    long count = 0;
    folder.Find(key, nullptr, &count);
    return count;
  }
};

const DatabaseKind kAllKinds[] = {
    DatabaseKind::ApplicationEnvironment, DatabaseKind::Tracking, DatabaseKind::ProcessDefinitions,
    DatabaseKind::Infrastructure,         DatabaseKind::Gateway,  DatabaseKind::ExternalDirectory};

TEST_F(DatabaseTemplatesTest, EveryKindIsRecognisedByItsOwnViewOnly) {
  for (DatabaseKind kind : kAllKinds) {
    const DatabaseTemplate& design = TemplateOf(kind);
    SCOPED_TRACE(design.cliName);
    EXPECT_EQ(KindFromCliName(design.cliName), kind);
    EXPECT_EQ(design.views.front().name, DesignViewOf(kind));
    LNDatabase db = NewDatabaseOfKind(kind, std::string(design.cliName) + ".nsf");
    EXPECT_EQ(db.GetTitle(), design.defaultTitle);
    EXPECT_EQ(DetectKindByViews(db), kind);
    for (DatabaseKind other : kAllKinds) {
      const std::vector<std::string> names = db.GetViewNames();
      const bool present = std::count(names.begin(), names.end(), DesignViewOf(other)) > 0;
      EXPECT_EQ(present, other == kind) << DesignViewOf(other);
    }
    std::vector<LNForm> forms;
    db.GetForms(&forms);
    EXPECT_EQ(forms.size(), design.forms.size());
  }
  EXPECT_EQ(KindFromCliName("AppEnv"), std::nullopt);
  EXPECT_EQ(KindFromCliName(""), std::nullopt);
}

TEST_F(DatabaseTemplatesTest, NoViewsMeansNoKindAndAnExistingFileIsNotTouched) {
  LNDatabase plain = NewDatabaseWithViews("plain.nsf", {});
  EXPECT_EQ(DetectKindByViews(plain), DatabaseKind::None);
  plain.Close();

  LNThrowAllErrorsScope returning(session_, false);
  LNDatabase again;
  EXPECT_EQ(
      CreateDatabaseOfKind(session_, DatabaseKind::Infrastructure, "plain.nsf", {}, {}, &again),
      LNERR_FILE_EXISTS);
  session_.GetDatabase("plain.nsf", &again);
  ASSERT_EQ(again.Open(), LNNOERROR);
  EXPECT_EQ(again.GetTitle(), "Purpose-made");
  EXPECT_TRUE(again.GetViewNames().empty());
}

TEST_F(DatabaseTemplatesTest, ProcessDefinitionViewsKeepHeadersAndTasksApart) {
  LNDatabase db = NewDatabaseOfKind(DatabaseKind::ProcessDefinitions, "procdef.nsf");
  // The header writes "WorkFlowID", tasks "WorkflowID": keys match either spelling.
  AddRows(db, forms::kHeader, {"Type", "WorkFlowID", "Version"},
          {"Order Handling;W1;1", "Order Handling;W1;2"});
  AddRows(db, forms::kWorkflowStructure, {"Type", "WorkflowID"}, {"Order Handling;W1"});
  AddRows(db, forms::kText, {"WorkflowID", "Text"}, {"W1;Note"});
  EXPECT_EQ(Found(db, views::kHeaderById, "W1"), 2);
  EXPECT_EQ(Found(db, views::kHeaderByName, "Order Handling"), 2);
  EXPECT_EQ(Found(db, views::kHeaderByName, "W1"), 0);
  EXPECT_EQ(Found(db, views::kWorkflowStructure, "W1"), 1);
  EXPECT_EQ(Found(db, views::kText, "W1"), 1);
}

TEST_F(DatabaseTemplatesTest, LeafViewsFindGriLeafsOnlyAndRolesAreGrouped) {
  LNDatabase extdir = NewDatabaseOfKind(DatabaseKind::ExternalDirectory, "extdir.nsf");
  AddRows(extdir, forms::kGriLeaf, {"HeaderID", "LeafID"}, {"00000A01;L1", "00000A01;L2"});
  AddRows(extdir, forms::kIriLeaf, {"LeafID", "WorkflowID"}, {"L1;W1"});
  EXPECT_EQ(Found(extdir, views::kGriLeaf, "00000A01"), 2);
  EXPECT_EQ(Found(extdir, views::kGriLeafId, "L1"), 1);
  EXPECT_EQ(Found(extdir, views::kIriLeaf, "L1"), 1);

  LNDatabase infra = NewDatabaseOfKind(DatabaseKind::Infrastructure, "infra.nsf");
  AddRows(infra, forms::kRole, {"Name", "Parameter"}, {"Clerk;A", "Clerk;B"});
  LNViewFolder roles;
  infra.GetViewFolder(views::kRoles, &roles);
  roles.Open();
  EXPECT_TRUE(roles.IsCategorized());
  EXPECT_EQ(roles.GetEntryCount(), 3);  // one category row and two documents
}

}  // namespace
}  // namespace velk
