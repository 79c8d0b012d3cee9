// Recovery copies: written whole, offered only once their modeler has ended, and
// every one either offered or, when it cannot be read, reported and set aside.

#include "model/workflowrecovery.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <set>

#include "common/headlessservices.h"
#include "common/infocenter.h"
#include "model/workflowdoc.h"

namespace velk {
namespace {

namespace fs = std::filesystem;

class RecoveryTest : public ::testing::Test {
 protected:
  RecoveryTest() {
    fs::remove_all(dir);
    doc.InsertNode({0, 0, 34, -34}, NodeKind::Intern);
    WorkflowHeader h = doc.Header();
    h.name = "Order";
    h.workflowId = "W1";
    doc.SetHeader(h);
  }
  ~RecoveryTest() override { fs::remove_all(dir); }
  // A copy of `doc` whose header field `name` is `value`.
  WorkflowJson CopyWith(const char* name, WorkflowJson value) const {
    WorkflowJson copy = WorkflowJson::parse(RecoveryFolder::CopyOf(doc));
    copy["workflow"]["header"][name] = std::move(value);
    return copy;
  }
  std::set<fs::path> Files() const {
    std::set<fs::path> files;
    for (const auto& entry : fs::directory_iterator(dir))
      if (entry.path().extension() != ".lock") files.insert(entry.path().filename());
    return files;
  }

  HeadlessServices ui;
  const fs::path dir = fs::temp_directory_path() / ("velk-recovery-" + std::to_string(::getpid()));
  CWorkflowDoc doc{ui, "CN=Ann Lee/O=Marvelund", "06.12.2026"};
};

// Copies are offered once their modeler has ended, each either restored or,
// when it cannot be read, reported and set aside.
TEST_F(RecoveryTest, EveryCopyOfAnEndedModelerIsOfferedOrReportedAndSetAsideWithoutACrash) {
  const std::string deep = "{\"workflowId\": \"\", \"workflow\": " + std::string(100'000, '[') +
                           std::string(100'000, ']') + "}";
  const std::string longName(10'000'000, 'n');
  struct Case {
    std::string content;
    std::string fault;  // empty: offered
  };
  const Case cases[] = {
      {RecoveryFolder::CopyOf(doc), ""},
      {CopyWith("name", longName).dump(), ""},
      {CopyWith("name", 5).dump(), "header.name has a value of the wrong type"},
      {deep, "nested too deeply"},
      {RecoveryFolder::CopyOf(doc).substr(0, 40), "the file is damaged"},
      {"", "the file is empty"},
      {std::string("\x89PNG\r\n\x1a\n\0\0", 10), "the file is damaged"},
      {"{\"workflow\": {}}", "the file holds no workflow"},
      {"[]", "the file holds no workflow"},
  };
  std::vector<std::string> files;
  {
    RecoveryFolder crashed(dir.string());
    ASSERT_TRUE(crashed.Usable());
    for (const Case& c : cases) {
      files.push_back(crashed.NewFile());
      ASSERT_TRUE(RecoveryFolder::Write(files.back(), c.content));
    }
    EXPECT_TRUE(RecoveryFolder(dir.string()).LeftOver().empty()) << "their modeler still runs";
  }  // as a kill: the lock goes, the copies stay
  RecoveryFolder next(dir.string());
  std::vector<std::string> offered;
  auto recover = [&] {
    RecoverLeftOverCopies(
        ui, next,
        [this] { return std::make_shared<CWorkflowDoc>(ui, "CN=Bo/O=Marvelund", "07.12.2026"); },
        [&](std::shared_ptr<CWorkflowDoc> restored) {
          EXPECT_TRUE(restored->Session().IsModified());
          EXPECT_EQ(restored->Header().workflowId, "W1");
          offered.push_back(restored->Header().name);
        });
  };
  recover();

  std::ranges::sort(offered);
  EXPECT_TRUE(offered == (std::vector<std::string>{"Order", longName})) << "the long name whole";
  const std::vector<InfoEntry> entries = ui.infoCenter().entries(kRecoveryCategory);
  std::set<fs::path> expectedFiles;
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (cases[i].fault.empty()) continue;
    const std::string aside = files[i] + ".unreadable";
    expectedFiles.insert(fs::path(aside).filename());
    const bool reported = std::ranges::any_of(entries, [&](const InfoEntry& e) {
      return e.severity == Severity::Error && e.text.find(files[i]) != std::string::npos &&
             e.text.find(cases[i].fault) != std::string::npos &&
             e.text.find("kept as " + aside) != std::string::npos;
    });
    EXPECT_TRUE(reported) << cases[i].fault;
  }
  EXPECT_EQ(Files(), expectedFiles) << "offered copies go, the others are set aside";

  offered.clear();
  recover();
  EXPECT_TRUE(offered.empty());
  EXPECT_TRUE(ui.infoCenter().entries(kRecoveryCategory).empty()) << "reported once";
}

}  // namespace
}  // namespace velk
