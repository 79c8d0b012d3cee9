#pragma once
// PLACEHOLDER until the workflow drawing lands: an empty white drawing area of
// the workflow's size. The real CWorkflowView replaces this file.

#include <QScrollArea>

class CWorkflowView : public QScrollArea {
  Q_OBJECT
 public:
  // The drawing area in logical units of 0.01 inch.
  static constexpr int kDrawingWidth = 2050;
  static constexpr int kDrawingHeight = 2900;

  explicit CWorkflowView(QWidget* parent = nullptr);
};
