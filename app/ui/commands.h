#pragma once
// Command identifiers of menus and toolbars, and how windows take part in
// handling them. A command nobody handles is disabled.

#include <QString>

namespace cmd {
enum : int {
  // Framework commands.
  FileNew = 0xE100,
  FileOpen = 0xE101,
  FileClose = 0xE102,
  FileSave = 0xE103,
  FileSaveAs = 0xE104,
  FilePrintSetup = 0xE106,
  FilePrint = 0xE107,
  FilePrintPreview = 0xE109,
  FileMru = 0xE110,
  EditDelete = 0xE120,
  EditCopy = 0xE122,
  EditCut = 0xE123,
  EditPaste = 0xE125,
  EditSelectAll = 0xE12A,
  EditUndo = 0xE12B,
  EditRedo = 0xE12C,
  WindowCascade = 0xE131,
  WindowTile = 0xE132,
  AppAbout = 0xE140,
  AppExit = 0xE141,
  HelpTopics = 0xE143,
  ViewStandardBar = 0xE800,
  ViewStatusBar = 0xE801,

  // The main frame.
  Settings = 32771,
  ViewWorkflowTools = 32777,
  InfoCenter = 32783,
  ExternalDirectory = 32807,
  ViewShowTexts = 32819,
  ViewAlignNodes = 32837,
  ViewExtDirBar = 32865,

  // Workflow view: tools.
  ToolSelect = 32779,
  ToolArrow = 33001,
  ToolInternalTask = 33002,
  ToolInternalCluster = 33003,
  ToolExtWfTask = 33004,
  ToolCentralCluster = 33005,
  ToolExtSubWorkflow = 33006,
  ToolExtSubscribed = 33007,

  // Workflow view: layout.
  AlignLeft = 32784,
  AlignRight = 32785,
  AlignTop = 32786,
  AlignBottom = 32787,
  AlignCenterHorz = 32788,
  AlignCenterVert = 32789,
  AlignGrid = 32798,
  AlignMenuLeft = 32794,
  AlignMenuRight = 32795,
  AlignMenuTop = 32797,
  AlignMenuBottom = 32799,
  AlignMenuCenterHorz = 32802,
  AlignMenuCenterVert = 32803,
  AlignMenuGrid = 32793,
  AutoArrange = 32805,
  ArrangeLayers = 33040,
  GroupAsCluster = 32839,
  ToggleGrid = 33010,

  // Workflow view: texts beside the nodes.
  ShowTaskNames = 33011,
  ShowTaskMember = 33012,
  ShowTaskForms = 33013,
  ShowTaskResources = 33014,
  ShowArrowDescription = 33015,

  // Workflow document and view.
  WorkflowSettings = 33020,
  ConsistencyCheck = 33021,
  Properties = 33022,
  OpenSubWorkflow = 33023,
  ReloadRepository = 33024,
  ViewZoomIn = 33030,
  ViewZoomOut = 33031,
  ViewZoomFit = 33032,
  FileExport = 33033,
  VersionHistory = 33050,
  CompareStoredVersion = 33051,
  EditFind = 33060,
  EditFindNext = 33061,
  EditFindPrevious = 33062,
  ViewZoomSelection = 33063,
  ViewOverview = 33064,
  FileImportBpmn = 33070,
  FileExportBpmn = 33071,

  // External Directory view.
  ExtDirNewFolder = 32811,
  ExtDirProperties = 32812,
  ExtDirDelete = 32848,
  ExtDirSave = 32861,
  ExtDirReload = 32864,
  ExtDirExpandBranch = 32869,
  ExtDirCollapseBranch = 32870,
  ExtDirExpandAll = 32871,
  ExtDirCollapseAll = 32873,
};
}  // namespace cmd

// State of a menu entry or toolbar button, filled by whoever handles the command.
struct CmdUI {
  bool enabled = true;
  bool checked = false;
  // Insert tools kept for several inserts show a pressed-but-grey button.
  bool indeterminate = false;
  QString text;  // replaces the menu text when not empty
};

// A window that handles commands. The main frame offers each command to the
// active view, then to its child frame, then handles it itself.
class CommandTarget {
 public:
  virtual ~CommandTarget() = default;
  // True when the command was carried out.
  virtual bool OnCommand(int id) = 0;
  // True when this target handles `id`; it then sets `ui`, which starts enabled
  // and unchecked.
  virtual bool OnUpdateCommand(int id, CmdUI& ui) = 0;
};
