#include "app/settings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/windowplacement.h"
#include "repository/databasetemplates.h"

namespace velk {
namespace {

TEST(ModelerSettings, LoadingAnEmptyStoreOverwritesEarlierValuesWithTheDefaults) {
  ModelerSettings s{.databases = {}, .gridSize = 7, .orgName = "Other", .gridVisible = true};
  s.load(MemorySettingsBackend());
  EXPECT_EQ(s, ModelerSettings());
}

TEST(ModelerSettings, GridFlagsReadAnyNonZeroNumberAsOn) {
  struct Case {
    std::string stored;
    bool on;
  };
  const std::vector<Case> cases = {{"0", false},  {"1", true},    {"2", true}, {"-1", true},
                                   {"255", true}, {"Yes", false}, {"", false}};
  for (const auto& c : cases) {
    for (const char* key : {"GridMagnetic", "GridVisible"}) {
      MemorySettingsBackend store;
      store.setString(kDefaultSettingsSection, key, c.stored);
      ModelerSettings s;
      s.load(store);
      bool value = std::string(key) == "GridMagnetic" ? s.gridMagnetic : s.gridVisible;
      EXPECT_EQ(value, c.on) << key << "=" << c.stored;
    }
  }
}

TEST(ModelerSettings, ValuesThatWouldBreakTheEditorFallBackToDefaults) {
  struct Case {
    const char* key;
    std::string stored;
    int gridSize, arrowSize, factor;
  };
  const std::vector<Case> cases = {
      {"GridSize", "0", 50, 1, 4},          {"GridSize", "-10", 50, 1, 4},
      {"GridSize", "abc", 50, 1, 4},        {"GridSize", "25", 25, 1, 4},
      {"ArrowSize", "-1", 50, 1, 4},        {"ArrowSize", "0", 50, 0, 4},
      {"ArrowSize", "3", 50, 3, 4},         {"AutoArrangeFactor", "0", 50, 1, 4},
      {"AutoArrangeFactor", "6", 50, 1, 6},
  };
  for (const auto& c : cases) {
    MemorySettingsBackend store;
    store.setString(kDefaultSettingsSection, c.key, c.stored);
    ModelerSettings s;
    s.load(store);
    EXPECT_EQ(std::tie(s.gridSize, s.arrowSize, s.autoArrangeFactor),
              std::tie(c.gridSize, c.arrowSize, c.factor))
        << c.key << "=" << c.stored;
  }
}

TEST(ModelerSettings, SaveThenLoadKeepsEveryValueUnderItsKey) {
  ModelerSettings s{.databases = {},
                    .gridSize = 20,
                    .arrowSize = 2,
                    .autoArrangeFactor = 5,
                    .orgName = "Partner AG",
                    .gridMagnetic = true,
                    .gridVisible = true};
  for (DatabaseKind kind : KindProbeOrder())
    s.databases[kind] = {CliNameOf(kind) + std::string(".nsf"),
                         "Srv/" + std::string(CliNameOf(kind))};
  MemorySettingsBackend store;
  s.save(store);
  ModelerSettings back;
  back.load(store);
  EXPECT_EQ(back, s);

  const std::string sec = kDefaultSettingsSection;
  EXPECT_EQ(store.getString(sec, "RoutingDbName", {}), "procdef.nsf");
  EXPECT_EQ(store.getString(sec, "GwDbServer", {}), "Srv/gateway");
  EXPECT_EQ(store.getString(sec, "OrgaDbName", {}), "infra.nsf");
  EXPECT_EQ(store.getInt(sec, "GridMagnetic", -1), 1);
  EXPECT_EQ(store.getInt(sec, "GridSize", -1), 20);
}

TEST(WindowPlacement, OnlyExactlyTenNumbersArePlacements) {
  struct Case {
    std::string text;
    bool valid;
  };
  const std::vector<Case> cases = {
      {"0,1,-1,-1,-1,-1,10,20,810,620", true},
      {" 2 , 3 ,-1,-1,-1,-1, 10, 20, 810, 620 ", true},
      {"0,1,-1,-1,-1,-1,10,20,810", false},        // nine
      {"0,1,-1,-1,-1,-1,10,20,810,620,5", false},  // eleven
      {"", false},
      {"0,1,-1,-1,-1,-1,10,20,810,x", false},
      {"0,1,-1,-1,-1,-1,10,20,810,", false},
      {"-1,1,-1,-1,-1,-1,10,20,810,620", false},  // flags are unsigned
      {"0,1,-1,-1,-1,-1,10,20,810,99999999999", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ParseWindowPlacement(c.text).has_value(), c.valid) << '"' << c.text << '"';
}

TEST(WindowPlacement, NewWindowsCascadeInsideTheWorkspace) {
  struct Case {
    const char* what;
    std::optional<WindowBox> previous;
    int width, height;
    WindowBox box;
  };
  // A workspace of 800 x 600, steps of 30.
  const std::vector<Case> cases = {
      {"the first window: top-left", std::nullopt, 600, 450, {0, 0, 600, 450}},
      {"one step from the last", WindowBox{30, 30, 600, 450}, 600, 450, {60, 60, 600, 450}},
      {"a step out of the workspace starts again",
       WindowBox{180, 120, 600, 450},
       600,
       450,
       {0, 0, 600, 450}},
      {"a last window moved off the workspace",
       WindowBox{-500, -40, 600, 450},
       600,
       450,
       {30, 30, 600, 450}},
      {"too large: cut to the workspace", WindowBox{30, 30, 600, 450}, 1000, 700, {0, 0, 800, 600}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(CascadeBox(c.previous, 800, 600, c.width, c.height, 30), c.box) << c.what;
}

TEST(WindowPlacement, RoundTripThroughGuiSettings) {
  const WindowPlacement p{.flags = WindowPlacement::kRestoreToMaximized,
                          .showCmd = WindowPlacement::Maximized,
                          .left = 15,
                          .top = 25,
                          .right = 1015,
                          .bottom = 725};
  MemorySettingsBackend store;
  WriteWindowPlacement(store, "WindowPos", p);
  EXPECT_EQ(store.getString(kGuiSettingsSection, "WindowPos", {}),
            "2,3,-1,-1,-1,-1,15,25,1015,725");
  auto back = ReadWindowPlacement(store, "WindowPos");
  ASSERT_TRUE(back);
  EXPECT_EQ(*back, p);
  EXPECT_TRUE(back->maximized());
  EXPECT_FALSE(ReadWindowPlacement(store, "InfoWindowPos"));
}

}  // namespace
}  // namespace velk
