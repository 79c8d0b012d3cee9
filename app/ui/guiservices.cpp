#include "app/ui/guiservices.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QMessageBox>
#include <QPushButton>

#include "app/ui/mainframe.h"
#include "app/ui/statusline.h"

const char* const CGuiServices::kDefaultTitle = "VELK Modeler";

namespace {

QMessageBox::Icon qtIcon(velk::MsgIcon icon) {
  switch (icon) {
    case velk::MsgIcon::Information:
      return QMessageBox::Information;
    case velk::MsgIcon::Exclamation:
      return QMessageBox::Warning;
    case velk::MsgIcon::Question:
      return QMessageBox::Question;
    case velk::MsgIcon::Stop:
      return QMessageBox::Critical;
    case velk::MsgIcon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons qtButtons(velk::MsgButtons buttons) {
  using B = QMessageBox;
  switch (buttons) {
    case velk::MsgButtons::Ok:
      return B::Ok;
    case velk::MsgButtons::OkCancel:
      return B::Ok | B::Cancel;
    case velk::MsgButtons::YesNo:
      return B::Yes | B::No;
    case velk::MsgButtons::YesNoCancel:
      return B::Yes | B::No | B::Cancel;
    case velk::MsgButtons::AbortRetryIgnore:
      return B::Abort | B::Retry | B::Ignore;
    case velk::MsgButtons::RetryCancel:
      return B::Retry | B::Cancel;
  }
  return B::Ok;
}

QMessageBox::StandardButton firstButton(velk::MsgButtons buttons) {
  switch (buttons) {
    case velk::MsgButtons::Ok:
    case velk::MsgButtons::OkCancel:
      return QMessageBox::Ok;
    case velk::MsgButtons::YesNo:
    case velk::MsgButtons::YesNoCancel:
      return QMessageBox::Yes;
    case velk::MsgButtons::AbortRetryIgnore:
      return QMessageBox::Abort;
    case velk::MsgButtons::RetryCancel:
      return QMessageBox::Retry;
  }
  return QMessageBox::Ok;
}

velk::MsgResult toResult(int button, velk::MsgButtons buttons) {
  switch (button) {
    case QMessageBox::Ok:
      return velk::MsgResult::Ok;
    case QMessageBox::Yes:
      return velk::MsgResult::Yes;
    case QMessageBox::No:
      return velk::MsgResult::No;
    case QMessageBox::Abort:
      return velk::MsgResult::Abort;
    case QMessageBox::Retry:
      return velk::MsgResult::Retry;
    case QMessageBox::Ignore:
      return velk::MsgResult::Ignore;
    default:
      break;
  }
  // Closed without a button: Cancel where there is one, else the only button.
  return buttons == velk::MsgButtons::Ok ? velk::MsgResult::Ok : velk::MsgResult::Cancel;
}

}  // namespace

QString DisplayText(const std::string& text) {
  return QString::fromStdString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

void UseAbbrechen(QDialogButtonBox* buttons) {
  if (QPushButton* cancel = buttons->button(QDialogButtonBox::Cancel))
    cancel->setText(QStringLiteral("Abbrechen"));
}

CGuiServices::CGuiServices(CMainFrame* frame) : frame_(frame) {}

void CGuiServices::SetFrame(CMainFrame* frame) {
  frame_ = frame;
}

velk::MsgResult CGuiServices::messageBox(const std::string& text, velk::MsgIcon icon,
                                         velk::MsgButtons buttons, const std::string& title) {
  QWidget* parent = QApplication::activeWindow();
  if (!parent) parent = frame_;
  QMessageBox box(
      qtIcon(icon),
      title.empty() ? QString::fromLatin1(kDefaultTitle) : QString::fromStdString(title),
      DisplayText(text), qtButtons(buttons), parent);
  box.setDefaultButton(firstButton(buttons));
  // A question asked under the wait cursor still needs the arrow to be answered.
  const bool waiting = waitDepth_ > 0;
  if (waiting) QApplication::setOverrideCursor(Qt::ArrowCursor);
  const int answer = box.exec();
  if (waiting) QApplication::restoreOverrideCursor();
  return toResult(answer, buttons);
}

void CGuiServices::showStatusText(const std::string& text) {
  if (frame_ && frame_->StatusLine())
    frame_->StatusLine()->SetMessageText(QString::fromStdString(text));
}

void CGuiServices::beginProgress(int maximum) {
  if (!frame_ || !frame_->StatusLine()) return;
  frame_->StatusLine()->SetProgressRange(maximum);
  frame_->SetProgress(0);
}

void CGuiServices::setProgress(int value) {
  if (frame_) frame_->SetProgress(value);
}

void CGuiServices::endProgress() {
  if (frame_) frame_->SetProgress(0);
}

void CGuiServices::beginWaitCursor() {
  if (waitDepth_++ == 0) QApplication::setOverrideCursor(Qt::WaitCursor);
}

void CGuiServices::endWaitCursor() {
  if (waitDepth_ == 0) return;
  if (--waitDepth_ == 0) QApplication::restoreOverrideCursor();
}

void CGuiServices::infoCenterChanged(bool showWindow) {
  if (frame_) frame_->OnInfoCenterChanged(showWindow);
}
