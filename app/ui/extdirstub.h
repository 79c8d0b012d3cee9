#pragma once
// PLACEHOLDER until the External Directory lands: a document without data and an
// empty tree. The real CExtDirDoc and CExtDirView replace this file.

#include <QString>
#include <QTreeWidget>

class CExtDirDoc {
 public:
  QString GetTitle() const { return QStringLiteral("External Directory"); }
};

class CExtDirView : public QTreeWidget {
  Q_OBJECT
 public:
  explicit CExtDirView(QWidget* parent = nullptr);
};
