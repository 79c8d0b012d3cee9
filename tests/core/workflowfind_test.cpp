// Finding tasks and arrows by their texts on every level of the demo's order workflow.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/headlessservices.h"
#include "model/workflowdoc.h"
#include "model/workflowfind.h"
#include "repository/demoworkflows.h"

namespace velk::testing {
namespace {

std::vector<std::string> Found(const WorkflowFindIndex& index, std::string_view text) {
  std::vector<std::string> lines;
  for (const FindResult& r : index.Find(text)) lines.push_back(DescribeResult(r));
  return lines;
}

TEST(WorkflowFindTest, FindsEveryKindOfTextOnEveryLevelWithoutRegardToCase) {
  HeadlessServices ui;
  std::unique_ptr<CWorkflowDoc> order;
  for (auto& doc : demo::BuildDemoWorkflows(ui))
    if (doc->Header().name == "Order Handling" && doc->Header().status == WorkflowStatus::Active)
      order = std::move(doc);
  ASSERT_TRUE(order);
  const WorkflowFindIndex index(*order);
  using Lines = std::vector<std::string>;
  EXPECT_EQ(Found(index, "PACK"), (Lines{"Fulfilment: cluster 'Packing' (name)",
                                         "Fulfilment > Packing: task 'Pack parcel' (name)"}));
  EXPECT_EQ(Found(index, "printer room"),
            Lines{"Fulfilment > Packing: task 'Print label' (resource)"});
  EXPECT_EQ(Found(index, "karin"), Lines{"task 'Approve large order' (performer)"});
  EXPECT_EQ(Found(index, "confirmation"), Lines{"task 'Confirm order' (form)"})
      << "a form by its title, not its stored form name";
  EXPECT_EQ(Found(index, "GF_"), Lines{});
  EXPECT_EQ(Found(index, "large order"),
            (Lines{"arrow 'Credit check' -> 'Approve large order' (condition)",
                   "task 'Approve large order' (name)"}))
      << "in workflow order, an arrow with its source";
  EXPECT_EQ(Found(index, "order_amount >"),
            Lines{"arrow 'Credit check' -> 'Approve large order' (condition)"})
      << "a Cor arrow's formula counts as its condition";
  EXPECT_EQ(Found(index, ""), Lines{});
  EXPECT_EQ(Found(index, "no such text"), Lines{});
}

}  // namespace
}  // namespace velk::testing
