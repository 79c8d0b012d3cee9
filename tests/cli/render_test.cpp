// velkmod-cli workflow render: the demo workflows drawn without a display, and
// bad requests refused with a message and a non-zero exit.

#include <string>
#include <vector>

#include "clifixture.h"

namespace clitest {
namespace {

using ::testing::StartsWith;

class RenderCliTest : public DemoCliTest {
 protected:
  void SetUp() override {
#ifdef VELK_CLI_WITHOUT_RENDER
    GTEST_SKIP() << "velkmod-cli is built without the widget layer";
#endif
    // Rendering must not need a display, whatever the caller's environment says.
    for (const char* display : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) unsetenv(display);
    DemoCliTest::SetUp();
  }
  std::string Out(const std::string& name) const {
    return (root_ / name).string();
  }
};

int Count(const std::string& text, const std::string& part) {
  int n = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

TEST_F(RenderCliTest, RendersEveryFormatAndLevelChoice) {
  struct Case {
    std::vector<std::string> args;
    std::vector<std::string> files;
    std::string starts;  // the file's first bytes
  };
  const std::vector<Case> cases = {
      {{"--format", "png", "-o", Out("top.png")}, {"top.png"}, "\x89PNG"},
      {{"--format", "SVG", "--output", Out("top.svg")}, {"top.svg"}, "<?xml"},
      {{"-o", Out("all.pdf"), "--level", "all"}, {"all.pdf"}, "%PDF"},
      {{"--format", "png", "-o", Out("all.png"), "--level", "all"},
       {"all.png", "all-2.png", "all-3.png"},
       "\x89PNG"},
  };
  for (Case c : cases) {
    c.args.insert(c.args.begin(), {"workflow", "render", "Order Handling"});
    const Result r = Expect(0, c.args);
    for (const std::string& file : c.files) {
      EXPECT_THAT(ReadFile(root_ / file), StartsWith(c.starts)) << file;
      EXPECT_THAT(r.out, HasSubstr("Wrote " + Out(file)));
    }
  }
  EXPECT_FALSE(fs::exists(root_ / "all-4.png"));
  // The active version has the nested clusters: three levels, three pages.
  const std::string pdf = ReadFile(root_ / "all.pdf");
  EXPECT_EQ(Count(pdf, "/Type /Page\n") + Count(pdf, "/Type /Page\r") + Count(pdf, "/Type /Page/") +
                Count(pdf, "/Type /Page>"),
            3);
  const std::string svg = ReadFile(root_ / "top.svg");
  for (const char* task : {"Receive order", "Check order", "Credit check", "Fulfilment"})
    EXPECT_THAT(svg, HasSubstr(task)) << task;
}

TEST_F(RenderCliTest, ADiffDrawsBothVersionsWithTheirChangesColoured) {
  Expect(0, {"workflow", "render", "--diff", "Order Handling@1", "Order Handling@2", "-o",
             Out("diff.svg")});
  const std::string svg = ReadFile(root_ / "diff.svg");
  for (const char* part : {"Order Handling, version 1", "Order Handling, version 2",
                           "stroke=\"#2e9d3a\"" /* added */, "stroke=\"#d03030\"" /* removed */})
    EXPECT_THAT(svg, HasSubstr(part)) << part;
  Expect(2, {"workflow", "render", "--diff", "Order Handling@1", "Order Handling@2", "-o",
             Out("diff.png"), "--level", "all"});
}

TEST_F(RenderCliTest, BadRequestsFailWithAMessageAndWriteNothing) {
  struct Case {
    std::vector<std::string> args;
    int code;
    std::string message;
  };
  const std::string out = Out("x.png");
  const std::vector<Case> cases = {
      {{"No Such Workflow", "-o", out},
       1,
       "no stored workflow is named or has the id \"No Such Workflow\""},
      {{"Order Handling", "--format", "gif", "-o", out}, 2, "unknown format \"gif\""},
      {{"Order Handling", "-o", Out("x.bmp")}, 2, "unknown format \"bmp\""},
      {{"Order Handling", "-o", Out("noext")}, 2, "render needs --format"},
      {{"Order Handling", "--format", "png"}, 2, "render needs -o FILE"},
      {{"Order Handling", "-o", out, "--level", "2"}, 2, "unknown level \"2\""},
      {{"Order Handling", "-o"}, 2, "option -o needs a value"},
      {{"Order Handling", "-x", out}, 2, "unknown option -x"},
      {{"Order Handling", "-o", Out("missing/x.png")}, 1, "Cannot write " + Out("missing/x.png")},
  };
  for (Case c : cases) {
    c.args.insert(c.args.begin(), {"workflow", "render"});
    EXPECT_THAT(Expect(c.code, c.args).err, HasSubstr(c.message));
  }
  EXPECT_FALSE(fs::exists(out));
  // Options of render belong to render only.
  Expect(2, {"workflow", "export", "Order Handling", "--format", "png"});
}

}  // namespace
}  // namespace clitest
