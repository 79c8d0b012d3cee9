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
  ASSERT_EQ(Run({"db", "create", "procdef", "procdef.nsf"}).code, 0);
  WriteFile(root_ / "docs.json",
            R"({"documents": [{"noteId": "00000105", "form": "Resource",)"
            R"( "items": [{"name": "Resource", "type": "text", "flags": 4, "values": ["Car"]}]}]})");
  ASSERT_EQ(Run({"db", "import", "procdef.nsf", (root_ / "docs.json").string()}).code, 0);
  Result copied = Run({"db", "copy", "procdef.nsf", "team/procdef.nsf", "--to-server", "Hub"});
  ASSERT_EQ(copied.code, 0) << copied.err;
  EXPECT_EQ(Run({"db", "copy", "procdef.nsf", "TEAM/procdef.nsf", "--to-server", "Hub"}).code, 1);
  ASSERT_EQ(Run({"db", "copy", "team/procdef.nsf", "back.nsf", "--from-server", "hub"}).code, 0);
  EXPECT_EQ(Dump("back.nsf"), Dump("procdef.nsf"));
  Result listed = Run({"db", "ls", "--server", "Hub"});
  EXPECT_EQ(listed.code, 0) << listed.err;
  EXPECT_THAT(listed.out, HasSubstr("team/procdef.nsf\t"));
  Result info = Run({"db", "info", "team/procdef.nsf", "--server", "Hub"});
  EXPECT_THAT(info.out, HasSubstr("Process Definitions Database")) << info.err;
}

TEST_F(ServerCliTest, UnknownOrUnreachableServersFailWithTheReason) {
  WriteFile(settings_, "[Servers]\nDown=\"host=127.0.0.1 port=" +
                           std::to_string(pgtest::Server::FreePort()) + "\"\n");
  Result down = Run({"db", "ls", "--server", "Down"});
  EXPECT_EQ(down.code, 1);
  EXPECT_THAT(down.err, HasSubstr("Server not responding: "));
  Result unknown = Run({"db", "info", "x.nsf", "--server", "Elsewhere"});
  EXPECT_EQ(unknown.code, 1);
  EXPECT_THAT(unknown.err, HasSubstr("\"Elsewhere\""));
}

// The workflow commands work on a repository that lives on a server.
TEST_F(ServerCliTest, WorkflowCommandsWorkOnAServerRepositoryAlsoFromClientsAtOnce) {
  ASSERT_EQ(Run({"demo"}).code, 0);
  WriteFile(settings_, ReadFile(settings_) + "\n[Servers]\nHub=\"" + hub_ + "\"\n");
  ASSERT_EQ(Run({"db", "copy", "procdef.nsf", "team/procdef.nsf", "--to-server", "Hub"}).code, 0);
  const std::vector<std::string> there{"--procdef", "team/procdef.nsf", "--server", "Hub"};
  auto with = [&there](std::vector<std::string> args) {
    args.insert(args.end(), there.begin(), there.end());
    return args;
  };
  Result list = Run(with({"workflow", "list"}));
  ASSERT_EQ(list.code, 0) << list.err;
  EXPECT_THAT(list.out, HasSubstr("Order Handling (Version 2.0) (Active)"));
  Result exported = Run(with({"workflow", "export", "Travel Request"}));
  ASSERT_EQ(exported.code, 0) << exported.err;
  WriteFile(root_ / "travel.json", exported.out);
  Result imported = Run(with({"workflow", "import", (root_ / "travel.json").string()}));
  EXPECT_EQ(imported.code, 0) << imported.out << imported.err;
  EXPECT_EQ(Run(with({"workflow", "check", "Order Handling"})).code, 0);
  EXPECT_EQ(Run({"workflow", "list", "--server", "Hub"}).code, 2) << "a server needs its path";
  // Saves from several clients at once take turns on the server too.
  for (const char* name : {"Order Handling", "Complaint Handling"})
    ImportAtOnce(name, there, {"db", "check", "team/procdef.nsf", "--server", "Hub"});
}

// A client killed in the middle of writing leaves the server database as it was,
// or, when the kill came after the commit, with everything written.
TEST_F(ServerCliTest, KilledImportLeavesAllOrNothingOnTheServer) {
  ASSERT_EQ(Run({"db", "create", "procdef", "team.nsf", "--server", "Hub"}).code, 0);
  const int count = 4000;
  Json dump = {{"documents", Json::array()}};
  for (int i = 0; i < count; ++i)
    dump["documents"].push_back(
        {{"form", "Resource"},
         {"items", {{{"name", "Resource"}, {"type", "text"}, {"values", {"R" + std::to_string(i)}}}}}});
  WriteFile(root_ / "many.json", dump.dump());
  const std::string script = Quote(VELKMOD_CLI) + " db import team.nsf " +
                             Quote((root_ / "many.json").string()) +
                             " --server Hub >/dev/null 2>&1 & pid=$!; sleep 0.4; { kill -9 $pid; "
                             "wait $pid; } 2>/dev/null; exit 0";
  ASSERT_EQ(std::system(script.c_str()), 0);
  Result after = Run({"db", "dump", "team.nsf", "--server", "Hub"});
  ASSERT_EQ(after.code, 0) << after.err;
  const std::size_t stored = Json::parse(after.out)["documents"].size();
  EXPECT_TRUE(stored == 0 || stored == static_cast<std::size_t>(count)) << stored;
  // The server holds no lock of the killed client: the next write goes through.
  ASSERT_EQ(Run({"db", "import", "team.nsf", (root_ / "many.json").string(), "--server", "Hub"})
                .code,
            0);
}

}  // namespace
}  // namespace clitest
