// The External Directory window as the application opens it: over the first
// directory data set, with the workflow windows it needs for requests and drops.
#include <QGuiApplication>

#include "repository/databasecache.h"
#include "app/ui/extdirframe.h"
#include "app/ui/infocenterwnd.h"
#include "app/ui/velkmodapp.h"
#include "app/ui/workflowframe.h"
#include "app/ui/workflowwindows.h"
#include "editor/ui/editor.h"
#include "extdir/extdirdata.h"
#include "extdir/extdirdrops.h"
#include "extdir/ui/extdirview.h"
#include "model/node.h"
#include "model/workflowdoc.h"
#include "repository/applicationenvdb.h"
#include "repository/processdefdb.h"
#include "repository/trackingdb.h"

CMdiChild* CVelkModApp::NewExtDirFrame() {
  const std::vector<velk::CExtDirData*> sets = cache_.Objects<velk::CExtDirData>();
  velk::CExtDirData* data = sets.empty()
                                ? cache_.FindOrLoad<velk::CExtDirData>(
                                      settings_.databases[velk::DatabaseKind::ExternalDirectory])
                                : sets.front();
  if (!data) return nullptr;
  auto* view = new CExtDirView(*data, ExtDirHost());
  auto* frame = new CExtDirChildFrame(view);
  frame->canClose = [view] { return view->MayClose(); };  // also asked on exit
  return frame;
}

void CVelkModApp::ReleasePublishedTasks(const CWorkflowDoc& closing) {
  for (velk::CExtDirData* data : cache_.Objects<velk::CExtDirData>())
    velk::ReleasePublishedTasks(*data, closing);
}

velk::EidmOrigin CVelkModApp::EidmOriginOf(const velk::CNode& task) {
  velk::EidmOrigin origin;
  origin.organisation = settings_.orgName;
  const velk::WorkflowDatabases* dbs =
      task.Document() ? &task.Document()->Top().Databases() : nullptr;
  const auto appEnvs = cache_.Objects<velk::CApplicationEnvDb>();
  if (dbs && dbs->applicationEnvironment.repository)
    origin.engineAddress = dbs->applicationEnvironment.repository->OfficeMail();
  else if (!appEnvs.empty())
    origin.engineAddress = appEnvs.front()->OfficeMail();
  const auto trackings = cache_.Objects<velk::CTrackingDb>();
  if (dbs && dbs->tracking.repository)
    origin.trackingAddress = dbs->tracking.repository->ReplicaId();
  else if (!trackings.empty())
    origin.trackingAddress = trackings.front()->ReplicaId();
  return origin;
}

ExtDirViewHost CVelkModApp::ExtDirHost() {
  ExtDirViewHost host;
  velk::EidmWorkflowHost& w = host.workflows;
  w.defaultDatabasesValid = [this] { return DefaultDatabasesValid(); };
  w.openNewWorkflow = [this]() -> CWorkflowDoc* {
    std::shared_ptr<CWorkflowDoc> doc = NewWorkflowDocument();
    if (!OpenWorkflowWindow(doc)) return nullptr;
    InitializeDatabases(*doc);
    return doc.get();  // the window keeps it
  };
  w.saver = &saver_;
  w.remember = [this](const CWorkflowDoc& doc) { RememberWorkflow(doc); };
  w.redraw = [this](CWorkflowDoc& doc) { editor_->UpdateAllViews(doc); };
  w.infoCenterVisible = [this] {
    CInfoCenterWnd* window = frame_->InfoCenterWindow();
    return window && window->isVisible();
  };
  w.setInfoCenterVisible = [this](bool show) {
    if (show)
      frame_->ShowInfoCenter();
    else
      frame_->HideInfoCenter();
  };
  w.processDefinitions = [this] {
    return cache_.FindOrLoad<velk::CProcessDefDb>(
        settings_.databases[velk::DatabaseKind::ProcessDefinitions]);
  };
  w.openStoredWorkflow = [this](const velk::WorkflowHeaderEntry& header) {
    return OpenStoredWorkflow(header);
  };
  w.gridSize = settings_.gridSize;
  host.origin = [this](const velk::CNode& task) { return EidmOriginOf(task); };
  host.openWorkflows = [this] { return windows_->TopDocuments(); };
  host.shiftHeld = [] {
    return ((QGuiApplication::queryKeyboardModifiers() | QGuiApplication::keyboardModifiers()) &
            Qt::ShiftModifier) != 0;
  };
  return host;
}
