#pragma once
// What the empty workspace shows: how to begin. Links to a new workflow, to the
// workflow chooser and to the recent workflows, drawn on the workspace's
// background while no window is open.

#include <QWidget>
#include <functional>
#include <vector>

class QVBoxLayout;

class CStartPanel : public QWidget {
  Q_OBJECT
 public:
  struct Link {
    QString text;
    std::function<void()> open;
  };

  // `workspace`: the widget the panel is drawn on (the MDI area's viewport).
  explicit CStartPanel(QWidget* workspace);

  // The links to show, in two groups: how to begin, then the recent workflows
  // (the group is left out without any).
  void SetLinks(const std::vector<Link>& begin, const std::vector<Link>& recent);
  // The link texts shown, in order.
  QStringList LinkTexts() const;

 private:
  void AddHeading(const QString& text);
  void AddLink(const Link& link);

  QVBoxLayout* layout_;
};
