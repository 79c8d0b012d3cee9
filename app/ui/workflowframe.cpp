#include "app/ui/workflowframe.h"

#include <QPointer>

#include "editor/ui/workflowview.h"
#include "model/workflowdoc.h"

CChildFrame::CChildFrame(std::shared_ptr<CWorkflowDoc> doc, QWidget* view, QWidget* parent)
    : CMdiChild(parent), doc_(std::move(doc)) {
  setObjectName(QStringLiteral("WorkflowFrame"));
  setWindowIcon(QIcon(QStringLiteral(":/toolbar/task.svg")));
  setWidget(view);
  if (!doc_) {
    setWindowTitle(QStringLiteral("New workflow"));
    return;
  }
  QPointer<CChildFrame> self(this);
  doc_->SetTitleHandler([self](CWorkflowDoc& d) {
    if (self) self->setWindowTitle(QString::fromStdString(d.Title()));
  });
  doc_->RefreshTitle();
}

CChildFrame::~CChildFrame() {
  if (doc_) doc_->SetTitleHandler({});
}

void CChildFrame::ReleaseDocument() {
  canClose = {};
  // The view may be the one whose command removed the level: it lets go of the
  // document now and goes later, with this window.
  if (auto* view = qobject_cast<CWorkflowView*>(widget())) view->ReleaseDocument();
  if (doc_) doc_->SetTitleHandler({});
  doc_.reset();
}
