#include <gtest/gtest.h>

#include <regex>

#include "common/headlessservices.h"
#include "common/services.h"
#include "core/repositoryfixture.h"
#include "repository/gatewaydb.h"
#include "repository/noteserror.h"
#include "repository/trackingdb.h"

namespace velk {
namespace {

using GatewayTrackingDbTest = RepositoryTest;

TEST_F(GatewayTrackingDbTest, TakeTitleAndReplicaIdInTheColonForm) {
  NewDatabaseOfKind(DatabaseKind::Gateway, "gateway.nsf").Close();
  NewDatabaseOfKind(DatabaseKind::Tracking, "tracking.nsf").Close();
  CGatewayDb gateway(ui_, session_, "gateway.nsf", {}, nullptr);
  CTrackingDb tracking(ui_, session_, "tracking.nsf", {}, nullptr);
  const std::regex form("[0-9A-F]{8}:[0-9A-F]{8}");
  EXPECT_TRUE(std::regex_match(gateway.ReplicaId(), form)) << gateway.ReplicaId();
  EXPECT_NE(gateway.ReplicaId(), tracking.ReplicaId());
  EXPECT_EQ(tracking.Title(), "VELK Tracking");
  EXPECT_TRUE(ui_.messages.empty());
  EXPECT_TRUE(ui_.infoCenter().entries().empty());
  EXPECT_EQ(ui_.currentStatus(), "");
}

TEST_F(GatewayTrackingDbTest, TrackingPathThatDoesNotExistShowsTheBoxOnceAndNoInfoEntry) {
  CTrackingDb tracking(ui_, session_, "nowhere/tracking.nsf", {}, nullptr);
  EXPECT_TRUE(tracking.ReplicaId().empty() && tracking.Path().empty() && tracking.Title().empty());
  ASSERT_EQ(ui_.messages.size(), 1u);
  const HeadlessServices::Message& box = ui_.messages[0];
  EXPECT_EQ(std::tie(box.text, box.icon, box.buttons),
            std::tuple("Document store error code: " + LNGetErrorMessage(LNERR_FILE_NOT_FOUND) +
                           ".\nThe Tracking Database\ncannot be opened anymore.\nPlease choose "
                           "another Tracking Database or retry this later.",
                       MsgIcon::None, MsgButtons::Ok));
  EXPECT_TRUE(ui_.infoCenter().entries().empty());
  EXPECT_EQ(ui_.currentStatus(), "");
}

TEST_F(GatewayTrackingDbTest, GatewayThatCannotBeOpenedIsAnInfoCenterErrorOnly) {
  CGatewayDb gateway(ui_, session_, "nowhere/gateway.nsf", {}, nullptr);
  EXPECT_TRUE(gateway.ReplicaId().empty() && gateway.Path().empty());
  EXPECT_TRUE(ui_.messages.empty());
  ASSERT_EQ(Summary(kBasicRepositoryCategory),
            std::vector<std::string>{"3|Opening Gateway Database"});
  EXPECT_EQ(Entries(kBasicRepositoryCategory)[0].text,
            GetNotesErrorText(LNERR_FILE_NOT_FOUND) +
                "The Gateway Database cannot be opened anymore.\r\nPlease choose "
                "another Application Database or retry this later.");
  EXPECT_TRUE(ui_.infoWindowShown);
}

}  // namespace
}  // namespace velk
