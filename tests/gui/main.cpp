// Entry point of the GUI tests: one QApplication on the offscreen platform, test
// mode for standard paths so no user settings or data are touched.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>
#include <QStandardPaths>
#include <QTimer>

namespace {

// A modal window nobody answers would hang the run until CTest kills it and
// say nothing about why; fail the running test and close the window instead.
void WatchForForgottenModals(QApplication& app) {
  auto* timer = new QTimer(&app);
  auto since = std::make_shared<QElapsedTimer>();
  auto seen = std::make_shared<QPointer<QWidget>>();
  QObject::connect(timer, &QTimer::timeout, [since, seen] {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || modal != seen->data()) {
      *seen = modal;
      since->start();
      return;
    }
    if (since->elapsed() < 20000) return;
    ADD_FAILURE() << "a modal window was left open: " << modal->windowTitle().toStdString() << " ("
                  << modal->metaObject()->className() << ")";
    if (auto* dialog = qobject_cast<QDialog*>(modal))
      dialog->reject();
    else
      modal->close();
    *seen = nullptr;
  });
  timer->start(500);
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QStandardPaths::setTestModeEnabled(true);
  QApplication app(argc, argv);
  WatchForForgottenModals(app);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
