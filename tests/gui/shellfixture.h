#pragma once
// Helpers for tests of the application shell: a private settings file and data
// folder, and a watcher that answers message boxes as they appear.

#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "app/qsettings/qsettingsbackend.h"
#include "app/settings.h"
#include "app/ui/velkmodapp.h"
#include "common/headlessservices.h"
#include "repository/demodata.h"
#include "repository/store/lnsession.h"

namespace shelltest {

// Records every message box shown while it lives and presses a button: the next
// queued answer, else the box's default button.
class MessageBoxWatcher : public QObject {
 public:
  struct Box {
    QString title;
    QString text;
    QMessageBox::Icon icon;
    QMessageBox::StandardButtons buttons;
  };

  MessageBoxWatcher() {
    connect(&timer_, &QTimer::timeout, this, &MessageBoxWatcher::Poll);
    timer_.start(5);
  }

  std::vector<Box> boxes;
  std::deque<QMessageBox::StandardButton> answers;

  QStringList Texts() const {
    QStringList texts;
    for (const Box& b : boxes) texts << b.text;
    return texts;
  }

 private:
  void Poll() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || !box->isVisible()) return;
    boxes.push_back({box->windowTitle(), box->text(), box->icon(), box->standardButtons()});
    QAbstractButton* press = box->defaultButton();
    if (!answers.empty()) {
      press = box->button(answers.front());
      answers.pop_front();
    }
    if (press)
      press->click();
    else
      box->reject();
  }

  QTimer timer_;
};

// An environment variable set while it lives (a null value unsets it), then
// given back its old value.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const QByteArray& value) : name_(name), old_(qgetenv(name)) {
    Set(value);
  }
  ~ScopedEnv() { Set(old_); }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  void Set(const QByteArray& value) const {
    value.isNull() ? qunsetenv(name_) : qputenv(name_, value);
  }
  const char* name_;
  QByteArray old_;
};

// A settings file and data folder of the test's own, also for VELK_DATA_DIR.
class ShellEnvironment {
 public:
  std::string SettingsFile() const {
    return dir_.filePath(QStringLiteral("settings.ini")).toStdString();
  }
  // Creates the demo repository in the data folder and names its databases in
  // the settings file, as `velkmod-cli demo` does.
  void WriteDemoRepository() const {
    LNNotesSession session;
    session.Init(410);
    velk::HeadlessServices services;
    const auto results = velk::CreateDemoRepository(services, session, DataDir());
    velk::QSettingsBackend settings(SettingsFile());
    velk::ModelerSettings values;
    for (const velk::DemoResult& r : results) values.databases[r.kind] = {r.path, {}};
    values.save(settings);
    settings.sync();
  }
  std::string DataDir() const { return dir_.filePath(QStringLiteral("data")).toStdString(); }
  CVelkModApp::Options Options() const {
    CVelkModApp::Options o;
    o.settingsFile = SettingsFile();
    o.showSplash = false;
    return o;
  }

 private:
  QTemporaryDir dir_;
  ScopedEnv data_{"VELK_DATA_DIR", QFile::encodeName(dir_.filePath(QStringLiteral("data")))};
};

// Lets queued events (deferred deletes, timers due now) run.
inline void ProcessEvents() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QApplication::processEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// A click on the row of `item` in a list or tree, scrolled into view first.
template <class ItemView, class Item>
void ClickItem(ItemView* view, Item* item, Qt::KeyboardModifiers keys = {}) {
  view->scrollToItem(item);
  QTest::mouseClick(view->viewport(), Qt::LeftButton, keys, view->visualItemRect(item).center());
  ProcessEvents();
}

// A picture of `widget` for a person to look at, when VELK_SCREENSHOT_DIR names a folder.
inline void Picture(QWidget& widget, QString name) {
  const QString dir = qEnvironmentVariable("VELK_SCREENSHOT_DIR");
  if (dir.isEmpty()) return;
  ProcessEvents();
  EXPECT_TRUE(widget.grab().save(dir + QLatin1Char('/') + name.remove(QLatin1Char(' ')) + ".png"));
}

}  // namespace shelltest
