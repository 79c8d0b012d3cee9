// The stored versions of one workflow as the version history lists them.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "repository/versionhistory.h"
#include "storagefixture.h"

namespace velk::testing {
namespace {

class VersionHistoryTest : public StorageTest {
 protected:
  void AddVersion(const std::string& name, const char* status, int version,
                  const std::vector<std::string>& users, const std::vector<std::string>& times) {
    AddStored(forms::kHeader, {{"Type", {name}},
                               {"WorkflowID", {name + std::to_string(version)}},
                               {"Status", {status}},
                               {"Version", {std::to_string(version)}},
                               {"User", users},
                               {"LastModify", times}});
  }
  static std::vector<std::string> Rows(const VersionHistory& history) {
    std::vector<std::string> rows;
    for (const StoredVersion& v : history.versions)
      rows.push_back(std::to_string(v.header.version) + " " + v.savedBy + " " + v.savedAt);
    return rows;
  }
};

TEST_F(VersionHistoryTest, ListsTheWorkflowsVersionsNewestFirstWithTheirLastSave) {
  AddVersion("Order", "Freeze", 1, {"Ann", "Bob"}, {"05.03.2025 09:00:00", "31.12.2025 23:00:00"});
  AddVersion("Travel", "Active", 7, {"Eve"}, {"01.01.2026 08:00:00"});
  AddVersion("Order", "Active", 2, {"Ann", "Cy"}, {"01.01.2026 08:00:00", "02.01.2026 10:00:00"});
  // Of one number, the later save first, though the day sorts the other way as text.
  AddVersion("Order", "Design", 1, {"Dee"}, {"02.01.2026 07:00:00"});
  AddVersion("Order", "Design", 0, {}, {});

  const VersionHistory history = ReadVersionHistory(*repository, "Order");
  EXPECT_EQ(history.error, "");
  EXPECT_EQ(Rows(history),
            (std::vector<std::string>{"2 Cy 02.01.2026 10:00:00", "1 Dee 02.01.2026 07:00:00",
                                      "1 Bob 31.12.2025 23:00:00", "0  "}));
  EXPECT_EQ(std::tie(history.versions[0].header.status, history.versions[0].header.workflowId),
            std::tuple(1, "Order2"));  // Active

  EXPECT_TRUE(ReadVersionHistory(*repository, "Unknown").versions.empty());
  headerLocation = {"missing.nsf", ""};
  const VersionHistory unreadable = ReadVersionHistory(*repository, "Order");
  EXPECT_TRUE(unreadable.versions.empty());
  EXPECT_NE(unreadable.error.find("The stored versions of \"Order\" could not be read."),
            std::string::npos)
      << unreadable.error;
}

}  // namespace
}  // namespace velk::testing
