#pragma once
// A kind of MDI window: its resource number, its document name and how a new
// window of that kind is made. Keeps the list of its open windows.

#include <QList>
#include <QPointer>
#include <QString>
#include <functional>

class CMdiChild;
class QMdiArea;

class CDocTemplate {
 public:
  using FrameFactory = std::function<CMdiChild*()>;

  CDocTemplate(int resourceId, QString docName, FrameFactory makeFrame);

  int ResourceId() const { return resourceId_; }
  const QString& DocName() const { return docName_; }

  // Makes a new window, adds it to `area` and shows it; nullptr when none was made.
  CMdiChild* OpenNewFrame(QMdiArea* area);
  // Adds a window made elsewhere (e.g. with a given document) to `area`.
  CMdiChild* AddFrame(QMdiArea* area, CMdiChild* frame);
  // The open windows, oldest first; closed ones no longer count.
  QList<CMdiChild*> Frames() const;

 private:
  int resourceId_;
  QString docName_;
  FrameFactory makeFrame_;
  mutable QList<QPointer<CMdiChild>> frames_;
};
