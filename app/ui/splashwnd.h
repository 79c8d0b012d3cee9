#pragma once
// The splash window: program picture (a button), name, version and warranty
// texts. At start-up it closes itself after three seconds; as the About box it
// stays until clicked. A click into the window or on the picture closes it.

#include <QTimer>
#include <QWidget>

class QToolButton;

class CSplashWnd : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kTimerMs = 3000;

  // A positive `closeAfterMs` starts the closing timer (kTimerMs at start-up; 0 for
  // the About box). The window deletes itself on close.
  explicit CSplashWnd(int closeAfterMs, QWidget* parent = nullptr);

  bool TimerActive() const { return timer_.isActive(); }
  QToolButton* PictureButton() const { return picture_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QTimer timer_;
  QToolButton* picture_ = nullptr;
};
