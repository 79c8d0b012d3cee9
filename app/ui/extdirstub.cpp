#include "app/ui/extdirstub.h"

CExtDirView::CExtDirView(QWidget* parent) : QTreeWidget(parent) {
  setObjectName(QStringLiteral("ExtDirView"));
  setHeaderHidden(true);
  setRootIsDecorated(true);
}
