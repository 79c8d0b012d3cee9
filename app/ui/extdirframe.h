#pragma once
// The External Directory window: a plain child frame around its tree view. There
// is never more than one.

#include "app/ui/mdichild.h"

class CExtDirChildFrame : public CMdiChild {
  Q_OBJECT
 public:
  explicit CExtDirChildFrame(QWidget* view, QWidget* parent = nullptr);
  MenuSet Menus() const override { return MenuSet::ExternalDirectory; }
};
