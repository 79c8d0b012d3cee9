// The content-management page's working state: blocks of form fields,
// connections in both forms, templates, and the forms a task collects.

#include <gtest/gtest.h>

#include "common/headlessservices.h"
#include "core/workflowfixture.h"
#include "dialogs/contentmanagement.h"
#include "model/workflowdoc.h"

namespace {

using namespace velk;
using Strings = std::vector<std::string>;

const std::vector<FormRecord> kForms = {
    {"Order|GF_Order", {"Customer_Name", "Customer_City", "Order_Amount", "Remarks"}},
    {"Invoice|GF_Invoice", {"Customer_Name", "Invoice_Total"}},
};

ContentManagementState Opened(const Strings& stored) {
  ContentManagementState state;
  state.ReadStored(stored);
  state.AddFormFields({"Order|GF_Order", "Invoice|GF_Invoice", "Unknown"}, kForms);
  state.SetNeededFields({{"Name", "Text", "Who"}, {"Total", "Number", ""}, {"Note", "Text", ""}},
                        stored);
  return state;
}

Strings Labels(const ContentManagementState& state) {
  Strings labels;
  for (const ContentBlock& block : state.Blocks())
    labels.push_back(ContentManagementState::BlockLabel(block));
  return labels;
}

TEST(ContentManagementTest, StoredConnectionsOpenUnderTheirBlocksAndAreStoredBack) {
  const Strings stored = {"Name <=> Customer_Name", "Note <=> More Fields_Remarks", ""};
  ContentManagementState state = Opened(stored);
  EXPECT_EQ(Labels(state), (Strings{"Customer (1 of 2)", "More Fields (1 of 1)", "Order (0 of 1)",
                                    "Invoice (0 of 1)"}));
  EXPECT_EQ(state.ContentEntries("Customer"), (Strings{"City", "Name <=> Name"}));
  EXPECT_EQ(state.NeededNames(), Strings{"Total"}) << "connected needed fields are not offered";
  EXPECT_EQ(state.NeededDescription("Name"), "Who");
  EXPECT_EQ(state.Stored(), (Strings{"Name <=> Customer_Name", "Note <=> More Fields_Remarks"}));

  // Disconnecting offers the needed field again; connecting takes it.
  EXPECT_TRUE(state.Disconnect("Customer", "Name <=> Name"));
  EXPECT_TRUE(state.Connect("Invoice", "Total", "Total"));
  EXPECT_FALSE(state.Connect("Invoice", "Total", "Total")) << "already connected";
  EXPECT_EQ(state.Stored(), (Strings{"Note <=> More Fields_Remarks", "Total <=> Invoice_Total"}));
  state.Reset();
  EXPECT_TRUE(state.Stored().empty());
  EXPECT_EQ(state.NeededNames(), (Strings{"Name", "Note", "Total"}));
}

TEST(ContentManagementTest, TemplateEntriesThatFitAreConnectedOthersSkipped) {
  ContentManagementState state = Opened({});
  struct Case {
    const char* entry;
    bool fits;
  };
  const Case cases[] = {
      {"name <=> Customer_Name", true},    // needed field matched without regard to case
      {"Total <=> Order_Missing", false},  // no such field
      {"Gone <=> Invoice_Total", false},   // no such needed field
      {"Total <=> Nowhere_Total", false},  // no such block
      {"Total <=> Invoice_Total", true},
  };
  for (const Case& c : cases) EXPECT_EQ(state.ApplyTemplateEntry(c.entry), c.fits) << c.entry;
  EXPECT_EQ(state.Stored(), (Strings{"Name <=> Customer_Name", "Total <=> Invoice_Total"}));
}

TEST(ContentManagementTest, ATaskCollectsTheFormsOfEveryTaskBeforeItOnce) {
  HeadlessServices ui;
  CWorkflowDoc doc(ui, "CN=Test/O=Marvelund", "07.12.2026");
  auto task = [&](NodeKind kind, Strings objects) {
    CNode* node = doc.InsertNode({0, 0, 34, -34}, kind);
    velk::testing::EditNode(doc, *node, [&](NodeAttributes& a) { a.objects = objects; });
    return node;
  };
  CNode* start = task(NodeKind::In, {"A", "B"});
  CNode* loop = task(NodeKind::Intern, {"B", "C"});
  CNode* external = task(NodeKind::Extern, {"Own"});
  doc.CreateArrow(*start, *loop, {});
  doc.CreateArrow(*loop, *external, {});
  doc.CreateArrow(*external, *loop, {});
  EXPECT_EQ(ContentFormNames(*start), (Strings{"A", "B"})) << "an In task: its own forms";
  const Strings collected = ContentFormNames(*external);
  EXPECT_EQ(std::count(collected.begin(), collected.end(), "B"), 1);
  for (const char* form : {"A", "B", "C"})
    EXPECT_NE(std::find(collected.begin(), collected.end(), form), collected.end()) << form;
}

}  // namespace
