#include "repository/infrastructuredb.h"

#include <gtest/gtest.h>

#include <regex>

#include "core/repositoryfixture.h"
#include "repository/noteserror.h"

namespace velk {
namespace {

using Strings = std::vector<std::string>;
constexpr const char* kCategory = kInfrastructureCategory;

class InfrastructureDbTest : public RepositoryTest {
 protected:
  // An Infrastructure Database of the full design with one document of each kind
  // of record worth telling apart.
  void FillOrganisation() {
    LNDatabase db = NewDatabaseOfKind(DatabaseKind::Infrastructure, "infra.nsf");
    // Persons sort by last name: Ann, Bob, then the two without a listed name.
    AddRows(db, forms::kPerson, {"LastName", "FullName"},
            {"A;CN=Ann Lee/OU=Sales/O=Acme", "B;Bob Stone", "C;", "D"});
    AddRows(db, forms::kWorkgroup, {"NewWorkgroup", "NewManager", "NewPersons"},
            {"Audit;Ann Lee;Ann Lee,Bob Stone"});
    AddRows(db, forms::kUnit, {"NewArrangement", "NewUnit", "NewManager", "NewPersons"},
            {"Sales;North;Bob Stone;Bob Stone", ";Board"});
    AddRows(db, forms::kRole, {"Name", "Parameter"}, {"Clerk;A", "Boss", "Clerk;B", "Clerk;"});
    db.Close();
  }

  CInfrastructureDb Load(const std::string& path = "infra.nsf") {
    return {ui_, session_, path, {}, nullptr};
  }
};

TEST_F(InfrastructureDbTest, ReadsEveryListInViewOrderWithAbbreviatedNamesAndMergedRoles) {
  FillOrganisation();
  CInfrastructureDb infra = Load();

  EXPECT_EQ(infra.Persons(), (Strings{"Ann Lee/Sales/Acme", "Bob Stone"}));
  ASSERT_EQ(infra.Workgroups().size(), 1u);
  EXPECT_EQ(infra.Workgroups()[0],
            (WorkgroupRecord{"Audit", "Ann Lee", {"Ann Lee", "Bob Stone"}, 2}));
  // Units sort by arrangement: the empty one first.
  EXPECT_EQ(infra.Units(),
            (std::vector<UnitRecord>{{"/Board", "", {}, 0},
                                     {"Sales/North", "Bob Stone", {"Bob Stone"}, 1}}));
  EXPECT_EQ(infra.Roles(), (std::vector<RoleRecord>{{"Boss", {}}, {"Clerk", {"A", "B"}}}));

  EXPECT_EQ(Summary(kCategory), (Strings{"0|Reading Persons", "0|Reading Workgroups",
                                         "0|Reading Units", "0|Reading Roles"}));
  EXPECT_EQ(infra.Path(), "infra.nsf");
  EXPECT_EQ(infra.Title(), "VELK Infrastructure");
  EXPECT_TRUE(std::regex_match(infra.ReplicaId(), std::regex("[0-9A-F]{8}:[0-9A-F]{8}")));
  EXPECT_EQ(ui_.currentStatus(), "");
  EXPECT_FALSE(ui_.infoWindowShown);
}

TEST_F(InfrastructureDbTest, EmptyViewsGiveNoticesAndCountAsSuccess) {
  LNDatabase db = NewDatabaseOfKind(DatabaseKind::Infrastructure, "infra.nsf");
  CInfrastructureDb infra = Load();
  EXPECT_TRUE(infra.ReadPersons(db) && infra.ReadWorkgroups(db) && infra.ReadUnits(db) &&
              infra.ReadRoles(db));
  EXPECT_TRUE(infra.Persons().empty() && infra.Workgroups().empty() && infra.Units().empty() &&
              infra.Roles().empty());
  EXPECT_EQ(Summary(kCategory),
            (Strings{"1|Read Persons", "1|Reading Workgroups", "1|Read units", "1|Reading Roles"}));
  EXPECT_EQ(Entries(kCategory)[3].text,
            "The selected Infrastructure Database holds no informations about roles.\r\n");
}

// Views keyed by "Seq" so that the document lacking its required item can be
// placed anywhere in the walk.
TEST_F(InfrastructureDbTest, MissingRequiredItemEndsItsReaderWhileTheNextReaderStillRuns) {
  LNDatabase db = NewDatabaseWithViews("infra.nsf", {{views::kOrgaAgentLastName, {"Person"}, "Seq"},
                                                     {views::kWorkgroups, {"Workgroup"}, "Seq"},
                                                     {views::kUnits, {"Unit"}, "Seq"},
                                                     {views::kRoles, {"Role"}, "Seq"}});
  AddRows(db, "Workgroup", {"Seq", "NewWorkgroup"}, {"1;W1", "2;W2", "4;W4"});
  AddRows(db, "Workgroup", {"Seq", "NewManager"}, {"3;nobody"});  // without its name
  AddRows(db, "Unit", {"Seq", "NewArrangement", "NewUnit"}, {"1;Sales;North"});
  AddDocument(db, "Role", {{"Seq", {"1"}}, {"Name", {"Clerk"}}});
  AddDocument(db, "Role", {{"Seq", {"2"}}, {"Parameter", {"X"}}});
  db.Close();

  CInfrastructureDb infra = Load();
  ASSERT_EQ(infra.Workgroups().size(), 2u);
  EXPECT_EQ(infra.Workgroups()[1].name, "W2");
  EXPECT_EQ(infra.Units().size(), 1u);
  EXPECT_EQ(infra.Roles(), (std::vector<RoleRecord>{{"Clerk", {}}}));
  EXPECT_EQ(Summary(kCategory),
            (Strings{"1|Read Persons", "3|Read workgroups", "0|Reading Units", "3|Read Roles"}));
  EXPECT_EQ(Entries(kCategory)[1].text,
            "Unable to read workgroups from Infrastructure Database, because the\r\nview "
            "(Modeler\\Workgroups) has no field \"NewWorkgroup\".\r\nMaybe this database is no "
            "VELK-database or from a former version of VELK. \r\nPlease choose another one.");
  EXPECT_TRUE(ui_.infoWindowShown);
}

TEST_F(InfrastructureDbTest, MissingViewGivesTheReadersErrorText) {
  struct Case {
    const char* view;
    const char* title;
    const char* records;
  };
  const Case cases[] = {
      {views::kOrgaAgentLastName, "Reading Persons from View (Modeler\\OrgaAgentLastName)",
       "persons"},
      {views::kWorkgroups, "Read persons from view (Modeler\\Workgroups)", "workgroups"},
      {views::kUnits, "Reading units from view (Modeler\\Units)", "units"},
      {views::kRoles, "Reading Roles from View (Modeler\\Roles)", "roles"},
  };
  const std::string tail =
      ". Maybe this database is no\r\nVELK-database or from a former version of VELK. Please "
      "choose another one.";
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.view);
    std::vector<LNViewDesign> views;
    for (const LNViewDesign& v : TemplateOf(DatabaseKind::Infrastructure).views)
      if (v.name != c.view) views.push_back(v);
    const std::string path = "partial" + std::to_string(n++) + ".nsf";
    NewDatabaseWithViews(path, views).Close();
    CInfrastructureDb infra = Load(path);
    std::vector<InfoEntry> errors;
    for (const InfoEntry& e : Entries(kCategory))
      if (e.severity == Severity::Error) errors.push_back(e);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].title, c.title);
    EXPECT_EQ(errors[0].text,
              GetNotesErrorText(LNERR_VIEW_NOT_FOUND) + "Unable to read " + c.records +
                  " out of Infrastructure Database,\r\nbecause the database has no view " + c.view +
                  tail);
    EXPECT_EQ(Entries(kCategory).size(), 4u);  // the other three readers still ran
  }
}

TEST_F(InfrastructureDbTest, ReloadingGivesTheSameListsAndOneThatCannotOpenKeepsThem) {
  FillOrganisation();
  CInfrastructureDb infra = Load();
  const auto persons = infra.Persons();
  const auto roles = infra.Roles();
  ASSERT_TRUE(infra.Reload());
  ASSERT_TRUE(infra.Reload());
  EXPECT_EQ(infra.Persons(), persons);
  EXPECT_EQ(infra.Roles(), roles);
  EXPECT_EQ(infra.Units().size(), 2u);
  Strings kept = Summary(kCategory);  // the entries about the lists that stay
  EXPECT_EQ(kept.size(), 4u);

  std::filesystem::remove(dir_ / "infra.nsf");
  EXPECT_FALSE(infra.Reload());
  EXPECT_EQ(infra.Persons(), persons);
  kept.push_back("3|Opening database");
  EXPECT_EQ(Summary(kCategory), kept);
  EXPECT_EQ(ui_.waitDepth, 0);
  EXPECT_EQ(ui_.currentStatus(), "");
}

TEST_F(InfrastructureDbTest, DatabaseThatCannotBeOpenedLeavesEverythingEmptyUntilAReloadFindsIt) {
  CInfrastructureDb infra = Load("later.nsf");
  EXPECT_EQ(Summary(kCategory), (Strings{"3|Opening Infrastructure Database"}));
  EXPECT_EQ(Entries(kCategory)[0].text,
            GetNotesErrorText(LNERR_FILE_NOT_FOUND) +
                "The chosen Infrastructure Database could not be opened. Please choose another "
                "one\r\nor retry later.");
  EXPECT_TRUE(infra.Path().empty() && infra.Title().empty() && infra.ReplicaId().empty());
  EXPECT_TRUE(infra.Persons().empty());

  // The database appears: a reload reads the one that was asked for.
  NewDatabaseOfKind(DatabaseKind::Infrastructure, "later.nsf").Close();
  EXPECT_TRUE(infra.Reload());
  EXPECT_EQ(infra.Path(), "later.nsf");
  EXPECT_FALSE(infra.ReplicaId().empty());
}

}  // namespace
}  // namespace velk
