// The workflow choosers without their widgets: filters, the category tree, the
// display text and what OK gives back.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialogs/workflowchooser.h"
#include "storagefixture.h"

namespace velk::testing {
namespace {

WorkflowHeaderEntry Entry(const std::string& type, int status, int wfType,
                          const std::string& category = "Sales", int version = 1) {
  WorkflowHeaderEntry h;
  h.type = type;
  h.status = status;
  h.wfType = wfType;
  h.category = category;
  h.version = version;
  return h;
}

// Category name, then "text|image" of each version.
std::vector<std::string> Flatten(const std::vector<ChooserCategory>& tree) {
  std::vector<std::string> lines;
  for (const ChooserCategory& c : tree) {
    lines.push_back(c.name);
    for (const ChooserVersion& v : c.versions)
      lines.push_back("  " + v.text + "|" + std::to_string(v.image));
  }
  return lines;
}

TEST(WorkflowChooserTest, FiltersPickNormalWorkflowsByStatusAndSubWorkflowsByType) {
  const std::vector<WorkflowHeaderEntry> headers = {Entry("Order", 1, 0),
                                                    Entry("Travel", 0, 0, ""),
                                                    Entry("Check", 1, 1, "Sales"),
                                                    Entry("Deliver", 2, 2, ""),
                                                    Entry("Shared", 1, 3),
                                                    Entry("Leave", 3, 0, "HR"),
                                                    Entry("Order", 0, 0, "Sales", 2)};
  struct Case {
    ChooserFilter filter;
    std::vector<std::string> lines;
  } cases[] = {
      {ChooserFilter::All,
       {"Sales", "  Order (Version 1.0) (Active)|3", "  Order (Version 2.0) (Design)|2",
        "Not categorized", "  Travel (Version 1.0) (Design)|2", kSubWorkflowCategory,
        "  Check (Version 1.0) (Active)|5", "  Deliver (Version 1.0) (Freeze)|6", "HR",
        "  Leave (Version 1.0) (Template)|5"}},
      {ChooserFilter::Active, {"Sales", "  Order (Version 1.0) (Active)|3"}},
      {ChooserFilter::Design,
       {"Not categorized", "  Travel (Version 1.0) (Design)|2", "Sales",
        "  Order (Version 2.0) (Design)|2"}},
      {ChooserFilter::Freeze, {}},
      {ChooserFilter::Testing, {}},
      {ChooserFilter::SubWorkflows,
       {kSubWorkflowCategory, "  Check (Version 1.0) (Active)|5",
        "  Deliver (Version 1.0) (Freeze)|6"}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Flatten(BuildChooserTree(headers, c.filter)), c.lines) << static_cast<int>(c.filter);
}

// A save retires and rewrites headers, so the store's order mixes versions up.
TEST(WorkflowChooserTest, VersionsOfAWorkflowStandTogetherLowestFirstInExactCategories) {
  const std::vector<WorkflowHeaderEntry> headers = {
      Entry("Order", 1, 0, "Sales", 2), Entry("Ship", 0, 0, "Sales", 1),
      Entry("Fax", 0, 0, "sales", 1),   Entry("Order", 2, 0, "Sales", 1),
      Entry("Order", 1, 0, "Sales", 3), Entry("Order", 0, 0, "Sales", 3)};
  EXPECT_EQ(Flatten(BuildChooserTree(headers, ChooserFilter::All)),
            (std::vector<std::string>{
                "Sales", "  Order (Version 1.0) (Freeze)|4", "  Order (Version 2.0) (Active)|3",
                "  Order (Version 3.0) (Active)|3", "  Order (Version 3.0) (Design)|2",
                "  Ship (Version 1.0) (Design)|2", "sales", "  Fax (Version 1.0) (Design)|2"}));
  EXPECT_EQ(HeaderDisplayText(Entry("Order", 4, 0, "", 12)), "Order (Version 12.0) (Testing)");
}

TEST_F(StorageTest, ChooserLoadGivesTheFirstEqualVersionAndAsksForAVersion) {
  AddHeader({"Order", "FIRST", "Active", 2});
  AddHeader({"Order", "SECOND", "Active", 2});
  AddHeader({"Gone", "G", "Design", 0});
  LoadWorkflowChooser chooser(*repository);
  chooser.Open();
  EXPECT_EQ(chooser.DatabaseName(), "procdef.nsf");
  ASSERT_EQ(chooser.Tree().size(), 1u);
  EXPECT_EQ(chooser.Tree()[0].versions.size(), 3u);

  WorkflowHeaderEntry chosen;
  EXPECT_EQ(chooser.Accept(std::nullopt, chosen), LoadWorkflowChooser::Outcome::NothingChosen);
  EXPECT_EQ(Said(), std::vector<std::string>{
                        "No workflow ist selected!\nPlease select one or press \"Cancel\""});

  EXPECT_EQ(chooser.Accept("Order (Version 2.0) (Active)", chosen),
            LoadWorkflowChooser::Outcome::Chosen);
  EXPECT_EQ(chosen.workflowId, "FIRST");
  EXPECT_EQ(chosen.appReplicaId, "C1257A1B:0034F2E1") << "every field of the header";

  chooser.SetFilter(ChooserFilter::Design);
  ASSERT_EQ(chooser.Tree().size(), 1u);
  {
    LNDatabase db = Open();
    for (LNDocument& d : Documents(db, views::kHeaderById, "G")) {
      d.Close();
      db.DeleteDocument(&d);
    }
  }
  EXPECT_EQ(chooser.Accept("Gone (Version 0.0) (Design)", chosen),
            LoadWorkflowChooser::Outcome::Gone);
  EXPECT_TRUE(chooser.Tree().empty()) << "the tree shows what is stored now";
}

TEST_F(StorageTest, ChooserSaveAsListsVersionsAndTakesTheChosenName) {
  SaveWorkflowAsChooser orphan(ui, nullptr);
  EXPECT_FALSE(orphan.Open());
  EXPECT_EQ(Said(), std::vector<std::string>{"Workflowpointer is not set - programming error!"});

  AddHeader({"Order", "W1", "Active", 2});
  AddHeader({"Leave", "W2", "Template", 1});
  SaveWorkflowAsChooser chooser(ui, &doc);
  ASSERT_TRUE(chooser.Open());
  ASSERT_EQ(chooser.Entries().size(), 2u);
  EXPECT_EQ(chooser.Entries()[0].text, "Order (Version 2.0) (Active)");
  EXPECT_EQ(chooser.Entries()[0].icon, 1);
  EXPECT_EQ(chooser.Entries()[1].icon, -1) << "templates have no icon of their own";
  EXPECT_EQ(chooser.Name(), "New workflow");
  chooser.SetName("Typed");
  chooser.Select(1);
  EXPECT_EQ(chooser.Name(), "Leave");
  chooser.Accept();
  EXPECT_EQ(doc.Header().name, "Leave");
  EXPECT_EQ(doc.Header().status, WorkflowStatus::Design) << "the status stays";
}

}  // namespace
}  // namespace velk::testing
