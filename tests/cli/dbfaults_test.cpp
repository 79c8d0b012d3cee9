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
  Result Import(const std::string& json) {
    WriteFile(root_ / "in.json", json);
    return Run({"db", "import", "g.nsf", (root_ / "in.json").string()});
  }
};

TEST_F(DbFaultTest, TopNoteIdIsRefusedNamingIt) {
  ASSERT_EQ(Run({"db", "create", "gateway", "g.nsf"}).code, 0);
  Result top = Import(R"({"documents": [{"form": "X"}, {"noteId": "FFFFFFFF", "form": "X"}]})");
  EXPECT_EQ(top.code, 1);
  EXPECT_THAT(top.err, HasSubstr("document 2: noteId \"FFFFFFFF\" is too high"));
  EXPECT_EQ(Dump("g.nsf")["documents"].size(), 0u);  // all or nothing

  Result deep = Import(R"({"documents": )" + std::string(100000, '[') + std::string(100000, ']') +
                       R"(, "title": "t"})");
  EXPECT_EQ(deep.code, 1);
  EXPECT_THAT(deep.err, HasSubstr("nested too deeply"));
}

TEST_F(DbFaultTest, FormItemsOfAnyShapeSurviveImportAndDump) {
  ASSERT_EQ(Run({"db", "create", "gateway", "g.nsf"}).code, 0);
  const Json documents = Json::parse(R"([
    {"form": "A", "items": [{"name": "Key", "type": "text", "flags": 4, "values": ["1"]},
                            {"name": "Form", "type": "text", "flags": 4, "values": ["A", "B"]}]},
    {"form": "", "items": [{"name": "form", "type": "number", "flags": 4, "values": [3, 2.5]}]},
    {"form": "T", "items": [{"name": "Form", "type": "text", "flags": 0, "values": ["T"]},
                            {"name": "Key", "type": "text", "flags": 4, "values": ["2"]}]},
    {"form": "", "items": [{"name": "FORM", "type": "text", "flags": 4, "values": []}]},
    {"form": "Plain", "items": [{"name": "Key", "type": "text", "flags": 4, "values": ["3"]}]}])");
  ASSERT_EQ(Import(Json{{"documents", documents}}.dump()).code, 0);
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
  Result again = Run({"db", "create", "procdef", "p.nsf"});
  EXPECT_EQ(again.code, 0) << again.err;
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
  Result created = Run({"db", "create", "gateway", longest});
  EXPECT_EQ(created.code, 0) << created.err;
  EXPECT_EQ(Run({"db", "info", longest}).code, 0);
  Result tooLong = Run({"db", "create", "gateway", "n" + longest});
  EXPECT_EQ(tooLong.code, 1);
  EXPECT_THAT(tooLong.err, HasSubstr("a database name has at most 251 bytes"));
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
  for (const auto& [args, message] : cases) {
    Result r = Run(args);
    EXPECT_EQ(r.code, 1) << args[1];
    EXPECT_THAT(r.err, AllOf(HasSubstr(message), Not(HasSubstr("full"))));
  }
}

}  // namespace
