#include "app/ui/infocenterwnd.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDateTime>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <array>

#include "app/ui/guiservices.h"
#include "app/ui/severityicons.h"
#include "common/services.h"

namespace {

const char* const kTitle = "Modeler Information Center";
const char* const kNoSelection = "Select an entry to read its message.";
const char* const kNoText = "This entry has no further text.";

QString qs(const std::string& s) {
  return QString::fromStdString(s);
}

QDateTime addedAt(const velk::InfoEntry& e) {
  using namespace std::chrono;
  return QDateTime::fromMSecsSinceEpoch(
      duration_cast<milliseconds>(e.added.time_since_epoch()).count());
}

QString timeText(const velk::InfoEntry& e) {
  if (e.added == std::chrono::system_clock::time_point{}) return {};
  return addedAt(e).toString(QStringLiteral("HH:mm:ss"));
}

velk::Severity severityOf(const QTreeWidgetItem* item) {
  return static_cast<velk::Severity>(item->data(0, CInfoCenterWnd::SeverityRole).toInt());
}

void setSeverity(QTreeWidgetItem* item, velk::Severity severity) {
  item->setIcon(CInfoCenterWnd::MessageColumn, SeverityIcon(severity));
  item->setData(0, CInfoCenterWnd::SeverityRole, static_cast<int>(severity));
}

// One line per entry: severity, time and title, then the text indented below.
QString entryText(const velk::InfoEntry& e) {
  QString line =
      QStringLiteral("[%1] %2  %3").arg(SeverityName(e.severity), timeText(e), qs(e.title));
  const QString text = DisplayText(e.text).trimmed();
  if (!text.isEmpty()) line += QStringLiteral("\n    ") + QString(text).replace('\n', "\n    ");
  return line;
}

// Entries per severity.
using Counts = std::array<int, 4>;
constexpr int kCountRole = Qt::UserRole + 10;  // + severity: a category's entries of it

Counts countsOf(const std::vector<velk::InfoEntry>& entries) {
  Counts counts{};
  for (const velk::InfoEntry& e : entries) ++counts[static_cast<int>(e.severity) & 3];
  return counts;
}

// "12 entries: 1 error, 2 warnings, 3 notices".
QString summaryText(const Counts& counts) {
  const int total = counts[0] + counts[1] + counts[2] + counts[3];
  if (total == 0) return QStringLiteral("No entries");
  QStringList parts;
  const char* const names[][2] = {
      {"error", "errors"}, {"warning", "warnings"}, {"notice", "notices"}};
  for (int s = 3; s >= 1; --s)
    if (counts[s] > 0)
      parts << QStringLiteral("%1 %2").arg(counts[s]).arg(
          QLatin1String(names[3 - s][counts[s] > 1]));
  const QString text =
      QStringLiteral("%1 %2").arg(total).arg(QLatin1String(total == 1 ? "entry" : "entries"));
  return parts.isEmpty() ? text + QStringLiteral(", all successful")
                         : text + QStringLiteral(": ") + parts.join(QStringLiteral(", "));
}

Counts countsOf(const QTreeWidgetItem* category) {
  Counts counts{};
  for (int s = 0; s < 4; ++s) counts[s] = category->data(0, kCountRole + s).toInt();
  return counts;
}

bool sameEntries(const velk::InfoEntry& a, const velk::InfoEntry& b) {
  return a == b && a.added == b.added;
}

}  // namespace

CInfoCenterWnd::CInfoCenterWnd(const velk::InfoCenter& center, QWidget* owner)
    : QDialog(owner), center_(center) {
  setObjectName(QStringLiteral("InfoCenter"));
  setWindowTitle(QString::fromLatin1(kTitle));
  setSizeGripEnabled(true);
  BuildLayout();
  resize(660, 480);
  UpdateSummary();
}

void CInfoCenterWnd::BuildLayout() {
  tree_ = new QTreeWidget(this);
  tree_->setObjectName(QStringLiteral("CategoryTree"));
  tree_->setHeaderLabels({QStringLiteral("Message"), QStringLiteral("Time")});
  tree_->header()->setStretchLastSection(false);
  tree_->header()->setSectionResizeMode(MessageColumn, QHeaderView::Stretch);
  tree_->header()->setSectionResizeMode(TimeColumn, QHeaderView::ResizeToContents);
  tree_->setUniformRowHeights(true);
  tree_->setAllColumnsShowFocus(true);
  tree_->setAlternatingRowColors(true);
  tree_->setIconSize(QSize(16, 16));
  connect(tree_, &QTreeWidget::currentItemChanged, this, &CInfoCenterWnd::ShowDescription);

  auto* copy = new QAction(QStringLiteral("&Copy"), tree_);
  copy->setShortcut(QKeySequence::Copy);
  copy->setShortcutContext(Qt::WidgetShortcut);
  connect(copy, &QAction::triggered, this, &CInfoCenterWnd::CopySelection);
  tree_->addAction(copy);
  tree_->setContextMenuPolicy(Qt::ActionsContextMenu);

  description_ = new QPlainTextEdit(this);
  description_->setObjectName(QStringLiteral("Description"));
  description_->setReadOnly(true);
  description_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  description_->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  description_->setPlaceholderText(QString::fromLatin1(kNoSelection));
  auto* label = new QLabel(QStringLiteral("Description:"), this);

  auto* lower = new QWidget(this);
  auto* lowerLayout = new QVBoxLayout(lower);
  lowerLayout->setContentsMargins(0, 0, 0, 0);
  lowerLayout->addWidget(label);
  lowerLayout->addWidget(description_);
  auto* splitter = new QSplitter(Qt::Vertical, this);
  splitter->setChildrenCollapsible(false);
  splitter->addWidget(tree_);
  splitter->addWidget(lower);
  splitter->setStretchFactor(0, 3);
  splitter->setStretchFactor(1, 1);

  summary_ = new QLabel(this);
  summary_->setObjectName(QStringLiteral("Summary"));
  ok_ = new QPushButton(QStringLiteral("&OK"), this);
  cancel_ = new QPushButton(QStringLiteral("&Abbrechen"), this);
  reset_ = new QPushButton(QStringLiteral("&Reset"), this);
  ok_->setDefault(true);
  reset_->setToolTip(QStringLiteral("Rebuild the list from all stored entries"));
  connect(ok_, &QPushButton::clicked, this, &CInfoCenterWnd::accept);
  connect(cancel_, &QPushButton::clicked, this, &CInfoCenterWnd::reject);
  connect(reset_, &QPushButton::clicked, this, &CInfoCenterWnd::Reset);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(summary_, 1);
  for (QPushButton* b : {ok_, cancel_, reset_}) buttons->addWidget(b);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(splitter, 1);
  layout->addLayout(buttons);
  setTabOrder(tree_, description_);
}

const velk::InfoEntry* CInfoCenterWnd::EntryOf(const QTreeWidgetItem* item) const {
  if (!item) return nullptr;
  const int index = item->data(0, EntryRole).toInt();
  return index >= 0 && index < static_cast<int>(shown_.size()) ? &shown_[index] : nullptr;
}

QTreeWidgetItem* CInfoCenterWnd::CategoryItem(const std::string& category) const {
  const QString name = qs(category);
  for (int i = 0; i < tree_->topLevelItemCount(); ++i)
    if (tree_->topLevelItem(i)->text(MessageColumn) == name) return tree_->topLevelItem(i);
  return nullptr;
}

void CInfoCenterWnd::Refresh() {
  const std::vector<velk::InfoEntry>& entries = center_.entries();
  const bool appended = entries.size() >= shown_.size() &&
                        std::equal(shown_.begin(), shown_.end(), entries.begin(), sameEntries);
  if (!appended) {
    Rebuild(CaptureView());
    return;
  }
  const int from = static_cast<int>(shown_.size());
  shown_.insert(shown_.end(), entries.begin() + from, entries.end());
  for (int i = from; i < static_cast<int>(shown_.size()); ++i) AddItem(i);
  SelectNewestError(from);
  UpdateSummary();
}

void CInfoCenterWnd::Reset() {
  Rebuild({});
  SelectNewestError(0);
}

CInfoCenterWnd::ViewState CInfoCenterWnd::CaptureView() const {
  ViewState view;
  for (int i = 0; i < tree_->topLevelItemCount(); ++i)
    if (!tree_->topLevelItem(i)->isExpanded()) view.collapsed << tree_->topLevelItem(i)->text(0);
  if (const QTreeWidgetItem* item = tree_->currentItem()) {
    if (const velk::InfoEntry* e = EntryOf(item))
      view.entry = *e;
    else
      view.category = item->text(MessageColumn);
  }
  return view;
}

void CInfoCenterWnd::Rebuild(const ViewState& view) {
  const QSignalBlocker quiet(tree_);
  tree_->clear();
  shown_ = center_.entries();
  QTreeWidgetItem* select = nullptr;
  for (int i = 0; i < static_cast<int>(shown_.size()); ++i) {
    QTreeWidgetItem* item = AddItem(i);
    if (view.entry && shown_[i] == *view.entry) select = item;
  }
  for (int i = 0; i < tree_->topLevelItemCount(); ++i) {
    QTreeWidgetItem* category = tree_->topLevelItem(i);
    category->setExpanded(!view.collapsed.contains(category->text(0)));
    if (!view.category.isEmpty() && category->text(0) == view.category) select = category;
  }
  tree_->setCurrentItem(select);
  if (!select) tree_->clearSelection();
  ShowDescription();
  UpdateSummary();
}

QTreeWidgetItem* CInfoCenterWnd::AddItem(int index) {
  const velk::InfoEntry& e = shown_[index];
  QTreeWidgetItem* category = EnsureCategoryItem(e.category);
  auto* item = new QTreeWidgetItem(category, {qs(e.title), timeText(e)});
  setSeverity(item, e.severity);
  item->setData(0, EntryRole, index);
  const QString severity = SeverityName(e.severity);
  item->setData(0, Qt::AccessibleTextRole, severity + QStringLiteral(": ") + qs(e.title));
  item->setToolTip(MessageColumn, qs(e.title) + QStringLiteral("\n") + severity +
                                      QStringLiteral(", ") + addedAt(e).toString());
  StyleTimeColumn(item);
  UpdateCategoryItem(category, e);
  return item;
}

// Times are secondary: right-aligned in a quieter colour.
void CInfoCenterWnd::StyleTimeColumn(QTreeWidgetItem* item) const {
  item->setTextAlignment(TimeColumn, Qt::AlignRight | Qt::AlignVCenter);
  item->setForeground(TimeColumn, tree_->palette().brush(QPalette::PlaceholderText));
}

QTreeWidgetItem* CInfoCenterWnd::EnsureCategoryItem(const std::string& name) {
  if (QTreeWidgetItem* existing = CategoryItem(name)) return existing;
  auto* category = new QTreeWidgetItem(tree_, {qs(name)});
  category->setData(0, EntryRole, -1);
  QFont bold = category->font(MessageColumn);
  bold.setBold(true);
  category->setFont(MessageColumn, bold);
  StyleTimeColumn(category);
  setSeverity(category, velk::Severity::Success);
  category->setExpanded(true);
  return category;
}

// The category shows its worst entry's picture and the time of its latest entry.
void CInfoCenterWnd::UpdateCategoryItem(QTreeWidgetItem* category, const velk::InfoEntry& latest) {
  if (latest.severity > severityOf(category)) setSeverity(category, latest.severity);
  category->setText(TimeColumn, timeText(latest));
  const int added = static_cast<int>(latest.severity) & 3;
  category->setData(0, kCountRole + added, category->data(0, kCountRole + added).toInt() + 1);
  category->setToolTip(MessageColumn,
                       category->text(0) + QStringLiteral("\n") + summaryText(countsOf(category)));
}

void CInfoCenterWnd::SelectNewestError(int from) {
  for (int i = static_cast<int>(shown_.size()) - 1; i >= from; --i) {
    if (shown_[i].severity != velk::Severity::Error) continue;
    QTreeWidgetItem* category = CategoryItem(shown_[i].category);
    for (int c = 0; category && c < category->childCount(); ++c) {
      if (category->child(c)->data(0, EntryRole).toInt() != i) continue;
      category->setExpanded(true);
      tree_->setCurrentItem(category->child(c));
      tree_->scrollToItem(category->child(c));
      return;
    }
  }
}

// A category has no text of its own: its counts stand in, greyed as a hint.
void CInfoCenterWnd::ShowDescription() {
  const QTreeWidgetItem* item = tree_->currentItem();
  const velk::InfoEntry* e = EntryOf(item);
  QString hint = QString::fromLatin1(e ? kNoText : kNoSelection);
  if (item && !e) hint = summaryText(countsOf(item)) + QStringLiteral(".\n") + hint;
  description_->setPlaceholderText(hint);
  description_->setPlainText(e ? DisplayText(e->text) : QString());
}

void CInfoCenterWnd::UpdateSummary() {
  summary_->setText(summaryText(countsOf(shown_)));
}

QString CInfoCenterWnd::SelectionText() const {
  const QTreeWidgetItem* item = tree_->currentItem();
  if (!item) return {};
  if (const velk::InfoEntry* e = EntryOf(item)) return entryText(*e);
  QStringList lines{item->text(MessageColumn)};
  for (int i = 0; i < item->childCount(); ++i)
    if (const velk::InfoEntry* e = EntryOf(item->child(i))) lines << entryText(*e);
  return lines.join('\n');
}

void CInfoCenterWnd::CopySelection() const {
  const QString text = SelectionText();
  if (!text.isEmpty()) QApplication::clipboard()->setText(text);
}

void CInfoCenterWnd::accept() {
  RequestHide();
}

void CInfoCenterWnd::reject() {
  RequestHide();
}

void CInfoCenterWnd::closeEvent(QCloseEvent* event) {
  RequestHide();
  event->accept();
}

void CInfoCenterWnd::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  tree_->setFocus();
}

// The owner hides the window on the private message; a window without an owner
// (or whose owner ignores it) hides itself.
void CInfoCenterWnd::RequestHide() {
  QEvent message(kHideMessage);
  if (QWidget* owner = parentWidget()) QCoreApplication::sendEvent(owner, &message);
  if (isVisible()) hide();
}
