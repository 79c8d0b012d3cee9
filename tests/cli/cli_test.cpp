// velkmod-cli as administrators and scripts use it: exit codes, messages, and
// what it leaves in the databases and the settings file.

#include <sys/stat.h>

#include "clifixture.h"
#include "repository/storejson.h"

namespace {

using namespace clitest;

const char* const kKinds[][2] = {
    {"appenv", "Application Environment Database"},
    {"procdef", "Process Definitions Database"},
    {"infra", "Infrastructure Database"},
    {"extdir", "External Directory Database"},
    {"gateway", "Gateway Database"},
    {"tracking", "Tracking Database"},
};

TEST_F(CliTest, CreatesEveryKindAndInfoRecognisesIt) {
  for (const auto& [kind, name] : kKinds) {
    const std::string file = std::string(kind) + ".nsf";
    Expect(0, {"db", "create", kind, file, "--title", std::string("Demo ") + kind});
    EXPECT_THAT(Expect(0, {"db", "info", file}).out,
                AllOf(HasSubstr("Title:      Demo " + std::string(kind)),
                      HasSubstr(std::string("Kind:       ") + name + " (" + kind + ")"),
                      HasSubstr(" 0 documents")));
    EXPECT_THAT(Expect(1, {"db", "create", kind, file}).err, HasSubstr("already exists"));
  }
}

// Text, number and date-time items; flags of plain, names-and-readers and readers
// lists; empty texts inside lists; text beyond ASCII; a leap day.
const char kRealisticDump[] = R"({
  "title": "Marvelund Process Definitions – Archiv",
  "replicaId": "C1257A1D:0034F4B7",
  "documents": [
    {"noteId": "000001F2", "unid": "C1A2B3D4E5F60718293A4B5C6D7E8F90", "form": "Header", "items": [
      {"name": "User", "type": "text", "flags": 4, "values": ["Ann Lee/Sales/Marvelund"]},
      {"name": "LastModify", "type": "text", "flags": 4, "values": ["12.11.2026 09:14:02"]},
      {"name": "Type", "type": "text", "flags": 4, "values": ["Bestellung für Müller – 注文 ✓"]},
      {"name": "WorkFlowID", "type": "text", "flags": 4, "values": ["C1A2B3D4E5F60718293A4B5C6D7E8F90"]},
      {"name": "Editor", "type": "text", "flags": 1093, "values": ["Order Desk", "", "Sales/North"]},
      {"name": "$Readers", "type": "text", "flags": 1024, "values": ["Borealis Bank Readers"]},
      {"name": "Created", "type": "datetime", "flags": 4, "values": ["2026-11-12T09:14:02"]},
      {"name": "Empty", "type": "text", "flags": 0, "values": []}
    ]},
    {"noteId": "000001F6", "unid": "0123456789ABCDEF0123456789ABCDEF", "form": "Workflow Structure", "items": [
      {"name": "Task", "type": "text", "flags": 4, "values": [""]},
      {"name": "Duration", "type": "number", "flags": 4, "values": [2]},
      {"name": "Weights", "type": "number", "flags": 0, "values": [0.1, -1.25, 1e+300, 0, 4294967296]},
      {"name": "Or_Condition", "type": "text", "flags": 4, "values": ["", "Amount > 1000", ""]},
      {"name": "Dates", "type": "datetime", "flags": 0, "values": ["2027-01-01T00:00:00", "2027-12-31T23:59:59", "2028-02-29T12:00:00"]}
    ]}
  ]
})";

TEST_F(CliTest, ImportThenDumpRoundTripsExactly) {
  Expect(0, {"db", "create", "procdef", "archive.nsf"});
  const Json fixture = Json::parse(kRealisticDump);
  EXPECT_THAT(Expect(0, {"db", "import", "archive.nsf", Written("in.json", kRealisticDump)}).out,
              HasSubstr("Imported 2 documents"));
  const Json dumped = Dump("archive.nsf");
  EXPECT_EQ(dumped.dump(), fixture.dump());

  // The dump imports into another database and dumps the same again.
  Expect(0, {"db", "create", "procdef", "copy.nsf"});
  Expect(0, {"db", "import", "copy.nsf", Written("copy.json", dumped.dump(2))});
  EXPECT_EQ(Dump("copy.nsf").dump(), fixture.dump());
  // And a view dump lists the documents the view selects.
  const Result view = Expect(0, {"db", "dump", "copy.nsf", "--view", "(Modeler\\Header)"});
  EXPECT_EQ(Json::parse(view.out)["documents"].size(), 1u);
}

TEST_F(CliTest, DocumentsWithoutIdsGetNewOnes) {
  Expect(0, {"db", "create", "infra", "org.nsf"});
  Expect(0, {"db", "import", "org.nsf", Written("in.json", R"({"documents": [{"form": "Role",
      "items": [{"name": "Name", "values": ["Clerk"]}]}]})")});
  const Json dumped = Dump("org.nsf");
  ASSERT_EQ(dumped["documents"].size(), 1u);
  const Json& doc = dumped["documents"][0];
  EXPECT_EQ(doc["noteId"].get<std::string>().size(), 8u);
  EXPECT_EQ(doc["unid"].get<std::string>().size(), 32u);
  EXPECT_EQ(doc["items"][0],
            Json::parse(R"({"name": "Name", "type": "text", "flags": 4, "values": ["Clerk"]})"));
  EXPECT_NE(dumped["title"], "");  // the database keeps its own title
}

TEST_F(CliTest, FaultyImportImportsNothingAndSaysWhy) {
  const std::string good = R"({"form": "Role", "items": [{"name": "Name", "values": ["Clerk"]}]})";
  // A dump of a good document and then `second`.
  const auto after = [&](const std::string& second) {
    return "{\"documents\": [" + good + ", " + second + "]}";
  };
  const auto item = [&](const std::string& json) { return after(R"({"items": [)" + json + "]}"); };
  struct Case {
    std::string content;
    std::string message;
  } cases[] = {
      {"{\"documents\": [" + good + ",", "is not valid JSON"},
      {"[1, 2]", "\"documents\" list"},
      {item(R"({"name": "X", "type": "blob", "values": []})"),
       "document 2: item \"X\": unknown type \"blob\""},
      {item(R"({"name": "N", "type": "number", "values": ["7"]})"),
       "document 2: item \"N\": the values of a number item must be numbers"},
      {item(R"({"name": "D", "type": "datetime", "values": ["12.11.2026"]})"),
       "is not of the form YYYY-MM-DDTHH:MM:SS"},
      {item(R"({"name": "Due", "type": "datetime", "values": ["2026-13-45T99:99:99"]})"),
       "item \"Due\": the date-time \"2026-13-45T99:99:99\" is no real day and time"},
      {item(R"({"name": "Due", "type": "datetime", "values": ["2025-02-29T10:00:00"]})"),
       "item \"Due\": the date-time \"2025-02-29T10:00:00\" is no real day and time"},
      {item(R"({"name": "F", "flags": -4, "values": []})"), "flags must be a whole number"},
      {item(R"({"name": "A", "values": []}, {"name": "a", "values": []})"),
       "item \"a\" appears twice"},
      {item(R"({"name": "V"})"), "\"values\" is missing"},
      {after(R"({"noteId": "00000001"})"),  // the id of a design note
       "document 2: A document with that note id or universal id already exists"},
      {"{\"replicaId\": \"nope\", \"documents\": [" + good + "]}", "is not a replica id"},
  };
  Expect(0, {"db", "create", "infra", "org.nsf", "--title", "Org"});
  const std::string before = Dump("org.nsf").dump();
  for (const Case& c : cases) {
    EXPECT_THAT(Expect(1, {"db", "import", "org.nsf", Written("in.json", c.content)}).err,
                HasSubstr(c.message));
    EXPECT_EQ(Dump("org.nsf").dump(), before) << c.content;
  }
  EXPECT_THAT(Expect(1, {"db", "import", "org.nsf", (root_ / "absent.json").string()}).err,
              HasSubstr("cannot read"));
}

// What the import tells the command: the count of a dump taken, none of one refused.
TEST_F(CliTest, ImportCountsOnlyWhatItStored) {
  LNNotesSession session;
  ASSERT_EQ(session.Init(410), LNNOERROR);
  LNDatabase db;
  ASSERT_EQ(session.CreateDatabase("org.nsf", &db, "Org"), LNNOERROR);
  ASSERT_EQ(db.Open(), LNNOERROR);
  EXPECT_EQ(velk::ImportDocuments(db, Json::parse(R"({"documents": [{}, {}]})")).imported, 2);
  const velk::ImportResult refused =
      velk::ImportDocuments(db, Json::parse(R"({"documents": [{}, {"noteId": "00000001"}]})"));
  EXPECT_EQ(refused.imported, 0);
  EXPECT_THAT(refused.error, HasSubstr("document 2: "));
}

// Whatever lies under the name, every command says why it cannot open it, at once
// (a hang would exit with 124), prints nothing else and changes nothing.
TEST_F(CliTest, FilesThatAreNotDatabasesGiveAClearError) {
  WriteFile(data_ / "text.nsf", "This is a plain text file, not a database.\n");
  WriteFile(data_ / "empty.nsf", "");
  fs::create_directories(data_ / "folder.nsf");
  ASSERT_EQ(mkfifo((data_ / "pipe.nsf").c_str(), 0644), 0);
  WriteFile(root_ / "in.json", R"({"documents": []})");
  for (const std::string path :
       {"text.nsf", "empty.nsf", "folder.nsf", "pipe.nsf", "/dev/null", "absent.nsf"}) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"db", "info", path},
          {"db", "dump", path},
          {"db", "check", path},
          {"db", "import", path, (root_ / "in.json").string()},
          {"workflow", "list", "--procdef", path}}) {
      Result r = Run(args, "timeout 10");
      EXPECT_EQ(r.code, 1) << args[1] << " " << path;
      EXPECT_THAT(r.err, HasSubstr(path == "absent.nsf" ? "File does not exist"
                                                        : "File is not a database"));
      EXPECT_EQ(r.out, "") << args[1] << " " << path;
    }
  }
  EXPECT_EQ(ReadFile(data_ / "text.nsf"), "This is a plain text file, not a database.\n");
  EXPECT_FALSE(fs::exists(data_ / "absent.nsf"));
}

TEST_F(CliTest, UsageErrorsExitWithTwo) {
  const std::vector<std::vector<std::string>> cases = {
      {},
      {"frobnicate"},
      {"db"},
      {"db", "rename"},
      {"db", "create"},
      {"db", "create", "appenv"},
      {"db", "create", "warehouse", "x.nsf"},
      {"db", "create", "appenv", "x.nsf", "--colour", "red"},
      {"db", "create", "appenv", "x.nsf", "--title"},
      {"db", "info"},
      {"db", "info", "a.nsf", "b.nsf"},
      {"db", "dump", "a.nsf", "--view"},
      {"db", "import", "a.nsf"},
      {"demo", "now"},
      {"demo", "--dir"},
      {"db", "check"},
      {"db", "check", "a.nsf", "b.nsf"},
      {"db", "check", "a.nsf", "--server"},
  };
  for (const auto& args : cases) EXPECT_THAT(Expect(2, args).err, HasSubstr("--help"));
  EXPECT_FALSE(fs::exists(data_ / "x.nsf"));
  EXPECT_THAT(Expect(0, {"--help"}).out, HasSubstr("db create KIND PATH [--title T]"));
}

}  // namespace
