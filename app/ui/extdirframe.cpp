#include "app/ui/extdirframe.h"

CExtDirChildFrame::CExtDirChildFrame(QWidget* view, QWidget* parent) : CMdiChild(parent) {
  setObjectName(QStringLiteral("ExtDirFrame"));
  setWindowIcon(QIcon(QStringLiteral(":/toolbar/extdir.svg")));
  setWidget(view);
  setWindowTitle(QStringLiteral("External Directory"));
  // Room for the section labels and a few levels of folders.
  resize(460, 620);
}
