#pragma once
// The main window's status bar: the message pane, a blank pane that hosts the
// progress indicator, the zoom of the active workflow window, and the CAP, NUM
// and SCRL indicators, which follow the lock keys through an application-wide
// event filter.

#include <QEvent>
#include <QStatusBar>
#include <array>
#include <optional>

#include "app/ui/lockkeys.h"

class QKeyEvent;
class QLabel;
class QProgressBar;

class CStatusLine : public QStatusBar {
  Q_OBJECT
 public:
  static const char* const kIdlePrompt;  // "For Help, press F1"
  static constexpr int kProgressPaneChars = 43;

  explicit CStatusLine(QWidget* parent = nullptr);
  ~CStatusLine() override;

  // Writes the message pane and repaints it at once, so the text shows while the
  // caller keeps the event loop blocked. Empty text restores the idle prompt.
  void SetMessageText(const QString& text);
  QString MessageText() const;
  // The prompt of the menu entry or button under the pointer, in the message
  // pane (the one place texts are shown, so none is drawn over another); the
  // empty tip brings back the message it covered.
  void ShowTip(const QString& tip);

  // Moves the progress indicator; the first call creates it in the second pane.
  void SetProgress(int position);
  void SetProgressRange(int maximum);
  bool ProgressCreated() const { return progress_ != nullptr; }
  QProgressBar* Progress() const { return progress_; }

  // The zoom pane: "100%" for a factor of 1.0; blank (no workflow window) for none.
  void SetZoom(std::optional<double> zoom);
  QString ZoomText() const;

  // A lock pane is enabled while its lock is on and greyed while it is off.
  void SetLockStates(bool caps, bool num, bool scroll);
  // 0 CAP, 1 NUM, 2 SCRL; false for any other index.
  bool LockState(int index) const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // What tells one key event from another: Qt hands the same event to the filter
  // once for every receiver it passes (window, focus widget, its parents).
  struct KeyEventId {
    QEvent::Type type = QEvent::None;
    int key = 0;
    quint64 timestamp = 0;
    quint32 scanCode = 0;
    quint32 modifiers = 0;
    bool operator==(const KeyEventId&) const = default;
  };

  void CreateProgress();
  QLabel* AddIndicator(const QString& text, const QString& objectName);
  void TrackLockKeys(const QKeyEvent& event);

  QLabel* message_ = nullptr;
  QString messageText_;  // the message a tip covers
  QWidget* progressPane_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QLabel* zoom_ = nullptr;
  std::array<QLabel*, 3> lockPanes_{};
  LockStates locks_;
  KeyEventId lastKey_;
  bool nativeX11_ = false;  // key events carry the X modifier mask
};
