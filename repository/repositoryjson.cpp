#include "repository/repositoryjson.h"

#include "repository/applicationenvdb.h"
#include "repository/infrastructuredb.h"
#include "repository/processdefdb.h"
#include "repository/vocabulary.h"

namespace velk {

void to_json(Json& json, const WorkgroupRecord& record) {
  json = {{"name", record.name}, {"manager", record.manager}, {"members", record.members}};
}

void to_json(Json& json, const RoleRecord& record) {
  json = {{"name", record.name}, {"parameters", record.parameters}};
}

void to_json(Json& json, const FormRecord& record) {
  json = {{"name", record.name}, {"fields", record.fields}};
}

void to_json(Json& json, const WorkflowHeaderEntry& header) {
  json = {{"type", header.type},
          {"workflowId", header.workflowId},
          {"category", header.category},
          {"status", WorkflowStatusToWord(header.status)},
          {"wfType", WorkflowTypeToWord(header.wfType)},
          {"version", header.version},
          {"appReplicaId", header.appReplicaId},
          {"referenceAllowed", header.referenceAllowed},
          {"isReferenced", header.isReferenced}};
}

Json RepositoryToJson(const CRepositoryDb& repository) {
  return {{"title", repository.Title()}, {"replicaId", repository.ReplicaId()}};
}

Json RepositoryToJson(const CInfrastructureDb& repository) {
  Json json = RepositoryToJson(static_cast<const CRepositoryDb&>(repository));
  json["persons"] = repository.Persons();
  json["workgroups"] = repository.Workgroups();
  json["units"] = repository.Units();
  json["roles"] = repository.Roles();
  return json;
}

Json RepositoryToJson(const CApplicationEnvDb& repository) {
  Json json = RepositoryToJson(static_cast<const CRepositoryDb&>(repository));
  json["officeMail"] = repository.OfficeMail();
  json["forms"] = repository.Forms();
  return json;
}

Json RepositoryToJson(const CProcessDefDb& repository) {
  Json json = RepositoryToJson(static_cast<const CRepositoryDb&>(repository));
  json["resources"] = repository.Resources();
  json["headers"] = repository.Headers();
  return json;
}

}  // namespace velk
