// "velkmod-cli db check": what the modeler sees of a database, what its load
// reported, and the exit code scripts rely on.

#include <sqlite3.h>

#include <algorithm>
#include <functional>
#include <map>

#include "clifixture.h"
#include "repository/databasetemplates.h"
#include "repository/demodata.h"
#include "repository/store/lnnotes.h"

namespace {

using namespace clitest;

class DbCheckTest : public CliTest {
 protected:
  // Runs the check expecting exit `code`; its JSON report.
  Json Check(int code, const std::string& path) {
    return Json::parse(Expect(code, {"db", "check", path}).out);
  }

  // A database with the design of `kind` except the view `missing`.
  void CreateWithoutView(velk::DatabaseKind kind, const std::string& missing,
                         const std::string& file) {
    LNNotesSession session;
    ASSERT_EQ(session.Init(410), LNNOERROR);
    LNDatabase db;
    ASSERT_EQ(session.CreateDatabase((data_ / file).string(), &db, "Damaged"), LNNOERROR);
    ASSERT_EQ(db.Open(), LNNOERROR);
    const velk::DatabaseTemplate& design = velk::TemplateOf(kind);
    for (const LNViewDesign& view : design.views) {
      if (view.name != missing) {
        ASSERT_EQ(db.CreateView(view), LNNOERROR);
      }
    }
    for (const velk::FormDesign& form : design.forms)
      ASSERT_EQ(db.CreateForm(form.title, form.fields), LNNOERROR);
    db.Close();
  }
};

int HighestSeverity(const Json& report) {
  int highest = -1;
  for (const Json& entry : report["entries"])
    highest = std::max(highest, entry["severity"].get<int>());
  return highest;
}

bool HasEntry(const Json& report, int severity, const std::string& textPart) {
  return std::ranges::any_of(report["entries"], [&](const Json& entry) {
    return entry["severity"] == severity &&
           entry["text"].get<std::string>().find(textPart) != std::string::npos;
  });
}

Json Named(const Json& list, const std::string& name) {
  for (const Json& record : list)
    if (record["name"] == name) return record;
  return Json();
}

TEST_F(DbCheckTest, EveryDemoDatabaseChecksCleanWithWhatTheModelerReadsOfIt) {
  Expect(0, {"demo"});
  std::map<std::string, Json> reports;  // by kind
  for (const velk::DemoDatabase& demo : velk::DemoDatabases()) {
    const Json report = Check(0, demo.fileName);
    EXPECT_EQ(report["kind"], velk::CliNameOf(demo.kind));
    reports[report["kind"].get<std::string>()] = report;
    EXPECT_EQ(report["repository"]["title"], demo.title);
    EXPECT_EQ(report["repository"]["replicaId"], demo.replicaId);
    // The load is reported as the modeler's initialisation reports it.
    EXPECT_TRUE(HasEntry(report, 0, "Database is initialized successfully.")) << report.dump(2);
    if (demo.kind == velk::DatabaseKind::ProcessDefinitions) {
      EXPECT_EQ(report["repository"]["resources"].size(), 6u);
      EXPECT_TRUE(report["repository"].contains("headers"));
    }
  }
  const Json& infra = reports["infra"];
  EXPECT_EQ(infra["clean"], true);
  const Json& org = infra["repository"];
  EXPECT_EQ(org["persons"].size(), 41u);  // 40 canonical names and one flat mailbox
  EXPECT_NE(std::ranges::find(org["persons"], Json("Ann Lee/Sales/Marvelund")),
            org["persons"].end());
  EXPECT_EQ(org["workgroups"].size(), 5u);
  const Json orderDesk = Named(org["workgroups"], "Order Desk");
  EXPECT_EQ(orderDesk["manager"], "Ann Lee/Sales/Marvelund");
  EXPECT_EQ(orderDesk["members"].size(), 4u);
  EXPECT_EQ(org["units"].size(), 12u);
  EXPECT_FALSE(Named(org["units"], "Sales/North").is_null());
  EXPECT_FALSE(Named(org["units"], "/Board").is_null());
  EXPECT_EQ(org["roles"].size(), 6u);
  EXPECT_EQ(Named(org["roles"], "Clerk")["parameters"], Json::parse(R"(["A", "B"])"));
  EXPECT_TRUE(HasEntry(infra, 0, "Reading Roles from Infrastructure Database was successful."));
  EXPECT_TRUE(infra["messages"].empty());

  const Json& appenv = reports["appenv"];
  const Json& app = appenv["repository"];
  EXPECT_EQ(app["officeMail"], velk::kDemoOfficeMail);
  EXPECT_EQ(app["forms"].size(), 8u);  // "Memo" is no application form
  EXPECT_EQ(Named(app["forms"], "Purchase Order|GF_PurchaseOrder")["fields"],
            Json::parse(R"(["Customer_Name", "Customer_Street", "Customer_City",
                            "Order_Amount", "Order_Date", "Remarks"])"));
  EXPECT_LT(HighestSeverity(appenv), 3);
}

TEST_F(DbCheckTest, MissingViewsAndEmptyViewsAreJudgedByTheirSeverity) {
  using velk::DatabaseKind;
  struct Case {
    DatabaseKind kind;
    std::string missingView;  // empty: the whole design, without documents
    int code;
    int severity;  // of the entry naming the problem
    std::string text;
  } cases[] = {
      {DatabaseKind::Infrastructure, "", 0, 1, "holds no informations about Persons"},
      {DatabaseKind::Infrastructure, velk::views::kRoles, 1, 3,
       "because the database has no view (Modeler\\Roles)"},
      {DatabaseKind::ApplicationEnvironment, velk::views::kRuntimeConfiguration, 1, 3,
       "it has no view (Z. Runtime\\Configuration)"},
      // Without resources the modeler goes on, without the ability to choose them.
      {DatabaseKind::ProcessDefinitions, velk::views::kResource, 0, 2,
       "It must have the view: '(Modeler\\Resource)'"},
  };
  int n = 0;
  for (const Case& c : cases) {
    const std::string file = "case" + std::to_string(++n) + ".nsf";
    CreateWithoutView(c.kind, c.missingView, file);
    const Json report = Check(c.code, file);
    const std::string label = file + " without " + c.missingView;
    EXPECT_EQ(report["clean"], c.code == 0) << label;
    EXPECT_EQ(HighestSeverity(report), c.severity) << label << report.dump(2);
    EXPECT_TRUE(HasEntry(report, c.severity, c.text)) << label << report.dump(2);
  }
}

TEST_F(DbCheckTest, ADatabaseOfNoKindIsRefused) {
  {
    LNNotesSession session;
    ASSERT_EQ(session.Init(410), LNNOERROR);
    LNDatabase db;
    ASSERT_EQ(session.CreateDatabase((data_ / "plain.nsf").string(), &db, "Plain"), LNNOERROR);
  }
  const Result r = Expect(1, {"db", "check", "plain.nsf"});
  EXPECT_THAT(r.err, HasSubstr("plain.nsf is no database of the modeler"));
  EXPECT_EQ(r.out, "");
}

// Applies `damage` to every task document (or document of `form`) of the stored
// workflow `name` in `file`.
void DamageDocuments(const fs::path& file, const std::string& name,
                     const std::function<void(LNDatabase&, LNDocument&)>& damage,
                     const std::string& form = "Workflow Structure") {
  LNNotesSession session;
  ASSERT_EQ(session.Init(410), LNNOERROR);
  LNDatabase db;
  ASSERT_EQ(session.GetDatabase(file.string(), &db), LNNOERROR);
  ASSERT_EQ(db.Open(), LNNOERROR);
  std::vector<LNDocument> documents;
  ASSERT_EQ(db.GetAllDocuments(&documents), LNNOERROR);
  int damaged = 0;
  for (LNDocument& doc : documents) {
    LNText type;
    ASSERT_EQ(doc.Open(), LNNOERROR);
    if (doc.GetFormName() != form || doc.GetItem("Type", &type) != LNNOERROR ||
        type.GetCount() == 0 || type[0] != name)
      continue;
    damage(db, doc);
    ++damaged;
  }
  EXPECT_GT(damaged, 0) << name;
}

// Sets the text item `item` to `value` in each document `DamageDocuments` hands
// over, or only in those that have it.
std::function<void(LNDatabase&, LNDocument&)> SetText(const char* item, const char* value,
                                                      bool onlyWhereSet = false) {
  return [=](LNDatabase&, LNDocument& doc) {
    if (onlyWhereSet && !doc.HasItem(item)) return;
    EXPECT_EQ(doc.CreateItem(item, LNText(value)), LNNOERROR);
    EXPECT_EQ(doc.Save(), LNNOERROR);
  };
}

void RunSql(const fs::path& file, const char* sql) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
  EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
  sqlite3_close(db);
}

TEST_F(DbCheckTest, DamagedProcessDefinitionsAreNotClean) {
  Expect(0, {"demo"});
  const fs::path file = data_ / "procdef.nsf", pristine = root_ / "procdef.nsf";
  fs::copy_file(file, pristine);
  const auto sql = [&](const char* statements) {
    return [&file, statements] { RunSql(file, statements); };
  };
  struct Case {
    const char* damage;
    std::function<void()> apply;
    const char* entry;  // part of the error entry expected
  } cases[] = {
      {"tasks deleted",
       [&] {
         DamageDocuments(file, "Travel Request", [](LNDatabase& db, LNDocument& doc) {
           EXPECT_EQ(db.DeleteDocument(&doc), LNNOERROR);
         });
       },
       "The workflow cannot be loaded: Error: No tasks were found."},
      {"routing to a task that is not there",
       [&] { DamageDocuments(file, "Order Handling", SetText("And", "999-0", true)); },
       "The workflow loads with errors: Error: The endnode 999-0"},
      {"a number stored as text",
       [&] { DamageDocuments(file, "Order Handling", SetText("Duration", "2")); },
       "The item \"Duration\" is stored as text; the modeler reads and writes it as a number."},
      // Saves that did not take turns: the engine would run both.
      {"a second Active version",
       [&] { DamageDocuments(file, "Order Handling", SetText("Status", "Active"), "Header"); },
       "The workflow has more than one Active version"},
      // An index that claims fewer rows than it holds: no read of the store notices.
      {"index damaged",
       sql("PRAGMA writable_schema = ON; UPDATE sqlite_schema SET sql = 'CREATE INDEX "
           "notes_by_form ON notes(class, form) WHERE note_id < 0' WHERE name = 'notes_by_form'"),
       "SQLite's integrity check: wrong # of entries in index notes_by_form"},
      // Damage no structure check sees: values that change in place.
      // In the row itself: a byte of the file could as well land in an index page.
      {"one byte of a value changed",
       sql("UPDATE items SET data = substr(data, 1, length(data) - 1) || x'41' WHERE lname = "
           "'type' AND note_id = (SELECT min(note_id) FROM items WHERE lname = 'type')"),
       "The document's values are not those that were saved"},
      {"last page cut short", [&] { fs::resize_file(file, fs::file_size(file) - 100); },
       "The file ends inside a page"},
      {"documents gone, their items left",
       sql("PRAGMA foreign_keys = OFF; DELETE FROM notes WHERE class = 1"), "items belong to"},
      {"text that is not UTF-8", sql("UPDATE items SET data = x'0102FFFE' WHERE lname = 'task'"),
       "is not UTF-8"},
  };
  for (const Case& c : cases) {
    fs::copy_file(pristine, file, fs::copy_options::overwrite_existing);
    c.apply();
    SCOPED_TRACE(c.damage);
    const Json report = Check(1, "procdef.nsf");
    EXPECT_EQ(report["clean"], false) << c.damage;
    EXPECT_TRUE(HasEntry(report, 3, c.entry)) << c.damage << report.dump(2);
  }
}

TEST_F(DbCheckTest, TextThatIsNotUtf8FailsTheExportInOurWords) {
  Expect(0, {"demo"});
  RunSql(data_ / "procdef.nsf", "UPDATE items SET data = x'0102FFFE' WHERE lname = 'task'");
  EXPECT_THAT(Expect(1, {"workflow", "export", "Order Handling"}).err,
              AllOf(HasSubstr("the workflow cannot be written as JSON: the text at nodes[0].name "
                              "is not UTF-8"),
                    Not(HasSubstr("json.exception"))));
}

TEST_F(DbCheckTest, LocalServerNameMeansThisMachine) {
  Expect(0, {"db", "create", "gateway", "gw.nsf", "--title", "Gate"});
  const Json report = Json::parse(Expect(0, {"db", "check", "gw.nsf", "--server", "Local"}).out);
  EXPECT_EQ(report["server"], "");
  EXPECT_EQ(report["repository"]["title"], "Gate");
}

}  // namespace
