#pragma once
// Runs velkmod-cli as a separate process against a temporary data directory and
// settings file.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace clitest {

namespace fs = std::filesystem;
using Json = nlohmann::ordered_json;
using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::Not;

struct Result {
  int code = -1;
  std::string out;
  std::string err;
};

inline std::string Quote(const std::string& word) {
  std::string quoted = "'";
  for (char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

inline std::string ReadFile(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

inline void WriteFile(const fs::path& file, const std::string& bytes) {
  std::ofstream(file, std::ios::binary) << bytes;
}

// Workflow files that do not load as written: an arrow to a task the file lacks,
// and a cluster node that stands for the top level it lies in.
inline constexpr char kDanglingArrowJson[] = R"({"header": {"name": "Dangling"},
    "nodes": [{"id": 1, "name": "A", "isClusterStartNode": true}],
    "arrows": [{"from": 1, "to": 7}]})";
inline constexpr char kLevelInsideItselfJson[] = R"({"header": {"name": "Inside"},
    "nodes": [{"id": 1, "name": "A", "isClusterStartNode": true},
              {"id": 2, "name": "Whole", "kind": "IWC", "representsCluster": 1}]})";

class CliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "velkcli-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
    data_ = root_ / "data";
    fs::create_directories(data_);
    settings_ = root_ / "velkmod.conf";
    setenv("VELK_DATA_DIR", data_.c_str(), 1);
    setenv("VELK_SETTINGS", settings_.c_str(), 1);
  }
  void TearDown() override {
    unsetenv("VELK_DATA_DIR");
    unsetenv("VELK_SETTINGS");
    std::error_code ignored;
    fs::remove_all(root_, ignored);
  }

  // `prefix`: shell words before the tool, such as a time or file size limit.
  Result Run(const std::vector<std::string>& args, const std::string& prefix = "") {
    const fs::path out = root_ / "stdout", err = root_ / "stderr";
    const std::string command =
        prefix + " " + Command(args) + " >" + Quote(out.string()) + " 2>" + Quote(err.string());
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status), ReadFile(out),
            ReadFile(err)};
  }

  // The shell words that run the tool with `args`.
  static std::string Command(const std::vector<std::string>& args) {
    std::string command = Quote(VELKMOD_CLI);
    for (const std::string& arg : args) command += " " + Quote(arg);
    return command;
  }

  // Runs the command and expects exit `code`; what it printed.
  Result Expect(int code, const std::vector<std::string>& args) {
    Result r = Run(args);
    EXPECT_EQ(r.code, code) << ::testing::PrintToString(args) << "\n" << r.out << r.err;
    return r;
  }

  // A file of the test's own holding `bytes`: its path.
  std::string Written(const std::string& name, const std::string& bytes) const {
    WriteFile(root_ / name, bytes);
    return (root_ / name).string();
  }

  Json Dump(const std::string& path) {
    const Result r = Expect(0, {"db", "dump", path});
    return r.code == 0 ? Json::parse(r.out) : Json();
  }

  // Runs the command in `count` processes at once; their exit codes and output.
  std::vector<Result> RunAtOnce(const std::vector<std::string>& args, int count) {
    const std::string command = Command(args);
    std::string script;
    for (int i = 0; i < count; ++i) {
      const std::string n = std::to_string(i);
      script += "(" + command + " >" + Quote((root_ / ("out-" + n)).string()) + " 2>&1; echo $? >" +
                Quote((root_ / ("code-" + n)).string()) + ") & ";
    }
    EXPECT_EQ(std::system((script + "wait").c_str()), 0);
    std::vector<Result> results(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
      const std::string n = std::to_string(i);
      results[static_cast<std::size_t>(i)] = {std::atoi(ReadFile(root_ / ("code-" + n)).c_str()),
                                              ReadFile(root_ / ("out-" + n)), ""};
    }
    return results;
  }

  // Imports one export of the workflow `name` from `writers` processes at once;
  // `where` names a repository other than the default one, `check` is its "db
  // check". Each import stores a version of its own, never two share a number, one
  // of them is current, and the database checks clean.
  void ImportAtOnce(const std::string& name, const std::vector<std::string>& where,
                    const std::vector<std::string>& check, int writers = 4) {
    const std::string file =
        Written("at-once.json", Expect(0, With({"workflow", "export", name}, where)).out);
    const std::size_t before = Versions(With({"workflow", "list"}, where), name).size();
    for (const Result& r : RunAtOnce(With({"workflow", "import", file}, where), writers)) {
      EXPECT_EQ(r.code, 0) << r.out;
      EXPECT_EQ(r.out.find("Nothing has been saved"), std::string::npos) << r.out;
    }
    const std::vector<std::string> after = Versions(With({"workflow", "list"}, where), name);
    EXPECT_EQ(after.size(), before + static_cast<std::size_t>(writers)) << name;
    std::set<std::string> numbers;
    int current = 0;
    for (const std::string& v : after) {
      EXPECT_TRUE(numbers.insert(v.substr(0, v.find(' '))).second) << v << " twice: " << name;
      current += v.ends_with("(Freeze)") ? 0 : 1;
    }
    EXPECT_EQ(current, 1) << name;
    Expect(0, check);
  }

  // `args` followed by `more`.
  static std::vector<std::string> With(std::vector<std::string> args,
                                       const std::vector<std::string>& more) {
    args.insert(args.end(), more.begin(), more.end());
    return args;
  }

  // The versions `workflow list` shows of a workflow: "N.0) (Status)" each.
  std::vector<std::string> Versions(const std::vector<std::string>& list, const std::string& name) {
    const Result r = Expect(0, list);
    std::vector<std::string> versions;
    const std::string entry = "  " + name + " (Version ";
    for (std::size_t at = r.out.find(entry); at != std::string::npos;
         at = r.out.find(entry, at + 1)) {
      const std::size_t from = at + entry.size();
      versions.push_back(r.out.substr(from, r.out.find("  ", from) - from));
    }
    return versions;
  }

  fs::path root_, data_, settings_;
};

// With the demo repository in place, run by a designer of its organisation.
class DemoCliTest : public CliTest {
 protected:
  void SetUp() override {
    CliTest::SetUp();
    setenv("VELK_USER", "CN=Cli Designer/O=Marvelund", 1);
    Expect(0, {"demo"});
  }
};

}  // namespace clitest
