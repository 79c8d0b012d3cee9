#include "app/recentfiles.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace velk {
namespace {

RecentWorkflow Entry(const std::string& name, int version = 1, const std::string& db = "pd.nsf") {
  return {"ID-" + name + "-" + std::to_string(version), version, name, db, ""};
}

std::vector<std::string> Names(const RecentWorkflowList& list) {
  std::vector<std::string> names;
  for (const auto& e : list.Entries()) names.push_back(e.name);
  return names;
}

TEST(RecentWorkflowList, ReaddingNameAndDatabaseReplacesTheEntryAtTheFront) {
  RecentWorkflowList list;
  list.Add(Entry("Order", 1));
  list.Add(Entry("Order", 1, "other.nsf"));  // another database: a workflow of its own
  list.Add(Entry("Invoice"));
  list.Add(Entry("Order", 3));
  ASSERT_EQ(list.Entries().size(), 3u);
  EXPECT_EQ(list.Entries()[0], Entry("Order", 3));
  EXPECT_EQ(list.Entries()[2], Entry("Order", 1, "other.nsf"));
}

TEST(RecentWorkflowList, AnyCharactersSurviveSaveAndLoad) {
  RecentWorkflowList list;
  list.Add(
      {"A\\B", 7, "Tab\there|pipe \\n back\\slash\nline \xC3\x84", "p\td.nsf", "CN=Srv/O=Org"});
  list.Add(Entry("Plain", 2));
  MemorySettingsBackend store;
  list.Save(store);
  // A settings file keeps one value per line.
  EXPECT_EQ(store.getString(kRecentFileSection, "File2", "").find('\n'), std::string::npos);
  RecentWorkflowList loaded;
  loaded.Load(store);
  EXPECT_EQ(loaded.Entries(), list.Entries());
}

TEST(RecentWorkflowList, SkipsValuesThatDoNotDecode) {
  for (const char* value : {"just text", R"(["id",2,"n","d"])", R"(["id","2","n","d","s"])",
                            R"(["id",-1,"n","d","s"])", R"(["id",4294967296,"n","d","s"])"}) {
    MemorySettingsBackend store;
    store.setString(kRecentFileSection, "File1", value);
    store.setString(kRecentFileSection, "File3", R"(["id",4,"Good","pd.nsf",""])");
    RecentWorkflowList list;
    list.Load(store);
    EXPECT_EQ(list.Entries(), (std::vector<RecentWorkflow>{{"id", 4, "Good", "pd.nsf", ""}}))
        << value;
  }
}

TEST(RecentWorkflowList, KeepsFourNewestFirstAndRemovingEmptiesTheLastSlot) {
  RecentWorkflowList list;
  for (const char* name : {"E", "A", "B", "C", "D"}) list.Add(Entry(name));
  list.Remove(1);
  list.Remove(9);
  MemorySettingsBackend store;
  store.setString(kRecentFileSection, "File4", "old");
  list.Save(store);
  EXPECT_EQ(store.getString(kRecentFileSection, "File4", "missing"), "");
  RecentWorkflowList loaded;
  loaded.Load(store);
  EXPECT_EQ(Names(loaded), (std::vector<std::string>{"D", "B", "A"}));
}

TEST(RecentWorkflowList, MenuTextNumbersFromOneAndKeepsAmpersands) {
  RecentWorkflowList list;
  list.Add(Entry("R&D Requests", 1));
  list.Add(Entry("Order Handling", 2));
  EXPECT_EQ(list.MenuText(0), "&1 Order Handling v2");
  EXPECT_EQ(list.MenuText(1), "&2 R&&D Requests v1");
}

}  // namespace
}  // namespace velk
