#include "app/ui/workflowopener.h"

#include "app/ui/recoverywriter.h"
#include "app/ui/workflowframe.h"
#include "app/ui/workflowwindows.h"
#include "common/services.h"
#include "editor/ui/editor.h"
#include "model/workflowdoc.h"
#include "model/workflowload.h"
#include "model/workflowrecovery.h"
#include "repository/databasecache.h"
#include "repository/store/lnsession.h"

using velk::CWorkflowDoc;

CWorkflowOpener::CWorkflowOpener(velk::Services& services, LNNotesSession& session,
                                 const velk::ModelerSettings& settings, velk::DatabaseCache& cache,
                                 CWorkflowWindows& windows, CEditor& editor,
                                 velk::RecentWorkflowList& recent, velk::SettingsBackend& store)
    : services_(services),
      session_(session),
      settings_(settings),
      cache_(cache),
      windows_(windows),
      editor_(editor),
      recent_(recent),
      store_(store) {}

std::shared_ptr<CWorkflowDoc> CWorkflowOpener::NewDocument() {
  auto doc = std::make_shared<CWorkflowDoc>(services_, session_.GetUserNameText());
  velk::WorkflowDatabases databases;
  databases.SetLocations(settings_.databases);
  doc->SetDatabases(databases);
  return doc;
}

CChildFrame* CWorkflowOpener::OpenWindow(std::shared_ptr<CWorkflowDoc> doc) {
  CWorkflowDoc& top = *doc;
  CChildFrame* window = windows_.OpenTopWindow(std::move(doc));
  InitializeDatabases(top);
  return window;
}

bool CWorkflowOpener::OpenStored(const velk::WorkflowHeaderEntry& header) {
  velk::WaitCursor wait(services_);
  std::shared_ptr<CWorkflowDoc> doc = NewDocument();
  CChildFrame* window = OpenWindow(doc);
  // The loader has reported why; an empty window must not pass for the workflow.
  if (!velk::LoadWorkflow(*doc, header, session_)) {
    window->canClose = {};
    window->close();
    return false;
  }
  Remember(*doc);
  editor_.UpdateAllViews(*doc);
  return true;
}

std::shared_ptr<CWorkflowDoc> CWorkflowOpener::LoadVersion(
    const velk::WorkflowHeaderEntry& header) {
  velk::WaitCursor wait(services_);
  std::shared_ptr<CWorkflowDoc> doc = NewDocument();
  InitializeDatabases(*doc);
  if (!velk::LoadWorkflow(*doc, header, session_)) doc.reset();  // the loader has said why
  return doc;
}

void CWorkflowOpener::InitializeDatabases(CWorkflowDoc& doc) {
  cache_.InitializeDatabases(doc);
}

void CWorkflowOpener::Remember(const CWorkflowDoc& doc) {
  const velk::WorkflowHeader& h = doc.Header();
  const velk::DatabaseLocation& db = doc.Databases().processDefinitions.location;
  recent_.Add({h.workflowId, h.version, h.name, db.fileName, db.server});
  recent_.Save(store_);
  store_.sync();
}

void CWorkflowOpener::OfferRecovered(velk::RecoveryFolder& folder, CRecoveryWriter& writer) {
  velk::RecoverLeftOverCopies(
      services_, folder, [this] { return NewDocument(); },
      [this, &writer](std::shared_ptr<CWorkflowDoc> doc) {
        const velk::MsgResult answer = services_.messageBox(
            "VELK Modeler ended without saving the workflow \"" +
                velk::ShownName(doc->Header().name) +
                "\".\r\nRestore it from its recovery copy?\r\nNo discards the copy.",
            velk::MsgIcon::Question, velk::MsgButtons::YesNo);
        if (answer != velk::MsgResult::Yes) return;
        OpenWindow(std::move(doc));
        // The work has a copy of this modeler's own before the one it came from goes.
        writer.WriteChanged();
        writer.Flush();
      });
}
