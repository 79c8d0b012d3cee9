#include "editor/ui/editor.h"

#include <QDrag>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>
#include <algorithm>

#include "repository/databasecache.h"
#include "common/requirecollaborator.h"
#include "dialogs/ui/nodepropertyentry.h"
#include "editor/ui/droptarget.h"
#include "editor/ui/edittool.h"
#include "extdir/extdirlookup.h"
#include "editor/ui/workflowview.h"
#include "model/workflowdoc.h"

EditorCollaborators StandardEditorCollaborators(
    std::shared_ptr<const velk::CExtDirLookup> externalDirectory) {
  EditorCollaborators parts;
  parts.taskProperties = [externalDirectory](QWidget* parent, velk::CWorkflowDoc& doc,
                                             velk::CNode& node) {
    return EditNodeProperties(parent, doc, node, *externalDirectory);
  };
  parts.arrowProperties = EditArrowRouting;
  parts.reloadRepository = velk::ReloadRepository;
  parts.startDrag = [](QWidget* source, std::unique_ptr<QMimeData> data) {
    auto* drag = new QDrag(source);
    drag->setMimeData(data.release());
    drag->exec(Qt::CopyAction | Qt::MoveAction | Qt::LinkAction, Qt::CopyAction);
  };
  parts.execMenu = [](QMenu& menu, QPoint globalPos) { return menu.exec(globalPos); };
  parts.keyboardModifiers = [] { return QGuiApplication::keyboardModifiers(); };
  return parts;
}

CEditor::CEditor(velk::Services& services, EditorCollaborators parts,
                 velk::ModelerSettings& settings, const CNodeBitmaps& bitmaps,
                 velk::NodeClipboard& clipboard, QPrinter& printer)
    : services_(services),
      parts_(std::move(parts)),
      settings_(settings),
      bitmaps_(bitmaps),
      clipboard_(clipboard),
      printer_(printer) {
  using velk::RequireCollaborator;
  RequireCollaborator(parts_.taskProperties, "task property sheet");
  RequireCollaborator(parts_.arrowProperties, "arrow routing dialog");
  RequireCollaborator(parts_.openClusterWindow, "cluster windows");
  RequireCollaborator(parts_.reloadRepository, "reload of the repository");
  RequireCollaborator(parts_.startDrag, "drag of tasks");
  RequireCollaborator(parts_.execMenu, "context menus");
  RequireCollaborator(parts_.keyboardModifiers, "keyboard state");
  RequireCollaborator(parts_.commandStateChanged, "command state of menus and toolbars");
  tools_ = std::make_unique<CToolBox>(*this);
  dropTarget_ = std::make_unique<CWorkflowDropTarget>();
}

CEditor::~CEditor() = default;

void CEditor::RemoveView(CWorkflowView* view) {
  std::erase(views_, view);
}

void CEditor::UpdateAllViews(const velk::CWorkflowDoc& doc) const {
  for (CWorkflowView* view : views_) {
    if (view->Document() && &view->Document()->Top() == &doc.Top()) view->InvalidateAll();
  }
}

bool CEditor::ShiftHeld() const {
  return parts_.keyboardModifiers() & Qt::ShiftModifier;
}
