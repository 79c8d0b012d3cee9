#include "app/ui/infocenterwnd.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/infocenter.h"

namespace {
QIcon severityIcon(const QStyle* style, velk::Severity s) {
  switch (s) {
    case velk::Severity::Success: return style->standardIcon(QStyle::SP_DialogApplyButton);
    case velk::Severity::Notice: return style->standardIcon(QStyle::SP_MessageBoxInformation);
    case velk::Severity::Warning: return style->standardIcon(QStyle::SP_MessageBoxWarning);
    case velk::Severity::Error: return style->standardIcon(QStyle::SP_MessageBoxCritical);
  }
  return {};
}
}  // namespace

CInfoCenterWnd::CInfoCenterWnd(QWidget* parent) : QDialog(parent, Qt::Tool) {
  setObjectName(QStringLiteral("InfoCenter"));
  setWindowTitle(QStringLiteral("Modeler Information Center"));
  resize(520, 380);

  tree_ = new QTreeWidget(this);
  tree_->setHeaderHidden(true);
  description_ = new QPlainTextEdit(this);
  description_->setReadOnly(true);
  description_->setMaximumHeight(90);
  connect(tree_, &QTreeWidget::currentItemChanged, this, &CInfoCenterWnd::ShowDescription);

  auto* ok = new QPushButton(QStringLiteral("&OK"), this);
  auto* cancel = new QPushButton(QStringLiteral("&Abbrechen"), this);
  auto* reset = new QPushButton(QStringLiteral("&Reset"), this);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QWidget::close);
  connect(cancel, &QPushButton::clicked, this, &QWidget::close);
  connect(reset, &QPushButton::clicked, this, &CInfoCenterWnd::Refresh);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  for (QPushButton* b : {ok, cancel, reset}) buttons->addWidget(b);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tree_, 1);
  layout->addWidget(new QLabel(QStringLiteral("Description:"), this));
  layout->addWidget(description_);
  layout->addLayout(buttons);
}

void CInfoCenterWnd::Refresh() {
  const velk::InfoCenter& info = velk::InfoCenter::instance();
  tree_->clear();
  for (const std::string& category : info.categories()) {
    auto* top = new QTreeWidgetItem(tree_, {QString::fromStdString(category)});
    if (auto worst = info.highestSeverity(category)) top->setIcon(0, severityIcon(style(), *worst));
    for (const velk::InfoEntry& e : info.entries(category)) {
      auto* item = new QTreeWidgetItem(top, {QString::fromStdString(e.title)});
      item->setIcon(0, severityIcon(style(), e.severity));
      item->setData(0, Qt::UserRole, QString::fromStdString(e.text));
    }
    top->setExpanded(true);
  }
  description_->clear();
}

void CInfoCenterWnd::ShowDescription() {
  QTreeWidgetItem* item = tree_->currentItem();
  QString text = item ? item->data(0, Qt::UserRole).toString() : QString();
  description_->setPlainText(text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

void CInfoCenterWnd::closeEvent(QCloseEvent* event) {
  event->ignore();
  reject();
}

void CInfoCenterWnd::reject() {
  hide();
  emit closedByUser();
}
