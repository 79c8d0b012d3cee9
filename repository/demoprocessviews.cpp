// The demo's process views: workflows Marvelund publishes and those its partners
// offer (GRI headers with their leafs in folders), and the IRI documents of the
// published leafs.

#include <stdexcept>
#include <string>

#include "repository/databasetemplates.h"
#include "repository/demowriter.h"

namespace velk::demo {

namespace {

struct Header {
  const char* id;
  const char* direction;
  const char* organisation;
  const char* name;
  const char* gatewayDb;
};

const Header kHeaders[] = {
    {"00000A01", "Published", kDemoOrganisation, "Sales Processes", "gateway.nsf"},
    {"00000A02", "Published", kDemoOrganisation, "Purchasing Processes", "gateway.nsf"},
    {"00000A03", "Offered", "Acme Logistics", "Logistics Services", "acme/gateway.nsf"},
    {"00000A04", "Offered", "Borealis Bank", "Banking Services", "borealis/gateway.nsf"},
};

struct Leaf {
  const char* id;
  const char* headerId;
  const char* path;  // folders and name, "/"-separated
  const char* description;
  const char* status;
  int version;
  int durationDays;
  const char* publishTo;
  Names readers;
  const char* inputDocType;
  Names inputFields;
  const char* outputDocType;
  Names outputFields;
  const char* formatServer;
};

const Names kCustomerFields = {"CustomerName/Text/Full name of the customer",
                               "Amount/Number/Order amount in EUR"};

const Leaf kLeafs[] = {
    {kOrderHandlingLeafId,
     "00000A01",
     "Orders/Domestic/Order Handling",
     "Order intake for domestic customers",
     "Active",
     1,
     3,
     "Publish selective",
     {"Acme Logistics", "Borealis Bank"},
     "",
     kCustomerFields,
     "DT-CONFIRM",
     {},
     "gateway@marvelund.example"},
    {kExportOrderLeafId,
     "00000A01",
     "Orders/Export/Export Order",
     "Orders from abroad with customs papers",
     "Design",
     1,
     5,
     "Publish to all",
     {},
     "DT-ORDER",
     {},
     "DT-CONFIRM",
     {},
     "gateway@marvelund.example"},
    {kComplaintLeafId,
     "00000A01",
     "Complaints/Complaint Handling",
     "Customer complaints / returns",
     "Active",
     2,
     7,
     "Publish to WWW",
     {},
     "",
     {"Complaint/Text/What went wrong", "OrderNumber/Text/Order concerned"},
     "",
     {"Resolution/Text/How the complaint was settled"},
     "gateway@marvelund.example"},
    {kSupplierRatingLeafId,
     "00000A02",
     "Suppliers/Supplier Rating",
     "Yearly rating of the suppliers",
     "Archive",
     3,
     14,
     "Publish selective",
     {"Acme Logistics"},
     "",
     {"Supplier/Text/Supplier name"},
     "",
     {"Rating/Text/A, B or C"},
     "gateway@marvelund.example"},
    {kParcelDeliveryLeafId,
     "00000A03",
     "Transport/Parcel Delivery",
     "Parcels up to 30 kg within Europe",
     "Active",
     4,
     2,
     "Publish to all",
     {},
     "DT-DELIVERY",
     {},
     "DT-DELIVERY",
     {},
     "gateway@acme.example"},
    {"4D5E6F708192A3B4C5D6E7F8091A2B3E",
     "00000A03",
     "Transport/Freight/Freight Forwarding",
     "Pallets and containers",
     "Active",
     1,
     10,
     "Publish to all",
     {},
     "",
     {"Goods/Text/Goods", "Weight/Number/Gross weight in kg"},
     "",
     {},
     "gateway@acme.example"},
    {kCreditCheckLeafId,
     "00000A04",
     "Credit/Credit Check",
     "Credit rating of a customer",
     "Active",
     2,
     5,
     "Publish selective",
     {kDemoOrganisation},
     "",
     kCustomerFields,
     "DT-INVOICE",
     {},
     "gateway@borealis.example"},
    {"4D5E6F708192A3B4C5D6E7F8091A2B3F",
     "00000A04",
     "Credit/Payment Guarantee",
     "Guarantees for export payments",
     "Design",
     1,
     10,
     "Publish selective",
     {kDemoOrganisation},
     "",
     kCustomerFields,
     "",
     {"Guarantee/Text/Guarantee number"},
     "gateway@borealis.example"},
};

const Header& HeaderOf(const Leaf& leaf) {
  for (const Header& h : kHeaders)
    if (std::string(h.id) == leaf.headerId) return h;
  throw std::logic_error("demo leaf without header");
}

void WriteLeaf(LNDatabase& db, const Leaf& l) {
  DocumentWriter(db, forms::kGriLeaf)
      .text("LeafName", l.path)
      .text("Description2", l.description)
      .text("Status", l.status)
      .integer("Version", l.version)
      .text("Direction", HeaderOf(l).direction)
      .text("ValidUntil", "31.12.2027")
      .flag("TrackingAllowed", std::string(l.status) != "Archive")
      .number("Duration", l.durationDays)
      .text("DurationUnit", "d")
      .text("PublishTo", l.publishTo)
      .list("PublishReader", l.readers)
      .text("InputDocTypeID", l.inputDocType)
      .list("InputFields", l.inputFields)
      .text("OutputDocTypeID", l.outputDocType)
      .list("OutputFields", l.outputFields)
      .text("FormatServer", l.formatServer)
      .text("HeaderID", l.headerId)
      .list("ReferencedByWFNode", {})
      .text("LeafID", l.id)
      .save();
}

// The workflow a published leaf runs is named once stored workflows exist.
void WriteIriLeaf(LNDatabase& db, const Leaf& l) {
  DocumentWriter(db, forms::kIriLeaf)
      .text("LeafID", l.id)
      .text("ApplicationDB", kDemoOfficeMail)
      .text("WorkflowID", "")
      .text("wfID", "")
      .save();
}

}  // namespace

void WriteProcessViews(LNDatabase& db) {
  for (const Header& h : kHeaders) {
    DocumentWriter(db, forms::kGriHeader)
        .text("HeaderID", h.id)
        .text("Direction", h.direction)
        .text("OrgName", h.organisation)
        .text("ProcViewName", h.name)
        .text("GatewayDB", h.gatewayDb)
        .save();
  }
  for (const Leaf& l : kLeafs) {
    WriteLeaf(db, l);
    if (std::string(HeaderOf(l).direction) == "Published") WriteIriLeaf(db, l);
  }
}

}  // namespace velk::demo
