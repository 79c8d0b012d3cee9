#pragma once
// How the editor opens the property dialogs of a task and of an arrow. Both run
// modally on the given node or arrow, with the lists of the workflow's loaded
// repositories, and return true when the user closed them with OK: the caller
// then marks the document modified; in either case it repaints its views.

class QWidget;

namespace velk {
class CArrow;
class CExtDirLookup;
class CNode;
class CWorkflowDoc;
}  // namespace velk

// The task property sheet ("Task Properties"); its external-task pages look the
// workflow's External Directory up through `externalDirectory`.
bool EditNodeProperties(QWidget* parent, velk::CWorkflowDoc& document, velk::CNode& node,
                        const velk::CExtDirLookup& externalDirectory);
// The "Task routing" dialog.
bool EditArrowRouting(QWidget* parent, velk::CWorkflowDoc& document, velk::CArrow& arrow);
