#pragma once
// Keeps a recovery copy of every open workflow with unsaved changes: a few
// seconds after each edit (undo step) at most, written in the background so the
// editor never waits; a save or a close removes the copy.

#include <QObject>
#include <QThreadPool>
#include <QTimer>
#include <map>
#include <string>

namespace velk {
class CWorkflowDoc;
class RecoveryFolder;
}  // namespace velk

class CWorkflowWindows;

class CRecoveryWriter : public QObject {
  Q_OBJECT
 public:
  static constexpr int kIntervalMs = 3000;

  CRecoveryWriter(CWorkflowWindows& windows, velk::RecoveryFolder& folder);
  ~CRecoveryWriter() override;

  // Writes the copies that are out of date now (the timer does it regularly).
  void WriteChanged();
  // Waits for the writes under way (tests).
  void Flush() { pool_.waitForDone(); }
  // The workflow was saved or closed: its copy goes.
  void Forget(const velk::CWorkflowDoc& doc);

 private:
  struct Copy {
    std::string file;
    unsigned long revision = 0;
  };
  CWorkflowWindows& windows_;
  velk::RecoveryFolder& folder_;
  std::map<const velk::CWorkflowDoc*, Copy> copies_;
  QThreadPool pool_;  // one thread: writes and removals of a file stay in order
  QTimer timer_;
};
