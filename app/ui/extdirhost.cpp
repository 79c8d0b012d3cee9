#include "app/ui/extdirhost.h"

#include <QGuiApplication>
#include <QMdiArea>

#include "app/settings.h"
#include "app/ui/doctemplate.h"
#include "app/ui/extdirframe.h"
#include "app/ui/infocenterwnd.h"
#include "app/ui/mainframe.h"
#include "app/ui/settingscommands.h"
#include "app/ui/workflowframe.h"
#include "app/ui/workflowopener.h"
#include "app/ui/workflowwindows.h"
#include "common/services.h"
#include "editor/ui/editor.h"
#include "extdir/extdirdata.h"
#include "extdir/extdirdrops.h"
#include "extdir/ui/extdirview.h"
#include "model/node.h"
#include "model/workflowdoc.h"
#include "repository/applicationenvdb.h"
#include "repository/databasecache.h"
#include "repository/processdefdb.h"
#include "repository/trackingdb.h"

using velk::CWorkflowDoc;

CExtDirHosting::CExtDirHosting(CMainFrame& frame, CDocTemplate& extDirTemplate,
                               velk::Services& services, const velk::ModelerSettings& settings,
                               velk::DatabaseCache& cache, velk::WorkflowSaver& saver,
                               CWorkflowWindows& windows, CEditor& editor,
                               CSettingsCommands& settingsCommands, CWorkflowOpener& opener)
    : frame_(frame),
      template_(extDirTemplate),
      services_(services),
      settings_(settings),
      cache_(cache),
      saver_(saver),
      windows_(windows),
      editor_(editor),
      settingsCommands_(settingsCommands),
      opener_(opener) {}

void CExtDirHosting::ShowExternalDirectory() {
  if (!settingsCommands_.DefaultDatabasesValid()) {
    services_.messageBox(
        "Loading External Directory with wrong databases is not possible. Loading aborted.",
        velk::MsgIcon::Exclamation, velk::MsgButtons::Ok);
    return;
  }
  const QList<CMdiChild*> open = template_.Frames();
  if (open.isEmpty()) {
    template_.OpenNewFrame(frame_.MdiArea());
    return;
  }
  frame_.MdiArea()->setActiveSubWindow(open.first());
  open.first()->showNormal();
  open.first()->raise();
}

CMdiChild* CExtDirHosting::NewFrame() {
  const std::vector<velk::CExtDirData*> sets = cache_.Objects<velk::CExtDirData>();
  velk::CExtDirData* data = sets.empty()
                                ? cache_.FindOrLoad<velk::CExtDirData>(
                                      settings_.databases[velk::DatabaseKind::ExternalDirectory])
                                : sets.front();
  if (!data) return nullptr;
  auto* view = new CExtDirView(*data, Host());
  auto* frame = new CExtDirChildFrame(view);
  frame->canClose = [view] { return view->MayClose(); };  // also asked on exit
  return frame;
}

void CExtDirHosting::ReleasePublishedTasks(const CWorkflowDoc& closing) {
  for (velk::CExtDirData* data : cache_.Objects<velk::CExtDirData>())
    velk::ReleasePublishedTasks(*data, closing);
}

velk::EidmOrigin CExtDirHosting::OriginOf(const velk::CNode& task) {
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

ExtDirViewHost CExtDirHosting::Host() {
  ExtDirViewHost host;
  velk::EidmWorkflowHost& w = host.workflows;
  w.defaultDatabasesValid = [this] { return settingsCommands_.DefaultDatabasesValid(); };
  w.openNewWorkflow = [this]() -> CWorkflowDoc* {
    std::shared_ptr<CWorkflowDoc> doc = opener_.NewDocument();
    opener_.OpenWindow(doc);
    return doc.get();  // the window keeps it
  };
  w.saver = &saver_;
  w.remember = [this](const CWorkflowDoc& doc) { opener_.Remember(doc); };
  w.redraw = [this](CWorkflowDoc& doc) { editor_.UpdateAllViews(doc); };
  w.infoCenterVisible = [this] {
    CInfoCenterWnd* window = frame_.InfoCenterWindow();
    return window && window->isVisible();
  };
  w.setInfoCenterVisible = [this](bool show) {
    if (show)
      frame_.ShowInfoCenter();
    else
      frame_.HideInfoCenter();
  };
  w.processDefinitions = [this] {
    return cache_.FindOrLoad<velk::CProcessDefDb>(
        settings_.databases[velk::DatabaseKind::ProcessDefinitions]);
  };
  w.openStoredWorkflow = [this](const velk::WorkflowHeaderEntry& header) {
    return opener_.OpenStored(header);
  };
  w.gridSize = settings_.gridSize;
  host.origin = [this](const velk::CNode& task) { return OriginOf(task); };
  host.openWorkflows = [this] { return windows_.TopDocuments(); };
  host.shiftHeld = [] {
    return ((QGuiApplication::queryKeyboardModifiers() | QGuiApplication::keyboardModifiers()) &
            Qt::ShiftModifier) != 0;
  };
  return host;
}
