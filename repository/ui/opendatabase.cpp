#include "repository/ui/opendatabase.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/services.h"
#include "app/ui/guiservices.h"
#include "repository/databasechoice.h"
#include "repository/noteserror.h"
#include "repository/store/lnnotes.h"
#include "repository/ui/settingsicons.h"

namespace {

constexpr char kOtherServer[] = "Other Server...";

QString ToQ(const std::string& text) {
  return QString::fromStdString(text);
}
std::string FromQ(const QString& text) {
  return text.toStdString();
}

QStringList PickNsfFiles(QWidget* parent, const QString& directory) {
  return QFileDialog::getOpenFileNames(
      parent, QStringLiteral("Open"), directory,
      QStringLiteral("Notes Database Files (*.nsf);;All Files (*)"));
}

QPushButton* NewButton(const QString& text, int id) {
  auto* button = new QPushButton(text);
  button->setObjectName(QStringLiteral("button%1").arg(id));
  button->setAutoDefault(false);
  return button;
}

}  // namespace

CDlgOtherServer::CDlgOtherServer(QWidget* parent) : QDialog(parent), name_(new QLineEdit) {
  setWindowTitle(QStringLiteral("Other Server"));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  UseAbbrechen(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  name_->setMinimumWidth(240);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("Name of Server:")));
  layout->addWidget(name_);
  layout->addWidget(buttons);
}

QString CDlgOtherServer::ServerName() const {
  return name_->text().trimmed();
}

CDlgOpenDatabase::CDlgOpenDatabase(velk::Services& services, LNNotesSession& session,
                                   QWidget* parent)
    : QDialog(parent),
      services_(services),
      session_(session),
      servers_(new QComboBox),
      path_(new QLineEdit),
      list_(new QListWidget),
      fileName_(new QLineEdit),
      refresh_(NewButton(QStringLiteral("Refresh"), 3)),
      browse_(NewButton(QStringLiteral("Browse"), 1015)),
      pickFiles_(PickNsfFiles) {
  setWindowTitle(QStringLiteral("Open Database"));
  servers_->setObjectName(QStringLiteral("combo1005"));
  path_->setObjectName(QStringLiteral("edit1290"));
  list_->setObjectName(QStringLiteral("list1008"));
  fileName_->setObjectName(QStringLiteral("edit1018"));
  list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  list_->setIconSize(QSize(16, 16));
  list_->setMinimumSize(360, 220);
  fileName_->setMinimumWidth(360);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  buttons->addButton(refresh_, QDialogButtonBox::ActionRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &CDlgOpenDatabase::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* grid = new QGridLayout(this);
  grid->addWidget(new QLabel(QStringLiteral("Server:")), 0, 0);
  grid->addWidget(servers_, 0, 1, 1, 2);
  grid->addWidget(new QLabel(QStringLiteral("Database Path:")), 1, 0);
  grid->addWidget(path_, 1, 1, 1, 2);
  grid->addWidget(new QLabel(QStringLiteral("Databases:")), 2, 0, Qt::AlignTop);
  grid->addWidget(list_, 2, 1, 1, 2);
  grid->addWidget(new QLabel(QStringLiteral("Filename:")), 3, 0);
  grid->addWidget(fileName_, 3, 1);
  grid->addWidget(browse_, 3, 2);
  grid->addWidget(buttons, 4, 0, 1, 3);
  grid->setColumnStretch(1, 1);

  connect(servers_, &QComboBox::activated, this, &CDlgOpenDatabase::OnServerChosen);
  connect(list_, &QListWidget::itemSelectionChanged, this, &CDlgOpenDatabase::OnSelectionChanged);
  connect(browse_, &QPushButton::clicked, this, &CDlgOpenDatabase::OnBrowse);
  connect(refresh_, &QPushButton::clicked, this, &CDlgOpenDatabase::OnRefresh);

  velk::StatusScope status(services_, "Retrieving Notes Environment Data...");
  path_->setText(ToQ(session_.GetDataDirectory()));
  FillServers();
  ListDatabases();
  savedPath_ = path_->text();
}

void CDlgOpenDatabase::FillServers() {
  servers_->addItem(QString::fromLatin1(velk::kLocalServerText));
  std::vector<std::string> names;
  LNThrowAllErrorsScope returnErrors(session_, false);
  if (session_.GetServerNames(&names) == LNNOERROR)
    for (const std::string& name : names) servers_->addItem(ToQ(name));
  servers_->addItem(QString::fromLatin1(kOtherServer));
  servers_->setCurrentIndex(0);
}

bool CDlgOpenDatabase::ListDatabases() {
  std::vector<LNDatabase> found;
  LNSTATUS status = LNNOERROR;
  {
    LNThrowAllErrorsScope returnErrors(session_, false);  // only their paths are shown
    status = session_.GetDatabases(&found, FromQ(path_->text()), server_);
  }
  if (status != LNNOERROR && !LNIsWarning(status)) {
    ShowNotesError(services_, {}, LNStatusError(status, session_.ErrorMessage(status)));
    return false;
  }
  databases_ = std::move(found);
  list_->clear();
  const std::string directory = FromQ(path_->text());
  const QIcon icon = OpenDatabaseImage(3);
  for (const LNDatabase& db : databases_)
    new QListWidgetItem(icon, ToQ(velk::DatabaseEntryText(db.GetFilepath(), directory)), list_);
  return true;
}

void CDlgOpenDatabase::OnServerChosen(int index) {
  const QString text = servers_->itemText(index);
  QString typed;
  if (text == QLatin1String(velk::kLocalServerText)) {
    server_.clear();
  } else if (text == QLatin1String(kOtherServer)) {
    CDlgOtherServer other(this);
    if (other.exec() != QDialog::Accepted) {
      RestoreServer();
      return;
    }
    typed = other.ServerName();
    server_ = FromQ(typed);
  } else {
    server_ = FromQ(text);
  }
  // Folders on a server are named from its top, not from the local data directory.
  if (server_ != savedServer_)
    path_->setText(server_.empty() ? ToQ(session_.GetDataDirectory()) : QString());
  if (!ListDatabases()) {
    // The previous server and folder were listed before; show them again.
    RestoreServer();
    path_->setText(savedPath_);
    ListDatabases();
    return;
  }
  if (text == QLatin1String(kOtherServer)) SelectTypedServer(typed);
  savedIndex_ = servers_->currentIndex();
  savedServer_ = server_;
  savedPath_ = path_->text();
}

void CDlgOpenDatabase::SelectTypedServer(const QString& name) {
  const int other = servers_->count() - 1;
  for (int i = 0; i < other; ++i) {
    if (servers_->itemText(i).startsWith(name, Qt::CaseInsensitive)) {
      servers_->setCurrentIndex(i);
      return;
    }
  }
  servers_->insertItem(other, name);
  servers_->setCurrentIndex(other);
}

void CDlgOpenDatabase::RestoreServer() {
  servers_->setCurrentIndex(savedIndex_);
  server_ = savedServer_;
}

void CDlgOpenDatabase::OnSelectionChanged() {
  std::vector<std::string> paths;
  const std::string directory = FromQ(path_->text());
  for (int row = 0; row < list_->count(); ++row)
    if (list_->item(row)->isSelected())
      paths.push_back(velk::JoinDatabasePath(directory, FromQ(list_->item(row)->text())));
  fileName_->setText(ToQ(velk::JoinChosenPaths(paths, {server_, session_.GetDataDirectory()})));
}

void CDlgOpenDatabase::OnBrowse() {
  const QStringList files = pickFiles_(this, path_->text());
  if (files.isEmpty()) return;
  std::vector<std::string> paths;
  for (const QString& file : files) paths.push_back(FromQ(file));
  fileName_->setText(ToQ(velk::JoinChosenPaths(paths, {server_, session_.GetDataDirectory()})));
}

void CDlgOpenDatabase::OnRefresh() {
  velk::WaitCursor wait(services_);
  ListDatabases();
}

void CDlgOpenDatabase::accept() {
  chosen_ = velk::ChosenDatabasesText(server_, FromQ(fileName_->text().trimmed()));
  QDialog::accept();
}
