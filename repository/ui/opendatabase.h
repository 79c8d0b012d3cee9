#pragma once
// "Open Database" (`CDlgOpenDatabase`): picks one or more databases on the local
// machine or a server, from the list of a folder or with a file dialog; and
// "Other Server" (`CDlgOtherServer`), where a server not in the list is typed.

#include <QComboBox>
#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "common/services.h"
#include "repository/store/lndatabase.h"

class LNNotesSession;
class QLineEdit;
class QListWidget;
class QPushButton;

class CDlgOtherServer : public QDialog {
  Q_OBJECT
 public:
  explicit CDlgOtherServer(QWidget* parent = nullptr);
  QLineEdit* NameEdit() const { return name_; }
  QString ServerName() const;

 private:
  QLineEdit* name_;
};

class CDlgOpenDatabase : public QDialog {
  Q_OBJECT
 public:
  // "Browse": the files chosen in a file dialog that starts in `directory`.
  using FilePicker = std::function<QStringList(QWidget* parent, const QString& directory)>;

  explicit CDlgOpenDatabase(velk::Services& services, LNNotesSession& session,
                            QWidget* parent = nullptr);

  // After OK: "server;path;path...", the server empty for the local machine;
  // empty when no file name was chosen or the dialog was cancelled.
  std::string ChosenDatabases() const { return chosen_; }

  QComboBox* ServerList() const { return servers_; }
  QLineEdit* PathEdit() const { return path_; }
  QListWidget* DatabaseList() const { return list_; }
  QLineEdit* FileNameEdit() const { return fileName_; }
  QPushButton* RefreshButton() const { return refresh_; }
  QPushButton* BrowseButton() const { return browse_; }
  const std::string& Server() const { return server_; }
  void SetFilePicker(FilePicker picker) { pickFiles_ = std::move(picker); }

  void accept() override;

 private:
  void FillServers();
  // Lists the databases of the server and path; false (reported) when the
  // store could not.
  bool ListDatabases();
  void OnServerChosen(int index);
  void SelectTypedServer(const QString& name);
  void RestoreServer();
  void OnSelectionChanged();
  void OnBrowse();
  void OnRefresh();

  velk::Services& services_;
  LNNotesSession& session_;
  QComboBox* servers_;
  QLineEdit* path_;
  QListWidget* list_;
  QLineEdit* fileName_;
  QPushButton* refresh_;
  QPushButton* browse_;
  FilePicker pickFiles_;
  std::vector<LNDatabase> databases_;
  std::string server_;
  std::string chosen_;
  // The choice in force before the server list was last changed.
  int savedIndex_ = 0;
  std::string savedServer_;
  QString savedPath_;
};
