#include "extdir/eidmrequests.h"

#include <algorithm>

#include "common/services.h"
#include "extdir/extdirdata.h"
#include "extdir/extdiritems.h"
#include "extdir/extdirtree.h"
#include "model/node.h"
#include "model/workflowdoc.h"
#include "model/workflowsaver.h"
#include "repository/noteserror.h"
#include "repository/processdefdb.h"

namespace velk {

namespace {

constexpr char kWrongDatabasesForAccept[] =
    "Creating a new workflow with wrong default databases is not possible. Creating aborted.";
constexpr char kWrongDatabasesForView[] =
    "Loading the workflow with wrong databases is not possible. Loading aborted.";
constexpr char kWorkflowNotFound[] =
    "The workflow was not found in the actual local ApplicationDB.";

bool AskIrreversible(Services& services, const char* verb) {
  const std::string text = std::string("Are you sure to ") + verb +
                           " this EIDM request? (THIS OPERATION CAN NOT BE UNDONE!)";
  return services.messageBox(text, MsgIcon::Question, MsgButtons::YesNoCancel) == MsgResult::Yes;
}

void ChangeState(CExtDirItemEIDM& request, int state) {
  request.ExtClusterStatus = state;
  request.SetModified();
  request.UpdateTreeText();
}

void AddOnce(std::vector<std::string>& names, const std::string& name) {
  if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
}

}  // namespace

EidmCommandStates EidmStates(const CExtDirItemEIDM& r) {
  EidmCommandStates s;
  const int state = r.ExtClusterStatus;
  if (r.IsOrderedByUs()) {
    s.submit = state == kEidmCreated;
    s.cancel = state != kEidmCreated;
    s.copyToPartners = state == kEidmSubmitted;
  } else {
    s.accept = state == kEidmSubmitted;
    s.deny = true;
    s.viewWorkflow = state == kEidmPerformed;
  }
  return s;
}

CExtDirItemEIDM* CreateEidmRequest(CExtDirItemEIDMOrg& org, CNode& task,
                                   const EidmOrigin& origin) {
  if (!org.IsOrderedByUs() || !org.treeNode || !org.view || !task.Document()) return nullptr;
  CWorkflowDoc& workflow = task.Document()->Top();
  const NodeAttributes& a = task.Attributes();
  auto& r = org.Data().Append<CExtDirItemEIDM>();
  r.Readers = {org.ExtOrgReader};
  r.ExtClusterResponsible = org.ExtOrgResponsible;
  r.ExtClusterOrg = org.ExtOrganization;
  r.MasterOrg = origin.organisation;
  r.ExtClusterName = a.name;
  r.ExtClusterGoal = a.freeText;
  r.ExtClusterInput = a.extClusterInput;
  r.ExtClusterOutput = a.extClusterOutput;
  r.ExtClusterFormat = a.extClusterFormat;
  r.ExtClusterRequiredDate = a.extClusterRequiredDate;
  r.ExtClusterExpectedDuration = a.extClusterExpectedDuration;
  r.ExtClusterExpectedDurationUnit = a.extClusterExpectedDurationUnit;
  r.MasterWorkflowID = workflow.Header().workflowId;
  r.ExtClusterVersion = workflow.Header().version;
  r.ExtClusterStatus = kEidmCreated;
  r.MasterEngineAddress = origin.engineAddress;
  r.MasterTrackingAddress = origin.trackingAddress;
  r.orderedByUs = true;
  CExtDirTree& tree = *org.view;
  r.InsertIntoTree(nullptr, tree);
  // Without an id the task could not name its request; the next save stores it.
  if (!org.Data().SaveItem(r) || r.ID.empty()) return nullptr;
  NodeAttributes changed = a;
  changed.extClusterSpecId = r.ID;
  task.Document()->SetNodeAttributes(task, std::move(changed));
  workflow.Session().SetModified();
  if (org.treeNode) tree.Expand(*org.treeNode);
  return &r;
}

bool SubmitEidmRequest(CExtDirItemEIDM& request) {
  if (!AskIrreversible(request.Data().UserInterface(), "submit")) return false;
  ChangeState(request, kEidmSubmitted);
  return true;
}

bool CancelEidmRequest(CExtDirItemEIDM& request) {
  if (!AskIrreversible(request.Data().UserInterface(), "cancel")) return false;
  ChangeState(request, kEidmCanceled);
  return true;
}

bool DenyEidmRequest(CExtDirItemEIDM& request) {
  if (!AskIrreversible(request.Data().UserInterface(), "deny")) return false;
  request.ExtClusterDesigner = kEidmPlaceholderMail;
  ChangeState(request, kEidmDenied);
  return true;
}

void BuildAnswerWorkflow(CWorkflowDoc& doc, const CExtDirItemEIDM& request, int g) {
  WorkflowHeader h = doc.Header();
  h.name = kAnswerWorkflowPrefix + request.ID;
  AddOnce(h.editors, kEidmPlaceholderMail);
  AddOnce(h.designers, kEidmPlaceholderMail);
  doc.SetHeader(h);
  struct Task {
    NodeKind kind;
    int picture;
    int x;
    const std::string& objects;
  };
  for (const Task& t : {Task{NodeKind::In, NodePicture::InPublished, 2 * g, request.ExtClusterInput},
                        Task{NodeKind::Out, NodePicture::Out, 4 * g, request.ExtClusterOutput}}) {
    CNode* node = doc.InsertNode({t.x - 17, 17 - 2 * g, t.x + 17, -17 - 2 * g}, t.kind);
    doc.SetNodePicture(*node, t.picture);
    NodeAttributes a = node->Attributes();
    if (!t.objects.empty()) a.objects = {t.objects};
    doc.SetNodeAttributes(*node, std::move(a));
  }
  doc.Session().RefreshTitle();
}

bool AcceptEidmRequest(CExtDirItemEIDM& request, const EidmWorkflowHost& host) {
  if (!AskIrreversible(request.Data().UserInterface(), "accept")) return false;
  WaitCursor wait(request.Data().UserInterface());
  // The answer is named after the request's id, which a request copied for the
  // partner gets only when stored.
  if (request.ID.empty() && (!request.Data().SaveItem(request) || request.ID.empty())) return false;
  if (!host.defaultDatabasesValid()) {
    request.Data().UserInterface().messageBox(kWrongDatabasesForAccept, MsgIcon::Exclamation,
                                              MsgButtons::Ok);
    return false;
  }
  CWorkflowDoc* doc = host.openNewWorkflow();
  if (!doc) return false;
  BuildAnswerWorkflow(*doc, request, host.gridSize);
  host.redraw(*doc);
  const bool infoCenterShown = host.infoCenterVisible();
  const bool stored = host.saver->Save(*doc);
  if (!infoCenterShown) host.setInfoCenterVisible(false);
  // An answer that is not stored must not mark the request performed.
  if (!stored || doc->Header().workflowId.empty()) return false;
  host.remember(*doc);
  request.ExtClusterWorkflowID = doc->Header().workflowId;
  request.ExtClusterDesigner = kEidmPlaceholderMail;
  ChangeState(request, kEidmPerformed);
  return true;
}

bool ViewEidmWorkflow(const CExtDirItemEIDM& request, const EidmWorkflowHost& host) {
  WaitCursor wait(request.Data().UserInterface());
  if (!host.defaultDatabasesValid()) {
    request.Data().UserInterface().messageBox(kWrongDatabasesForView, MsgIcon::Exclamation,
                                              MsgButtons::Ok);
    return false;
  }
  CProcessDefDb* repository = host.processDefinitions();
  if (!repository) return false;
  repository->ReadHeaders(true);
  const std::string& id =
      request.IsOrderedByUs() ? request.MasterWorkflowID : request.ExtClusterWorkflowID;
  const WorkflowHeaderEntry* header = id.empty() ? nullptr : repository->FindHeader(id);
  if (!header) {
    ShowErrorMessage(request.Data().UserInterface(), kWorkflowNotFound);
    return false;
  }
  const WorkflowHeaderEntry found = *header;  // the window's load may read the headers again
  return host.openStoredWorkflow(found);
}

CExtDirItemEIDM* CopyEidmToPartnerSection(CExtDirItemEIDM& request) {
  CExtDirTreeNode* parent = request.treeNode ? request.treeNode->Parent() : nullptr;
  auto* org = parent ? dynamic_cast<CExtDirItemEIDMOrg*>(parent->Item()) : nullptr;
  if (!org || !request.view) return nullptr;
  CExtDirTree& tree = *request.view;
  auto& copy = request.Data().Append<CExtDirItemEIDM>();
  // Stored under the same id, a later save of either twin would delete the
  // other's document with its own; the copy gets an id of its own when stored.
  copy.Readers = request.Readers;
  copy.ExtClusterResponsible = request.ExtClusterResponsible;
  copy.ExtClusterOrg = request.ExtClusterOrg;
  copy.MasterOrg = request.MasterOrg;
  copy.ExtClusterName = request.ExtClusterName;
  copy.ExtClusterGoal = request.ExtClusterGoal;
  copy.ExtClusterInput = request.ExtClusterInput;
  copy.ExtClusterOutput = request.ExtClusterOutput;
  copy.ExtClusterFormat = request.ExtClusterFormat;
  copy.ExtClusterStatus = request.ExtClusterStatus;
  copy.ExtClusterVersion = request.ExtClusterVersion;
  copy.MasterWorkflowID = request.MasterWorkflowID;
  copy.MasterEngineAddress = request.MasterEngineAddress;
  copy.MasterTrackingAddress = request.MasterTrackingAddress;
  copy.ExtClusterRequiredDate = request.ExtClusterRequiredDate;
  copy.ExtClusterExpectedDuration = request.ExtClusterExpectedDuration;
  copy.ExtClusterExpectedDurationUnit = request.ExtClusterExpectedDurationUnit;
  copy.ExtClusterDesigner = request.ExtClusterDesigner;
  copy.ExtClusterAppID = request.ExtClusterAppID;
  copy.ExtClusterMail = request.ExtClusterMail;
  copy.ExtClusterWorkflowID = request.ExtClusterWorkflowID;
  copy.ExtClusterStartDate = request.ExtClusterStartDate;
  copy.ExtClusterConfirmedDuration = request.ExtClusterConfirmedDuration;
  copy.ExtClusterConfirmedDurationUnit = request.ExtClusterConfirmedDurationUnit;
  copy.orderedByUs = false;
  copy.InsertIntoTree(nullptr, tree);
  if (org->byPartnersTwin && org->byPartnersTwin->treeNode)
    tree.Expand(*org->byPartnersTwin->treeNode);
  // The copy may sit directly under the section; show it either way.
  if (copy.treeNode && copy.treeNode->Parent()) tree.Expand(*copy.treeNode->Parent());
  return &copy;
}

}  // namespace velk
