#pragma once
// The workflow-wide attributes of a workflow type (its stored header).

#include <string>
#include <vector>

#include "model/kinds.h"

namespace velk {

// Today as "%d.%m.%Y" (local time).
std::string TodayText();

inline constexpr const char* kNewWorkflowName = "New workflow";
inline constexpr const char* kDefaultValidUntil = "31.12.1999";

struct WorkflowHeader {
  std::string name = kNewWorkflowName;
  std::string category;
  std::string applicationReplicaId;
  std::string workflowId;  // empty until the first save
  int version = 0;
  WorkflowStatus status = WorkflowStatus::Design;
  WorkflowType workflowType = WorkflowType::Normal;
  std::string validFrom;  // "%d.%m.%Y"
  std::string validUntil = kDefaultValidUntil;
  std::vector<std::string> editors;
  std::vector<std::string> designers;
  std::string supervisor;
  std::vector<std::string> replicationPartners;  // memory only, never stored
  std::string freeText;
  int trackingType = 0;  // 0 Never, 1 Send, 2 Self, 3 Mix
  int trackingMix = 0;
  std::string trackingMail;
  int trackingFrequency = 0;
  int trackingRate = 0;
  bool trackingExternal = false;
  std::string user;
  std::vector<std::string> modifiers;

  bool operator==(const WorkflowHeader&) const = default;
};

}  // namespace velk
