#pragma once
// The context menus of the workflow view. Their entries are the view's commands:
// each is enabled and checked as the view's command handlers say, and runs
// through them.

#include <QPoint>
#include <memory>

#include "editor/nodemenus.h"

class CWorkflowView;
class QMenu;

// The menu, filled for the view's present selection (not shown).
std::unique_ptr<QMenu> BuildContextMenu(CWorkflowView& view, velk::ContextMenu which);
// Builds the menu, shows it at `globalPos` and runs the chosen command.
void ShowContextMenu(CWorkflowView& view, velk::ContextMenu which, QPoint globalPos);
