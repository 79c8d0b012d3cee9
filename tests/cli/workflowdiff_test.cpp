// velkmod-cli workflow diff: stored versions and workflow files compared, with
// the exit code a CI check reads.

#include <string>
#include <vector>

#include "clifixture.h"

namespace clitest {
namespace {

class WorkflowDiffTest : public CliTest {
 protected:
  void SetUp() override {
    CliTest::SetUp();
    Result demo = Run({"demo"});
    ASSERT_EQ(demo.code, 0) << demo.err;
  }
};

TEST_F(WorkflowDiffTest, AnExportMatchesWhatIsStoredUntilItIsEdited) {
  const Result exported = Run({"workflow", "export", "Order Handling"});
  ASSERT_EQ(exported.code, 0) << exported.err;
  const std::string file = (root_ / "review.json").string();
  WriteFile(file, exported.out);
  Result r = Run({"workflow", "diff", "Order Handling", file});
  EXPECT_EQ(r.code, 0) << r.out << r.err;
  EXPECT_EQ(r.out, "");

  Json edited = Json::parse(exported.out);
  for (Json& n : edited["nodes"])
    if (n["name"] == "Check order") n["member"] = "Clerk/Back office";
  WriteFile(file, edited.dump());
  r = Run({"workflow", "diff", "Order Handling", file});
  EXPECT_EQ(r.code, 1) << r.err;
  EXPECT_EQ(r.out, "Task 'Check order': member 'Clerk' -> 'Clerk/Back office'\n");
  r = Run({"workflow", "diff", "Order Handling", file, "--format", "json"});
  EXPECT_EQ(r.code, 1) << r.err;
  const Json changes = Json::parse(r.out);
  ASSERT_EQ(changes.size(), 1u) << r.out;
  EXPECT_EQ(changes[0]["kind"], "changed");
  EXPECT_EQ(changes[0]["element"], "task");
  EXPECT_EQ(changes[0]["name"], "Check order");
  EXPECT_EQ(changes[0]["field"], "member");
  EXPECT_EQ(changes[0]["old"], "Clerk");
  EXPECT_EQ(changes[0]["new"], "Clerk/Back office");
}

TEST_F(WorkflowDiffTest, TwoStoredVersionsAreNamedByNameAtVersion) {
  const Json versions = Json::parse(Run({"workflow", "export", "Order Handling"}).out);
  const int active = versions["header"]["version"].get<int>();
  const Result r = Run({"workflow", "diff", "Order Handling@" + std::to_string(active - 1),
                        "Order Handling@" + std::to_string(active)});
  EXPECT_EQ(r.code, 1) << r.err;
  EXPECT_NE(r.out.find("Header: version"), std::string::npos) << r.out;
}

TEST_F(WorkflowDiffTest, WrongArgumentsExitWithTwo) {
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"workflow", "diff", "Order Handling"},
        {"workflow", "diff", "Order Handling", "No Such Workflow"},
        {"workflow", "diff", "Order Handling", "Order Handling@99"},
        {"workflow", "diff", "Order Handling", "Order Handling", "--format", "xml"}}) {
    const Result r = Run(args);
    EXPECT_EQ(r.code, 2) << args.back() << ": " << r.out << r.err;
  }
}

}  // namespace
}  // namespace clitest
