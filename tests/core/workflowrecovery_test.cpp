// Recovery copies: written whole, offered only once their modeler has ended.

#include "model/workflowrecovery.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "model/workflowdoc.h"

namespace velk {
namespace {

TEST(RecoveryFolder, CopiesOfAModelerAreOfferedOnlyAfterItEndedAndDamagedOnesAreSkipped) {
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("velk-recovery-" + std::to_string(::getpid()));
  std::filesystem::remove_all(dir);
  CWorkflowDoc doc("CN=Ann Lee/O=Marvelund", "06.12.2026");
  doc.InsertNode({0, 0, 34, -34}, NodeKind::Intern);
  WorkflowHeader h = doc.Header();
  h.name = "Order";
  h.workflowId = "W1";
  doc.SetHeader(h);

  auto crashed = std::make_unique<RecoveryFolder>(dir.string());
  ASSERT_TRUE(crashed->Usable());
  ASSERT_TRUE(RecoveryFolder::Write(crashed->NewFile(), RecoveryFolder::CopyOf(doc)));
  ASSERT_TRUE(RecoveryFolder::Write(crashed->NewFile(), "{not json"));
  RecoveryFolder next(dir.string());
  EXPECT_TRUE(next.LeftOver().empty()) << "its modeler still runs";

  crashed.reset();  // as a kill: the lock goes, the copies stay
  const std::vector<RecoveredWorkflow> left = next.LeftOver();
  ASSERT_EQ(left.size(), 1u);
  EXPECT_EQ(left[0].workflowId, "W1");
  CWorkflowDoc restored("CN=Ann Lee/O=Marvelund", "06.12.2026");
  WorkflowFromJson(left[0].workflow, restored);
  EXPECT_EQ(restored.Header().name, "Order");
  EXPECT_EQ(restored.NodeCount(), 1u);
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace velk
