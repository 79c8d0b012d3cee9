// The demo's External Directory, partners and exchange: content blocks, document
// types, content-management templates, registered external persons, EIDM
// organisations and EIDM requests. Process views are in demoprocessviews.cpp.

#include "repository/databasetemplates.h"
#include "repository/demowriter.h"

namespace velk::demo {

namespace {

// Content blocks are found by a part of their id, so no id lies inside another.
void WriteContentBlocks(LNDatabase& db) {
  struct Block {
    const char* name;
    const char* id;
    bool subform;
    const char* freeText;
    Names fields;  // "name/type/description"; the description may hold "/"
    Names documentTypes;
  };
  const Block blocks[] = {
      {"Customer",
       "CB-CUSTOMER",
       false,
       "Customer data",
       {"CustomerName/Text/Full name of the customer", "CustomerStreet/Text/Street and number",
        "CustomerCity/Text/City"},
       {"DT-ORDER", "DT-CONFIRM", "DT-DELIVERY", "DT-INVOICE"}},
      {"Order Head",
       "CB-ORDERHEAD",
       false,
       "Number, date and amount of an order",
       {"OrderNumber/Text/Order number", "OrderDate/Date/Date of the order",
        "Amount/Number/Order amount in EUR"},
       {"DT-ORDER", "DT-CONFIRM"}},
      {"Order Line",
       "CB-ORDERLINE",
       true,
       "One line per article",
       {"Article/Text/Article number", "Quantity/Number/Quantity",
        "Price/Number/Unit price in EUR/without VAT"},
       {"DT-ORDER"}},
      {"Delivery",
       "CB-DELIVERY",
       false,
       "",
       {"DeliveryDate/Date/Planned delivery date", "Carrier/Text/Carrier name"},
       {"DT-DELIVERY"}},
      {"Payment",
       "CB-PAYMENT",
       false,
       "Invoice and credit data",
       {"InvoiceNumber/Text/Invoice number", "DueDate/Date/Due date", "Rating/Text/Credit rating"},
       {"DT-INVOICE"}},
  };
  for (const Block& b : blocks) {
    DocumentWriter(db, forms::kContentBlock)
        .text("Name", b.name)
        .text("ContentBlockID", b.id)
        .text("Status", "Active")
        .integer("Version", 1)
        .flag("HaveSubform", b.subform)
        .text("Freetext", b.freeText)
        .list("ContentFieldList", b.fields)
        .list("IsInDocumentType", b.documentTypes)
        .save();
  }
}

void WriteDocumentTypes(LNDatabase& db) {
  struct Type {
    const char* name;
    const char* id;
    const char* category;
    int version;
    Names blocks;
    Names freeFields;
  };
  const Type types[] = {
      {"Purchase Order",
       "DT-ORDER",
       "Sales",
       2,
       {"CB-CUSTOMER", "CB-ORDERHEAD", "CB-ORDERLINE"},
       {"Remarks/Text/Free remarks"}},
      {"Order Confirmation",
       "DT-CONFIRM",
       "Sales",
       1,
       {"CB-CUSTOMER", "CB-ORDERHEAD"},
       {"Confirmation/Text/Confirmation text"}},
      {"Delivery Note", "DT-DELIVERY", "Logistics", 1, {"CB-CUSTOMER", "CB-DELIVERY"}, {}},
      {"Invoice",
       "DT-INVOICE",
       "Finance",
       1,
       {"CB-CUSTOMER", "CB-PAYMENT"},
       {"PaymentTerms/Text/Terms of payment"}},
  };
  for (const Type& t : types) {
    DocumentWriter(db, forms::kDocumentType)
        .text("Name", t.name)
        .text("DocumentTypeID", t.id)
        .text("DocumentCategory", t.category)
        .text("Status", "Active")
        .integer("Version", t.version)
        .text("Freetext", "")
        .list("ContentBlockIDList", t.blocks)
        .list("FreeFieldList", t.freeFields)
        .save();
  }
}

// Each line maps a field the partner needs to a block field of our forms.
void WriteContentManagement(LNDatabase& db) {
  struct Template {
    const char* name;
    const char* freeText;
    Names mapping;
  };
  const Template templates[] = {
      {"Order to Acme",
       "Maps the order form to Acme's order intake",
       {"CustomerName <=> Customer_Name", "Amount <=> Order_Amount"}},
      {"Confirmation from Acme",
       "Takes Acme's confirmation into the order confirmation",
       {"Confirmation <=> Order_Confirmation", "DeliveryDate <=> Delivery_Date"}},
      {"Credit check to Borealis",
       "What Borealis Bank needs for a credit check",
       {"CustomerName <=> Customer_Name", "Amount <=> Order_Amount", "Rating <=> Credit_Rating"}},
  };
  for (const Template& t : templates) {
    DocumentWriter(db, forms::kContentManagement)
        .text("ContentManagementID", "")
        .text("ContentManagementName", t.name)
        .text("FreeText", t.freeText)
        .list("ContentManagement", t.mapping)
        .saveWithNoteIdAs("ContentManagementID");
  }
}

struct Partner {
  const char* organisation;
  const char* orgId;
  const char* city;
  const char* zip;
  const char* country;
  const char* phone;
  const char* domain;
};

constexpr Partner kAcme = {"Acme Logistics", "6B1F2E3D4C5B6A79880716253443526A",
                           "Hamburg",        "20457",
                           "Germany",        "+49 40 1234567",
                           "acme.example"};
constexpr Partner kBorealis = {"Borealis Bank",
                               "6B1F2E3D4C5B6A79880716253443526B",
                               "Oslo",
                               "0150",
                               "Norway",
                               "+47 22 123456",
                               "borealis.example"};
constexpr Partner kCirrus = {"Cirrus Consulting",
                             "6B1F2E3D4C5B6A79880716253443526C",
                             "Zurich",
                             "8001",
                             "Switzerland",
                             "+41 44 1234567",
                             "cirrus.example"};

struct ExternalPerson {
  const char* first;
  const char* last;
  const char* department;
  const Partner* partner;
  const char* street;
};

const ExternalPerson kExternalPersons[] = {
    {"John", "Smith", "Dispatch", &kAcme, "1 Harbour Road"},
    {"Sara", "Jones", "Sales", &kAcme, "1 Harbour Road"},
    {"Paul", "Berg", "Credit", &kBorealis, "Karl Johans gate 7"},
    {"Mia", "Holm", "Credit", &kBorealis, "Karl Johans gate 7"},
    {"Tom", "Keller", "Consulting", &kCirrus, "Bahnhofstrasse 12"},
    {"Lisa", "Wong", "Consulting", &kCirrus, "Bahnhofstrasse 12"},
};

std::string NameOf(const ExternalPerson& p) {
  return Abbreviated(p.first, p.last, p.department, p.partner->organisation);
}

void WriteExternalPersons(LNDatabase& db) {
  for (const ExternalPerson& p : kExternalPersons) {
    const std::string domain = p.partner->domain;
    DocumentWriter(db, forms::kPerson)
        .text("FullName", Canonical(p.first, p.last, p.department, p.partner->organisation))
        .text("LastName", p.last)
        .text("FirstName", p.first)
        .text("CompanyName", p.partner->organisation)
        .text("Department", p.department)
        .text("HTTPPassword", "(355E98E7C7B59BD810ED845AD0FD2FC4)")
        .text("MailAddress", std::string(p.first) + "." + p.last + "@" + domain)
        .text("OfficeStreetAddress", p.street)
        .text("OfficeCity", p.partner->city)
        .text("OfficeState", "")
        .text("OfficeZIP", p.partner->zip)
        .text("OfficeCountry", p.partner->country)
        .text("OfficeNumber", p.partner->phone)
        .text("WebSite", "www." + domain)
        .save();
  }
}

Names ResponsibleOf(const Partner& partner) {
  Names names;
  for (const ExternalPerson& p : kExternalPersons)
    if (p.partner == &partner) names.push_back(NameOf(p));
  return names;
}

std::string ReadersOf(const Partner& partner) {
  return std::string(partner.organisation) + " Readers";
}

void WriteOrganisations(LNDatabase& db) {
  for (const Partner* partner : {&kAcme, &kBorealis, &kCirrus}) {
    DocumentWriter(db, forms::kExtOrganization)
        .text("ExtOrganization", partner->organisation)
        .text("ExtOrgReader", ReadersOf(*partner))
        .list("ExtOrgResponsible", ResponsibleOf(*partner))
        .text("ExtOrgID", partner->orgId)
        .save();
  }
}

struct Request {
  const char* name;
  const char* goal;
  const char* input;
  const char* output;
  const char* status;
  const Partner* partner;
  bool orderedByUs;  // else ordered by the partner from Marvelund
  const char* requiredDate;
  int expectedDays;
  const char* id;
  // Filled in once the request has been answered.
  const char* answerWorkflowId;
  const char* startDate;
  int confirmedDays;
};

const Request kRequests[] = {
    {"Credit check", "Rate the customer's credit", "Purchase Order|GF_PurchaseOrder",
     "Credit Report|GF_CreditReport", "Submitted", &kBorealis, true, "31.03.2027", 5,
     kCreditCheckRequestId, "", "", 0},
    {"Parcel delivery", "Deliver the ordered goods to the customer",
     "Delivery Note|GF_DeliveryNote", "Delivery Note|GF_DeliveryNote", "Performed", &kAcme, true,
     "15.02.2027", 3, "3F4E5D6C7B8A90A1B2C3D4E5F607182A", "9C8B7A6F5E4D3C2B1A0918273645A5B6",
     "15.01.2027", 2},
    {"Order intake", "Take in Acme's orders for office supplies", "Purchase Order|GF_PurchaseOrder",
     "Order Confirmation|GF_OrderConfirmation", "Created", &kAcme, false, "30.04.2027", 2,
     "3F4E5D6C7B8A90A1B2C3D4E5F607182B", "", "", 0},
    {"Expert review", "Review the consulting report", "Complaint|GF_Complaint",
     "Credit Report|GF_CreditReport", "Denied", &kCirrus, false, "01.03.2027", 10,
     "3F4E5D6C7B8A90A1B2C3D4E5F607182C", "", "", 0},
};

// A partner's own workflow and databases, as its requests name them.
constexpr char kPartnerWorkflowId[] = "5D0E7A1B2C3D4E5F60718293A4B5C6D7";
constexpr char kPartnerTrackingId[] = "C1257B04:00A1B2C3";

void WriteEidmRequest(LNDatabase& db, const Request& r, const DemoLinks& links) {
  const std::string partner = r.partner->organisation;
  const bool answered = *r.answerWorkflowId != '\0';
  DocumentWriter(db, forms::kExtClusterSpec)
      .text("ExtClusterName", r.name)
      .text("ExtClusterGoal", r.goal)
      .text("ExtClusterInput", r.input)
      .text("ExtClusterOutput", r.output)
      .text("ExtClusterFormat", "Notes")
      .text("ExtClusterStatus", r.status)
      .integer("ExtClusterVersion", 1)
      // Marvelund's requests name no workflow until stored workflows exist.
      .text("MasterWorkflowID", r.orderedByUs ? "" : kPartnerWorkflowId)
      .text("MasterEngineAddress",
            r.orderedByUs ? kDemoOfficeMail : "workflow@" + std::string(r.partner->domain))
      .text("MasterTrackingAddress", r.orderedByUs ? links.trackingReplicaId : kPartnerTrackingId)
      .text("ExtClusterRequiredDate", r.requiredDate)
      .number("ExtClusterExpectedDuration", r.expectedDays)
      .text("ExtClusterExpectedDurationUnit", "d")
      .list("ExtClusterResponsible", ResponsibleOf(*r.partner))
      .readers("$Readers", {ReadersOf(*r.partner)})
      .text("MasterOrg", r.orderedByUs ? kDemoOrganisation : partner)
      .text("ExtClusterOrg", r.orderedByUs ? partner : kDemoOrganisation)
      .text("ExtClusterDesigner", answered ? "designer@" + std::string(r.partner->domain) : "")
      .text("ExtClusterAppID", answered ? "C1257A9F:00AB12CD" : "")
      .text("ExtClusterMail", answered ? "workflow@" + std::string(r.partner->domain) : "")
      .text("ExtClusterWorkflowID", r.answerWorkflowId)
      .text("ExtClusterStartDate", r.startDate)
      .number("ExtClusterConfirmedDuration", r.confirmedDays)
      .text("ExtClusterConfirmedDurationUnit", answered ? "d" : "h")
      .text("ExtClusterID", r.id)
      .save();
}

void WriteEidmRequests(LNDatabase& db, const DemoLinks& links) {
  for (const Request& r : kRequests) WriteEidmRequest(db, r, links);
}

}  // namespace

void WriteExternalDirectory(LNDatabase& db, const DemoLinks& links) {
  WriteContentBlocks(db);
  WriteContentManagement(db);
  WriteDocumentTypes(db);
  WriteExternalPersons(db);
  WriteOrganisations(db);
  WriteEidmRequests(db, links);
  WriteProcessViews(db);
}

}  // namespace velk::demo
