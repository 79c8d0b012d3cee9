#include "common/infocenter.h"

#include <gtest/gtest.h>

#include "common/headlessservices.h"

namespace velk {
namespace {

const char* kInit = "Initializing Databases";

TEST(InfoCenter, KeepsEntriesInInsertionOrderAndIgnoresExactDuplicates) {
  HeadlessServices ui;
  InfoCenter& center = ui.infoCenter();
  center.addEntry(kInit, "t1", "x", 0, Severity::Success);
  center.addEntry("Check", "t2", "y", 0, Severity::Warning);
  center.addEntry(kInit, "t1", "x", 0, Severity::Success);  // same again
  center.addEntry(kInit, "t1", "x", 0, Severity::Notice);   // differs in severity
  center.addEntry(kInit, "t1", "x", 1, Severity::Success);  // differs in flag
  ASSERT_EQ(center.entries().size(), 4u);
  EXPECT_EQ(center.entries()[1].category, "Check");
  EXPECT_EQ(center.entries()[2].severity, Severity::Notice);
  EXPECT_EQ(center.entries(kInit).size(), 3u);
  EXPECT_EQ(center.categories(), (std::vector<std::string>{kInit, "Check"}));
}

TEST(InfoCenter, OnlyAnErrorEntryAsksForTheWindow) {
  HeadlessServices ui;
  InfoCenter& center = ui.infoCenter();
  center.addEntry(kInit, "a", "", 0, Severity::Warning);
  EXPECT_FALSE(ui.infoWindowShown);
  center.addEntry(kInit, "b", "", 0, Severity::Error);
  EXPECT_TRUE(ui.infoWindowShown);
}

TEST(InfoCenter, HighestSeverityFollowsTheEntriesOfTheCategory) {
  HeadlessServices ui;
  InfoCenter& center = ui.infoCenter();
  EXPECT_FALSE(center.highestSeverity(kInit));
  center.addEntry(kInit, "a", "", 0, Severity::Notice);
  center.addEntry("Other", "e", "", 0, Severity::Error);
  center.addEntry(kInit, "b", "", 0, Severity::Warning);
  center.addEntry(kInit, "c", "", 0, Severity::Success);
  EXPECT_EQ(center.highestSeverity(kInit), Severity::Warning);
  EXPECT_EQ(center.highestSeverity("Other"), Severity::Error);
}

TEST(InfoCenter, ClearingACategoryKeepsTheOthersAndAllowsTheSameEntryAgain) {
  HeadlessServices ui;
  InfoCenter& center = ui.infoCenter();
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

TEST(InfoCenter, AnEntryKeepsTheTimeItWasFirstAdded) {
  HeadlessServices ui;
  InfoCenter& center = ui.infoCenter();
  const auto before = std::chrono::system_clock::now();
  center.addEntry(kInit, "a", "x", 0, Severity::Success);
  const auto first = center.entries()[0].added;
  EXPECT_GE(first, before);
  EXPECT_LE(first, std::chrono::system_clock::now());
  center.addEntry(kInit, "a", "x", 0, Severity::Success);  // ignored: keeps the first time
  ASSERT_EQ(center.entries().size(), 1u);
  EXPECT_EQ(center.entries()[0].added, first);
}

}  // namespace
}  // namespace velk
