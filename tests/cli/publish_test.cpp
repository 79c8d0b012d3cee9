// velkmod-cli publish: the site of the demo repository, its status filter, and
// bad requests refused with a message.

#include <set>
#include <string>
#include <vector>

#include "clifixture.h"

namespace clitest {
namespace {

class PublishCliTest : public DemoCliTest {
 protected:
  void SetUp() override {
#ifdef VELK_CLI_WITHOUT_RENDER
    GTEST_SKIP() << "velkmod-cli is built without the widget layer";
#endif
    unsetenv("DISPLAY");
    DemoCliTest::SetUp();
  }
  std::set<std::string> Pages(const fs::path& site) {
    std::set<std::string> pages;
    for (const auto& entry : fs::directory_iterator(site))
      if (entry.path().filename().string().starts_with("wf-"))
        pages.insert(entry.path().filename());
    return pages;
  }
};

TEST_F(PublishCliTest, PublishesTheVersionsOfTheChosenStatuses) {
  struct Case {
    std::vector<std::string> options;
    std::size_t pages;
    std::vector<std::string> indexHas, indexLacks;
  };
  const std::vector<Case> cases = {
      {{},
       5,
       {"Order Handling (Version 2.0) (Active)", "Order Handling (Version 1.0) (Freeze)",
        "Travel Request (Version 0.0) (Design)", "VELK Sub-Workflows ICDR/CDDR"},
       {}},
      {{"--status", "active"},
       2,
       {"Order Handling (Version 2.0) (Active)", "ICDR: Credit check"},
       {"Freeze", "Travel Request"}},
      {{"--status", "Freeze, Design"},
       2,
       {"Order Handling (Version 1.0) (Freeze)", "Travel Request"},
       {"(Active)"}},
  };
  for (std::size_t i = 0; i < cases.size(); ++i) {
    Case c = cases[i];
    const fs::path site = root_ / ("site" + std::to_string(i));
    c.options.insert(c.options.begin(), {"publish", site.string()});
    const std::string out = Expect(0, c.options).out;
    EXPECT_EQ(Pages(site).size(), c.pages) << out;
    const std::string index = ReadFile(site / "index.html");
    for (const std::string& text : c.indexHas) EXPECT_THAT(index, HasSubstr(text)) << text;
    for (const std::string& text : c.indexLacks) EXPECT_THAT(index, Not(HasSubstr(text))) << text;
    for (const char* asset :
         {"assets/site.js", "assets/site.css", "assets/node-5.png", "extdir.html"})
      EXPECT_TRUE(fs::exists(site / asset)) << asset;
  }
}

TEST_F(PublishCliTest, LinksLevelsSubWorkflowsCatalogueAndSearch) {
  const fs::path site = root_ / "site";
  Expect(0, {"publish", site.string()});
  std::string order, credit;
  for (const std::string& page : Pages(site)) {
    const std::string text = ReadFile(site / page);
    if (text.find("<h1>Order Handling v2") != std::string::npos) order = text;
    if (text.find("<h1>ICDR: Credit check") != std::string::npos) credit = page;
  }
  ASSERT_FALSE(order.empty());
  ASSERT_FALSE(credit.empty());
  EXPECT_THAT(order, HasSubstr("subflow: Packing"));
  EXPECT_THAT(order, HasSubstr("href=\"" + credit + "\"")) << "the ICDR task's workflow";
  const std::string search = ReadFile(site / "assets/search-index.js");
  EXPECT_THAT(search, HasSubstr("\"Pack parcel\",\"Dispatcher\""));
  const std::string catalogue = ReadFile(site / "extdir.html");
  for (const char* text :
       {"Workflows Published By Us (Internal)", "Workflows Offered By Partners (External)",
        "External Registered Organisations"})
    EXPECT_THAT(catalogue, HasSubstr(text)) << text;
}

TEST_F(PublishCliTest, RefusesBadRequestsWithAMessage) {
  WriteFile(root_ / "file", "not a folder");
  struct Case {
    std::vector<std::string> args;
    int code;
    std::string message;
  };
  const std::vector<Case> cases = {
      {{"publish"}, 2, "output folder"},
      {{"publish", (root_ / "s").string(), "--status", "Running"}, 2, "unknown status \"Running\""},
      {{"publish", (root_ / "file" / "site").string()}, 1, "cannot make the folder"},
      {{"publish", (root_ / "s").string(), "--procdef", "missing.nsf"}, 1, "missing.nsf"},
  };
  for (const Case& c : cases) EXPECT_THAT(Expect(c.code, c.args).err, HasSubstr(c.message));
}

}  // namespace
}  // namespace clitest
