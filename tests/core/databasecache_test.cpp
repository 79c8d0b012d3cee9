#include "repository/databasecache.h"

#include <gtest/gtest.h>

#include "core/repositoryfixture.h"
#include "model/workflowdoc.h"
#include "repository/applicationenvdb.h"
#include "repository/gatewaydb.h"
#include "repository/infrastructuredb.h"
#include "repository/trackingdb.h"

namespace velk {
namespace {

using Strings = std::vector<std::string>;

class DatabaseCacheTest : public RepositoryTest {
 protected:
  void SetUp() override {
    RepositoryTest::SetUp();
    for (DatabaseKind kind : KindProbeOrder()) {
      const std::string file = std::string(CliNameOf(kind)) + ".nsf";
      NewDatabaseOfKind(kind, file).Close();
      locations_[kind] = {file, ""};
    }
  }

  WorkflowDatabases Workflow() const {
    WorkflowDatabases databases;
    databases.SetLocations(locations_);
    return databases;
  }

  // Status texts that only a load shows.
  bool AnythingLoaded() {
    for (const std::string& text : ui_.statusTexts)
      if (text.starts_with("Loading") || text.starts_with("Opening") || text.starts_with("loading"))
        return true;
    return false;
  }

  DatabaseLocations locations_;
  DatabaseCache cache_{ui_, session_, HeadersFrom({"procdef.nsf", ""}), CacheExtDirLinks};
};

TEST_F(DatabaseCacheTest, TwoWorkflowsOnTheSameDatabasesShareTheObjectsAndTheSecondLoadsNothing) {
  WorkflowDatabases first = Workflow();
  cache_.InitializeDatabases(first, nullptr);
  ASSERT_TRUE(first.AllInitialised()) << "every kind has its loader";
  EXPECT_EQ(first.infrastructure.repository->Path(), "infra.nsf");
  EXPECT_EQ(ui_.progressValues, (std::vector<int>{0, 20, 40, 60, 80, 90, 0}));
  EXPECT_EQ(ui_.progressMaximum, 100);
  EXPECT_FALSE(ui_.progressActive);

  ui_.statusTexts.clear();
  WorkflowDatabases second = Workflow();
  cache_.InitializeDatabases(second, nullptr);
  EXPECT_EQ(second, first) << "the External Directory's object too";
  EXPECT_FALSE(AnythingLoaded());
  for (DatabaseKind kind : KindProbeOrder()) EXPECT_LE(cache_.Count(kind), 1u);
  EXPECT_EQ(Summary(kInitializingDatabasesCategory),
            (Strings{"0|Initializing Application Environment Database",
                     "0|Initializing Process Definitions Database",
                     "0|Initializing Infrastructure Database",
                     "0|Initializing External Directory Database",
                     "0|Initializing Tracking Database", "0|Initializing Gateway Database"}));
  EXPECT_EQ(Entries(kInitializingDatabasesCategory)[2].text,
            "The Infrastructure Database is initialized successfully.");
}

TEST_F(DatabaseCacheTest, WorkflowTakesTheDefaultDatabasesAndIsRecordedAsTheirUser) {
  CWorkflowDoc first{ui_}, second{ui_};
  CopyDefaultDatabases(first, locations_);
  EXPECT_EQ(first.Databases().Locations(), locations_);
  cache_.InitializeDatabases(first);
  CopyDefaultDatabases(second, locations_);
  cache_.InitializeDatabases(second);
  CInfrastructureDb* infra = first.Databases().infrastructure.repository;
  ASSERT_NE(infra, nullptr);
  EXPECT_EQ(second.Databases().infrastructure.repository, infra);
  EXPECT_EQ(infra->Users(), (std::vector<CWorkflowDoc*>{&first, &second}));

  // Another Infrastructure Database for the second workflow: its slot lets go.
  DatabaseLocations other = locations_;
  other[DatabaseKind::Infrastructure] = {"elsewhere.nsf", ""};
  CopyDefaultDatabases(second, other);
  EXPECT_FALSE(second.Databases().infrastructure.IsInitialised());
  EXPECT_TRUE(second.Databases().gateway.IsInitialised());
}

// Without its links a data set would take the requests we ordered for partners'
// and write IRI documents without the office mail: the program stops instead.
TEST_F(DatabaseCacheTest, AMissingExternalDirectoryLinkStopsTheProgram) {
  ExtDirLinks noMail = CacheExtDirLinks(cache_);
  noMail.officeMail = nullptr;
  const HeaderSource headers = HeadersFrom(locations_[DatabaseKind::ProcessDefinitions]);
  EXPECT_DEATH(DatabaseCache(ui_, session_, headers, nullptr), "'External Directory links'");
  EXPECT_DEATH(DatabaseCache(ui_, session_, headers, [noMail](DatabaseCache&) { return noMail; }),
               "office mail");
  EXPECT_DEATH(CExtDirData(ui_, session_, locations_[DatabaseKind::ExternalDirectory].fileName, "",
                           nullptr, ExtDirLinks{}),
               "stored workflows");
}

TEST_F(DatabaseCacheTest, FileNameAndServerAreComparedExactly) {
  NewDatabaseOfKind(DatabaseKind::Infrastructure, "Infra.nsf").Close();
  CInfrastructureDb* local = cache_.FindOrLoad<CInfrastructureDb>({"infra.nsf", ""});
  CInfrastructureDb* otherCase = cache_.FindOrLoad<CInfrastructureDb>({"Infra.nsf", ""});
  CInfrastructureDb* otherServer = cache_.FindOrLoad<CInfrastructureDb>({"infra.nsf", "Hub/Acme"});
  EXPECT_EQ(cache_.Count(DatabaseKind::Infrastructure), 3u);
  EXPECT_EQ(cache_.FindOrLoad<CInfrastructureDb>({"infra.nsf", ""}), local);
  EXPECT_EQ(cache_.FindOrLoad<CInfrastructureDb>({"Infra.nsf", ""}), otherCase);
  EXPECT_EQ(cache_.Objects<CInfrastructureDb>(),
            (std::vector<CInfrastructureDb*>{local, otherCase, otherServer}));
}

TEST_F(DatabaseCacheTest, ObjectThatCouldNotOpenItsDatabaseIsLoadedAgainAtTheNextRequest) {
  CGatewayDb* failed = cache_.FindOrLoad<CGatewayDb>({"later.nsf", ""});
  EXPECT_TRUE(failed->ReplicaId().empty());
  NewDatabaseOfKind(DatabaseKind::Gateway, "later.nsf").Close();
  CGatewayDb* loaded = cache_.FindOrLoad<CGatewayDb>({"later.nsf", ""});
  EXPECT_NE(loaded, failed);
  EXPECT_FALSE(loaded->ReplicaId().empty());
  EXPECT_EQ(cache_.FindOrLoad<CGatewayDb>({"later.nsf", ""}), loaded);
}

TEST_F(DatabaseCacheTest, ALoaderSetLaterTakesEffectAndSeesEveryUser) {
  int loads = 0;
  RepositoryLoader<CTrackingDb> counting = StandardLoader<CTrackingDb>();
  counting.load = [&loads, standard = counting.load](Services& ui, LNNotesSession& s,
                                                     const DatabaseLocation& at,
                                                     CWorkflowDoc* user) {
    ++loads;
    return standard(ui, s, at, user);
  };
  cache_.SetLoader(counting);
  CWorkflowDoc first{ui_}, second{ui_};
  CTrackingDb* tracking =
      cache_.FindOrLoad<CTrackingDb>(locations_[DatabaseKind::Tracking], &first);
  EXPECT_EQ(cache_.FindOrLoad<CTrackingDb>(locations_[DatabaseKind::Tracking], &second), tracking);
  cache_.FindOrLoad<CTrackingDb>(locations_[DatabaseKind::Tracking], &first);
  EXPECT_EQ(loads, 1);
  EXPECT_EQ(tracking->Users(), (std::vector<CWorkflowDoc*>{&first, &second}));
}

TEST_F(DatabaseCacheTest, ReloadRepositoryReloadsFormsAndOrganisationOfTheWorkflow) {
  WorkflowDatabases databases = Workflow();
  cache_.InitializeDatabases(databases, nullptr);
  LNDatabase infra = Reopen("infra.nsf");
  AddDocument(infra, forms::kRole, {{"Name", {"Clerk"}}});
  infra.Close();
  EXPECT_TRUE(ReloadRepository(databases));
  EXPECT_EQ(databases.infrastructure.repository->Roles().size(), 1u);

  std::filesystem::remove(dir_ / "appenv.nsf");
  EXPECT_FALSE(ReloadRepository(databases));
  EXPECT_EQ(ui_.waitDepth, 0);
  EXPECT_TRUE(ReloadRepository(WorkflowDatabases{}));  // nothing initialised: nothing to do
}

// A reload replaces the entries of what it checks again and keeps the others.
TEST_F(DatabaseCacheTest, ReloadRepositoryKeepsEntriesOfProblemsItDoesNotCheckAgain) {
  LNDatabase appEnv = Reopen("appenv.nsf");
  ASSERT_EQ(appEnv.CreateForm("GF_Order", {"Amount"}), LNNOERROR);
  std::vector<LNForm> designs;
  ASSERT_EQ(appEnv.GetForms(&designs), LNNOERROR);
  LNForm& order = designs.back();  // the newest form
  ASSERT_EQ(order.Open(), LNNOERROR);
  ASSERT_EQ(order.DeleteItem("$Fields"), LNNOERROR);
  ASSERT_EQ(order.Save(), LNNOERROR);
  appEnv.Close();
  LNDatabase infra = Reopen("infra.nsf");
  AddDocument(infra, forms::kRole, {{"Parameter", {"A"}}});  // a role without a name
  infra.Close();

  WorkflowDatabases databases = Workflow();
  cache_.InitializeDatabases(databases, nullptr);
  const std::string configuration = "1|Loading Application Configuration Document";
  ASSERT_EQ(Summary(kApplicationEnvCategory),
            (Strings{configuration, "3|Reading forms of Application Environment Database"}));
  const Strings infraLoaded = Summary(kInfrastructureCategory);
  ASSERT_EQ(infraLoaded.back(), "3|Read Roles");

  // The broken form is mended; the configuration document is still missing.
  ASSERT_EQ(appEnv.Open(), LNNOERROR);
  ASSERT_EQ(appEnv.CreateForm("GF_Order", {"Amount"}), LNNOERROR);
  appEnv.Close();
  // Without its database the Infrastructure keeps the lists of the first load.
  std::filesystem::remove(dir_ / "infra.nsf");
  EXPECT_FALSE(ReloadRepository(databases));
  EXPECT_EQ(Summary(kApplicationEnvCategory),
            (Strings{configuration, "0|Reading forms in Application Environment Database"}));
  Strings infraKept = infraLoaded;
  infraKept.push_back("3|Opening database");
  EXPECT_EQ(Summary(kInfrastructureCategory), infraKept);
}

}  // namespace
}  // namespace velk
