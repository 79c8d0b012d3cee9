// The db commands under hostile input found by a probe of velkmod-cli.

#include <fcntl.h>
#include <gmock/gmock.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>

#include "clifixture.h"

namespace {

using namespace clitest;
using ::testing::HasSubstr;

class DbFaultTest : public CliTest {
 protected:
  Result Import(int code, const std::string& json) {
    return Expect(code, {"db", "import", "g.nsf", Written("in.json", json)});
  }
};

TEST_F(DbFaultTest, TopNoteIdIsRefusedNamingIt) {
  Expect(0, {"db", "create", "gateway", "g.nsf"});
  EXPECT_THAT(
      Import(1, R"({"documents": [{"form": "X"}, {"noteId": "FFFFFFFF", "form": "X"}]})").err,
      HasSubstr("document 2: noteId \"FFFFFFFF\" is too high"));
  EXPECT_EQ(Dump("g.nsf")["documents"].size(), 0u);  // all or nothing
  const std::string deep = std::string(100000, '[') + std::string(100000, ']');
  EXPECT_THAT(Import(1, R"({"documents": )" + deep + R"(, "title": "t"})").err,
              HasSubstr("nested too deeply"));
}

TEST_F(DbFaultTest, FormItemsOfAnyShapeSurviveImportAndDump) {
  Expect(0, {"db", "create", "gateway", "g.nsf"});
  const Json documents = Json::parse(R"([
    {"form": "A", "items": [{"name": "Key", "type": "text", "flags": 4, "values": ["1"]},
                            {"name": "Form", "type": "text", "flags": 4, "values": ["A", "B"]}]},
    {"form": "", "items": [{"name": "form", "type": "number", "flags": 4, "values": [3, 2.5]}]},
    {"form": "T", "items": [{"name": "Form", "type": "text", "flags": 0, "values": ["T"]},
                            {"name": "Key", "type": "text", "flags": 4, "values": ["2"]}]},
    {"form": "", "items": [{"name": "FORM", "type": "text", "flags": 4, "values": []}]},
    {"form": "Plain", "items": [{"name": "Key", "type": "text", "flags": 4, "values": ["3"]}]}])");
  Import(0, Json{{"documents", documents}}.dump());
  Json dumped = Dump("g.nsf")["documents"];
  for (Json& doc : dumped) {
    doc.erase("noteId");
    doc.erase("unid");
  }
  EXPECT_EQ(dumped, documents);
}

// The names of the files in the data folder.
std::vector<std::string> Names(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename());
  std::ranges::sort(names);
  return names;
}

TEST_F(DbFaultTest, CreateCutShortDoesNotBlockTheNextOneWhichClearsWhatItLeft) {
  // The file size limit stops the tool (SIGXFSZ) while it writes the database.
  Run({"db", "create", "procdef", "p.nsf"}, "ulimit -c 0; ulimit -f 1; exec");
  EXPECT_FALSE(fs::exists(data_ / "p.nsf"));
  ASSERT_FALSE(Names(data_).empty()) << "the killed create left its files";
  // An earlier version's files of yesterday, and those of a create still running.
  WriteFile(data_ / "old.nsf.part-0000BEEF", "x");
  WriteFile(data_ / "old.nsf.part-0000BEEF-journal", "x");
  fs::last_write_time(data_ / "old.nsf.part-0000BEEF",
                      fs::file_time_type::clock::now() - std::chrono::hours(24));
  WriteFile(data_ / ".velkmod-create-0000CAFE", "x");
  const int running = ::open((data_ / ".velkmod-create-0000CAFE").c_str(), O_RDONLY);
  ASSERT_EQ(::flock(running, LOCK_EX), 0);
  Expect(0, {"db", "create", "procdef", "p.nsf"});
  EXPECT_THAT(Run({"db", "info", "p.nsf"}).out, HasSubstr("Process Definitions Database"));
  EXPECT_EQ(Names(data_), (std::vector<std::string>{".velkmod-create-0000CAFE", "p.nsf"}));
  ::close(running);
}

TEST_F(DbFaultTest, CreateTakesARelativeDataFolderAndNamesUpToTheirTrueLimit) {
  Result relative = Run({"db", "create", "gateway", "g.nsf"},
                        "cd " + Quote(root_.string()) + " && VELK_DATA_DIR=rel/data");
  EXPECT_EQ(relative.code, 0) << relative.err;
  EXPECT_TRUE(fs::exists(root_ / "rel" / "data" / "g.nsf"));
  const std::string longest = std::string(247, 'n') + ".nsf";
  Expect(0, {"db", "create", "gateway", longest});
  Expect(0, {"db", "info", longest});
  EXPECT_THAT(Expect(1, {"db", "create", "gateway", "n" + longest}).err,
              HasSubstr("a database name has at most 251 bytes"));
}

TEST_F(DbFaultTest, FileErrorsNameTheirReason) {
  WriteFile(data_ / "plain.txt", "text");
  fs::create_symlink("loop.nsf", data_ / "loop.nsf");
  const std::string tooLong = std::string(300, 'n') + ".nsf";
  const std::pair<std::vector<std::string>, const char*> cases[] = {
      {{"db", "info", tooLong}, "name or path is too long"},
      {{"db", "info", "plain.txt/in.nsf"}, "part of the path is not a folder"},
      {{"db", "create", "procdef", "plain.txt/in.nsf"}, "part of the path is not a folder"},
      {{"db", "info", "loop.nsf"}, "could not be accessed: Too many levels of symbolic links"},
  };
  for (const auto& [args, message] : cases)
    EXPECT_THAT(Expect(1, args).err, AllOf(HasSubstr(message), Not(HasSubstr("full"))));
}

}  // namespace
