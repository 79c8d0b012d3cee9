#include "repository/demoworkflows.h"

#include <functional>
#include <initializer_list>
#include <stdexcept>

#include "model/workflowdoc.h"
#include "model/workflowsave.h"
#include "repository/demowriter.h"
#include "repository/processdefdb.h"
#include "repository/store/lnnotes.h"
#include "repository/vocabulary.h"

namespace velk::demo {

namespace {

// The designer of every demo workflow; its user is whoever creates the demo.
constexpr char kDesigner[] = "Ann Lee/Sales/Marvelund";
constexpr char kPurchaseOrder[] = "Purchase Order|GF_PurchaseOrder";
constexpr char kCreditReport[] = "Credit Report|GF_CreditReport";
constexpr char kDeliveryNote[] = "Delivery Note|GF_DeliveryNote";
constexpr int kPerson = 0, kUnit = 1, kWorkgroup = 2, kRole = 3;
constexpr int kDays = 1;

using Edit = std::function<void(NodeAttributes&)>;

// The Active workflows pass the consistency check, as every stored Active
// workflow has: each task works on a form.
Edit Form(const char* form) {
  return [form](NodeAttributes& a) { a.objects = {form}; };
}

// Draws one workflow: tasks on a grid, arrows, clusters. Its columns and rows
// leave room for the texts under each task; no arrow runs along another.
class Drawing {
 public:
  Drawing(Services& services, const char* name, const char* category, WorkflowStatus status,
          int version, WorkflowType type = WorkflowType::Normal)
      : doc_(std::make_unique<CWorkflowDoc>(services, std::string(), "01.03.2026")) {
    WorkflowHeader h = doc_->Header();
    h.name = name;
    h.category = category;
    h.status = status;
    h.version = version;
    h.workflowType = type;
    h.validUntil = "31.12.2027";
    h.editors = {"Order Desk"};
    h.designers = {kDesigner};
    h.freeText = std::string(name) + " at Marvelund";
    h.trackingType = 1;
    h.trackingMail = "tracking@marvelund.example";
    doc_->SetHeader(h);
  }

  CNode* Task(const char* name, int col, int row, NodeKind kind, int performer, const char* member,
              const Edit& edit = {}) {
    CNode* node = doc_->InsertNode(NodeRectAt(60 + 180 * col, -60 - 120 * row), kind);
    NodeAttributes a = node->Attributes();
    a.name = name;
    a.performerType = performer;
    a.member = member;
    a.duration = 1 + col;
    a.durationUnit = kDays;
    if (edit) edit(a);
    doc_->SetNodeAttributes(*node, a);
    return node;
  }
  void Arrow(CNode* from, CNode* to, RoutingKind kind = RoutingKind::And,
             std::string condition = {}, std::string formula = {}) {
    doc_->CreateArrow(*from, *to, {kind, std::move(condition), std::move(formula)});
  }
  // The cluster node stands for the level of `inner`, which starts with `first`
  // and ends with `last`.
  void Cluster(CNode* cluster, CNode* first, CNode* last, std::initializer_list<CNode*> inner) {
    for (CNode* n : inner) doc_->SetBelongsToCluster(*n, cluster->RepresentsCluster());
    doc_->SetClusterStartFlag(*first, true);
    doc_->SetClusterEndFlag(*last, true);
    doc_->SetClusterStartNode(*cluster, first);
    doc_->SetClusterEndNode(*cluster, last);
  }
  // An external subscribed workflow that refers to another.
  void Reference(CNode* node, CNode* target) { doc_->ConnectReference(*node, *target); }
  void Bounds(CNode* start, CNode* end) {
    doc_->DefineAsWorkflowStart(*start);
    doc_->DefineAsWorkflowEnd(*end);
  }
  // A published start (In Task) and an Out Task as the end.
  void PublishedBounds(CNode* in, CNode* out) {
    doc_->MakeInTask(*in);
    if (out) doc_->MakeOutTask(*out);
  }
  std::unique_ptr<CWorkflowDoc> Done() { return std::move(doc_); }

 private:
  std::unique_ptr<CWorkflowDoc> doc_;
};

std::unique_ptr<CWorkflowDoc> OrderHandling(Services& services, WorkflowStatus status, int version,
                                            bool withCluster) {
  Drawing d(services, "Order Handling", "Sales", status, version);
  CNode* receive =
      d.Task("Receive order", 0, 0, NodeKind::In, kWorkgroup, "Order Desk", [](NodeAttributes& a) {
        a.griId = kOrderHandlingLeafId;
        a.objects = {kPurchaseOrder};
        // An In task's content management is kept in its "out" fields.
        a.outContentManagement = {"CustomerName <=> Customer_Name", "Amount <=> Order_Amount"};
      });
  CNode* check =
      d.Task("Check order", 1, 0, NodeKind::Intern, kRole, "Clerk", [](NodeAttributes& a) {
        a.objects = {kPurchaseOrder};
        a.roleArgument = "A";
        a.activities = {"Check stock", "Check price"};
        a.activityFlag = true;
        a.remindFlag = true;
        a.remindDuration = 1;
        a.deadlineDuration = 2;
        a.deadlineDurationUnit = kDays;
      });
  CNode* credit = d.Task("Credit check", 2, 0, NodeKind::ICDR, kWorkgroup, "Credit Committee");
  CNode* approve = d.Task("Approve large order", 3, 1, NodeKind::Intern, kPerson,
                          "Karin Lange/Management/Marvelund", Form(kPurchaseOrder));
  CNode* reject =
      d.Task("Reject order", 3, 3, NodeKind::Intern, kUnit, "Sales/North", Form(kPurchaseOrder));
  CNode* confirm =
      d.Task("Confirm order", 5, 0, NodeKind::Out, kWorkgroup, "Order Desk",
             [](NodeAttributes& a) { a.objects = {"Order Confirmation|GF_OrderConfirmation"}; });
  d.Arrow(receive, check);
  d.Arrow(check, credit);
  d.Arrow(credit, approve, RoutingKind::Cor, "large order", "Order_Amount > 10000");
  d.Arrow(credit, reject, RoutingKind::Else);
  d.Arrow(approve, reject, RoutingKind::Or, "rejected");
  d.Arrow(reject, confirm);
  if (withCluster) {
    CNode* fulfil = d.Task("Fulfilment", 4, 0, NodeKind::IWC, kUnit, "Logistics/Warehouse");
    CNode* pick = d.Task("Pick goods", 0, 0, NodeKind::Intern, kUnit, "Logistics/Warehouse",
                         [](NodeAttributes& a) {
                           a.objects = {kDeliveryNote};
                           a.resources = {"Company Car"};
                         });
    CNode* packing = d.Task("Packing", 1, 0, NodeKind::IWC, kUnit, "Logistics/Warehouse");
    CNode* pack =
        d.Task("Pack parcel", 0, 0, NodeKind::Intern, kRole, "Dispatcher", Form(kDeliveryNote));
    CNode* label = d.Task("Print label", 1, 0, NodeKind::Intern, kRole, "Dispatcher",
                          [](NodeAttributes& a) {
                            a.objects = {kDeliveryNote};
                            a.resources = {"Printer Room 2"};
                          });
    CNode* dispatch = d.Task("Dispatch", 2, 0, NodeKind::Intern, kWorkgroup, "Order Desk",
                             Form(kDeliveryNote));
    d.Cluster(fulfil, pick, dispatch, {pick, packing, dispatch});
    d.Cluster(packing, pack, label, {pack, label});
    d.Arrow(pick, packing);
    d.Arrow(packing, dispatch);
    d.Arrow(pack, label);
    d.Arrow(credit, fulfil, RoutingKind::Xor, "Order_Amount <= 10000");
    d.Arrow(approve, fulfil, RoutingKind::Or, "approved");
    d.Arrow(fulfil, confirm);
  } else {
    d.Arrow(approve, confirm, RoutingKind::Or, "approved");
  }
  d.PublishedBounds(receive, confirm);
  return d.Done();
}

std::unique_ptr<CWorkflowDoc> CreditCheck(Services& services) {
  Drawing d(services, "ICDR: Credit check", "Finance", WorkflowStatus::Active, 1,
            WorkflowType::ICDR);
  CNode* collect = d.Task("Collect figures", 0, 0, NodeKind::Intern, kUnit, "Finance/Accounting",
                          [](NodeAttributes& a) { a.objects = {kCreditReport}; });
  CNode* rate =
      d.Task("Rate customer", 1, 0, NodeKind::Intern, kRole, "Accountant", Form(kCreditReport));
  CNode* bank = d.Task("Ask the bank", 1, 1, NodeKind::EIDM, kPerson, "", [](NodeAttributes& a) {
    a.extClusterSpecId = kCreditCheckRequestId;
    a.extClusterInput = kPurchaseOrder;
    a.extClusterOutput = kCreditReport;
    a.extClusterFormat = "Notes";
    a.extClusterExpectedDuration = 5;
  });
  CNode* decide =
      d.Task("Decide", 2, 0, NodeKind::Intern, kWorkgroup, "Credit Committee", Form(kCreditReport));
  d.Arrow(collect, rate);
  d.Arrow(collect, bank);
  d.Arrow(rate, decide);
  d.Arrow(bank, decide);
  d.Bounds(collect, decide);
  return d.Done();
}

std::unique_ptr<CWorkflowDoc> TravelRequest(Services& services) {
  Drawing d(services, "Travel Request", "Human Resources", WorkflowStatus::Design, 0);
  CNode* submit = d.Task(
      "Submit request", 0, 0, NodeKind::Intern, kPerson, "Jonas Meyer/Human Resources/Marvelund",
      [](NodeAttributes& a) { a.objects = {"Travel Request|GF_TravelRequest"}; });
  CNode* review = d.Task("Review", 1, 0, NodeKind::Intern, kRole, "Approver");
  CNode* board = d.Task("Board approval", 2, 1, NodeKind::Intern, kUnit, "/Board");
  CNode* book = d.Task("Book travel", 3, 0, NodeKind::Intern, kWorkgroup, "IT Support");
  // The way back goes round a task of its own: two arrows between the same two
  // tasks would lie on one line.
  CNode* complete = d.Task(
      "Complete request", 0, 1, NodeKind::Intern, kPerson, "Jonas Meyer/Human Resources/Marvelund",
      [](NodeAttributes& a) { a.objects = {"Travel Request|GF_TravelRequest"}; });
  d.Arrow(submit, review);
  d.Arrow(review, complete, RoutingKind::Or, "more information needed");
  d.Arrow(complete, submit);
  d.Arrow(review, board, RoutingKind::Xor, "Travel_Cost > 1000");
  d.Arrow(review, book, RoutingKind::Else);
  d.Arrow(board, book);
  d.Bounds(submit, book);
  return d.Done();
}

std::unique_ptr<CWorkflowDoc> ComplaintHandling(Services& services) {
  Drawing d(services, "Complaint Handling", "", WorkflowStatus::Template, 1);
  CNode* record = d.Task("Record complaint", 0, 0, NodeKind::In, kWorkgroup, "Order Desk",
                         [](NodeAttributes& a) {
                           a.griId = kComplaintLeafId;
                           a.objects = {"Complaint|GF_Complaint"};
                         });
  CNode* carrier = d.Task("Carrier statement", 1, 1, NodeKind::Extern, kPerson, "",
                          [](NodeAttributes& a) { a.griId = kParcelDeliveryLeafId; });
  CNode* again = d.Task("Carrier follow-up", 2, 1, NodeKind::Extern, kPerson, "");
  CNode* expert = d.Task("Expert opinion", 1, 2, NodeKind::ExtWFTask, kPerson,
                         "Tom Keller/Consulting/Cirrus Consulting");
  CNode* resolve = d.Task("Resolve", 3, 1, NodeKind::Intern, kWorkgroup, "Quality Circle");
  d.Arrow(record, carrier, RoutingKind::And);
  d.Arrow(record, expert, RoutingKind::And);
  d.Arrow(carrier, again);
  d.Arrow(again, resolve);
  d.Arrow(expert, resolve);
  d.Reference(again, carrier);
  d.Bounds(record, resolve);
  d.PublishedBounds(record, nullptr);
  return d.Done();
}

}  // namespace

std::vector<std::unique_ptr<CWorkflowDoc>> BuildDemoWorkflows(Services& services) {
  std::vector<std::unique_ptr<CWorkflowDoc>> docs;
  docs.push_back(OrderHandling(services, WorkflowStatus::Freeze, 1, false));
  docs.push_back(OrderHandling(services, WorkflowStatus::Active, 2, true));
  docs.push_back(CreditCheck(services));
  docs.push_back(TravelRequest(services));
  docs.push_back(ComplaintHandling(services));
  return docs;
}

std::vector<StoredDemoWorkflow> StoreDemoWorkflows(Services& services, LNDatabase& db,
                                                   const std::string& path,
                                                   const std::string& appReplicaId) {
  LNNotesSession session;
  session.Init(410);
  CProcessDefDb repository(services, session, path, "", nullptr, HeadersFrom({path, ""}));
  std::vector<StoredDemoWorkflow> stored;
  for (std::unique_ptr<CWorkflowDoc>& doc : BuildDemoWorkflows(services)) {
    WorkflowDatabases databases;
    databases.processDefinitions = {{path, ""}, &repository};
    doc->SetDatabases(databases);
    if (!WriteWorkflow(*doc, {&db, appReplicaId}))
      throw std::runtime_error("the demo workflow " + doc->Header().name + " could not be stored");
    const WorkflowHeader& h = doc->Header();
    stored.push_back(
        {h.name, h.workflowId, h.version, WorkflowStatusToWord(static_cast<int>(h.status))});
  }
  return stored;
}

}  // namespace velk::demo
