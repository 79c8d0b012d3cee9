// The Process Definitions repository: resources, the header list and the
// retirement of stored versions.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/services.h"
#include "repository/fieldaccess.h"
#include "repository/storedversions.h"
#include "storagefixture.h"

namespace velk::testing {
namespace {

class ProcessDefTest : public StorageTest {
 protected:
  void AddResource(const char* name) {
    AddStored(forms::kResource, name ? Items{{"Resource", {name}}} : Items{});
  }
  // A stored version with two tasks and an annotation text.
  void AddWorkflow(const StoredHeader& h) {
    AddHeader(h);
    for (const char* form : {forms::kWorkflowStructure, forms::kWorkflowStructure, forms::kText})
      AddStored(form, {{"WorkflowID", {h.id}}, {"Status", {h.status}}});
  }
  std::vector<std::string> Statuses(const char* view, const std::string& id) {
    LNDatabase db = Open();
    std::vector<std::string> statuses;
    for (const LNDocument& d : Documents(db, view, id)) statuses.push_back(Text(d, "Status"));
    return statuses;
  }
  bool HasEntry(const char* category, Severity severity, const std::string& textPart) {
    for (const InfoEntry& e : ui.infoCenter().entries(category))
      if (e.severity == severity && e.text.find(textPart) != std::string::npos) return true;
    return false;
  }
};

TEST_F(ProcessDefTest, HeadersAreReadWithEveryFieldAndFoundByIdAndName) {
  AddHeader({"Order", "W1", "Active", 3, true, "ICDR"});
  AddHeader({"Order", "W1", "Freeze", 2});
  AddHeader({"Travel", "W2", "Design", 0});
  ASSERT_TRUE(repository->ReadHeaders(false));
  ASSERT_EQ(repository->Headers().size(), 3u);
  const WorkflowHeaderEntry& first = repository->Headers()[0];
  EXPECT_EQ(first, (WorkflowHeaderEntry{"Order", "W1", "Sales", 1, 1, 3, "C1257A1B:0034F2E1", true,
                                        true}));
  EXPECT_EQ(repository->FindHeader("W1")->version, 3) << "first match";
  EXPECT_EQ(repository->FindLastHeader("W1")->version, 2) << "last match";
  EXPECT_EQ(repository->FindHeader("W9"), nullptr);
  EXPECT_EQ(repository->FindHeaderByName("Travel")->workflowId, "W2");
  EXPECT_EQ(repository->HighestVersion("Order"), 3);
  EXPECT_EQ(repository->HighestVersion("Unknown"), -1);
  EXPECT_TRUE(HasEntry(kProcessDefCategory, Severity::Success,
                       "Reading Workflow Headers completed successfully."));

  AddHeader({"Later", "W3", "Design", 0});
  EXPECT_TRUE(repository->ReadHeaders(false));
  EXPECT_EQ(repository->Headers().size(), 3u) << "an existing list stays without force";
  EXPECT_TRUE(repository->ReadHeaders(true));
  EXPECT_EQ(repository->Headers().size(), 4u);
}

TEST_F(ProcessDefTest, HeaderWithoutARequiredItemStopsTheReadingWithItsMessage) {
  struct Case {
    std::vector<std::string> missing;
    const char* named;
  } cases[] = {{{"Type"}, "'Type'"},
               {{"Status"}, "'Status'"},
               {{"Version"}, "'Version'"},
               {{"Status", "Version"}, "'Status'"}};
  for (const Case& c : cases) {
    TearDown();
    SetUp();
    AddHeader({"Good", "W1", "Design", 0});
    AddHeader({"Broken", "W2", "Design", 0}, c.missing);
    AddHeader({"Never read", "W3", "Design", 0});
    EXPECT_FALSE(repository->ReadHeaders(true)) << c.named;
    ASSERT_EQ(repository->Headers().size(), 1u) << "the headers before it stay";
    EXPECT_EQ(repository->Headers()[0].type, "Good");
    const std::string text =
        "The chosen database is not actual Process Definitions Database because\r\ninformation "
        "about workflows cannot be accessed.\r\nIt must have the view: '(Modeler\\Header)'\r\nwith "
        "a field " +
        std::string(c.named) + ".\r\nPlease choose another database.";
    EXPECT_TRUE(HasEntry(kProcessDefCategory, Severity::Error, text)) << c.named;
  }
}

TEST_F(ProcessDefTest, HeaderReadingFailuresAreReportedBySeverity) {
  EXPECT_FALSE(repository->ReadHeaders(true)) << "no header at all";
  EXPECT_TRUE(
      HasEntry(kProcessDefCategory, Severity::Warning,
               "There are no Workflows defined in the database.No Workflow Headers loaded!"));

  LNDatabase other;
  ASSERT_EQ(
      CreateDatabaseOfKind(session, DatabaseKind::Infrastructure, "infra.nsf", "", "", &other),
      LNNOERROR);
  for (auto [file, text] :
       {std::pair{"infra.nsf", "It must have the view: '(Modeler\\Header)'.\r\n"},
        std::pair{"missing.nsf", "cannot be opened anymore."}}) {
    ui.infoCenter().clear();
    headerLocation = {file, ""};
    EXPECT_FALSE(repository->ReadHeaders(true)) << file;
    EXPECT_TRUE(HasEntry(kProcessDefCategory, Severity::Error, text)) << file;
  }
  EXPECT_EQ(ui.currentStatus(), "") << "the status line is reset";
}

TEST_F(ProcessDefTest, ResourcesStopAtADocumentWithoutTheItem) {
  AddResource("Company Car");
  AddResource("Projector");
  CProcessDefDb complete(ui, session, "procdef.nsf", "", nullptr, HeadersFrom({"procdef.nsf", ""}));
  EXPECT_EQ(complete.Resources(), (std::vector<std::string>{"Company Car", "Projector"}));
  EXPECT_EQ(complete.Title(), TemplateOf(DatabaseKind::ProcessDefinitions).defaultTitle);
  EXPECT_EQ(complete.Path(), "procdef.nsf");

  // Without the item it has no key either, so it comes first in the view.
  AddResource(nullptr);
  CProcessDefDb broken(ui, session, "procdef.nsf", "", nullptr, HeadersFrom({"procdef.nsf", ""}));
  EXPECT_TRUE(broken.Resources().empty());
  EXPECT_TRUE(HasEntry(kProcessDefCategory, Severity::Notice,
                       "The choosen database holds no information about resources."));

  CProcessDefDb missing(ui, session, "nothing.nsf", "", nullptr, HeadersFrom({"nothing.nsf", ""}));
  EXPECT_TRUE(missing.Path().empty()) << "nothing is known of a database never opened";
  EXPECT_TRUE(HasEntry(kProcessDefCategory, Severity::Error, "cannot be opened anymore"));
}

TEST_F(ProcessDefTest, RetirementFollowsTheDecisionTable) {
  constexpr int kDesign = 0, kActive = 1, kFreeze = 2, kTemplate = 3, kTesting = 4;
  struct Case {
    const char* stored;
    int version;
    bool referenced;
    int target;
    Retirement expected;
  } cases[] = {
      {"Active", 2, false, kActive, Retirement::Freeze},
      {"Active", 2, false, kDesign, Retirement::None},
      {"Active", 2, false, kTemplate, Retirement::None},
      {"Design", 0, false, kDesign, Retirement::Delete},
      {"Design", 0, false, kActive, Retirement::Delete},
      {"Testing", 1, false, kTesting, Retirement::Delete},
      {"Template", 4, false, kTemplate, Retirement::Freeze},
      {"Template", 4, false, kDesign, Retirement::Delete},
      {"Template", 0, true, kDesign, Retirement::Freeze},
      {"Template", 0, false, kDesign, Retirement::Delete},
      {"Design", 0, false, kFreeze, Retirement::None},
      {"Active", 2, false, kFreeze, Retirement::None},
  };
  int n = 0;
  for (const Case& c : cases) {
    const std::string id = "W" + std::to_string(++n);
    AddHeader({"Flow", id, c.stored, c.version, c.referenced});
    EXPECT_EQ(repository->DecideRetirement(c.target, id), c.expected)
        << c.stored << " v" << c.version << " target " << c.target;
  }
  EXPECT_EQ(repository->DecideRetirement(kDesign, "unknown"), Retirement::None);
}

TEST_F(ProcessDefTest, FreezingMarksAndDeletingRemovesHeaderTasksAndTexts) {
  AddWorkflow({"Order", "ACT", "Active", 2});
  AddWorkflow({"Travel", "DES", "Design", 0});
  AddWorkflow({"Leave", "FRZ", "Design", 0});
  ASSERT_TRUE(repository->ReadHeaders(true));

  SetStatus(doc, WorkflowStatus::Active);
  repository->DeleteOrFreezeWorkflow(doc, "ACT");
  for (const char* view : {views::kHeaderById, views::kWorkflowStructure, views::kText})
    EXPECT_EQ(Statuses(view, "ACT"),
              std::vector<std::string>(view == views::kWorkflowStructure ? 2 : 1, "Freeze"))
        << view;
  EXPECT_EQ(repository->RetiredUsers(),
            (std::vector<std::string>{"Ann Lee/Sales/Marvelund", "Order editor"}));
  EXPECT_EQ(repository->RetiredLastModify().size(), 2u);
  EXPECT_TRUE(
      HasEntry(kFreezingWorkflowCategory, Severity::Success,
               "Freezing Workflow in Process Definitions Database completed successfully."));

  SetStatus(doc, WorkflowStatus::Design);
  repository->DeleteOrFreezeWorkflow(doc, "DES");
  for (const char* view : {views::kHeaderById, views::kWorkflowStructure, views::kText})
    EXPECT_TRUE(Statuses(view, "DES").empty()) << view;
  EXPECT_EQ(repository->FindHeader("DES"), nullptr) << "the deleted header leaves the list";
  EXPECT_TRUE(
      HasEntry(kDeletingWorkflowCategory, Severity::Success,
               "Deleting Workflow in Process Definitions Database completed successfully."));

  SetStatus(doc, WorkflowStatus::Freeze);
  repository->DeleteOrFreezeWorkflow(doc, "FRZ");
  EXPECT_EQ(Statuses(views::kHeaderById, "FRZ"), std::vector<std::string>{"Design"});
  EXPECT_EQ(ui.currentStatus(), "");
}

TEST_F(ProcessDefTest, MissingTextViewOnlyWarnsThatTextsStay) {
  LNDatabase db;
  {
    LNThrowAllErrorsScope throwing(session, true);  // and the database it gives
    session.CreateDatabase("notext.nsf", &db, "No texts");
    db.Open();
    for (const LNViewDesign& view : TemplateOf(DatabaseKind::ProcessDefinitions).views)
      if (view.name != views::kText) db.CreateView(view);
    LNDocument d;
    db.CreateDocument(&d, forms::kHeader);
    SetFieldContent("Type", "Order", d);
    SetFieldContent("WorkflowID", "W1", d);
    SetFieldContent("Status", "Design", d);
    SetFieldIntContent("Version", 0, d);
    d.Save();
    db.Close();
  }
  headerLocation = {"notext.nsf", ""};
  WorkflowDatabases databases = doc.Databases();
  databases.processDefinitions.location = {"notext.nsf", ""};
  doc.SetDatabases(databases);
  repository->DeleteOrFreezeWorkflow(doc, "W1");
  const std::string text =
      "The adjacent text documents for workflow:\r\n\r\n \t\t\tTitle: Order \r\n \t\t\tStatus: "
      "Design \r\n \t\t\tVersion: 0 \r\n \t\t\tin Process Definitions Database notext.nsf \r\n "
      "\t\t\tcould not correctly be deleted.\r\n \t\t\tThis is not critical but takes Hardisk "
      "space.";
  EXPECT_TRUE(HasEntry(kDeletingWorkflowCategory, Severity::Warning, text));
  EXPECT_TRUE(HasEntry(kDeletingWorkflowCategory, Severity::Success, "completed successfully"))
      << "the retirement goes on";
}

// What "db check" calls an error among the stored versions.
TEST(StoredVersionConflictsTest, DuplicateNumbersAndSecondCurrentVersionsAreFound) {
  auto entry = [](const char* type, const char* id, int status, int version) {
    return WorkflowHeaderEntry{type, id, "", status, 0, version, "", false, false};
  };
  constexpr int kDesign = 0, kActive = 1, kFreeze = 2, kTemplate = 3;
  struct Case {
    std::vector<WorkflowHeaderEntry> headers;
    std::vector<std::string> texts;
  } cases[] = {
      // A frozen history and one current version of each kind: clean.
      {{entry("O", "A1", kFreeze, 1), entry("O", "A2", kActive, 2), entry("T", "T", kFreeze, 1),
        entry("T", "T", kTemplate, 2), entry("D", "D", kDesign, 0), entry("D2", "E", kDesign, 0)},
       {}},
      {{entry("O", "A1", kActive, 4), entry("O", "A2", kActive, 4)},
       {"O: version 4 (Active) as A1, version 4 (Active) as A2: The workflow has more than one "
        "Active version: the engine would run them all."}},
      {{entry("T", "T", kFreeze, 2), entry("T", "T", kFreeze, 2), entry("T", "T", kTemplate, 3)},
       {"T: version 2 (Freeze) as T, version 2 (Freeze) as T: Two stored versions share one "
        "workflow id and version number."}},
      {{entry("T", "T", kTemplate, 2), entry("T", "T", kTemplate, 3)},
       {"T: version 2 (Template) as T, version 3 (Template) as T: The workflow id has more than "
        "one current version."}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> texts;
    for (const VersionConflict& v : StoredVersionConflicts(c.headers))
      texts.push_back(v.title + ": " + v.text);
    EXPECT_EQ(texts, c.texts);
  }
}

}  // namespace
}  // namespace velk::testing
