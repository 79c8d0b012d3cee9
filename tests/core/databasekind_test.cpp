// Recognising a database's kind and checking the six default databases.

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "common/headlessservices.h"
#include "core/repositoryfixture.h"
#include "repository/databasekind.h"
#include "repository/databasevalidation.h"

namespace velk {
namespace {

TEST(DatabaseKindTest, FirstProbedViewDecidesTheKind) {
  struct Case {
    std::set<std::string> views;
    DatabaseKind kind;
  } cases[] = {
      {{}, DatabaseKind::None},
      {{"Other"}, DatabaseKind::None},
      {{"($Configuration)"}, DatabaseKind::ApplicationEnvironment},
      {{"(Modeler\\Header)", "($Configuration)"}, DatabaseKind::ApplicationEnvironment},
      {{"(Modeler\\Header)", "(Modeler\\OrgaAgentLastName)"}, DatabaseKind::ProcessDefinitions},
      {{"(Modeler\\ContentManagement)", "(#VELK Modeler#Tracking)"},
       DatabaseKind::ExternalDirectory},
      {{"(#VELK Modeler#Gateway)", "(#VELK Modeler#Tracking)"}, DatabaseKind::Tracking},
      {{"(#VELK Modeler#Gateway)"}, DatabaseKind::Gateway},
  };
  for (const Case& c : cases)
    EXPECT_EQ(KindFromViews([&](const std::string& v) { return c.views.count(v) > 0; }), c.kind);
}

TEST(DatabaseKindTest, LocalServerMeansTheEmptyName) {
  EXPECT_EQ(NormalizeServerName("Local"), "");
  EXPECT_EQ(NormalizeServerName("Hub/Marvelund"), "Hub/Marvelund");
  EXPECT_EQ(NormalizeServerName("local"), "local");
  DatabaseLocations l;
  EXPECT_THROW(l[DatabaseKind::None], std::out_of_range);
}

using DetectTest = RepositoryTest;

TEST_F(DetectTest, KindComesFromTheDesignViewsAndAMissingDatabaseIsReported) {
  NewDatabaseWithViews("app.nsf",
                       {{"($Configuration)", {}, "Form"}, {"(Modeler\\Header)", {}, "Form"}})
      .Close();
  NewDatabaseWithViews("plain.nsf", {{"Other", {}, "Form"}}).Close();
  LNThrowAllErrorsScope throwing(session_, true);
  EXPECT_EQ(DetectDatabaseKind(ui_, session_, "app.nsf", "Local"),
            DatabaseKind::ApplicationEnvironment);
  EXPECT_EQ(DetectDatabaseKind(ui_, session_, "plain.nsf", ""), DatabaseKind::None);
  EXPECT_TRUE(ui_.messages.empty());
  EXPECT_EQ(DetectDatabaseKind(ui_, session_, "missing.nsf", ""), DatabaseKind::None);
  EXPECT_TRUE(session_.GetThrowAllErrors()) << "the throwing mode comes back";
  ASSERT_EQ(ui_.messages.size(), 1u);
  EXPECT_EQ(ui_.messages[0].text.rfind("Document Store Error:\r\n", 0), 0u);
  EXPECT_EQ(ui_.messages[0].icon, MsgIcon::Exclamation);
}

class ValidateTest : public ::testing::Test {
 protected:
  ValidateTest() {
    for (DatabaseKind k : KindProbeOrder()) defaults[k] = {DatabaseShortName(k), ""};
    checks.detectKind = [this](const DatabaseLocation& l) {
      for (DatabaseKind k : KindProbeOrder())
        if (l.fileName == DatabaseShortName(k)) return wrong.count(k) ? DatabaseKind::None : k;
      return DatabaseKind::None;
    };
    checks.runSettingsSheet = [this] { return settingsOk; };
    checks.initialiseDefaultDatabases = [this] { ++initialised; };
  }
  HeadlessServices ui_;
  DatabaseLocations defaults;
  DefaultDatabaseChecks checks;
  std::set<DatabaseKind> wrong;
  bool settingsOk = true;
  int initialised = 0;
};

TEST_F(ValidateTest, WrongDatabasesAreNamedInAFixedOrder) {
  struct Case {
    std::set<DatabaseKind> wrong;
    const char* list;
  } cases[] = {
      {{DatabaseKind::Gateway}, "Gateway DB"},
      {{DatabaseKind::Tracking, DatabaseKind::ApplicationEnvironment},
       "Application DB,Tracking DB"},
      {{DatabaseKind::ProcessDefinitions, DatabaseKind::Infrastructure,
        DatabaseKind::ExternalDirectory},
       "External Directory DB,Organisation DB,Routing DB"},
  };
  for (const Case& c : cases) {
    wrong = c.wrong;
    ui_.messages.clear();
    ui_.answers = {MsgResult::No};
    EXPECT_FALSE(ValidateDefaultDatabases(ui_, defaults, checks));
    ASSERT_EQ(ui_.messages.size(), 2u);
    EXPECT_EQ(ui_.messages[0].text, std::string("Some workflow databases are not correct:") +
                                        c.list + ".\nPlease choose new databases manually.");
    EXPECT_EQ(ui_.messages[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(ui_.messages[1].text,
              "Loading the workflow with wrong databases is not possible. Loading aborted.");
  }
  EXPECT_EQ(initialised, 0);
}

// Right databases are initialised without a question; wrong ones only once new
// ones are chosen in the settings, which are then taken without probing.
TEST_F(ValidateTest, RightDatabasesOrNewOnesChosenInTheSettingsAreInitialised) {
  EXPECT_TRUE(ValidateDefaultDatabases(ui_, defaults, checks));
  EXPECT_TRUE(ui_.messages.empty());
  EXPECT_EQ(ui_.progressValues, (std::vector<int>{0, 15, 30, 45, 60, 75, 0}));
  EXPECT_EQ(ui_.statusTexts.front(), "Validating default databases");

  wrong = {DatabaseKind::Gateway};
  ui_.answers = {MsgResult::Yes};
  EXPECT_TRUE(ValidateDefaultDatabases(ui_, defaults, checks));
  EXPECT_EQ(initialised, 2);
  settingsOk = false;
  ui_.answers = {MsgResult::Yes};
  EXPECT_FALSE(ValidateDefaultDatabases(ui_, defaults, checks));
  EXPECT_EQ(initialised, 2);
  EXPECT_EQ(ui_.waitDepth, 0);
  EXPECT_EQ(ui_.currentStatus(), "");
}

}  // namespace
}  // namespace velk
