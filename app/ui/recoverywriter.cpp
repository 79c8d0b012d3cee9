#include "app/ui/recoverywriter.h"

#include "app/ui/workflowframe.h"
#include "app/ui/workflowwindows.h"
#include "model/workflowdoc.h"
#include "model/workflowrecovery.h"
#include "model/workflowundo.h"

using velk::CWorkflowDoc;
using velk::RecoveryFolder;

CRecoveryWriter::CRecoveryWriter(CWorkflowWindows& windows, RecoveryFolder& folder)
    : windows_(windows), folder_(folder) {
  pool_.setMaxThreadCount(1);
  connect(&timer_, &QTimer::timeout, this, &CRecoveryWriter::WriteChanged);
  if (folder_.Usable()) timer_.start(kIntervalMs);
}

CRecoveryWriter::~CRecoveryWriter() {
  pool_.waitForDone();
}

void CRecoveryWriter::WriteChanged() {
  for (CWorkflowDoc* doc : windows_.TopDocuments()) {
    if (!doc->Session().IsModified()) continue;
    auto [it, added] = copies_.try_emplace(doc);
    Copy& copy = it->second;
    const unsigned long revision = doc->Session().History().Revision();
    if (!added && copy.revision == revision) continue;
    if (added) copy.file = folder_.NewFile();
    copy.revision = revision;
    // Taken here, where the workflow does not change under it; written elsewhere.
    pool_.start([file = copy.file, text = RecoveryFolder::CopyOf(*doc)] {
      RecoveryFolder::Write(file, text);
    });
  }
}

void CRecoveryWriter::Forget(const CWorkflowDoc& doc) {
  auto it = copies_.find(&doc.Top());
  if (it == copies_.end()) return;
  pool_.start([file = it->second.file] { RecoveryFolder::Remove(file); });
  copies_.erase(it);
}
