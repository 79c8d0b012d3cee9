#include "common/infocenter.h"

#include <gtest/gtest.h>

#include "common/headlessservices.h"

namespace velk {
namespace {

const char* kInit = "Initializing Databases";

class InfoCenterTest : public ::testing::Test {
 protected:
  HeadlessServices ui;
  InfoCenter& center = ui.infoCenter();
};

TEST_F(InfoCenterTest, KeepsEntriesInInsertionOrderAndIgnoresExactDuplicatesWithTheirTime) {
  const auto before = std::chrono::system_clock::now();
  center.addEntry(kInit, "t1", "x", 0, Severity::Success);
  const auto first = center.entries()[0].added;
  EXPECT_GE(first, before);
  EXPECT_LE(first, std::chrono::system_clock::now());
  center.addEntry("Check", "t2", "y", 0, Severity::Warning);
  center.addEntry(kInit, "t1", "x", 0, Severity::Success);  // same again: keeps the first time
  center.addEntry(kInit, "t1", "x", 0, Severity::Notice);   // differs in severity
  center.addEntry(kInit, "t1", "x", 1, Severity::Success);  // differs in flag
  ASSERT_EQ(center.entries().size(), 4u);
  EXPECT_EQ(center.entries()[0].added, first);
  EXPECT_EQ(center.entries()[1].category, "Check");
  EXPECT_EQ(center.entries()[2].severity, Severity::Notice);
  EXPECT_EQ(center.entries(kInit).size(), 3u);
  EXPECT_EQ(center.categories(), (std::vector<std::string>{kInit, "Check"}));
}

TEST_F(InfoCenterTest, HighestSeverityFollowsTheCategoryAndOnlyAnErrorAsksForTheWindow) {
  EXPECT_FALSE(center.highestSeverity(kInit));
  center.addEntry(kInit, "a", "", 0, Severity::Notice);
  center.addEntry(kInit, "b", "", 0, Severity::Warning);
  center.addEntry(kInit, "c", "", 0, Severity::Success);
  EXPECT_FALSE(ui.infoWindowShown);
  center.addEntry("Other", "e", "", 0, Severity::Error);
  EXPECT_TRUE(ui.infoWindowShown);
  EXPECT_EQ(center.highestSeverity(kInit), Severity::Warning);
  EXPECT_EQ(center.highestSeverity("Other"), Severity::Error);
}

TEST_F(InfoCenterTest, ClearingACategoryKeepsTheOthersAndAllowsTheSameEntryAgain) {
  center.addEntry(kInit, "a", "", 0, Severity::Success);
  center.addEntry("Check", "b", "", 0, Severity::Success);
  center.clearCategory(kInit);
  EXPECT_TRUE(center.entries(kInit).empty());
  EXPECT_EQ(center.entries().size(), 1u);
  EXPECT_FALSE(center.highestSeverity(kInit));
  center.addEntry(kInit, "a", "", 0, Severity::Success);
  EXPECT_EQ(center.entries().size(), 2u);
  center.clear();
  EXPECT_TRUE(center.entries().empty());
  EXPECT_TRUE(center.categories().empty());
}

}  // namespace
}  // namespace velk
