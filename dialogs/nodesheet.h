#pragma once
// Which pages the task property sheet shows for a node kind, in tab order, with
// the sheet's title and the tab captions.

#include <string>
#include <vector>

namespace velk {

inline constexpr char kTaskPropertiesCaption[] = "Task Properties";

enum class NodePage {
  Basics,
  Performer,
  Forms,
  Activities,
  Resources,
  ExtWFTask,  // "External Performer"
  ExtAbo,     // "External Subscribed Workflow"
  EIDM,       // "Ordered Sub-Workflow"
  In,         // "GRI Info"
  // Content management: the page editing the node's "out" fields (direction flag
  // 1) and the one editing its "in" fields (flag 0).
  ContentManagementOut,
  ContentManagementIn,
};

// The caption of the page's own template; empty for content management, whose
// tabs the sheet names.
std::string PageCaption(NodePage page);

struct NodeSheetLayout {
  std::string title;
  std::vector<NodePage> pages;        // tab order
  std::vector<std::string> captions;  // one per page, as the tabs show them
};

// For a node kind code (0 to 8; any other code gets the Basics page only and the
// caller's caption).
NodeSheetLayout LayoutForNodeKind(int kindCode,
                                  const std::string& callerCaption = kTaskPropertiesCaption);

}  // namespace velk
