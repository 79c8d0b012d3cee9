// The design each kind of database is created with: its views, their keys and
// selections, its forms, and how the kind is recognised again.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "repository/databasetemplates.h"

namespace velk {
namespace {

class DatabaseTemplatesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "velktemplates-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
    setenv("VELK_DATA_DIR", dir_.c_str(), 1);
    LNSetThrowAllErrors(true);
    session_.Init(410);
  }
  void TearDown() override {
    LNSetThrowAllErrors(false);
    unsetenv("VELK_DATA_DIR");
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }

  LNDatabase Create(DatabaseKind kind, const std::string& path) {
    LNDatabase db;
    EXPECT_EQ(CreateDatabaseOfKind(session_, kind, path, {}, {}, &db), LNNOERROR);
    db.Open();
    return db;
  }

  // Saves a document of `form` with one-element text items.
  void Add(LNDatabase& db, const char* form,
           const std::vector<std::pair<const char*, std::string>>& items) {
    LNDocument doc;
    db.CreateDocument(&doc, form);
    for (const auto& [name, value] : items) doc.CreateItem(name, LNText(value));
    doc.Save();
  }

  // Number of documents `view` finds under `key`.
  long Found(LNDatabase& db, const char* view, const std::string& key) {
    LNViewFolder folder;
    db.GetViewFolder(view, &folder);
    folder.Open();
    long count = 0;
    folder.Find(key, nullptr, &count);
    return count;
  }

  std::filesystem::path dir_;
  LNNotesSession session_;
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
    LNDatabase db = Create(kind, std::string(design.cliName) + ".nsf");
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

TEST_F(DatabaseTemplatesTest, TwoIdentifyingViewsCountAsTheEarlierProbedKind) {
  struct Case {
    DatabaseKind created;
    DatabaseKind addedView;
    DatabaseKind detected;
  } cases[] = {
      {DatabaseKind::ProcessDefinitions, DatabaseKind::ApplicationEnvironment,
       DatabaseKind::ApplicationEnvironment},
      {DatabaseKind::ApplicationEnvironment, DatabaseKind::ProcessDefinitions,
       DatabaseKind::ApplicationEnvironment},
      {DatabaseKind::Tracking, DatabaseKind::ExternalDirectory, DatabaseKind::ExternalDirectory},
      {DatabaseKind::Gateway, DatabaseKind::Tracking, DatabaseKind::Tracking},
      {DatabaseKind::Gateway, DatabaseKind::Infrastructure, DatabaseKind::Infrastructure},
  };
  int n = 0;
  for (const Case& c : cases) {
    LNDatabase db = Create(c.created, "both" + std::to_string(++n) + ".nsf");
    db.CreateView(LNViewDesign{DesignViewOf(c.addedView), {"Any"}, "Key"});
    EXPECT_EQ(DetectKindByViews(db), c.detected) << n;
  }
}

TEST_F(DatabaseTemplatesTest, NoViewsMeansNoKindAndAnExistingFileIsNotTouched) {
  LNDatabase plain;
  session_.CreateDatabase("plain.nsf", &plain, "Plain");
  plain.Open();
  EXPECT_EQ(DetectKindByViews(plain), DatabaseKind::None);
  plain.Close();

  LNThrowAllErrorsScope returning(false);
  LNDatabase again;
  EXPECT_EQ(
      CreateDatabaseOfKind(session_, DatabaseKind::Infrastructure, "plain.nsf", {}, {}, &again),
      LNERR_FILE_EXISTS);
  session_.GetDatabase("plain.nsf", &again);
  ASSERT_EQ(again.Open(), LNNOERROR);
  EXPECT_EQ(again.GetTitle(), "Plain");
  EXPECT_TRUE(again.GetViewNames().empty());
}

// Every view the modeler opens by name, with the key it is found by.
TEST_F(DatabaseTemplatesTest, EveryViewTheModelerOpensIsInItsTemplate) {
  struct Expected {
    DatabaseKind kind;
    const char* view;
    const char* form;
    const char* key;
    bool categorized;
  };
  const Expected expected[] = {
      {DatabaseKind::ApplicationEnvironment, "($Configuration)", "Configuration", "ConfigKey",
       false},
      {DatabaseKind::ApplicationEnvironment, "(Z. Runtime\\Configuration)", "Configuration",
       "ConfigKey", false},
      {DatabaseKind::ProcessDefinitions, "(Modeler\\Header)", "Header", "WorkflowID", false},
      {DatabaseKind::ProcessDefinitions, "Modeler\\Header", "Header", "Type", false},
      {DatabaseKind::ProcessDefinitions, "(Modeler\\Workflow Structure)", "Workflow Structure",
       "WorkflowID", false},
      {DatabaseKind::ProcessDefinitions, "(Modeler\\Text)", "Text", "WorkflowID", false},
      {DatabaseKind::ProcessDefinitions, "(Modeler\\Resource)", "Resource", "Resource", false},
      {DatabaseKind::Infrastructure, "(Modeler\\OrgaAgentLastName)", "Person", "LastName", false},
      {DatabaseKind::Infrastructure, "(Modeler\\Workgroups)", "Workgroup", "NewWorkgroup", false},
      {DatabaseKind::Infrastructure, "(Modeler\\Units)", "Unit", "NewArrangement", false},
      {DatabaseKind::Infrastructure, "(Modeler\\Roles)", "Role", "Name", true},
      {DatabaseKind::ExternalDirectory, "(Modeler\\ContentManagement)", "Content Management",
       "ContentManagementName", false},
      {DatabaseKind::ExternalDirectory, "(Modeler\\ContentBlocks)", "ContentBlock",
       "ContentBlockID", false},
      {DatabaseKind::ExternalDirectory, "(Modeler\\DocumentTypes)", "DocumentType",
       "DocumentTypeID", false},
      {DatabaseKind::ExternalDirectory, "People", "Person", "LastName", false},
      {DatabaseKind::ExternalDirectory, "(Modeler\\EIDM)", "ExtClusterSpec", "ExtClusterName",
       false},
      {DatabaseKind::ExternalDirectory, "(Modeler\\EIDMOrg)", "ExtOrganization", "ExtOrganization",
       false},
      {DatabaseKind::ExternalDirectory, "(Modeler\\GRIHeader)", "GRIHeader", "OrgName", false},
      {DatabaseKind::ExternalDirectory, "(Modeler\\GRILeaf)", "GRILeaf", "HeaderID", false},
      {DatabaseKind::ExternalDirectory, "(Modeler\\GRILeafID)", "GRILeaf", "LeafID", false},
      {DatabaseKind::ExternalDirectory, "(Modeler\\IRILeaf)", "IRILeaf", "LeafID", false},
      {DatabaseKind::Gateway, "(#VELK Modeler#Gateway)", "GatewayMessage", "MessageID", false},
      {DatabaseKind::Tracking, "(#VELK Modeler#Tracking)", "TrackingRecord", "InstanceID", false},
  };
  std::size_t views = 0;
  for (const DatabaseTemplate& t : DatabaseTemplates()) views += t.views.size();
  EXPECT_EQ(views, std::size(expected));
  for (const Expected& e : expected) {
    const auto& list = TemplateOf(e.kind).views;
    auto it = std::find_if(list.begin(), list.end(),
                           [&](const LNViewDesign& v) { return v.name == e.view; });
    ASSERT_NE(it, list.end()) << e.view;
    EXPECT_EQ(it->forms, std::vector<std::string>{e.form}) << e.view;
    EXPECT_EQ(it->keyItem, e.key) << e.view;
    EXPECT_EQ(it->categorized, e.categorized) << e.view;
  }
}

TEST_F(DatabaseTemplatesTest, ProcessDefinitionViewsKeepHeadersAndTasksApart) {
  LNDatabase db = Create(DatabaseKind::ProcessDefinitions, "procdef.nsf");
  // The header writes "WorkFlowID", tasks "WorkflowID": keys match either spelling.
  Add(db, forms::kHeader, {{"Type", "Order Handling"}, {"WorkFlowID", "W1"}, {"Version", "1"}});
  Add(db, forms::kHeader, {{"Type", "Order Handling"}, {"WorkFlowID", "W1"}, {"Version", "2"}});
  Add(db, forms::kWorkflowStructure, {{"Type", "Order Handling"}, {"WorkflowID", "W1"}});
  Add(db, forms::kText, {{"WorkflowID", "W1"}, {"Text", "Note"}});
  EXPECT_EQ(Found(db, views::kHeaderById, "W1"), 2);
  EXPECT_EQ(Found(db, views::kHeaderByName, "Order Handling"), 2);
  EXPECT_EQ(Found(db, views::kHeaderByName, "W1"), 0);
  EXPECT_EQ(Found(db, views::kWorkflowStructure, "W1"), 1);
  EXPECT_EQ(Found(db, views::kText, "W1"), 1);
}

TEST_F(DatabaseTemplatesTest, LeafViewsFindGriLeafsOnlyAndRolesAreGrouped) {
  LNDatabase extdir = Create(DatabaseKind::ExternalDirectory, "extdir.nsf");
  Add(extdir, forms::kGriLeaf, {{"HeaderID", "00000A01"}, {"LeafID", "L1"}});
  Add(extdir, forms::kGriLeaf, {{"HeaderID", "00000A01"}, {"LeafID", "L2"}});
  Add(extdir, forms::kIriLeaf, {{"LeafID", "L1"}, {"WorkflowID", "W1"}});
  EXPECT_EQ(Found(extdir, views::kGriLeaf, "00000A01"), 2);
  EXPECT_EQ(Found(extdir, views::kGriLeafId, "L1"), 1);
  EXPECT_EQ(Found(extdir, views::kIriLeaf, "L1"), 1);

  LNDatabase infra = Create(DatabaseKind::Infrastructure, "infra.nsf");
  Add(infra, forms::kRole, {{"Name", "Clerk"}, {"Parameter", "A"}});
  Add(infra, forms::kRole, {{"Name", "Clerk"}, {"Parameter", "B"}});
  LNViewFolder roles;
  infra.GetViewFolder(views::kRoles, &roles);
  roles.Open();
  EXPECT_TRUE(roles.IsCategorized());
  EXPECT_EQ(roles.GetEntryCount(), 3);  // one category row and two documents
}

}  // namespace
}  // namespace velk
