#include "app/ui/findbar.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QShortcut>
#include <QVBoxLayout>
#include <algorithm>

#include "app/ui/commands.h"
#include "app/ui/mainframe.h"
#include "app/ui/workflowframe.h"
#include "app/ui/workflowwindows.h"
#include "common/requirecollaborator.h"
#include "editor/ui/workflowview.h"
#include "model/clusterlevels.h"
#include "model/subworkflows.h"
#include "model/workflowdoc.h"
#include "model/workflowundo.h"

using velk::CArrow;
using velk::CNode;

namespace {

// The live node or arrow a result names, or null when the workflow lost it.
template <typename Range, typename T>
auto Live(const Range& all, const T* wanted) -> decltype(*std::ranges::begin(all)) {
  for (auto* element : all)
    if (element == wanted) return element;
  return nullptr;
}

}  // namespace

CFindBar::CFindBar(CMainFrame& frame, CWorkflowWindows& windows, Repository repository)
    : QDockWidget(QStringLiteral("Find"), &frame),
      frame_(frame),
      windows_(windows),
      repository_(std::move(repository)) {
  velk::RequireCollaborator(repository_.read, "stored workflows to find in");
  velk::RequireCollaborator(repository_.open, "opening a stored workflow");
  setObjectName(QStringLiteral("FindBar"));
  BuildWidgets();
  frame.addDockWidget(Qt::TopDockWidgetArea, this);
  hide();
  frame.SetCommandHandler(cmd::EditFind, [this] { Open(); });
  // Something to go to: a workflow to search, or results of the repository.
  auto somewhere = [this](CmdUI& ui) {
    ui.enabled = windows_.ActiveWindow() != nullptr || list_->count() > 0;
  };
  frame.SetCommandHandler(
      cmd::EditFindNext, [this] { Step(1); }, somewhere);
  frame.SetCommandHandler(
      cmd::EditFindPrevious, [this] { Step(-1); }, somewhere);
}

void CFindBar::BuildWidgets() {
  auto* body = new QWidget(this);
  auto* layout = new QVBoxLayout(body);
  layout->setContentsMargins(4, 2, 4, 2);
  text_ = new QLineEdit(body);
  text_->setObjectName(QStringLiteral("FindText"));
  text_->setPlaceholderText(QStringLiteral("Task, performer, form, resource, condition..."));
  text_->setClearButtonEnabled(true);
  text_->installEventFilter(this);
  list_ = new QListWidget(body);
  list_->setObjectName(QStringLiteral("FindResults"));
  list_->setMaximumHeight(list_->fontMetrics().height() * 8);
  scope_ = new QComboBox(body);
  scope_->setObjectName(QStringLiteral("FindScope"));
  scope_->addItems({QStringLiteral("This Workflow"), QStringLiteral("Find in Repository")});
  auto* row = new QHBoxLayout;
  row->addWidget(text_, 1);
  row->addWidget(scope_);
  layout->addLayout(row);
  layout->addWidget(list_);
  setWidget(body);
  connect(text_, &QLineEdit::textChanged, this, [this] { Search(false); });
  connect(scope_, &QComboBox::currentIndexChanged, this, [this] {
    stored_.reset();  // chosen again: read what is stored now
    Search(false);
  });
  connect(text_, &QLineEdit::returnPressed, this,
          [this] { GoTo(std::max(0, list_->currentRow())); });
  connect(list_, &QListWidget::itemActivated, this,
          [this](QListWidgetItem* item) { GoTo(list_->row(item)); });
  auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this, this, [this] {
    hide();
    if (CChildFrame* window = windows_.ActiveWindow()) window->GetView()->setFocus();
  });
  escape->setContext(Qt::WidgetWithChildrenShortcut);
}

CFindBar::~CFindBar() = default;

void CFindBar::Open() {
  show();
  raise();
  text_->setFocus(Qt::ShortcutFocusReason);
  text_->selectAll();
  if (CurrentScope() == InRepository) {
    stored_.reset();  // what was saved since is found too
    Search(false);
  }
  Refresh();
}

void CFindBar::Step(int delta) {
  Refresh();
  const int count = list_->count();
  if (count == 0) return Open();
  const int current = list_->currentRow() < 0 ? (delta > 0 ? -1 : 0) : list_->currentRow();
  const int row = ((current + delta) % count + count) % count;
  list_->setCurrentRow(row);
  GoTo(row);
}

bool CFindBar::eventFilter(QObject* watched, QEvent* event) {
  // Up and Down in the text field walk the list, so the hands stay on the keys.
  if (watched == text_ && event->type() == QEvent::KeyPress && list_->count() > 0) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Down || key == Qt::Key_Up) {
      const int step = key == Qt::Key_Down ? 1 : -1;
      list_->setCurrentRow(std::clamp(list_->currentRow() + step, 0, list_->count() - 1));
      return true;
    }
  }
  return QDockWidget::eventFilter(watched, event);
}

std::shared_ptr<velk::CWorkflowDoc> CFindBar::ActiveWorkflow() const {
  CChildFrame* window = windows_.ActiveWindow();
  return window ? window->Document() : nullptr;
}

CFindBar::Stamp CFindBar::StampOf(const velk::CWorkflowDoc& top) {
  return {&top, top.Session().History().Generation(), top.Session().History().Revision()};
}

CFindBar::Scope CFindBar::CurrentScope() const {
  return scope_->currentIndex() == InRepository ? InRepository : ThisWorkflow;
}

std::vector<CFindBar::Searched> CFindBar::OpenWorkflows() const {
  std::vector<Searched> open;
  if (std::shared_ptr<velk::CWorkflowDoc> active = ActiveWorkflow())
    open.push_back({std::move(active), {}});
  // Breadth first through the sub-workflows open from the ones found, each once.
  for (std::size_t i = 0; i < open.size(); ++i) {
    const velk::CWorkflowDoc& top = open[i].workflow->Top();
    const velk::LevelNames levels(top);
    for (const CNode* node : top.AllNodes()) {
      const velk::CWorkflowDoc* sub = node->ClusterDocument();
      if (!velk::HasSubWorkflow(node->Kind()) || !sub || !sub->IsTopDocument()) continue;
      CChildFrame* window = windows_.FindWindow(*sub);
      if (!window ||
          std::ranges::any_of(open, [sub](const Searched& s) { return &s.workflow->Top() == sub; }))
        continue;
      std::string prefix = open[i].prefix;
      for (const std::string& part : {levels.Of(*node), node->Name()})
        if (!part.empty()) prefix += (prefix.empty() ? "" : " > ") + part;
      open.push_back({window->Document(), std::move(prefix)});
    }
  }
  return open;
}

std::vector<CFindBar::Stamp> CFindBar::StampsOf(const std::vector<Searched>& workflows) const {
  std::vector<Stamp> stamps;
  for (const Searched& s : workflows) stamps.push_back(StampOf(s.workflow->Top()));
  return stamps;
}

void CFindBar::BuildSources(const std::vector<Searched>& workflows) {
  std::vector<Source> sources;
  for (const Searched& s : workflows) {
    const Stamp now = StampOf(s.workflow->Top());
    // Folding every text of a large workflow costs more than a search: only an
    // edit or another workflow makes it necessary.
    auto kept = std::ranges::find_if(
        sources_, [&now](const Source& old) { return !old.owner.expired() && old.stamp == now; });
    if (kept != sources_.end() && kept->index) {
      sources.push_back({s.workflow, std::move(kept->index), now, s.prefix});
      continue;
    }
    sources.push_back(
        {s.workflow, std::make_unique<velk::WorkflowFindIndex>(s.workflow->Top()), now, s.prefix});
  }
  sources_ = std::move(sources);
}

void CFindBar::Search(bool keepRow) {
  const int row = keepRow ? list_->currentRow() : 0;
  list_->clear();
  results_.clear();
  storedHits_.clear();
  if (CurrentScope() == InRepository) return SearchRepository();
  const std::vector<Searched> workflows = OpenWorkflows();
  BuildSources(workflows);
  searched_ = StampsOf(workflows);
  const std::string text = text_->text().toStdString();
  for (std::size_t i = 0; i < sources_.size(); ++i) {
    for (velk::FindResult& r : sources_[i].index->Find(text)) {
      velk::FindResult shown = r;
      if (!sources_[i].prefix.empty())
        shown.level = sources_[i].prefix + (r.level.empty() ? "" : " > " + r.level);
      list_->addItem(QString::fromStdString(velk::DescribeResult(shown)));
      results_.push_back({i, std::move(r)});
    }
  }
  if (!results_.empty()) list_->setCurrentRow(std::clamp(row, 0, list_->count() - 1));
}

void CFindBar::SearchRepository() {
  if (!stored_) stored_ = repository_.read();
  if (!stored_) return;
  storedHits_ = stored_->Find(text_->text().toStdString());
  for (const velk::RepositoryHit& hit : storedHits_)
    list_->addItem(QString::fromStdString(stored_->Describe(hit)));
  if (!storedHits_.empty()) list_->setCurrentRow(0);
}

void CFindBar::OpenStored(int row) {
  if (!stored_ || row < 0 || row >= static_cast<int>(storedHits_.size())) return;
  // A copy: opening may read the repository again.
  const velk::StoredWorkflow chosen =
      stored_->Workflows().at(storedHits_[static_cast<std::size_t>(row)].workflow);
  repository_.open(chosen);
}

void CFindBar::Refresh() {
  if (CurrentScope() == InRepository) return;
  const std::vector<Searched> workflows = OpenWorkflows();
  const bool gone =
      std::ranges::any_of(sources_, [](const Source& s) { return s.owner.expired(); });
  if (workflows.empty() || gone || StampsOf(workflows) != searched_) Search(true);
}

void CFindBar::GoTo(int row) {
  if (CurrentScope() == InRepository) return OpenStored(row);
  Refresh();
  if (row < 0 || row >= static_cast<int>(results_.size())) return;
  const Found& hit = results_[static_cast<std::size_t>(row)];
  std::shared_ptr<velk::CWorkflowDoc> workflow = sources_.at(hit.source).owner.lock();
  if (!workflow) return;
  velk::CWorkflowDoc& top = workflow->Top();
  const velk::FindResult& found = hit.result;
  CNode* node = Live(top.AllNodes(), found.node);
  CArrow* arrow = found.arrow ? Live(top.AllArrows(), found.arrow) : nullptr;
  if (!node || (found.arrow && !arrow)) return;
  velk::CWorkflowDoc* level = &top;
  if (node->BelongsToCluster() != top.Level()) {
    CNode* cluster = top.FindRepresentingNode(node->BelongsToCluster());
    if (!cluster) return;
    windows_.OpenClusterWindow(top, *cluster);
    level = cluster->ClusterDocument();
  }
  CChildFrame* window = level ? windows_.FindWindow(*level) : nullptr;
  if (!window) return;
  windows_.ShowWindow(*window);
  level->Session().DeselectAll();
  velk::Rect area = node->GetRect();
  if (arrow) {
    level->Session().SelectArrow(*arrow);
    area = area.United(arrow->Target()->GetRect());
  } else {
    level->Session().SelectNode(*node);
  }
  auto* view = static_cast<CWorkflowView*>(window->GetView());
  view->ScrollIntoView(area);
  view->InvalidateAll();
  view->setFocus(Qt::ShortcutFocusReason);
  frame_.RequestCommandUpdate();
}
