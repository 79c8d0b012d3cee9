#pragma once
// Printing and print preview of a workflow view: the drawing as the view shows
// it (texts, grid, selection), at its true size of 0.01 inch per unit, cut into
// pages from the top-left corner as far as the level reaches.

#include <vector>

#include "model/geometry.h"

class CWorkflowView;
class QPrinter;
class QWidget;

// The logical rectangles of the pages `printer` would print for `view`.
std::vector<velk::Rect> WorkflowPrintPages(CWorkflowView& view, QPrinter& printer);
// Prints the pages of the printer's page range (all pages when none is set).
// False when the printer could not start.
bool PrintWorkflow(CWorkflowView& view, QPrinter& printer);

// "Print": the print dialog, then the pages.
void OnFilePrint(CWorkflowView& view);
// Print preview in a dialog over `view`.
void OnFilePrintPreview(CWorkflowView& view);
