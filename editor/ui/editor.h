#pragma once
// The workflow editor of one running program: what every workflow view shares
// (settings, node pictures, printer, internal clipboard, the editing tools and the
// drop target) and the collaborators views reach outside the editor. It is made
// once, where the program is composed, and handed to each view it creates.

#include <QPoint>
#include <Qt>
#include <functional>
#include <memory>
#include <vector>

class CNodeBitmaps;
class CToolBox;
class CWorkflowDropTarget;
class CWorkflowView;
class QAction;
class QMenu;
class QMimeData;
class QPrinter;
class QWidget;

namespace velk {
class CArrow;
class CExtDirLookup;
class CNode;
class CWorkflowDoc;
class NodeClipboard;
class Services;
struct ModelerSettings;
struct WorkflowDatabases;
}  // namespace velk

// Every member must be set: a missing one stops the program at start.
struct EditorCollaborators {
  // The task property sheet; true when closed with OK.
  std::function<bool(QWidget* parent, velk::CWorkflowDoc&, velk::CNode&)> taskProperties;
  // The arrow routing dialog; true when closed with OK.
  std::function<bool(QWidget* parent, velk::CWorkflowDoc&, velk::CArrow&)> arrowProperties;
  // Shows the window of a cluster node's level, or the sub-workflow of an ICDR or
  // CDDR task (opening, loading or creating it when needed).
  std::function<void(velk::CWorkflowDoc&, velk::CNode&)> openClusterWindow;
  // "&Reload Repository".
  std::function<bool(const velk::WorkflowDatabases&)> reloadRepository;
  // Runs the drag of a node out of `source`.
  std::function<void(QWidget* source, std::unique_ptr<QMimeData>)> startDrag;
  // Shows a context menu; returns the chosen entry.
  std::function<QAction*(QMenu&, QPoint globalPos)> execMenu;
  // The keys held when a tool command is given.
  std::function<Qt::KeyboardModifiers()> keyboardModifiers;
  // Menus and toolbars should show the commands' state again.
  std::function<void()> commandStateChanged;
};

// The collaborators of a running program: real dialogs, drags, menus and keys.
// `openClusterWindow` and `commandStateChanged` belong to the shell and are left
// for it to fill in. The task property sheet looks the External Directory up
// through `externalDirectory`.
EditorCollaborators StandardEditorCollaborators(
    std::shared_ptr<const velk::CExtDirLookup> externalDirectory);

class CEditor {
 public:
  // Ends the program with a message naming the first collaborator missing. The
  // views and their commands report through `services`.
  CEditor(velk::Services& services, EditorCollaborators parts, velk::ModelerSettings& settings,
          const CNodeBitmaps& bitmaps, velk::NodeClipboard& clipboard, QPrinter& printer);
  ~CEditor();
  CEditor(const CEditor&) = delete;
  CEditor& operator=(const CEditor&) = delete;

  velk::Services& UserInterface() const { return services_; }
  const EditorCollaborators& Parts() const { return parts_; }
  velk::ModelerSettings& Settings() const { return settings_; }
  const CNodeBitmaps& NodeBitmaps() const { return bitmaps_; }
  velk::NodeClipboard& Clipboard() const { return clipboard_; }
  QPrinter& Printer() const { return printer_; }
  CToolBox& Tools() const { return *tools_; }
  CWorkflowDropTarget& DropTarget() const { return *dropTarget_; }

  // Views register themselves for their lifetime.
  void AddView(CWorkflowView* view) { views_.push_back(view); }
  void RemoveView(CWorkflowView* view);
  // Every live view, oldest first.
  const std::vector<CWorkflowView*>& Views() const { return views_; }
  // Repaints every view of the workflow `doc` belongs to (all its levels).
  void UpdateAllViews(const velk::CWorkflowDoc& doc) const;
  // Whether SHIFT is held for a tool command.
  bool ShiftHeld() const;

 private:
  velk::Services& services_;
  EditorCollaborators parts_;
  velk::ModelerSettings& settings_;
  const CNodeBitmaps& bitmaps_;
  velk::NodeClipboard& clipboard_;
  QPrinter& printer_;
  std::unique_ptr<CToolBox> tools_;
  std::unique_ptr<CWorkflowDropTarget> dropTarget_;
  std::vector<CWorkflowView*> views_;
};
