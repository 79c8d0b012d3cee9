#pragma once
// A small order workflow for drawing tests and screenshots: twelve tasks of
// every kind on the top level, a cluster holding two more, arrows of every
// routing kind with conditions, members, forms and resources, and a selection.

#include <memory>
#include <string>
#include <vector>

#include "model/workflowdoc.h"

namespace viewtest {

struct DemoWorkflow {
  std::shared_ptr<velk::CWorkflowDoc> doc;
  std::vector<velk::CNode*> nodes;    // top level, in insertion order
  std::vector<velk::CArrow*> arrows;  // top level
  velk::CNode* cluster = nullptr;
  velk::CWorkflowDoc* clusterDoc = nullptr;

  velk::CNode* Add(velk::CWorkflowDoc& in, const std::string& name, int left, int top,
                   velk::NodeKind kind = velk::NodeKind::Intern, const std::string& member = {},
                   std::vector<std::string> objects = {}, std::vector<std::string> resources = {}) {
    velk::CNode* node = in.InsertNode(velk::NodeRectAt(left, top), kind);
    velk::NodeAttributes a = node->Attributes();
    a.name = name;
    a.member = member;
    a.objects = std::move(objects);
    a.resources = std::move(resources);
    in.SetNodeAttributes(*node, a);
    return node;
  }

  void Link(velk::CNode* from, velk::CNode* to, velk::RoutingKind kind = velk::RoutingKind::And,
            const std::string& condition = {}, const std::string& formula = {}) {
    arrows.push_back(doc->CreateArrow(*from, *to, {kind, condition, formula}));
  }

  explicit DemoWorkflow(velk::Services& services)
      : doc(std::make_shared<velk::CWorkflowDoc>(services, "CN=Test Designer/O=Marvelund",
                                                 "06.12.2026")) {
    using velk::NodeKind;
    using velk::RoutingKind;
    velk::CWorkflowDoc& d = *doc;
    auto* receive =
        Add(d, "Receive order", 40, -40, NodeKind::Intern, "Order desk", {"Order form"});
    d.MakeInTask(*receive);
    auto* check = Add(d, "Check customer credit history and payment record", 40, -180,
                      NodeKind::Intern, "Anna Berg", {"Customer sheet"}, {"Credit register"});
    cluster = Add(d, "Credit check", 320, -180, NodeKind::IWC);
    auto* stock =
        Add(d, "Check stock", 40, -320, NodeKind::Intern, "Warehouse", {}, {"Stock list"});
    auto* approve =
        Add(d, "Approve order", 600, -180, NodeKind::Intern, "Sales manager", {"Order form"});
    auto* reject = Add(d, "Reject order", 600, -320, NodeKind::Intern, "Sales manager", {"Letter"});
    auto* invoice =
        Add(d, "Write invoice", 40, -460, NodeKind::Intern, "Accounting", {"Invoice"}, {"Printer"});
    auto* ship = Add(d, "Ship goods", 320, -460, NodeKind::ExtWFTask, "Carrier");
    auto* partner = Add(d, "Partner delivery", 600, -460, NodeKind::EIDM);
    auto* subscribed = Add(d, "Customs clearance", 40, -600, NodeKind::Extern);
    auto* archive =
        Add(d, "Archive order", 320, -600, NodeKind::Intern, "Records office", {"Order form"});
    d.MakeOutTask(*archive);
    auto* subflow = Add(d, "Returns handling", 600, -600, NodeKind::ICDR);
    nodes = {receive, check, cluster, stock,      approve, reject,
             invoice, ship,  partner, subscribed, archive, subflow};

    clusterDoc = d.OpenClusterDocument(*cluster);
    auto* query = Add(*clusterDoc, "Query credit bureau", 60, -60, NodeKind::Intern, "Credit desk");
    auto* rate = Add(*clusterDoc, "Rate risk", 60, -200, NodeKind::Intern, "Risk office");
    doc->CreateArrow(*query, *rate, {RoutingKind::And, {}, {}});

    Link(receive, check);
    Link(check, cluster, RoutingKind::Or, "amount > 1000");
    Link(check, stock, RoutingKind::Else);
    Link(cluster, approve, RoutingKind::Xor, "credit ok");
    Link(cluster, reject, RoutingKind::Xor, "credit refused");
    Link(stock, invoice, RoutingKind::Cor, "stock low", "@If(Stock < 10; 1; 0)");
    Link(approve, ship);
    Link(invoice, ship);
    Link(ship, partner, RoutingKind::Or, "express");
    Link(partner, subflow);
    Link(reject, archive);
    Link(subscribed, archive);
    Link(subflow, archive);

    d.Session().SelectNode(*approve);
    d.Session().SelectNode(*ship, true);
    d.Session().SelectArrow(*arrows[3]);
  }
};

}  // namespace viewtest
