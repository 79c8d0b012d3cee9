#pragma once
// The repository lists the task pages offer, taken from a workflow's databases:
// the organisation (persons, workgroups, units, roles with their parameters),
// the application forms with their fields and the resources. Pages read copies,
// so they never depend on which repository objects are loaded, and tests can
// give them lists of their own.

#include <string>
#include <vector>

#include "repository/applicationenvdb.h"
#include "repository/infrastructuredb.h"

namespace velk {

class CWorkflowDoc;

struct RepositoryLists {
  std::vector<std::string> persons;
  std::vector<std::string> workgroups;
  std::vector<std::string> units;
  std::vector<RoleRecord> roles;
  // False when the workflow has no loaded Application Environment Database.
  bool hasApplicationDatabase = false;
  std::string applicationDatabaseTitle;
  std::vector<FormRecord> forms;
  std::vector<std::string> resources;
};

// The lists of the document's loaded repositories; a missing one gives empty lists.
RepositoryLists ListsOfWorkflow(const CWorkflowDoc& document);

// Kinds of organisation elements; their order is that of the picker's filter.
enum class ElementKind : int {
  Person = 0,
  Workgroup = 1,
  Unit = 2,
  Role = 3,
  Position = 4,
  SoftwareAgent = 5
};
inline constexpr int kElementKindCount = 6;

// The elements of one kind, in repository order. No positions or software agents
// are kept, so those kinds are always empty.
std::vector<std::string> ElementsOfKind(const RepositoryLists& lists, ElementKind kind);
// The first of persons, workgroups, units, roles that holds the name (exactly);
// a name found nowhere counts as a person.
ElementKind LookupElementKind(const RepositoryLists& lists, const std::string& name);
// The same lookup on the document's Infrastructure repository.
ElementKind LookupElementKind(const CWorkflowDoc& document, const std::string& name);

std::vector<std::string> FormNames(const std::vector<FormRecord>& forms);
// The first form of that name (exactly), or null.
const FormRecord* FindForm(const std::vector<FormRecord>& forms, const std::string& name);
// The first form, in list order, having a field of that name (exactly), or null.
const FormRecord* FindFormWithField(const std::vector<FormRecord>& forms, const std::string& field);
// The non-empty parameters of the first role of that name (exactly).
std::vector<std::string> RoleParameters(const std::vector<RoleRecord>& roles,
                                        const std::string& role);

}  // namespace velk
