#include "publish/workflowpage.h"

#include <set>
#include <unordered_map>

#include "model/arrow.h"
#include "model/node.h"
#include "model/workflowdoc.h"
#include "publish/sitetexts.h"
#include "repository/vocabulary.h"

namespace velk {

namespace {

std::string Joined(const std::vector<std::string>& list) {
  std::string text;
  for (const std::string& item : list) text += (text.empty() ? "" : ", ") + item;
  return text;
}

// Levels below `level` in node order; `seen` stops a damaged workflow whose
// clusters contain each other.
void AddLevels(const CWorkflowDoc& doc, const PageLevel& level, std::set<int>& seen,
               std::vector<PageLevel>& levels) {
  levels.push_back(level);
  for (const CNode* node : doc.AllNodes()) {
    if (node->BelongsToCluster() != level.number || !node->IsClusterNode()) continue;
    const int number = node->RepresentsCluster();
    if (number < 2 || !seen.insert(number).second) continue;
    AddLevels(doc, {number, levels.front().heading + " subflow: " + node->Name(), node, level.number},
              seen, levels);
  }
}

class PageBuilder {
 public:
  PageBuilder(const CWorkflowDoc& doc, const std::string& page, const DrawingFont& font,
              const WorkflowLinks& links)
      : doc_(doc), page_(page), font_(font), links_(links), levels_(PageLevels(doc)) {
    int id = 0;
    for (const CNode* node : doc.AllNodes()) ids_[node] = ++id;
    id = 0;
    for (const CArrow* arrow : doc.AllArrows()) arrowIds_[arrow] = ++id;
    for (const PageLevel& level : levels_) levelOf_[level.clusterNode] = &level;
  }

  void Fill(PageDictionary& dict, std::vector<SearchEntry>& search) {
    dict.SetValue("TITLE", levels_.front().heading);
    PageDictionary* others = levels_.size() > 1 ? dict.AddSectionDictionary("OTHER_LEVELS") : nullptr;
    for (const PageLevel& level : levels_) {
      FillLevel(*dict.AddSectionDictionary("LEVEL"), level, search);
      if (!others) continue;
      PageDictionary* link = others->AddSectionDictionary("LEVEL_LINK");
      link->SetIntValue("NUMBER", level.number);
      link->SetValue("HEADING", level.heading);
    }
    for (const CNode* node : doc_.AllNodes())
      if (Listed(*node)) FillTaskDetails(*dict.AddSectionDictionary("TASK"), *node);
    for (const CArrow* arrow : doc_.AllArrows())
      if (Listed(*arrow->Source())) FillArrowDetails(*dict.AddSectionDictionary("ARROW_DETAIL"), *arrow);
  }

 private:
  // A node shows on the page when its level does.
  bool Listed(const CNode& node) const {
    for (const PageLevel& level : levels_)
      if (level.number == node.BelongsToCluster()) return true;
    return false;
  }
  std::string Id(const CNode& node) const { return std::to_string(ids_.at(&node)); }
  std::string Id(const CArrow& arrow) const { return std::to_string(arrowIds_.at(&arrow)); }
  std::string DetailsHref(const CNode& node) const { return "#task-" + Id(node); }
  // A cluster opens its level, a sub-workflow task its workflow's page.
  std::string Href(const CNode& node) const {
    if (auto it = levelOf_.find(&node); it != levelOf_.end() && node.IsClusterNode())
      return "#level-" + std::to_string(it->second->number);
    const std::string sub = HasSubWorkflowKind(node) ? links_.subWorkflowPage(node) : "";
    return sub.empty() ? DetailsHref(node) : sub;
  }
  static bool HasSubWorkflowKind(const CNode& node) {
    return node.Kind() == NodeKind::ICDR || node.Kind() == NodeKind::CDDR;
  }
  std::string Label(const CNode& node) const {
    const std::string name = node.Name().empty() ? "unnamed" : node.Name();
    return name + " (" + TaskKindText(node) + ")";
  }

  void FillLevel(PageDictionary& dict, const PageLevel& level, std::vector<SearchEntry>& search);
  void FillDrawing(PageDictionary& dict, const LevelDrawing& drawing);
  void FillRow(PageDictionary& dict, const CNode& node);
  void FillTaskDetails(PageDictionary& dict, const CNode& node);
  void FillArrowDetails(PageDictionary& dict, const CArrow& arrow);

  const CWorkflowDoc& doc_;
  const std::string& page_;
  const DrawingFont& font_;
  const WorkflowLinks& links_;
  std::vector<PageLevel> levels_;
  std::unordered_map<const CNode*, int> ids_;
  std::unordered_map<const CArrow*, int> arrowIds_;
  std::unordered_map<const CNode*, const PageLevel*> levelOf_;
};

void PageBuilder::FillLevel(PageDictionary& dict, const PageLevel& level,
                            std::vector<SearchEntry>& search) {
  dict.SetIntValue("NUMBER", level.number);
  dict.SetValue("HEADING", level.heading);
  if (level.parent) {
    PageDictionary* up = dict.AddSectionDictionary("PARENT");
    up->SetIntValue("NUMBER", level.parent);
    for (const PageLevel& l : levels_)
      if (l.number == level.parent) up->SetValue("HEADING", l.heading);
  }
  std::vector<CNode*> nodes;
  for (CNode* node : doc_.AllNodes())
    if (node->BelongsToCluster() == level.number) nodes.push_back(node);
  FillDrawing(dict, DrawLevel(nodes, font_));
  const std::string workflow = levels_.front().heading;
  for (const CNode* node : nodes) {
    FillRow(*dict.AddSectionDictionary("ROW"), *node);
    const NodeAttributes& a = node->Attributes();
    search.push_back({node->Name(), a.member, Joined(a.objects), workflow, level.heading,
                      page_ + DetailsHref(*node)});
  }
}

void PageBuilder::FillDrawing(PageDictionary& dict, const LevelDrawing& drawing) {
  dict.SetIntValue("LEFT", drawing.left);
  dict.SetIntValue("TOP", drawing.top);
  dict.SetIntValue("WIDTH", drawing.width);
  dict.SetIntValue("HEIGHT", drawing.height);
  dict.SetFormattedValue("FONT_SIZE", "%.2f", font_.size);
  for (const DrawnNode& drawn : drawing.nodes) {
    PageDictionary* node = dict.AddSectionDictionary("NODE");
    node->SetValue("HREF", Href(*drawn.node));
    node->SetValue("ID", Id(*drawn.node));
    node->SetValue("LABEL", Label(*drawn.node));
    node->SetIntValue("PICTURE", drawn.node->Picture());
    node->SetIntValue("X", drawn.topLeft.x);
    node->SetIntValue("Y", drawn.topLeft.y);
    if (drawn.lines.empty()) continue;
    PageDictionary* text = dict.AddSectionDictionary("TEXT");
    text->SetValue("HREF", Href(*drawn.node));
    for (const DrawnText& line : drawn.lines) {
      PageDictionary* l = text->AddSectionDictionary("LINE");
      l->SetIntValue("X", line.baseline.x);
      l->SetIntValue("Y", line.baseline.y);
      l->SetValue("TEXT", line.text);
    }
  }
  for (const DrawnArrow& drawn : drawing.arrows) {
    PageDictionary* arrow = dict.AddSectionDictionary("ARROW");
    arrow->SetValue("ID", Id(*drawn.arrow));
    arrow->SetValue("LABEL", RoutingText(drawn.arrow->Kind()) + " from " +
                                 drawn.arrow->Source()->Name() + " to " +
                                 drawn.arrow->Target()->Name());
    arrow->SetIntValue("X1", drawn.start.x);
    arrow->SetIntValue("Y1", drawn.start.y);
    arrow->SetIntValue("X2", drawn.end.x);
    arrow->SetIntValue("Y2", drawn.end.y);
    std::string head;
    for (const PagePoint& p : drawn.head)
      head += (head.empty() ? "" : " ") + std::to_string(p.x) + "," + std::to_string(p.y);
    arrow->SetValue("HEAD", head);
    if (!drawn.described) continue;
    PageDictionary* box = dict.AddSectionDictionary("DESCRIPTION");
    box->SetValue("ID", Id(*drawn.arrow));
    box->SetIntValue("X", drawn.boxTopLeft.x);
    box->SetIntValue("Y", drawn.boxTopLeft.y);
    box->SetIntValue("WIDTH", drawn.boxWidth);
    box->SetIntValue("HEIGHT", drawn.boxHeight);
    box->SetIntValue("TEXT_X", drawn.description.baseline.x);
    box->SetIntValue("TEXT_Y", drawn.description.baseline.y);
    box->SetValue("TEXT", drawn.description.text);
  }
}

void PageBuilder::FillRow(PageDictionary& dict, const CNode& node) {
  const NodeAttributes& a = node.Attributes();
  dict.SetValue("HREF", Href(node));
  dict.SetValue("NAME", node.Name().empty() ? "unnamed" : node.Name());
  dict.SetValue("KIND", TaskKindText(node));
  dict.SetValue("PERFORMER", PerformerText(node));
  dict.SetValue("FORMS", Joined(a.objects));
  dict.SetValue("DURATION", DurationText(a.duration, a.durationUnit));
}

void PageBuilder::FillTaskDetails(PageDictionary& dict, const CNode& node) {
  const NodeAttributes& a = node.Attributes();
  dict.SetValue("ID", Id(node));
  dict.SetIntValue("LEVEL", node.BelongsToCluster());
  dict.SetValue("NAME", node.Name().empty() ? "unnamed" : node.Name());
  auto row = [&dict](const std::string& label, const std::string& value) {
    if (value.empty()) return static_cast<PageDictionary*>(nullptr);
    PageDictionary* r = dict.AddSectionDictionary("ROW");
    r->SetValue("LABEL", label);
    r->SetValue("VALUE", value);
    return r;
  };
  auto link = [&row](const std::string& label, const std::string& href, const std::string& text) {
    if (href.empty()) return;
    PageDictionary* l = row(label, " ")->AddSectionDictionary("LINK");
    l->SetValue("HREF", href);
    l->SetValue("TEXT", text);
  };
  row("Kind", TaskKindText(node));
  row("Performer", PerformerText(node));
  row("Team manager", a.teamManager);
  row("Forms", Joined(a.objects));
  row("Further forms", Joined(a.folderObjects));
  row("Resources", Joined(a.resources));
  row("Activities", Joined(a.activities));
  row("Duration", DurationText(a.duration, a.durationUnit));
  if (a.remindFlag) {
    row("Reminder after", DurationText(a.remindDuration, a.remindDurationUnit));
    row("Deadline after", DurationText(a.deadlineDuration, a.deadlineDurationUnit));
  }
  row("Description", a.freeText);
  row("Partner mail", a.externClusterMail);
  if (const std::string href = Href(node); href != DetailsHref(node))
    link(node.IsClusterNode() ? "Level" : "Sub-workflow", href, "Open " + node.Name());
  if (!a.griId.empty()) link("External Directory", links_.catalogueEntry(a.griId), a.griId);
  PageDictionary* routing = nullptr;
  for (const CArrow* arrow : node.OutgoingArrows()) {
    if (!routing) routing = dict.AddSectionDictionary("ROUTING");
    PageDictionary* route = routing->AddSectionDictionary("ROUTE");
    route->SetValue("ARROW", Id(*arrow));
    route->SetValue("ROUTING", RoutingText(arrow->Kind()));
    route->SetValue("HREF", Href(*arrow->Target()));
    route->SetValue("TARGET", arrow->Target()->Name());
    if (!arrow->Condition().empty())
      route->AddSectionDictionary("CONDITION")->SetValue("TEXT", arrow->Condition());
  }
}

void PageBuilder::FillArrowDetails(PageDictionary& dict, const CArrow& arrow) {
  dict.SetValue("ID", Id(arrow));
  dict.SetIntValue("LEVEL", arrow.Source()->BelongsToCluster());
  dict.SetValue("FROM", arrow.Source()->Name());
  dict.SetValue("FROM_HREF", DetailsHref(*arrow.Source()));
  dict.SetValue("TO", arrow.Target()->Name());
  dict.SetValue("TO_HREF", Href(*arrow.Target()));
  dict.SetValue("ROUTING", RoutingText(arrow.Kind()));
  if (!arrow.Condition().empty())
    dict.AddSectionDictionary("CONDITION")->SetValue("TEXT", arrow.Condition());
  if (!arrow.Formula().empty())
    dict.AddSectionDictionary("FORMULA")->SetValue("TEXT", arrow.Formula());
}

void FillFacts(PageDictionary& dict, const CWorkflowDoc& doc, const std::string& lastChange) {
  const WorkflowHeader& h = doc.Header();
  auto fact = [&dict](const char* label, const std::string& value) {
    if (value.empty()) return;
    PageDictionary* f = dict.AddSectionDictionary("FACT");
    f->SetValue("LABEL", label);
    f->SetValue("VALUE", value);
  };
  fact("Category", h.category);
  fact("Version", std::to_string(h.version));
  fact("Status", WorkflowStatusToWord(static_cast<int>(h.status)));
  fact("Workflow type", WorkflowTypeToWord(static_cast<int>(h.workflowType)));
  fact("Supervisor", h.supervisor);
  fact("Valid from", h.validFrom);
  fact("Valid until", h.validUntil);
  fact("Editors", Joined(h.editors));
  fact("Designers", Joined(h.designers));
  fact("Tracking", TrackingModeToWord(h.trackingType));
  fact("Last change", lastChange);
  fact("Description", h.freeText);
}

}  // namespace

std::vector<PageLevel> PageLevels(const CWorkflowDoc& doc) {
  std::vector<PageLevel> levels;
  std::set<int> seen{1};
  std::string title = doc.Top().Session().Title();
  if (title.ends_with(" *")) title.resize(title.size() - 2);
  AddLevels(doc.Top(), {1, title, nullptr, 0}, seen, levels);
  return levels;
}

void FillWorkflowPage(PageDictionary& dict, const CWorkflowDoc& doc, const std::string& page,
                      const std::string& lastChange, const DrawingFont& font,
                      const WorkflowLinks& links, std::vector<SearchEntry>& search) {
  FillFacts(dict, doc, lastChange);
  PageBuilder(doc, page, font, links).Fill(dict, search);
}

}  // namespace velk
