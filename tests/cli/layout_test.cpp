// velkmod-cli workflow layout: the demo workflow arranged as layers, printed,
// then stored as a new version that loads with the new positions.

#include <string>

#include "clifixture.h"

namespace clitest {
namespace {

class LayoutCliTest : public CliTest {
 protected:
  void SetUp() override {
    CliTest::SetUp();
    setenv("VELK_USER", "CN=Cli Designer/O=Marvelund", 1);
    Result demo = Run({"demo"});
    ASSERT_EQ(demo.code, 0) << demo.err;
  }
};

TEST_F(LayoutCliTest, PrintsTheMovesAndStoresThemOnlyWithSave) {
  Result printed = Run({"workflow", "layout", "Travel Request"});
  ASSERT_EQ(printed.code, 0) << printed.err;
  EXPECT_NE(printed.out.find("\"Submit request\""), std::string::npos) << printed.out;
  EXPECT_NE(printed.out.find(" of 5 tasks moved"), std::string::npos) << printed.out;
  const std::string before = Run({"workflow", "export", "Travel Request"}).out;

  Result stored =
      Run({"workflow", "layout", "Travel Request", "--level", "all", "--save", "--timeout", "60"});
  ASSERT_EQ(stored.code, 0) << stored.err;
  EXPECT_NE(stored.out.find("Stored \"Travel Request\""), std::string::npos) << stored.out;
  Result again = Run({"workflow", "layout", "Travel Request"});
  EXPECT_NE(again.out.find("0 of 5 tasks moved"), std::string::npos)
      << "the stored workflow is already arranged: " << again.out;
  EXPECT_NE(Run({"workflow", "export", "Travel Request"}).out, before);
}

TEST_F(LayoutCliTest, BadRequestsAreRefused) {
  EXPECT_EQ(Run({"workflow", "layout"}).code, 2);
  EXPECT_EQ(Run({"workflow", "layout", "Travel Request", "--level", "some"}).code, 2);
  for (const char* timeout : {"0", "-3", "ten", "1e9"})
    EXPECT_EQ(Run({"workflow", "layout", "Travel Request", "--timeout", timeout}).code, 2)
        << timeout;
  Result missing = Run({"workflow", "layout", "No Such Workflow"});
  EXPECT_EQ(missing.code, 1);
  EXPECT_NE(missing.err.find("No Such Workflow"), std::string::npos) << missing.err;
}

}  // namespace
}  // namespace clitest
