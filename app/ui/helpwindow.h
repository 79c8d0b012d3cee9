#pragma once
// "Help Topics": the user manual, compiled into the program, in a non-modal
// window with its topics listed beside the text.

#include <QDialog>
#include <QString>

class QListWidget;
class QTextBrowser;

class CHelpWindow : public QDialog {
  Q_OBJECT
 public:
  explicit CHelpWindow(QWidget* parent = nullptr);

  QTextBrowser* Browser() const { return browser_; }
  QListWidget* Contents() const { return contents_; }
  // Scrolls the text so that topic `row` of the contents list starts at the top.
  void ShowTopic(int row);

 private:
  void FillContents();

  QListWidget* contents_;
  QTextBrowser* browser_;
};

// The manual as Markdown; empty if the resource is missing.
QString HelpManualText();

// Shows the program's one help window: made the first time, raised later.
void ShowHelpTopics(QWidget* parent);
