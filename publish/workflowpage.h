#pragma once
// The page of one stored workflow version: its header, every level as a
// drawing with the list of its tasks, and the details of each task and arrow.

#include <functional>
#include <string>
#include <vector>

#include "publish/leveldrawing.h"
#include "publish/sitetemplates.h"

namespace velk {

class CNode;
class CWorkflowDoc;

// Where the page's references lead; each answers an empty text when the
// target is not on the site.
struct WorkflowLinks {
  // The page of the sub-workflow an ICDR or CDDR task stands for.
  std::function<std::string(const CNode&)> subWorkflowPage;
  // The catalogue address of an External Directory item ("extdir.html#...").
  std::function<std::string(const std::string& itemId)> catalogueEntry;
};

// One task as the site's search finds it.
struct SearchEntry {
  std::string task, performer, forms, workflow, level, href;
};

// A level of a workflow as the page shows it: the top level first, then each
// cluster level after the level holding its cluster node, in node order.
struct PageLevel {
  int number = 1;
  std::string heading;  // the title of the modeler's window on that level
  const CNode* clusterNode = nullptr;  // none for the top level
  int parent = 0;                      // the level holding the cluster node
};
std::vector<PageLevel> PageLevels(const CWorkflowDoc& doc);

// Fills the dictionary of "workflow.html.tpl" for the loaded workflow `doc`,
// published as `page`, and appends its tasks to `search`. `lastChange` is the
// header's last save as the store recorded it.
void FillWorkflowPage(PageDictionary& dict, const CWorkflowDoc& doc, const std::string& page,
                      const std::string& lastChange, const DrawingFont& font,
                      const WorkflowLinks& links, std::vector<SearchEntry>& search);

}  // namespace velk
