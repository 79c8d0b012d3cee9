#pragma once
// Where the editing tools reach work that lives elsewhere: the property sheets,
// the windows of clusters and sub-workflows, the External Directory, the drag and
// the context menu loops. Unset hooks fall back as noted; tests replace them.

#include <QJsonObject>
#include <QPoint>
#include <Qt>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class QMenu;
class QAction;
class QMimeData;
class QWidget;

namespace velk {
class CArrow;
class CNode;
class CWorkflowDoc;
class NodeClipboard;
struct WorkflowDatabases;
}  // namespace velk

struct EditorHooks {
  // "Task Properties" on a node; true when closed with OK. InstallEditingTools
  // sets the task property sheet; unset, the command is disabled.
  std::function<bool(QWidget* parent, velk::CWorkflowDoc&, velk::CNode&)> taskProperties;
  // The arrow routing dialog; true when closed with OK. Set like taskProperties.
  std::function<bool(QWidget* parent, velk::CWorkflowDoc&, velk::CArrow&)> arrowProperties;
  // Shows the window of a cluster node's level. Unset: nothing opens.
  std::function<void(velk::CWorkflowDoc&, velk::CNode&)> openClusterWindow;
  // Opens the sub-workflow of a node of kind ICDR or CDDR. Unset: nothing opens.
  std::function<void(velk::CWorkflowDoc&, velk::CNode&)> openSubWorkflow;
  // The name of the organisation that offers a dropped External Directory leaf
  // (given by its field values). Unset or nothing: the node's member stays.
  std::function<std::optional<std::string>(const QJsonObject& leaf)> organisationOfLeaf;
  // "&Reload Repository". Unset: the databases' own reload (app/databasecache.h).
  std::function<bool(const velk::WorkflowDatabases&)> reloadRepository;
  // Runs the drag of a node out of `source`. Unset: a QDrag allowing copy, move
  // and link.
  std::function<void(QWidget* source, std::unique_ptr<QMimeData>)> startDrag;
  // Shows a context menu; returns the chosen entry. Unset: QMenu::exec.
  std::function<QAction*(QMenu&, QPoint globalPos)> execMenu;
  // The keys held when a tool command is given. Unset: the application's.
  std::function<Qt::KeyboardModifiers()> keyboardModifiers;
};

EditorHooks& editorHooks();

// The program's internal clipboard (the application's; a private one without it).
velk::NodeClipboard& EditorClipboard();
