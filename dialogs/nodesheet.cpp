#include "dialogs/nodesheet.h"

#include "model/kinds.h"

namespace velk {

std::string PageCaption(NodePage page) {
  switch (page) {
    case NodePage::Basics:
      return "Basics";
    case NodePage::Performer:
      return "Performer";
    case NodePage::Forms:
      return "Forms";
    case NodePage::Activities:
      return "Activities";
    case NodePage::Resources:
      return "Resources";
    case NodePage::ExtWFTask:
      return "External Performer";
    case NodePage::ExtAbo:
      return "External Subscribed Workflow";
    case NodePage::EIDM:
      return "Ordered Sub-Workflow";
    case NodePage::In:
      return "GRI Info";
    case NodePage::ContentManagementOut:
    case NodePage::ContentManagementIn:
      break;
  }
  return {};
}

namespace {

using P = NodePage;

NodeSheetLayout PagesAndTitle(int kindCode, const std::string& callerCaption) {
  switch (static_cast<NodeKind>(kindCode)) {
    case NodeKind::Intern:
    case NodeKind::Out:
      return {"Internal Node Properties",
              {P::Basics, P::Performer, P::Forms, P::Activities, P::Resources},
              {}};
    case NodeKind::In:
      return {"Internal Node Properties",
              {P::Basics, P::Performer, P::Forms, P::ContentManagementOut, P::In, P::Activities,
               P::Resources},
              {}};
    case NodeKind::ExtWFTask:
      return {"External WWW Step Properties", {P::Basics, P::ExtWFTask, P::Forms}, {}};
    case NodeKind::Extern:
      return {"External Subscribed Workflow Properties",
              {P::Basics, P::ContentManagementOut, P::ContentManagementIn, P::ExtAbo},
              {}};
    case NodeKind::IWC:
      return {"Internal Workflow Cluster Properties", {P::Basics}, {}};
    case NodeKind::EIDM:
      return {"External Sub-Workflow Properties", {P::Basics, P::EIDM}, {}};
    case NodeKind::ICDR:
    case NodeKind::CDDR:
      break;
  }
  return {callerCaption, {P::Basics}, {}};
}

}  // namespace

NodeSheetLayout LayoutForNodeKind(int kindCode, const std::string& callerCaption) {
  NodeSheetLayout layout = PagesAndTitle(kindCode, callerCaption);
  for (NodePage page : layout.pages) layout.captions.push_back(PageCaption(page));
  // The content-management template has no caption; the sheet names its tabs.
  if (kindCode == static_cast<int>(NodeKind::In)) {
    layout.captions[3] = "Incoming CM";
  } else if (kindCode == static_cast<int>(NodeKind::Extern)) {
    layout.captions[1] = "Outgoing CM";
    layout.captions[2] = "Incoming CM";
  }
  return layout;
}

}  // namespace velk
