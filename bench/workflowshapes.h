#pragma once
// Generated workflows of a realistic mix (chains, branches with joins, Or and
// Cor routing, clusters two levels deep) and fully cyclic ones, for the
// benchmarks that save and load workflows.

#include <algorithm>
#include <string>
#include <vector>

#include "model/workflowdoc.h"

namespace bench {

using namespace velk;

class Generator {
 public:
  explicit Generator(CWorkflowDoc& doc) : doc_(doc) {}

  CNode* Task(int level = 1) {
    CNode* node = doc_.CreateNode(NodeRectAt(40 * (count_ % 50), -40 * (count_ / 50)));
    NodeAttributes a = node->Attributes();
    a.name = "Task " + std::to_string(++count_);
    a.member = "Order Desk";
    a.performerType = 2;
    a.objects = {"Purchase Order|GF_PurchaseOrder"};
    a.activities = {"Check", "Sign"};
    doc_.SetNodeAttributes(*node, a);
    doc_.SetBelongsToCluster(*node, level);
    return node;
  }
  void Link(CNode* from, CNode* to, RoutingKind kind = RoutingKind::And, std::string c = {},
            std::string f = {}) {
    doc_.CreateArrow(*from, *to, {kind, std::move(c), std::move(f)});
  }
  // A cluster node in `level` standing for a chain of `inner` tasks; the chain's
  // middle is itself a cluster of three tasks when `nested`.
  CNode* Cluster(int level, int inner, bool nested) {
    CNode* cluster = doc_.InsertNode(NodeRectAt(0, 0), NodeKind::IWC);
    doc_.SetBelongsToCluster(*cluster, level);
    ++count_;
    const int own = cluster->RepresentsCluster();
    std::vector<CNode*> chain;
    for (int i = 0; i < inner; ++i)
      chain.push_back(nested && i == inner / 2 ? Cluster(own, 3, false) : Task(own));
    for (int i = 0; i + 1 < inner; ++i) Link(chain[i], chain[i + 1]);
    for (CNode* n : {chain.front(), chain.back()}) doc_.SetBelongsToCluster(*n, own);
    doc_.SetClusterStartFlag(*chain.front(), true);
    doc_.SetClusterEndFlag(*chain.back(), true);
    doc_.SetClusterStartNode(*cluster, chain.front());
    doc_.SetClusterEndNode(*cluster, chain.back());
    return cluster;
  }
  int Count() const { return count_; }

 private:
  CWorkflowDoc& doc_;
  int count_ = 0;
};

// The start fans out by region into segments of about 40 tasks that meet at the end.
inline void BuildMix(CWorkflowDoc& doc, int tasks) {
  Generator g(doc);
  CNode* start = g.Task();
  CNode* end = g.Task();
  const int segments = std::max(1, tasks / 40);
  for (int s = 0; s < segments; ++s) {
    const int budget = (tasks - g.Count()) / (segments - s);
    const int stop = g.Count() + budget;
    CNode* previous = start;
    g.Link(start, previous = g.Task(), RoutingKind::Xor, "Region = " + std::to_string(s));
    for (int step = 0; g.Count() + 12 <= stop; ++step) {
      CNode* next = nullptr;
      if (step % 3 == 0) {  // a branch and its join
        CNode* yes = g.Task();
        CNode* no = g.Task();
        next = g.Task();
        g.Link(previous, yes, RoutingKind::Or, "Order_Amount > 1000");
        g.Link(previous, no, RoutingKind::Else);
        g.Link(yes, next, RoutingKind::Cor, "checked", "Credit_Rating < 3");
        g.Link(no, next);
      } else if (step % 3 == 1) {
        next = g.Cluster(1, 6, true);
        g.Link(previous, next);
      } else {
        next = g.Task();
        g.Link(previous, next);
      }
      previous = next;
    }
    while (g.Count() < stop) {
      CNode* next = g.Task();
      g.Link(previous, next);
      previous = next;
    }
    g.Link(previous, end);
  }
  doc.DefineAsWorkflowStart(*start);
  doc.DefineAsWorkflowEnd(*end);
}

// Every task reaches every other: a ring with chords.
inline void BuildCycle(CWorkflowDoc& doc, int tasks) {
  Generator g(doc);
  std::vector<CNode*> ring;
  for (int i = 0; i < tasks; ++i) ring.push_back(g.Task());
  for (int i = 0; i < tasks; ++i) {
    g.Link(ring[i], ring[(i + 1) % tasks]);
    if (i % 7 == 0) g.Link(ring[i], ring[(i + 13) % tasks], RoutingKind::Or, "again");
  }
  doc.DefineAsWorkflowStart(*ring.front());
}

}  // namespace bench
