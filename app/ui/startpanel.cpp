#include "app/ui/startpanel.h"

#include <QLabel>
#include <QMouseEvent>
#include <QVBoxLayout>

namespace {

// A text that runs its link when clicked.
class LinkLabel : public QLabel {
 public:
  LinkLabel(const QString& text, std::function<void()> open, QWidget* parent)
      : QLabel(text, parent), open_(std::move(open)) {
    setObjectName(QStringLiteral("StartLink"));
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
    QFont underlined = font();
    underlined.setUnderline(true);
    setFont(underlined);
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, colours.color(QPalette::Link));
    setPalette(colours);
  }

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) Open();
  }
  void keyPressEvent(QKeyEvent* event) override {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter ||
        event->key() == Qt::Key_Space)
      Open();
    else
      QLabel::keyPressEvent(event);
  }

 private:
  // The link may close the workspace's last window or open the first: it runs
  // once the click is over.
  void Open() {
    if (open_) QMetaObject::invokeMethod(this, open_, Qt::QueuedConnection);
  }

  std::function<void()> open_;
};

}  // namespace

CStartPanel::CStartPanel(QWidget* workspace) : QWidget(workspace), layout_(new QVBoxLayout(this)) {
  setObjectName(QStringLiteral("StartPanel"));
  setAutoFillBackground(true);
  setBackgroundRole(QPalette::Base);
  layout_->setContentsMargins(16, 12, 24, 16);
  layout_->setSpacing(6);
  move(24, 24);
}

void CStartPanel::SetLinks(const std::vector<Link>& begin, const std::vector<Link>& recent) {
  while (QLayoutItem* item = layout_->takeAt(0)) {
    delete item->widget();
    delete item;
  }
  AddHeading(QStringLiteral("Start"));
  for (const Link& link : begin) AddLink(link);
  if (!recent.empty()) {
    layout_->addSpacing(8);
    AddHeading(QStringLiteral("Recent workflows"));
    for (const Link& link : recent) AddLink(link);
  }
  adjustSize();
}

QStringList CStartPanel::LinkTexts() const {
  QStringList texts;
  for (const QLabel* link : findChildren<QLabel*>(QStringLiteral("StartLink")))
    texts << link->text();
  return texts;
}

void CStartPanel::AddHeading(const QString& text) {
  auto* heading = new QLabel(text, this);
  QFont bold = heading->font();
  bold.setBold(true);
  bold.setPointSizeF(bold.pointSizeF() * 1.2);
  heading->setFont(bold);
  layout_->addWidget(heading);
}

void CStartPanel::AddLink(const Link& link) {
  layout_->addWidget(new LinkLabel(link.text, link.open, this), 0, Qt::AlignLeft);
}
