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
  doc_->Session().SetTitleHandler([self](CWorkflowDoc& d) {
    if (self) self->setWindowTitle(QString::fromStdString(d.Session().Title()));
  });
  doc_->Session().RefreshTitle();
}

CChildFrame::~CChildFrame() {
  if (doc_) doc_->Session().SetTitleHandler({});
}

void CChildFrame::ReleaseDocument() {
  canClose = {};
  // The view may be the one whose command removed the level: it lets go of the
  // document now and goes later, with this window.
  if (auto* view = qobject_cast<CWorkflowView*>(widget())) view->ReleaseDocument();
  if (doc_) doc_->Session().SetTitleHandler({});
  doc_.reset();
}
