// What changed between two versions: the demo workflows against edited copies
// made through their workflow files.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/headlessservices.h"
#include "model/workflowdiff.h"
#include "model/workflowdoc.h"
#include "model/workflowjson.h"
#include "repository/demoworkflows.h"

namespace velk::testing {
namespace {

std::unique_ptr<CWorkflowDoc> Import(Services& ui, const WorkflowJson& json) {
  auto doc = std::make_unique<CWorkflowDoc>(ui, std::string(), "06.12.2026");
  WorkflowFromJson(json, *doc);
  return doc;
}

std::vector<std::string> Lines(const WorkflowDiff& diff) {
  std::vector<std::string> lines;
  for (const WorkflowChange& c : diff.changes) lines.push_back(DescribeChange(c));
  std::sort(lines.begin(), lines.end());
  return lines;
}

WorkflowJson& Node(WorkflowJson& json, const std::string& name) {
  for (WorkflowJson& n : json["nodes"])
    if (n["name"] == name) return n;
  throw std::runtime_error("no node " + name);
}

std::unique_ptr<CWorkflowDoc> OrderHandling(Services& ui) {
  for (auto& doc : demo::BuildDemoWorkflows(ui))
    if (doc->Header().name == "Order Handling" && doc->Header().status == WorkflowStatus::Active)
      return std::move(doc);
  throw std::runtime_error("no Active Order Handling");
}

TEST(WorkflowDiffTest, AWorkflowAndItsFileCopyAreEqualWhateverTheirIds) {
  HeadlessServices ui;
  for (const auto& doc : demo::BuildDemoWorkflows(ui)) {
    WorkflowJson json = WorkflowToJson(*doc);
    // Another numbering, as a save gives after an insertion early in the graph.
    for (WorkflowJson& n : json["nodes"]) {
      n["id"] = n["id"].get<int>() + 100;
      if (n.contains("reference") && n["reference"].is_number())
        n["reference"] = n["reference"].get<int>() + 100;
    }
    for (WorkflowJson& a : json["arrows"]) {
      a["from"] = a["from"].get<int>() + 100;
      a["to"] = a["to"].get<int>() + 100;
    }
    const WorkflowDiff diff = DiffWorkflows(*Import(ui, WorkflowToJson(*doc)), *Import(ui, json));
    EXPECT_TRUE(diff.Equal()) << doc->Header().name << ": " << Lines(diff).front();
    EXPECT_EQ(diff.renumbered.size(), doc->NodeCount()) << doc->Header().name;
  }
}

TEST(WorkflowDiffTest, EachKindOfChangeIsOneLineNamingItsLevel) {
  HeadlessServices ui;
  const WorkflowJson before = WorkflowToJson(*OrderHandling(ui));
  WorkflowJson after = before;
  after["header"]["freeText"] = "Reviewed";
  Node(after, "Check order")["member"] = "Clerk/Back office";
  Node(after, "Reject order")["name"] = "Decline order";  // same id: a rename
  Node(after, "Confirm order")["x"] = Node(after, "Confirm order")["x"].get<int>() + 40;
  Node(after, "Print label")["resources"] = {"Printer Room 3"};  // two levels down
  // Removing "Dispatch" takes its arrow along.
  const int dispatch = Node(after, "Dispatch")["id"].get<int>();
  auto& nodes = after["nodes"];
  nodes.erase(std::find_if(nodes.begin(), nodes.end(),
                           [](const WorkflowJson& n) { return n["name"] == "Dispatch"; }));
  auto& arrows = after["arrows"];
  arrows.erase(std::remove_if(arrows.begin(), arrows.end(),
                              [&](const WorkflowJson& a) {
                                return a["from"] == dispatch || a["to"] == dispatch;
                              }),
               arrows.end());
  WorkflowJson added = Node(after, "Check order");
  added["id"] = 999;
  added["name"] = "Check customer";
  nodes.push_back(added);
  for (WorkflowJson& a : arrows) {
    if (a["from"] == Node(after, "Credit check")["id"] &&
        a["to"] == Node(after, "Approve large order")["id"])
      a["condition"] = "very large order";
    if (a["from"] == Node(after, "Approve large order")["id"] &&
        a["to"] == Node(after, "Decline order")["id"])
      a["kind"] = "Xor";  // a change of the arrow, not a new one
  }

  const std::vector<std::string> expected = {
      "Arrow 'Approve large order' -> 'Decline order': kind 'Or' -> 'Xor'",
      "Arrow 'Credit check' -> 'Approve large order': condition 'large order' -> 'very large "
      "order'",
      "Fulfilment > Packing: Task 'Print label': resources 'Printer Room 2' -> 'Printer Room 3'",
      "Fulfilment: Arrow 'Packing' -> 'Dispatch' removed",
      "Fulfilment: Task 'Dispatch' removed",
      "Header: freeText 'Order Handling at Marvelund' -> 'Reviewed'",
      "Task 'Check customer' added",
      "Task 'Check order': member 'Clerk' -> 'Clerk/Back office'",
      "Task 'Confirm order' moved",
      "Task 'Decline order': name 'Reject order' -> 'Decline order'",
  };
  const WorkflowDiff diff = DiffWorkflows(*Import(ui, before), *Import(ui, after));
  EXPECT_EQ(Lines(diff), expected);
  EXPECT_TRUE(diff.renumbered.empty());
}

}  // namespace
}  // namespace velk::testing
