#include "app/ui/workflowviewstub.h"

#include <QPalette>

CWorkflowView::CWorkflowView(QWidget* parent) : QScrollArea(parent) {
  setObjectName(QStringLiteral("WorkflowView"));
  auto* page = new QWidget;
  const double dpi = logicalDpiX() > 0 ? logicalDpiX() : 96;
  page->setFixedSize(qRound(kDrawingWidth * dpi / 100), qRound(kDrawingHeight * dpi / 100));
  page->setAutoFillBackground(true);
  QPalette pal = page->palette();
  pal.setColor(QPalette::Window, palette().color(QPalette::Base));
  page->setPalette(pal);
  setWidget(page);
}
