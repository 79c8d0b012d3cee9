#include "dialogs/repositorylists.h"

#include <algorithm>

#include "model/workflowdoc.h"
#include "repository/processdefdb.h"

namespace velk {

namespace {

std::vector<std::string> Names(const std::vector<WorkgroupRecord>& records) {
  std::vector<std::string> names;
  names.reserve(records.size());
  for (const WorkgroupRecord& r : records) names.push_back(r.name);
  return names;
}

void TakeOrganisation(const CInfrastructureDb& infrastructure, RepositoryLists& lists) {
  lists.persons = infrastructure.Persons();
  lists.workgroups = Names(infrastructure.Workgroups());
  lists.units = Names(infrastructure.Units());
  lists.roles = infrastructure.Roles();
}

const std::string& NameOf(const std::string& name) {
  return name;
}
const std::string& NameOf(const WorkgroupRecord& record) {
  return record.name;
}
const std::string& NameOf(const RoleRecord& record) {
  return record.name;
}

template <class List>
bool Holds(const List& list, const std::string& name) {
  return std::any_of(list.begin(), list.end(),
                     [&](const auto& entry) { return NameOf(entry) == name; });
}

template <class Workgroups, class Units>
ElementKind KindIn(const std::vector<std::string>& persons, const Workgroups& workgroups,
                   const Units& units, const std::vector<RoleRecord>& roles,
                   const std::string& name) {
  if (Holds(persons, name)) return ElementKind::Person;
  if (Holds(workgroups, name)) return ElementKind::Workgroup;
  if (Holds(units, name)) return ElementKind::Unit;
  if (Holds(roles, name)) return ElementKind::Role;
  return ElementKind::Person;
}

}  // namespace

RepositoryLists ListsOfWorkflow(const CWorkflowDoc& document) {
  RepositoryLists lists;
  const WorkflowDatabases& databases = document.Databases();
  if (const CInfrastructureDb* infrastructure = databases.infrastructure.repository)
    TakeOrganisation(*infrastructure, lists);
  if (const CApplicationEnvDb* application = databases.applicationEnvironment.repository) {
    lists.hasApplicationDatabase = true;
    lists.applicationDatabaseTitle = application->Title();
    lists.forms = application->Forms();
  }
  if (const CProcessDefDb* processes = databases.processDefinitions.repository)
    lists.resources = processes->Resources();
  return lists;
}

std::vector<std::string> ElementsOfKind(const RepositoryLists& lists, ElementKind kind) {
  switch (kind) {
    case ElementKind::Person:
      return lists.persons;
    case ElementKind::Workgroup:
      return lists.workgroups;
    case ElementKind::Unit:
      return lists.units;
    case ElementKind::Role: {
      std::vector<std::string> names;
      for (const RoleRecord& r : lists.roles) names.push_back(r.name);
      return names;
    }
    case ElementKind::Position:
    case ElementKind::SoftwareAgent:
      break;
  }
  return {};
}

ElementKind LookupElementKind(const RepositoryLists& lists, const std::string& name) {
  return KindIn(lists.persons, lists.workgroups, lists.units, lists.roles, name);
}

ElementKind LookupElementKind(const CWorkflowDoc& document, const std::string& name) {
  const CInfrastructureDb* infrastructure = document.Databases().infrastructure.repository;
  if (!infrastructure) return ElementKind::Person;
  return KindIn(infrastructure->Persons(), infrastructure->Workgroups(), infrastructure->Units(),
                infrastructure->Roles(), name);
}

std::vector<std::string> FormNames(const std::vector<FormRecord>& forms) {
  std::vector<std::string> names;
  names.reserve(forms.size());
  for (const FormRecord& f : forms) names.push_back(f.name);
  return names;
}

const FormRecord* FindForm(const std::vector<FormRecord>& forms, const std::string& name) {
  const auto it =
      std::find_if(forms.begin(), forms.end(), [&](const FormRecord& f) { return f.name == name; });
  return it == forms.end() ? nullptr : &*it;
}

const FormRecord* FindFormWithField(const std::vector<FormRecord>& forms,
                                    const std::string& field) {
  const auto it = std::find_if(forms.begin(), forms.end(),
                               [&](const FormRecord& f) { return Holds(f.fields, field); });
  return it == forms.end() ? nullptr : &*it;
}

std::vector<std::string> RoleParameters(const std::vector<RoleRecord>& roles,
                                        const std::string& role) {
  const auto it =
      std::find_if(roles.begin(), roles.end(), [&](const RoleRecord& r) { return r.name == role; });
  if (it == roles.end()) return {};
  std::vector<std::string> parameters;
  for (const std::string& p : it->parameters)
    if (!p.empty()) parameters.push_back(p);
  return parameters;
}

}  // namespace velk
