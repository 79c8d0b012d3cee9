#include "app/ui/doctemplate.h"

#include <QMdiArea>

#include "app/ui/mdichild.h"

CDocTemplate::CDocTemplate(int resourceId, QString docName, FrameFactory makeFrame)
    : resourceId_(resourceId), docName_(std::move(docName)), makeFrame_(std::move(makeFrame)) {}

CMdiChild* CDocTemplate::OpenNewFrame(QMdiArea* area) {
  return makeFrame_ ? AddFrame(area, makeFrame_()) : nullptr;
}

CMdiChild* CDocTemplate::AddFrame(QMdiArea* area, CMdiChild* frame) {
  if (!frame) return nullptr;
  area->addSubWindow(frame);
  frames_.append(frame);
  frame->show();
  area->setActiveSubWindow(frame);
  return frame;
}

QList<CMdiChild*> CDocTemplate::Frames() const {
  QList<CMdiChild*> open;
  frames_.removeIf([](const QPointer<CMdiChild>& p) { return p.isNull(); });
  for (const auto& p : frames_)
    if (!p->isHidden()) open.append(p.data());  // a closed window awaits deletion
  return open;
}
