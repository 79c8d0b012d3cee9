// "velkmod-cli demo": the demo repository and the settings that name it.

#include <map>

#include "clifixture.h"

namespace {

using namespace clitest;

// The "Default Settings" values of the INI settings file.
std::map<std::string, std::string> DefaultSettings(const fs::path& file) {
  std::map<std::string, std::string> values;
  std::istringstream in(ReadFile(file));
  std::string line, section;
  while (std::getline(in, line)) {
    if (!line.empty() && line.front() == '[') section = line;
    const auto eq = line.find('=');
    if (section == "[Default%20Settings]" && eq != std::string::npos)
      values[line.substr(0, eq)] = line.substr(eq + 1);
  }
  return values;
}

const char* const kSettingKinds[][2] = {
    {"AppDb", "appenv"},    {"RoutingDb", "procdef"}, {"OrgaDb", "infra"},
    {"ExtDirDb", "extdir"}, {"GwDb", "gateway"},      {"TrackingDb", "tracking"},
};

class DemoTest : public CliTest {
 protected:
  // Every database the settings name: recognised as its kind, dumped.
  std::vector<std::string> CheckNamedDatabases(const std::string& prefix) {
    const auto settings = DefaultSettings(settings_);
    std::vector<std::string> dumps;
    for (const auto& [key, kind] : kSettingKinds) {
      const std::string name =
          settings.count(std::string(key) + "Name") ? settings.at(std::string(key) + "Name") : "";
      EXPECT_EQ(name, prefix + kind + ".nsf") << key;
      EXPECT_EQ(settings.at(std::string(key) + "Server"), "") << key;
      EXPECT_THAT(Expect(0, {"db", "info", name}).out, HasSubstr(std::string("(") + kind + ")\n"));
      dumps.push_back(Dump(name).dump());
    }
    return dumps;
  }
};

TEST_F(DemoTest, RunningTwiceLeavesTheSameRepositoryReplacingLeftoversAndKeepingOtherSettings) {
  WriteFile(settings_,
            "[Default%20Settings]\nGridSize=75\n\n[GUI%20Settings]\nWindowPos=1 2 3 4\n");
  WriteFile(data_ / "extdir.nsf.part", "half written");  // by an interrupted run
  Expect(0, {"demo"});
  EXPECT_FALSE(fs::exists(data_ / "extdir.nsf.part"));
  EXPECT_THAT(Expect(0, {"db", "info", "extdir.nsf"}).out,
              HasSubstr("(Modeler\\GRILeaf)            8 documents"));
  const std::vector<std::string> before = CheckNamedDatabases("");
  const auto settings = DefaultSettings(settings_);
  EXPECT_EQ(settings.at("GridSize"), "75");
  EXPECT_THAT(ReadFile(settings_), HasSubstr("WindowPos=1 2 3 4"));

  EXPECT_THAT(Expect(0, {"demo"}).out, Not(HasSubstr("Created")));
  EXPECT_EQ(CheckNamedDatabases(""), before);
  EXPECT_EQ(std::distance(fs::directory_iterator(data_), fs::directory_iterator()), 6);
}

TEST_F(DemoTest, FolderInsideTheDataDirectoryIsNamedRelativeToIt) {
  Expect(0, {"demo", "--dir", (data_ / "demo").string()});
  CheckNamedDatabases("demo/");
  const fs::path elsewhere = root_ / "elsewhere";
  Expect(0, {"demo", "--dir", elsewhere.string()});
  CheckNamedDatabases(elsewhere.string() + "/");
}

TEST_F(DemoTest, NeverWritesOverAFileThatIsNotItsDatabase) {
  struct Case {
    std::string blocker;  // what lies under a demo name
    std::string message;
  } cases[] = {
      {"text", "infra.nsf is in the way of the demo (File is not a database)"},
      {"gateway", "infra.nsf is not an Infrastructure Database but Gateway Database"},
  };
  for (const Case& c : cases) {
    fs::remove_all(data_);
    fs::create_directories(data_);
    if (c.blocker == "text")
      WriteFile(data_ / "infra.nsf", "notes of a meeting\n");
    else
      Expect(0, {"db", "create", c.blocker, "infra.nsf"});
    const std::string original = ReadFile(data_ / "infra.nsf");
    EXPECT_THAT(Expect(1, {"demo"}).err, HasSubstr(c.message));
    EXPECT_EQ(ReadFile(data_ / "infra.nsf"), original);
    EXPECT_FALSE(fs::exists(data_ / "appenv.nsf"));
    EXPECT_FALSE(fs::exists(settings_));
  }
}

}  // namespace
