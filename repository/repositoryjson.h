#pragma once
// What a repository object holds after loading, as JSON: the lists the modeler's
// dialogs offer, in their order. Every object gives its "title" and "replicaId";
// the kinds add their own lists:
//   Infrastructure:          "persons", "workgroups" and "units" ({"name", "manager",
//                            "members"}), "roles" ({"name", "parameters"})
//   Application Environment: "officeMail", "forms" ({"name", "fields"})
//   Process Definitions:     "resources", "headers" ({"type", "workflowId", "category",
//                            "status", "wfType", "version", "appReplicaId",
//                            "referenceAllowed", "isReferenced"}; status and type
//                            as the header documents spell them)

#include "repository/storejson.h"

namespace velk {

class CRepositoryDb;
class CInfrastructureDb;
class CApplicationEnvDb;
class CProcessDefDb;
struct WorkgroupRecord;
struct RoleRecord;
struct FormRecord;
struct WorkflowHeaderEntry;

void to_json(Json& json, const WorkgroupRecord& record);
void to_json(Json& json, const RoleRecord& record);
void to_json(Json& json, const FormRecord& record);
void to_json(Json& json, const WorkflowHeaderEntry& header);

// Title and replica id; the Gateway and Tracking objects hold nothing more.
Json RepositoryToJson(const CRepositoryDb& repository);
Json RepositoryToJson(const CInfrastructureDb& repository);
Json RepositoryToJson(const CApplicationEnvDb& repository);
// The header list as read so far; the caller decides whether to read it first.
Json RepositoryToJson(const CProcessDefDb& repository);

}  // namespace velk
