// The demo's Application Environment (application forms, configuration) and
// Process Definitions (resources; stored workflows later).

#include "repository/databasetemplates.h"
#include "repository/demoworkflows.h"
#include "repository/demowriter.h"
#include "repository/identity.h"

namespace velk::demo {

namespace {

// Application forms. Only titles containing "GF" are offered to the designer; the
// part of a field name before the first "_" is its content block. Names starting
// with "tmp", "wf" or "$" are the application's own and are not offered.
const FormDesign kApplicationForms[] = {
    {"Purchase Order|GF_PurchaseOrder",
     {"Customer_Name", "Customer_Street", "Customer_City", "Order_Amount", "Order_Date", "Remarks",
      "tmpTotal", "wfStatus", "$Body"}},
    {"Credit Report|GF_CreditReport", {"Credit_Rating", "Credit_Limit", "Remarks", "wfReviewer"}},
    {"Delivery Note|GF_DeliveryNote",
     {"Customer_Name", "Delivery_Date", "Delivery_Carrier", "tmpCount"}},
    {"Order Confirmation|GF_OrderConfirmation",
     {"Customer_Name", "Order_Amount", "Order_Confirmation", "Confirmation_Date", "$Revisions"}},
    {"Invoice|GF_Invoice",
     {"Customer_Name", "Invoice_Number", "Invoice_Amount", "Invoice_DueDate", "Payment_Terms",
      "wfPaid"}},
    {"Travel Request|GF_TravelRequest",
     {"Traveller_Name", "Travel_Destination", "Travel_Start", "Travel_End", "Travel_Cost",
      "Approval_Comment", "tmpDays"}},
    {"Leave Application|GF_LeaveApplication",
     {"Employee_Name", "Leave_Start", "Leave_End", "Leave_Type", "Substitute", "$Readers"}},
    {"Complaint|GF_Complaint",
     {"Customer_Name", "Complaint_Subject", "Complaint_Text", "Complaint_Date", "Resolution",
      "wfEscalated"}},
    {"Memo", {"Subject", "Body", "SendTo"}},
};

// Resources a task can claim; every document needs the item "Resource".
const char* const kResources[] = {"Company Car",    "Meeting Room A", "Meeting Room B",
                                  "Printer Room 2", "Projector",      "Notebook Pool"};

// Stored workflows, written through the modeler's own save (demoworkflows.cpp),
// with `links.appReplicaId` as their "AppReplikaID", the members of
// WriteInfrastructure, the forms above and the resources. The External Directory
// may name them: the IRI leafs' "WorkflowID"/"wfID" and the "MasterWorkflowID" of
// the requests Marvelund ordered (kCreditCheckRequestId).
void WriteDemoWorkflows(Services& services, LNDatabase& db, const DemoLinks& links) {
  StoreDemoWorkflows(services, db, db.GetFilepath(), links.appReplicaId);
}

}  // namespace

void WriteApplicationEnvironment(LNDatabase& db) {
  for (const FormDesign& form : kApplicationForms)
    ThrowOnError(db.CreateForm(form.title, form.fields));
  // The modeler finds this document under "ReplicaID" and reads the office's address.
  DocumentWriter(db, forms::kConfiguration)
      .text("ConfigKey", "ReplicaID")
      .text("ReplicaID", FormatReplicaId(db.GetReplicaID()))
      .text("wfOfficeMail", kDemoOfficeMail)
      .save();
  DocumentWriter(db, forms::kConfiguration)
      .text("ConfigKey", "Archive")
      .text("wfOfficeMail", "archive@marvelund.example")
      .save();
}

void WriteProcessDefinitions(Services& services, LNDatabase& db, const DemoLinks& links) {
  for (const char* resource : kResources)
    DocumentWriter(db, forms::kResource).text("Resource", resource).save();
  WriteDemoWorkflows(services, db, links);
}

}  // namespace velk::demo
