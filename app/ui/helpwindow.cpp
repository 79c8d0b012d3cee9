#include "app/ui/helpwindow.h"

#include <QAbstractTextDocumentLayout>
#include <QDialogButtonBox>
#include <QFile>
#include <QListWidget>
#include <QPointer>
#include <QScrollBar>
#include <QSplitter>
#include <QTextBlock>
#include <QTextBrowser>
#include <QVBoxLayout>

// Outside any namespace: the resource's init function is a global symbol, and the
// library is static, so nothing registers it unless asked.
static void InitHelpResource() {
  Q_INIT_RESOURCE(help);
}

namespace {

constexpr int kTopicLevel = 2;  // "## " headings are the topics
constexpr int kPositionRole = Qt::UserRole;

}  // namespace

QString HelpManualText() {
  InitHelpResource();
  QFile file(QStringLiteral(":/help/manual.md"));
  if (!file.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(file.readAll());
}

CHelpWindow::CHelpWindow(QWidget* parent)
    : QDialog(parent), contents_(new QListWidget), browser_(new QTextBrowser) {
  InitHelpResource();
  setObjectName(QStringLiteral("HelpWindow"));
  setWindowTitle(QStringLiteral("VELK Modeler Help"));
  setModal(false);
  resize(720, 640);

  contents_->setObjectName(QStringLiteral("HelpContents"));
  browser_->setObjectName(QStringLiteral("HelpText"));
  browser_->setMarkdown(HelpManualText());
  FillContents();

  auto* splitter = new QSplitter(Qt::Horizontal);
  splitter->addWidget(contents_);
  splitter->addWidget(browser_);
  splitter->setStretchFactor(1, 1);
  splitter->setSizes({180, 540});

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(splitter, 1);
  layout->addWidget(buttons);

  // Clicks, also on the current entry, and the arrow keys lead to a topic. The list
  // makes its first entry current when it first gets focus; that must not scroll
  // past the manual's introduction, hence no topic without a previous entry.
  connect(contents_, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* item) { ShowTopic(contents_->row(item)); });
  connect(contents_, &QListWidget::currentItemChanged, this,
          [this](QListWidgetItem* current, QListWidgetItem* previous) {
            if (previous) ShowTopic(contents_->row(current));
          });
}

// The topics are taken from the rendered document, so an entry always has its
// heading and formatting inside a heading cannot make them disagree.
void CHelpWindow::FillContents() {
  for (QTextBlock block = browser_->document()->begin(); block.isValid(); block = block.next()) {
    if (block.blockFormat().headingLevel() != kTopicLevel) continue;
    auto* item = new QListWidgetItem(block.text(), contents_);
    item->setData(kPositionRole, block.position());
  }
}

void CHelpWindow::ShowTopic(int row) {
  const QListWidgetItem* item = contents_->item(row);
  if (!item) return;
  QTextDocument* document = browser_->document();
  const QTextBlock block = document->findBlock(item->data(kPositionRole).toInt());
  browser_->setTextCursor(QTextCursor(block));
  const QRectF area = document->documentLayout()->blockBoundingRect(block);
  browser_->verticalScrollBar()->setValue(static_cast<int>(area.top()));
}

void ShowHelpTopics(QWidget* parent) {
  static QPointer<CHelpWindow> window;
  if (!window) window = new CHelpWindow(parent);
  window->show();
  window->raise();
  window->activateWindow();
}
