// The settings sheets' database pages without widgets: sorting chosen databases
// into fields, the check when a page is left, the chooser's texts, and the
// initialisation of the default databases.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <deque>
#include <filesystem>
#include <fstream>
#include <map>

#include "common/headlessservices.h"
#include "common/infocenter.h"
#include "core/repositoryfixture.h"
#include "repository/databasecache.h"
#include "repository/databasechoice.h"
#include "repository/databasepages.h"
#include "repository/defaultdatabases.h"

namespace {

using namespace velk;

// Kinds by path; every probe is counted.
struct FakeDetector {
  std::map<std::string, DatabaseKind> kinds;
  std::vector<std::string> probes;
  KindDetector get() {
    return [this](const std::string& path, const std::string& server) {
      probes.push_back(path + "@" + server);
      auto it = kinds.find(path);
      return it == kinds.end() ? DatabaseKind::None : it->second;
    };
  }
};

class DatabasePagesTest : public ::testing::Test {
 protected:
  HeadlessServices ui_;
  FakeDetector detector;
};

TEST_F(DatabasePagesTest, OneChoiceOfThreeKindsFillsFieldsOnBothPages) {
  detector.kinds = {{"app.nsf", DatabaseKind::ApplicationEnvironment},
                    {"gw.nsf", DatabaseKind::Gateway},
                    {"orga.nsf", DatabaseKind::Infrastructure}};
  DatabaseLocations fields;
  const auto assigned =
      AssignChosenDatabases(ui_, ";app.nsf;gw.nsf;orga.nsf", detector.get(), fields);
  EXPECT_EQ(assigned,
            (std::vector<DatabaseKind>{DatabaseKind::ApplicationEnvironment, DatabaseKind::Gateway,
                                       DatabaseKind::Infrastructure}));
  EXPECT_EQ(fields[DatabaseKind::ApplicationEnvironment], (DatabaseLocation{"app.nsf", "Local"}));
  EXPECT_EQ(fields[DatabaseKind::Gateway], (DatabaseLocation{"gw.nsf", "Local"}));
  EXPECT_EQ(fields[DatabaseKind::Infrastructure], (DatabaseLocation{"orga.nsf", "Local"}));
  EXPECT_EQ(PageOfKind(DatabaseKind::Gateway), DatabasePage::External);
  EXPECT_EQ(PageOfKind(DatabaseKind::Infrastructure), DatabasePage::Internal);
  EXPECT_TRUE(ui_.messages.empty());
}

TEST_F(DatabasePagesTest, DatabaseOfNoKindIsReportedAndChangesNoField) {
  DatabaseLocations fields;
  fields[DatabaseKind::Tracking] = {"old.nsf", "Hub"};
  const DatabaseLocations before = fields;
  EXPECT_TRUE(AssignChosenDatabases(ui_, "Hub;notes/plain.nsf", detector.get(), fields).empty());
  EXPECT_EQ(fields, before);
  ASSERT_EQ(ui_.messages.size(), 1u);
  EXPECT_EQ(ui_.messages[0].text, "\"notes/plain.nsf\" on \"Hub\" is not a VELK database!");
  EXPECT_EQ(detector.probes, (std::vector<std::string>{"notes/plain.nsf@Hub"}));
}

TEST_F(DatabasePagesTest, WrongKindAsksUntilIgnoredOrRightAndAbortKeepsThePage) {
  DatabaseLocations fields;
  fields[DatabaseKind::ApplicationEnvironment] = {"a.nsf", "Local"};
  fields[DatabaseKind::Infrastructure] = {"i.nsf", "Local"};
  fields[DatabaseKind::ProcessDefinitions] = {"p.nsf", "Local"};
  detector.kinds = {{"a.nsf", DatabaseKind::ApplicationEnvironment},
                    {"p.nsf", DatabaseKind::ProcessDefinitions}};
  struct Case {
    std::deque<MsgResult> answers;
    bool kindAppearsOnRetry;
    bool accepted;
    std::size_t infrastructureProbes;
  } cases[] = {
      {{MsgResult::Abort}, false, false, 1},
      {{MsgResult::Retry, MsgResult::Retry, MsgResult::Abort}, false, false, 3},
      {{MsgResult::Retry, MsgResult::Ignore}, false, true, 2},
      {{MsgResult::Retry}, true, true, 2},
  };
  for (const Case& c : cases) {
    detector.probes.clear();
    detector.kinds.erase("i.nsf");
    ui_.messages.clear();
    ui_.answers = c.answers;
    KindDetector detect = [&, inner = detector.get()](const std::string& p, const std::string& s) {
      if (c.kindAppearsOnRetry && p == "i.nsf" && !ui_.messages.empty())
        detector.kinds["i.nsf"] = DatabaseKind::Infrastructure;
      return inner(p, s);
    };
    EXPECT_EQ(CheckDatabasePage(ui_, DatabasePage::Internal, fields, detect), c.accepted);
    EXPECT_EQ(std::count(detector.probes.begin(), detector.probes.end(), "i.nsf@"),
              static_cast<long>(c.infrastructureProbes));
    ASSERT_FALSE(ui_.messages.empty());
    const HeadlessServices::Message& box = ui_.messages[0];
    EXPECT_EQ(std::tie(box.text, box.title, box.icon, box.buttons),
              std::tuple("\"i.nsf\" on \"Local\" is not an VELK-Organisation-Database!", "Error",
                         MsgIcon::Stop, MsgButtons::AbortRetryIgnore));
    // Probing stops at an abort; the database after it is probed only once accepted.
    EXPECT_EQ(std::count(detector.probes.begin(), detector.probes.end(), "p.nsf@"),
              c.accepted ? 1 : 0);
  }
}

TEST_F(DatabasePagesTest, TakingOverStoresTheLocalServerAsEmpty) {
  DatabaseLocations fields;
  fields[DatabaseKind::Gateway] = {"gw.nsf", "Local"};
  fields[DatabaseKind::Tracking] = {"tr.nsf", "Hub"};
  fields[DatabaseKind::ApplicationEnvironment] = {"other-page.nsf", "Local"};
  DatabaseLocations settings;
  TakeOverDatabasePage(DatabasePage::External, fields, settings);
  EXPECT_EQ(settings[DatabaseKind::Gateway], (DatabaseLocation{"gw.nsf", ""}));
  EXPECT_EQ(settings[DatabaseKind::Tracking], (DatabaseLocation{"tr.nsf", "Hub"}));
  EXPECT_EQ(settings[DatabaseKind::ApplicationEnvironment], DatabaseLocation{});
}

TEST(DatabaseChoiceTest, ChosenTextsAndListEntries) {
  EXPECT_EQ(ParseChosenDatabases(";a.nsf;sub/b.nsf"),
            (ChosenDatabases{"", {"a.nsf", "sub/b.nsf"}}));
  EXPECT_EQ(ParseChosenDatabases("Hub;c.nsf;;"), (ChosenDatabases{"Hub", {"c.nsf"}}));
  EXPECT_EQ(ChosenDatabasesText("", "a.nsf;b.nsf"), ";a.nsf;b.nsf");
  EXPECT_EQ(ChosenDatabasesText("Hub", ""), "");
  // A database in a subfolder keeps the subfolder, so joining finds it again.
  EXPECT_EQ(DatabaseEntryText("/data/acme/gateway.nsf", "/data"), "acme/gateway.nsf");
  EXPECT_EQ(DatabaseEntryText("/data/x.nsf", "/data/"), "x.nsf");
  EXPECT_EQ(DatabaseEntryText("acme/gateway.nsf", ""), "acme/gateway.nsf");
  EXPECT_EQ(DatabaseEntryText("/elsewhere/acme/gateway.nsf", "/data"), "gateway.nsf");
  EXPECT_EQ(JoinDatabasePath("/data", "acme/gateway.nsf"), "/data/acme/gateway.nsf");
  EXPECT_EQ(JoinDatabasePath("", "x.nsf"), "x.nsf");
}

TEST(DatabaseChoiceTest, PathsAreLowerCasedUnlessThatNamesAnotherFile) {
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("velkchoice-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir / "Data");
  std::ofstream(dir / "Data" / "Demo.nsf") << "x";
  std::ofstream(dir / "lower.nsf") << "x";
  const ChooserPlace local{"", dir.string()};
  // The file system tells cases apart: lower case would name no file.
  EXPECT_EQ(ChosenPathCase("Data/Demo.nsf", local), "Data/Demo.nsf");
  EXPECT_EQ(ChosenPathCase((dir / "Data" / "Demo.nsf").string(), local),
            (dir / "Data" / "Demo.nsf").string());
  EXPECT_EQ(JoinChosenPaths({"lower.nsf", "Data/Demo.nsf"}, local), "lower.nsf;Data/Demo.nsf");
  // Server paths are lower-cased as always.
  EXPECT_EQ(ChosenPathCase("Mail/Box.NSF", {"Hub", dir.string()}), "mail/box.nsf");
  std::filesystem::remove_all(dir);
}

using DefaultDatabasesTest = RepositoryTest;

TEST_F(DefaultDatabasesTest, InitialisedInTheirOrderWithTheProgressSteps) {
  DatabaseCache cache(ui_, session_, HeadersFrom({"procdef.nsf", ""}), CacheExtDirLinks);
  ui_.infoCenter().addEntry(kInitializingDatabasesCategory, "Earlier", "old", 0, Severity::Notice);
  DatabaseLocations defaults;
  for (DatabaseKind kind : KindProbeOrder()) defaults[kind] = {"missing.nsf", ""};
  InitializeDefaultDatabases(cache, defaults);
  EXPECT_EQ(ui_.progressValues, (std::vector<int>{0, 20, 40, 60, 80, 90, 0}));
  std::vector<std::string> titles;
  for (const InfoEntry& e : Entries(kInitializingDatabasesCategory))
    if (e.title.rfind("Initializing", 0) == 0 || e.title == "Earlier") titles.push_back(e.title);
  std::sort(titles.begin(), titles.end());
  EXPECT_EQ(titles,
            (std::vector<std::string>{
                "Initializing Application Environment Database",
                "Initializing External Directory Database", "Initializing Gateway Database",
                "Initializing Infrastructure Database", "Initializing Process Definitions Database",
                "Initializing Tracking Database"}));
  EXPECT_EQ(cache.Count(DatabaseKind::Gateway), 1u);
}

}  // namespace
