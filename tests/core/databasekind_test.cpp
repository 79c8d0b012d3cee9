// Recognising a database's kind and checking the six default databases.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <set>
#include <string>

#include "app/headlessservices.h"
#include "repository/databasekind.h"
#include "repository/databasevalidation.h"
#include "repository/store/lnnotes.h"

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

class DetectTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "velkkind-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
    setenv("VELK_DATA_DIR", dir_.c_str(), 1);
    ASSERT_EQ(session_.Init(410), LNNOERROR);
  }
  void TearDown() override {
    unsetenv("VELK_DATA_DIR");
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }
  void MakeDatabase(const std::string& path, std::initializer_list<const char*> views) {
    LNThrowAllErrorsScope returning(false);
    LNDatabase db;
    ASSERT_EQ(session_.CreateDatabase(path, &db, "Test"), LNNOERROR);
    ASSERT_EQ(db.Open(), LNNOERROR);
    for (const char* view : views) ASSERT_EQ(db.CreateView({view, {}, "Form"}), LNNOERROR);
    db.Close();
  }
  ScopedHeadlessServices ui;
  std::filesystem::path dir_;
  LNNotesSession session_;
};

TEST_F(DetectTest, KindComesFromTheDesignViewsOfTheDatabase) {
  MakeDatabase("app.nsf", {"($Configuration)", "(Modeler\\Header)"});
  MakeDatabase("plain.nsf", {"Other"});
  LNThrowAllErrorsScope throwing(true);
  EXPECT_EQ(DetectDatabaseKind(session_, "app.nsf", "Local"), DatabaseKind::ApplicationEnvironment);
  EXPECT_EQ(DetectDatabaseKind(session_, "plain.nsf", ""), DatabaseKind::None);
  EXPECT_TRUE(LNGetThrowAllErrors()) << "the throwing mode comes back";
  EXPECT_TRUE(ui->messages.empty());
}

TEST_F(DetectTest, DatabaseThatCannotBeOpenedIsReportedAndHasNoKind) {
  LNThrowAllErrorsScope throwing(true);
  EXPECT_EQ(DetectDatabaseKind(session_, "missing.nsf", ""), DatabaseKind::None);
  ASSERT_EQ(ui->messages.size(), 1u);
  EXPECT_EQ(ui->messages[0].text.rfind("Lotus Notes Error:\r\n", 0), 0u);
  EXPECT_EQ(ui->messages[0].icon, MsgIcon::Exclamation);
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
  ScopedHeadlessServices ui;
  DatabaseLocations defaults;
  DefaultDatabaseChecks checks;
  std::set<DatabaseKind> wrong;
  bool settingsOk = true;
  int initialised = 0;
};

TEST_F(ValidateTest, RightDatabasesAreInitialisedWithoutQuestion) {
  EXPECT_TRUE(ValidateDefaultDatabases(defaults, checks));
  EXPECT_EQ(initialised, 1);
  EXPECT_TRUE(ui->messages.empty());
  EXPECT_EQ(ui->progressValues, (std::vector<int>{0, 15, 30, 45, 60, 75, 0}));
  EXPECT_EQ(ui->statusTexts.front(), "Validating default databases");
  EXPECT_EQ(ui->currentStatus(), "");
}

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
    ui->messages.clear();
    ui->answers = {MsgResult::No};
    EXPECT_FALSE(ValidateDefaultDatabases(defaults, checks));
    ASSERT_EQ(ui->messages.size(), 2u);
    EXPECT_EQ(ui->messages[0].text, std::string("Some workflow databases are not correct:") +
                                        c.list + ".\nPlease choose new databases manually.");
    EXPECT_EQ(ui->messages[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(ui->messages[1].text,
              "Loading the workflow with wrong databases is not possible. Loading aborted.");
  }
  EXPECT_EQ(initialised, 0);
}

TEST_F(ValidateTest, NewDatabasesChosenInTheSettingsAreTakenWithoutProbing) {
  wrong = {DatabaseKind::Gateway};
  ui->answers = {MsgResult::Yes};
  EXPECT_TRUE(ValidateDefaultDatabases(defaults, checks));
  EXPECT_EQ(initialised, 1);
  EXPECT_EQ(ui->waitDepth, 0);

  settingsOk = false;
  ui->answers = {MsgResult::Yes};
  EXPECT_FALSE(ValidateDefaultDatabases(defaults, checks));
  EXPECT_EQ(initialised, 1);
  EXPECT_EQ(ui->currentStatus(), "");
}

}  // namespace
}  // namespace velk
