// The published workflow page without a database: where a level's drawing
// stands, which levels it has, and that what users typed stays text.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/headlessservices.h"
#include "model/workflowdoc.h"
#include "publish/workflowpage.h"

namespace velk {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

// Every character 5 units wide; lines 10 high.
DrawingFont FixedFont() {
  DrawingFont font;
  font.width = [](std::string_view s) { return 5.0 * static_cast<double>(s.size()); };
  font.italicWidth = font.width;
  font.ascent = 8;
  return font;
}

class PublishPageTest : public ::testing::Test {
 protected:
  // A named node, inserted into `level` (the top level when none).
  CNode* Add(const std::string& name, Rect rect, NodeKind kind = NodeKind::Intern,
             CWorkflowDoc* level = nullptr) {
    CNode* node = (level ? *level : doc).InsertNode(rect, kind);
    NodeAttributes a = node->Attributes();
    a.name = name;
    doc.SetNodeAttributes(*node, a);
    return node;
  }
  std::string Page() {
    PageDictionary dict("page");
    dict.SetTemplateGlobalValue("SITE_TITLE", "Site");
    Include(dict, "HEAD", "head.tpl");
    Include(dict, "HEADER", "header.tpl");
    FillWorkflowPage(dict, doc, "wf-1.html", "", FixedFont(), links, search);
    return templates.Expand("workflow.html.tpl", dict);
  }

  HeadlessServices ui;
  CWorkflowDoc doc{ui, "CN=Test Designer/O=Marvelund", "06.12.2026"};
  WorkflowLinks links{[](const CNode&) { return std::string(); },
                      [](const std::string&) { return std::string(); }};
  std::vector<SearchEntry> search;
  SiteTemplates templates;
};

TEST_F(PublishPageTest, LevelIsCroppedToWhatItShowsWithTheYAxisDown) {
  CNode* a = Add("A", NodeRectAt(100, -200));
  CNode* b = Add("B", NodeRectAt(300, -200));
  doc.CreateArrow(*a, *b, {RoutingKind::Or, "ok", {}});
  const LevelDrawing d = DrawLevel({a, b}, FixedFont());
  ASSERT_EQ(d.nodes.size(), 2u);
  EXPECT_EQ(d.nodes[0].topLeft.x, 100);
  EXPECT_EQ(d.nodes[0].topLeft.y, 200);
  // "N: B" stands under B, from its centre on; its baseline one ascent down.
  const Point corner = NodeTextCorner(b->GetRect());
  EXPECT_EQ(d.nodes[1].lines.at(0).baseline.x, corner.x);
  EXPECT_EQ(d.nodes[1].lines.at(0).baseline.y, -corner.y + 8);
  EXPECT_EQ(d.nodes[1].lines.at(0).text, "N: B");
  ASSERT_EQ(d.arrows.size(), 1u);
  EXPECT_TRUE(d.arrows[0].described);
  // Margin around nodes, texts and the description.
  EXPECT_EQ(d.left, 100 - kDrawingMargin);
  EXPECT_EQ(d.top, 200 - kDrawingMargin);
  EXPECT_EQ(d.left + d.width, corner.x + kTextWidth + kDrawingMargin);
  EXPECT_EQ(d.top + d.height, -corner.y + 10 + kDrawingMargin);
  EXPECT_EQ(DrawLevel({}, FixedFont()).width, 2 * kDrawingMargin);
}

TEST_F(PublishPageTest, ClusterLevelsFollowTheLevelOfTheirClusterNode) {
  CNode* outer = Add("Outer", NodeRectAt(0, 0), NodeKind::IWC);
  Add("Top task", NodeRectAt(100, 0));
  CNode* inner = Add("Inner", NodeRectAt(0, 0), NodeKind::IWC, doc.OpenClusterDocument(*outer));
  std::vector<int> numbers;
  for (const PageLevel& l : PageLevels(doc)) numbers.push_back(l.number);
  EXPECT_EQ(numbers, (std::vector<int>{1, outer->RepresentsCluster(), inner->RepresentsCluster()}));
  EXPECT_EQ(PageLevels(doc).back().heading, "New workflow v0 (Design) subflow: Inner");
  const std::string page = Page();
  EXPECT_THAT(page,
              HasSubstr("href=\"#level-" + std::to_string(outer->RepresentsCluster()) + "\""));
}

TEST_F(PublishPageTest, TypedTextsStayTextInEveryPlace) {
  WorkflowHeader h = doc.Header();
  h.name = "Order <b>&</b>";
  doc.SetHeader(h);
  CNode* a = Add("<script>alert(1)</script>", NodeRectAt(0, 0));
  CNode* b = Add("\"><img src=x onerror=alert(2)>", NodeRectAt(200, 0));
  NodeAttributes attributes = a->Attributes();
  attributes.member = "</text><svg onload=alert(3)>";
  doc.SetNodeAttributes(*a, attributes);
  doc.CreateArrow(*a, *b, {RoutingKind::Cor, "x < 1 && y > 2", "@If(\"a\")"});
  const std::string page = Page();
  for (const char* raw :
       {"<script>alert", "<img src=x", "<svg onload", "<b>&</b>", "<text></text>"})
    EXPECT_THAT(page, Not(HasSubstr(raw))) << raw;
  EXPECT_THAT(page, HasSubstr("&lt;script&gt;alert(1)&lt;/script&gt;"));
  EXPECT_THAT(page, HasSubstr("x &lt; 1 &amp;&amp; y &gt; 2"));
  ASSERT_EQ(search.size(), 2u);
  EXPECT_EQ(search[0].task, "<script>alert(1)</script>");
  EXPECT_EQ(search[0].href, "wf-1.html#task-1");
}

}  // namespace
}  // namespace velk
