#include "editor/noderecord.h"

#include <nlohmann/json.hpp>

#include "model/workflowdoc.h"

namespace velk {

using nlohmann::ordered_json;

// Field names of the task document where there is one.
#define VELK_NODE_FIELDS(X)                                                                        \
  X(name, "Task")                                                                                  \
  X(activities, "Activity")                                                                        \
  X(activityFlag, "ActivityFlag") X(freeText, "FreeText") X(duration, "Duration") X(               \
      durationUnit, "DurationUnit") X(objects, "Object") X(folderObjects, "FolderObject")          \
      X(resources, "Resource") X(performerType, "OrgaType") X(member, "Member") X(                 \
          roleArgument, "RoleArgument") X(teamManager, "TeamManager") X(teamQuantity, "TeamQuant") \
          X(readers, "Readers") X(remindFlag, "RemindFlag") X(remindDuration, "RemindDuration")    \
              X(remindDurationUnit, "RemindDurationUnit") X(deadlineDuration, "DeadlineDuration")  \
                  X(deadlineDurationUnit, "DeadlineDurationUnit")                                  \
                      X(inContentManagementType, "InContentManagementType")                        \
                          X(outContentManagementType, "OutContentManagementType")                  \
                              X(inContentManagement, "InContentManagement")                        \
                                  X(outContentManagement, "OutContentManagement")                  \
                                      X(griId, "GriID") X(externClusterMail, "ExternClusterMail")  \
                                          X(externClusterId, "ExternClusterID")                    \
                                              X(extClusterInput, "ExtClusterInput")                \
                                                  X(extClusterOutput, "ExtClusterOutput") X(       \
                                                      extClusterFormat, "ExtClusterFormat")        \
                                                      X(extClusterSpecId, "ExtClusterSpecID") X(   \
                                                          extClusterRequiredDate,                  \
                                                          "ExtClusterRequiredDate")                \
                                                          X(extClusterExpectedDuration,            \
                                                            "ExtClusterExpectedDuration")          \
                                                              X(extClusterExpectedDurationUnit,    \
                                                                "ExtClusterExpectedDurationUnit")

std::string NodeRecordToJson(const CNode& node, std::int64_t processId) {
  ordered_json attributes = ordered_json::object();
  const NodeAttributes& a = node.Attributes();
#define VELK_PUT(field, key) attributes[key] = a.field;
  VELK_NODE_FIELDS(VELK_PUT)
#undef VELK_PUT
  ordered_json record = {
      {"process", processId},
      {"node", static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(&node))},
      {"kind", static_cast<int>(node.Kind())},
      {"picture", node.Picture()},
      {"code", node.Code()},
      {"attributes", attributes},
  };
  return record.dump();
}

ParsedNodeRecord ParseNodeRecord(const std::string& json) {
  ParsedNodeRecord parsed;
  const ordered_json record = ordered_json::parse(json, nullptr, /*allow_exceptions=*/false);
  if (!record.is_object()) return parsed;
  try {
    parsed.processId = record.at("process").get<std::int64_t>();
    parsed.nodeAddress = static_cast<std::uintptr_t>(record.at("node").get<std::uint64_t>());
    parsed.kind = static_cast<NodeKind>(record.at("kind").get<int>());
    const ordered_json& attributes = record.at("attributes");
    NodeAttributes& a = parsed.attributes;
#define VELK_GET(field, key) \
  if (attributes.contains(key)) attributes.at(key).get_to(a.field);
    VELK_NODE_FIELDS(VELK_GET)
#undef VELK_GET
  } catch (const ordered_json::exception&) {
    return ParsedNodeRecord{};
  }
  parsed.valid = true;
  return parsed;
}

#undef VELK_NODE_FIELDS

CNode* FindRecordedNode(const ParsedNodeRecord& record, const CWorkflowDoc& doc,
                        std::int64_t processId) {
  if (!record.valid || record.processId != processId) return nullptr;
  for (CNode* node : doc.AllNodes())
    if (reinterpret_cast<std::uintptr_t>(node) == record.nodeAddress) return node;
  return nullptr;
}

}  // namespace velk
