#pragma once
// The main window's status bar: the message pane, a blank pane that hosts the
// progress indicator, the zoom of the active workflow window, and the CAP, NUM
// and SCRL indicators.

#include <QStatusBar>
#include <optional>

class QLabel;
class QProgressBar;

class CStatusLine : public QStatusBar {
  Q_OBJECT
 public:
  static const char* const kIdlePrompt;  // "For Help, press F1"
  static constexpr int kProgressPaneChars = 43;

  explicit CStatusLine(QWidget* parent = nullptr);

  // Writes the message pane and repaints it at once, so the text shows while the
  // caller keeps the event loop blocked. Empty text restores the idle prompt.
  void SetMessageText(const QString& text);
  QString MessageText() const;

  // Moves the progress indicator; the first call creates it in the second pane.
  void SetProgress(int position);
  void SetProgressRange(int maximum);
  bool ProgressCreated() const { return progress_ != nullptr; }
  QProgressBar* Progress() const { return progress_; }

  // The zoom pane: "100%" for a factor of 1.0; blank (no workflow window) for none.
  void SetZoom(std::optional<double> zoom);
  QString ZoomText() const;

 private:
  void CreateProgress();
  void AddIndicator(const QString& text);

  QLabel* message_ = nullptr;
  QWidget* progressPane_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QLabel* zoom_ = nullptr;
};
