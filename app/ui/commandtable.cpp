#include "app/ui/commandtable.h"

#include <algorithm>
#include <set>

#include "app/ui/commands.h"

namespace {

// clang-format off
const std::vector<CommandInfo> kCommands = {
  // File
  {cmd::FileNew, "&New\tCtrl+N", "New", "Create a new workflow", "new", false},
  {cmd::FileOpen, "&Open...\tCtrl+O", "Open", "Open a stored workflow", "open", false},
  {cmd::FileClose, "&Close", "", "Close the active window", "", false},
  {cmd::FileSave, "&Save\tCtrl+S", "Save", "Save the active workflow", "save", false},
  {cmd::FileSaveAs, "Save &As...", "", "Save the active workflow under another name", "", false},
  {cmd::FilePrint, "&Print...\tCtrl+P", "Print", "Print the active workflow", "print", false},
  {cmd::FilePrintPreview, "Print Pre&view", "", "Show the workflow as it will be printed", "", false},
  {cmd::FilePrintSetup, "P&rint Setup...", "", "Change the printer and printing options", "", false},
  {cmd::FileExport, "&Export...", "", "Save the workflow diagram as a PNG, SVG or PDF file", "", false},
  {cmd::FileImportBpmn, "&Import BPMN...", "", "Open a BPMN 2.0 process as a new workflow", "", false},
  {cmd::FileExportBpmn, "Export as &BPMN...", "", "Save the workflow as a BPMN 2.0 file for other process tools", "", false},
  {cmd::FileMru, "Recent File", "", "Open this document", "", false},
  {cmd::AppExit, "E&xit\tAlt+F4", "", "Quit the application", "", false},
  // Edit
  {cmd::EditUndo, "&Undo\tCtrl+Z", "Undo", "Undo the last change of the workflow", "undo", false},
  {cmd::EditRedo, "&Redo\tCtrl+Y", "Redo", "Redo the change undone last", "redo", false},
  {cmd::EditCut, "Cu&t\tCtrl+X", "Cut", "Cut the selection and put it on the clipboard", "cut", false},
  {cmd::EditCopy, "&Copy\tCtrl+C", "Copy", "Copy the selection to the clipboard", "copy", false},
  {cmd::EditPaste, "&Paste\tCtrl+V", "Paste", "Insert the clipboard contents", "paste", false},
  {cmd::EditDelete, "&Delete\tDel", "Delete", "Delete the selected tasks and arrows", "delete", false},
  {cmd::EditSelectAll, "&Select all\tCtrl+A", "", "Select every task of this level", "", false},
  {cmd::EditFind, "&Find...\tCtrl+F", "", "Find tasks and arrows by their texts", "", false},
  {cmd::EditFindNext, "Find &Next\tF3", "", "Go to the next task or arrow found", "", false},
  {cmd::EditFindPrevious, "Find Pre&vious\tShift+F3", "", "Go to the previous task or arrow found", "", false},
  // View
  {cmd::ViewZoomIn, "Zoom &In\tCtrl++", "", "Show the workflow larger", "", false},
  {cmd::ViewZoomOut, "Zoom &Out\tCtrl+-", "", "Show the workflow smaller", "", false},
  {cmd::ViewZoomFit, "Zoom to &Fit", "", "Show the whole level in the window", "", false},
  {cmd::ViewZoomSelection, "Zoom to &Selection", "", "Show the selected tasks as large as the window allows", "", false},
  {cmd::ViewOverview, "&Overview", "", "Show or hide the overview of the active window's level", "", true},
  {cmd::ViewStandardBar, "&Standard", "", "Show or hide the standard toolbar", "", true},
  {cmd::ViewWorkflowTools, "&Workflow Tools", "", "Show or hide the workflow tools", "", true},
  {cmd::ViewAlignNodes, "&Align Nodes", "", "Show or hide the alignment toolbar", "", true},
  {cmd::ViewShowTexts, "Show Te&xts", "", "Show or hide the text toolbar", "", true},
  {cmd::ViewExtDirBar, "&External Directory Toolbar", "", "Show or hide the External Directory toolbar", "", true},
  {cmd::ViewStatusBar, "&Status Bar", "", "Show or hide the status bar", "", true},
  {cmd::InfoCenter, "Info &Center", "", "Show or hide the Modeler Information Center", "", true},
  {cmd::ExternalDirectory, "&External Directory", "Show External Directory Manager", "Open the External Directory", "extdir", true},
  {cmd::ShowTaskNames, "Show Task Names", "Show Task Names", "Show the name under every task", "shownames", true},
  {cmd::ShowTaskMember, "Show Task Member", "Show Task Member", "Show the performer under every task", "showmember", true},
  {cmd::ShowTaskForms, "Show Task Forms", "Show Task Forms", "Show the first form under every task", "showforms", true},
  {cmd::ShowTaskResources, "Show Task Resources", "Show Task Resources", "Show the first resource under every task", "showresources", true},
  {cmd::ShowArrowDescription, "Show Arrow Description", "Show Arrow Description", "Show the condition of every arrow", "showarrowtext", true},
  // Workflow
  {cmd::WorkflowSettings, "&Workflow Settings", "", "Edit the settings of this workflow", "", false},
  {cmd::ConsistencyCheck, "&Consistency check", "", "Check the workflow for consistency", "", false},
  {cmd::Properties, "&Properties", "", "Edit the properties of the selection", "", false},
  {cmd::OpenSubWorkflow, "Open Sub-Workflow", "", "Open the window of the selected cluster or sub-workflow", "", false},
  {cmd::AlignMenuLeft, "&Left", "", "Align the left edges of the selected tasks", "", false},
  {cmd::AlignMenuRight, "&Right", "", "Align the right edges of the selected tasks", "", false},
  {cmd::AlignMenuTop, "&Top", "", "Align the top edges of the selected tasks", "", false},
  {cmd::AlignMenuBottom, "&Bottom", "", "Align the bottom edges of the selected tasks", "", false},
  {cmd::AlignMenuCenterHorz, "Center &horizontally", "", "Put the selected tasks on one horizontal line", "", false},
  {cmd::AlignMenuCenterVert, "Center &vertically", "", "Put the selected tasks on one vertical line", "", false},
  {cmd::AlignMenuGrid, "&Grid", "", "Snap the tasks to the grid", "", false},
  {cmd::AutoArrange, "Autoarrange Nodes", "", "Arrange the tasks of this level automatically", "", false},
  {cmd::ArrangeLayers, "Arrange as &layers", "Arrange as layers", "Arrange the tasks of this level in rows along the arrows from the start task", "arrangelayers", false},
  {cmd::GroupAsCluster, "&Group nodes as Cluster", "", "Make an internal workflow cluster of the selection", "", false},
  {cmd::VersionHistory, "&Version History...", "", "List the stored versions of this workflow to open one or compare two", "", false},
  {cmd::CompareStoredVersion, "Compare with &Stored Version", "", "Compare the open workflow with the version it was loaded from or saved as", "", false},
  {cmd::ReloadRepository, "&Reload Repository", "", "Read the Application Environment and Infrastructure again", "", false},
  // Workflow tools
  {cmd::ToolSelect, "Select", "", "Select, move and drag tasks and arrows", "select", true},
  {cmd::ToolArrow, "Insert arrow", "Insert arrow", "Connect two tasks by an arrow", "arrow", true},
  {cmd::ToolInternalTask, "Insert internal workflow task", "Insert internal workflow task", "Insert an internal task (hold SHIFT to insert several)", "task", true},
  {cmd::ToolInternalCluster, "Insert internal workflow cluster", "Insert internal workflow cluster", "Insert an internal workflow cluster", "cluster", true},
  {cmd::ToolExtWfTask, "Insert external workflow task", "Insert external workflow task", "Insert a task performed by a partner organisation", "exttask", true},
  {cmd::ToolCentralCluster, "Internal Cluster with central design and replication", "Internal Cluster with central design and replication", "Insert a sub-workflow with central design and replication", "central", true},
  {cmd::ToolExtSubWorkflow, "External sub-workflow with independent design and messaging", "External sub-workflow with independent design and messaging", "Insert an external sub-workflow ordered from a partner", "eidm", true},
  {cmd::ToolExtSubscribed, "Insert external subscribed workflow", "Insert external subscribed workflow", "Insert a workflow subscribed from a partner", "subscribed", true},
  // Align Nodes toolbar
  {cmd::AlignLeft, "Align left", "Align left", "Align the left edges of the selected tasks", "alignleft", false},
  {cmd::AlignRight, "Align right", "Align right", "Align the right edges of the selected tasks", "alignright", false},
  {cmd::AlignTop, "Align top", "Align top", "Align the top edges of the selected tasks", "aligntop", false},
  {cmd::AlignBottom, "Align bottom", "Align bottom", "Align the bottom edges of the selected tasks", "alignbottom", false},
  {cmd::AlignCenterVert, "Center vertical", "Center vertical", "Put the selected tasks on one vertical line", "centervert", false},
  {cmd::AlignCenterHorz, "Center horizontal", "Center horizontal", "Put the selected tasks on one horizontal line", "centerhorz", false},
  {cmd::ToggleGrid, "Toggle grid", "Toggle grid", "Show the grid and snap tasks to it, or neither", "grid", true},
  {cmd::AlignGrid, "Align selected nodes to grid", "Align selected nodes to grid", "Snap the selected tasks to the grid", "aligngrid", false},
  // External Directory
  {cmd::ExtDirSave, "Save &External Directory", "Save External Directory Data", "Write the changed External Directory items", "extdirsave", false},
  {cmd::ExtDirReload, "&Reload External Directory", "Synchronize External Directory Data", "Read the External Directory again", "extdirsync", false},
  {cmd::ExtDirNewFolder, "&New Folder", "", "Create a new folder below the selected item", "", false},
  {cmd::ExtDirDelete, "&Delete", "", "Delete the selected item", "", false},
  {cmd::ExtDirProperties, "&Properties", "", "Edit the properties of the selected item", "", false},
  {cmd::ExtDirExpandBranch, "Expand This Branch", "Expand This Branch", "Expand the selected branch one level", "expand", false},
  {cmd::ExtDirCollapseBranch, "Collapse This Branch", "Collapse This Branch", "Collapse the selected branch", "collapse", false},
  {cmd::ExtDirExpandAll, "Expand All Branches (Hold SHIFT to load all leafs)", "Expand All Branches", "Expand every branch (hold SHIFT to load all leafs)", "expandall", false},
  {cmd::ExtDirCollapseAll, "Collapse All Branches", "Collapse All Branches", "Collapse every branch", "collapseall", false},
  // Options, Window, Help
  {cmd::Settings, "&Settings", "", "Choose the default databases and the editor settings", "", false},
  {cmd::WindowCascade, "&Cascade", "", "Arrange the windows so that they overlap", "", false},
  {cmd::WindowTile, "&Tile", "", "Arrange the windows side by side", "", false},
  {cmd::HelpTopics, "&Help Topics\tF1", "", "List the help topics", "", false},
  {cmd::AppAbout, "&About VelkMod...", "About", "Show program information and version", "about", false},
};
// clang-format on

}  // namespace

const std::vector<CommandInfo>& AllCommands() {
  return kCommands;
}

bool IsCommandBuilt(int id) {
  static const std::set<int> notBuilt = {};
  return !notBuilt.contains(id);
}

const char* SecondShortcut(int id) {
  // Ctrl++ needs SHIFT on most keyboards; the key it shares zooms in without.
  return id == cmd::ViewZoomIn ? "Ctrl+=" : nullptr;
}

const CommandInfo* FindCommand(int id) {
  auto it = std::find_if(kCommands.begin(), kCommands.end(),
                         [id](const CommandInfo& c) { return c.id == id; });
  return it == kCommands.end() ? nullptr : &*it;
}
