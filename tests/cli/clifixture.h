#pragma once
// Runs velkmod-cli as a separate process against a temporary data directory and
// settings file.

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace clitest {

namespace fs = std::filesystem;
using Json = nlohmann::ordered_json;

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

  Result Run(const std::vector<std::string>& args) {
    std::string command = Quote(VELKMOD_CLI);
    for (const std::string& arg : args) command += " " + Quote(arg);
    const fs::path out = root_ / "stdout", err = root_ / "stderr";
    command += " >" + Quote(out.string()) + " 2>" + Quote(err.string());
    const int status = std::system(command.c_str());
    Result r;
    r.code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    r.out = ReadFile(out);
    r.err = ReadFile(err);
    return r;
  }

  Json Dump(const std::string& path) {
    Result r = Run({"db", "dump", path});
    EXPECT_EQ(r.code, 0) << r.err;
    return r.code == 0 ? Json::parse(r.out) : Json();
  }

  fs::path root_, data_, settings_;
};

}  // namespace clitest
