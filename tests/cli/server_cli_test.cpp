// The command-line tool on a named server: a team moves its local repository there.

#include <gtest/gtest.h>

#include "clifixture.h"
#include "store/pgserver.h"

namespace clitest {
namespace {

class ServerCliTest : public CliTest {
 protected:
  void SetUp() override {
    pgtest::Server* server = pgtest::Server::Get();
    if (!server) GTEST_SKIP() << "no PostgreSQL server for the tests: " << pgtest::Server::Reason();
    CliTest::SetUp();
    hub_ = server->NewDatabase();
    WriteFile(settings_, "[Servers]\nHub=\"" + hub_ + "\"\n");
  }
  std::string hub_;  // the connection of the server "Hub"
};

TEST_F(ServerCliTest, CopyOntoTheServerAndBackGivesTheSameDump) {
  Expect(0, {"db", "create", "procdef", "procdef.nsf"});
  Expect(0, {"db", "import", "procdef.nsf",
             Written("docs.json", R"({"documents": [{"noteId": "00000105", "form": "Resource",)"
                                  R"( "items": [{"name": "Resource", "type": "text", "flags": 4,)"
                                  R"( "values": ["Car"]}]}]})")});
  Expect(0, {"db", "copy", "procdef.nsf", "team/procdef.nsf", "--to-server", "Hub"});
  Expect(1, {"db", "copy", "procdef.nsf", "TEAM/procdef.nsf", "--to-server", "Hub"});
  Expect(0, {"db", "copy", "team/procdef.nsf", "back.nsf", "--from-server", "hub"});
  EXPECT_EQ(Dump("back.nsf"), Dump("procdef.nsf"));
  EXPECT_THAT(Expect(0, {"db", "ls", "--server", "Hub"}).out, HasSubstr("team/procdef.nsf\t"));
  EXPECT_THAT(Expect(0, {"db", "info", "team/procdef.nsf", "--server", "Hub"}).out,
              HasSubstr("Process Definitions Database"));
}

TEST_F(ServerCliTest, UnknownOrUnreachableServersFailWithTheReason) {
  WriteFile(settings_, "[Servers]\nDown=\"host=127.0.0.1 port=" +
                           std::to_string(pgtest::Server::FreePort()) + "\"\n");
  EXPECT_THAT(Expect(1, {"db", "ls", "--server", "Down"}).err,
              HasSubstr("Server not responding: "));
  EXPECT_THAT(Expect(1, {"db", "info", "x.nsf", "--server", "Elsewhere"}).err,
              HasSubstr("\"Elsewhere\""));
}

// The workflow commands work on a repository that lives on a server.
TEST_F(ServerCliTest, WorkflowCommandsWorkOnAServerRepositoryAlsoFromClientsAtOnce) {
  Expect(0, {"demo"});
  WriteFile(settings_, ReadFile(settings_) + "\n[Servers]\nHub=\"" + hub_ + "\"\n");
  Expect(0, {"db", "copy", "procdef.nsf", "team/procdef.nsf", "--to-server", "Hub"});
  const std::vector<std::string> there{"--procdef", "team/procdef.nsf", "--server", "Hub"};
  EXPECT_THAT(Expect(0, With({"workflow", "list"}, there)).out,
              HasSubstr("Order Handling (Version 2.0) (Active)"));
  const std::string exported = Expect(0, With({"workflow", "export", "Travel Request"}, there)).out;
  Expect(0, With({"workflow", "import", Written("travel.json", exported)}, there));
  Expect(0, With({"workflow", "check", "Order Handling"}, there));
  Expect(2, {"workflow", "list", "--server", "Hub"});  // a server needs its path
  // Saves from several clients at once take turns on the server too.
  for (const char* name : {"Order Handling", "Complaint Handling"})
    ImportAtOnce(name, there, {"db", "check", "team/procdef.nsf", "--server", "Hub"});
}

// A client killed in the middle of writing leaves the server database as it was,
// or, when the kill came after the commit, with everything written.
TEST_F(ServerCliTest, KilledImportLeavesAllOrNothingOnTheServer) {
  Expect(0, {"db", "create", "procdef", "team.nsf", "--server", "Hub"});
  const int count = 4000;
  Json dump = {{"documents", Json::array()}};
  for (int i = 0; i < count; ++i)
    dump["documents"].push_back(
        {{"form", "Resource"},
         {"items",
          {{{"name", "Resource"}, {"type", "text"}, {"values", {"R" + std::to_string(i)}}}}}});
  const std::vector<std::string> import = {
      "db", "import", "team.nsf", Written("many.json", dump.dump()), "--server", "Hub"};
  const std::string script = Command(import) +
                             " >/dev/null 2>&1 & pid=$!; sleep 0.4; { kill -9 $pid; "
                             "wait $pid; } 2>/dev/null; exit 0";
  ASSERT_EQ(std::system(script.c_str()), 0);
  const std::size_t stored =
      Json::parse(Expect(0, {"db", "dump", "team.nsf", "--server", "Hub"}).out)["documents"].size();
  EXPECT_TRUE(stored == 0 || stored == static_cast<std::size_t>(count)) << stored;
  // The server holds no lock of the killed client: the next write goes through.
  Expect(0, import);
}

}  // namespace
}  // namespace clitest
