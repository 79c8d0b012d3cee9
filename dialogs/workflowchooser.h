#pragma once
// What the two workflow choosers show and do, without their widgets: "Load
// workflow" (a filtered tree of the stored versions by category) and "Save
// Workflow as" (the list of stored versions and a name).

#include <optional>
#include <string>
#include <vector>

#include "repository/processdefdb.h"

namespace velk {

class CWorkflowDoc;

inline constexpr char kNotCategorized[] = "Not categorized";
inline constexpr char kSubWorkflowCategory[] = "VELK Sub-Workflows ICDR/CDDR";
inline constexpr char kNoWorkflowSelectedText[] =
    "No workflow ist selected!\nPlease select one or press \"Cancel\"";
inline constexpr char kWorkflowPointerNotSetText[] =
    "Workflowpointer is not set - programming error!";

// The places of `headers` in the order the choosers list them: the versions of
// a workflow together where its name first occurs, lowest version first; equal
// versions keep their order.
std::vector<std::size_t> VersionOrder(const std::vector<WorkflowHeaderEntry>& headers);

// "%s (Version %3.1f) (%s)": name, version and status word of a stored version.
std::string HeaderDisplayText(const WorkflowHeaderEntry& header);
// The first header showing `text`, or null.
const WorkflowHeaderEntry* FindByDisplayText(const std::vector<WorkflowHeaderEntry>& headers,
                                             const std::string& text);

// The filter drop-down of "Load workflow", by position.
enum class ChooserFilter : int {
  All = 0,
  Design = 1,
  Active = 2,
  Freeze = 3,
  Template = 4,
  Testing = 5,
  SubWorkflows = 6,
};
const std::vector<std::string>& ChooserFilterTexts();

// Image list indices of the tree.
namespace ChooserImage {
inline constexpr int Category = 0;
inline constexpr int SelectedCategory = 1;
// A normal workflow: 2 + its status code; sub-workflows: ICDR 5, CDDR 6.
}  // namespace ChooserImage

struct ChooserVersion {
  std::string text;
  int image = 0;
  std::size_t header = 0;  // its place in the header list the tree was built from
};
struct ChooserCategory {
  std::string name;
  std::vector<ChooserVersion> versions;
};

// One root per category in the order of first occurrence, its versions in the
// order of VersionOrder. Referenced workflows are never listed.
std::vector<ChooserCategory> BuildChooserTree(const std::vector<WorkflowHeaderEntry>& headers,
                                              ChooserFilter filter);

// "Load workflow".
class LoadWorkflowChooser {
 public:
  explicit LoadWorkflowChooser(CProcessDefDb& repository);

  // Reads the headers (forced) and fills the tree for "Show all workflows".
  void Open();
  void SetFilter(ChooserFilter filter);
  ChooserFilter Filter() const { return filter_; }
  const std::vector<ChooserCategory>& Tree() const { return tree_; }
  // The current Process Definitions Database, as the dialog names it.
  std::string DatabaseName() const;

  enum class Outcome { Chosen, NothingChosen, Gone };
  // OK with the selected version's text (none when nothing or a category is
  // selected): reads the headers again and gives back the first header showing
  // that text. NothingChosen has shown its message and the dialog stays; Gone
  // means the version is no longer stored: the tree shows the current headers and
  // the dialog stays.
  Outcome Accept(const std::optional<std::string>& versionText, WorkflowHeaderEntry& chosen);

 private:
  CProcessDefDb& repository_;
  ChooserFilter filter_ = ChooserFilter::All;
  std::vector<ChooserCategory> tree_;
};

// "Save Workflow as".
class SaveWorkflowAsChooser {
 public:
  struct Entry {
    std::string text;
    int icon = -1;  // 0 Design, 1 Active, 2 Freeze; -1: no icon of its own
  };

  // `doc` may be null, which Open reports through `services` as the programming
  // error it is.
  SaveWorkflowAsChooser(Services& services, CWorkflowDoc* doc);

  // Reads the headers (forced), lists them in VersionOrder and takes the workflow's name; false
  // after the message when there is no workflow.
  bool Open();
  const std::vector<Entry>& Entries() const { return entries_; }
  std::string DatabaseName() const;
  const std::string& Name() const { return name_; }
  void SetName(std::string name) { name_ = std::move(name); }
  // Selecting a stored version takes its name.
  void Select(std::size_t index);
  // OK: the workflow takes the name, whatever it is.
  void Accept();

 private:
  Services& services_;
  CWorkflowDoc* doc_;
  CProcessDefDb* repository_ = nullptr;
  std::vector<Entry> entries_;
  std::string name_;
};

}  // namespace velk
