#include "publish/catalogue.h"

#include <set>

#include "extdir/extdirdata.h"
#include "extdir/extdiritems.h"
#include "extdir/extdirtree.h"
#include "publish/sitetexts.h"
#include "repository/vocabulary.h"

namespace velk {

namespace {

// Ids are the store's texts: spelled out in hexadecimal, any of them is a
// valid and distinct anchor.
std::string Anchor(const std::string& id) {
  static const char digits[] = "0123456789abcdef";
  std::string anchor = "item-";
  for (unsigned char c : id) {
    anchor += digits[c >> 4];
    anchor += digits[c & 15];
  }
  return anchor;
}

using Fact = std::pair<const char*, std::string>;

std::vector<Fact> LeafFacts(const CExtDirItemGRILeaf& leaf) {
  return {{"Status", DirectoryEntryStatusToWord(leaf.Status)},
          {"Version", std::to_string(leaf.Version)},
          {"Description", leaf.Description2},
          {"Valid until", leaf.ValidUntil},
          {"Duration", DurationText(leaf.Duration, leaf.DurationUnit)},
          {"Publishing", PublishingModeToWord(leaf.PublishTo)}};
}

std::vector<Fact> PersonFacts(const CExtDirItemExtRegOrg& person) {
  return {{"Company", person.CompanyName},   {"Department", person.Department},
          {"Mail", person.MailAddress},      {"City", person.OfficeCity},
          {"Country", person.OfficeCountry}, {"Web site", person.WebSite}};
}

std::vector<Fact> OrderFacts(const CExtDirItemEIDM& order) {
  return {{"State", EidmStateToWord(order.ExtClusterStatus)},
          {"Goal", order.ExtClusterGoal},
          {"Performed by", order.ExtClusterOrg},
          {"Ordered by", order.MasterOrg},
          {"Required by", order.ExtClusterRequiredDate}};
}

// What the tree calls an item, and what the page tells of it.
std::pair<std::string, std::vector<Fact>> Describe(const CExtDirItem* item) {
  if (auto* leaf = dynamic_cast<const CExtDirItemGRILeaf*>(item)) return {"workflow", LeafFacts(*leaf)};
  if (auto* person = dynamic_cast<const CExtDirItemExtRegOrg*>(item))
    return {"person", PersonFacts(*person)};
  if (auto* order = dynamic_cast<const CExtDirItemEIDM*>(item))
    return {"sub-workflow order", OrderFacts(*order)};
  if (dynamic_cast<const CExtDirItemGRIProcView*>(item)) return {"process view", {}};
  return {"", {}};
}

// Each anchor once: both copies of an ordering organisation share their id.
void FillTree(PageDictionary& dict, const CExtDirTreeNode& parent, std::set<std::string>& anchors) {
  if (parent.Children().empty()) {
    dict.ShowSection("EMPTY");
    return;
  }
  PageDictionary* list = dict.AddSectionDictionary("LIST");
  for (const auto& child : parent.Children()) {
    PageDictionary* node = list->AddSectionDictionary("NODE");
    node->SetValue("LABEL", child->Text());
    const CExtDirItem* item = child->Item();
    if (item && !item->ID.empty() && anchors.insert(item->ID).second)
      node->AddSectionDictionary("ANCHOR")->SetValue("ID", Anchor(item->ID));
    const auto [kind, facts] = Describe(item);
    if (!kind.empty()) node->AddSectionDictionary("KIND")->SetValue("TEXT", kind);
    PageDictionary* shown = nullptr;
    for (const auto& [label, value] : facts) {
      if (value.empty()) continue;
      if (!shown) shown = node->AddSectionDictionary("FACTS");
      PageDictionary* fact = shown->AddSectionDictionary("FACT");
      fact->SetValue("LABEL", label);
      fact->SetValue("VALUE", value);
    }
    if (!child->Children().empty()) FillTree(*Include(*node, "CHILDREN", "tree.tpl"), *child, anchors);
  }
}

}  // namespace

std::string CatalogueEntry(const CExtDirData* data, const std::string& itemId) {
  if (!data || !data->FindItemById(itemId)) return {};
  return "extdir.html#" + Anchor(itemId);
}

void FillCataloguePage(PageDictionary& dict, CExtDirData* data, const std::string& problem) {
  if (!data) {
    dict.AddSectionDictionary("NO_DIRECTORY")->SetValue("REASON", problem);
    return;
  }
  dict.AddSectionDictionary("DIRECTORY")->SetValue("TITLE", data->Title());
  CExtDirTree tree(*data);
  tree.ExpandAll(true);
  std::set<std::string> anchors;
  for (const auto& root : tree.Roots()) {
    PageDictionary* section = dict.AddSectionDictionary("SECTION");
    section->SetValue("LABEL", root->Text());
    FillTree(*Include(*section, "TREE", "tree.tpl"), *root, anchors);
  }
}

}  // namespace velk
