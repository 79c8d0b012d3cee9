#include "repository/databasetemplates.h"

#include <stdexcept>

#include "extdir/extdirrecords.h"
#include "model/workflowrecords.h"
#include "repository/store/lnencoding.h"

namespace velk {

namespace {

bool IsError(LNSTATUS status) {
  return status != LNNOERROR && !LNIsWarning(status);
}

// Views select by form name only: headers and tasks share "WorkflowID", "Type" and
// "Version", and GRI and IRI leafs share "LeafID", so a wider selection would mix
// them up. Keys are compared on the first value of the item, whatever its case.
LNViewDesign View(const char* name, const char* form, const char* key, bool categorized = false) {
  return LNViewDesign{name, {form}, key, categorized};
}

DatabaseTemplate ApplicationEnvironment() {
  return {DatabaseKind::ApplicationEnvironment,
          "appenv",
          "Application Environment Database",
          "VELK Application Environment",
          {View(views::kConfiguration, forms::kConfiguration, "ConfigKey"),
           // The configuration document is found under the key "ReplicaID".
           View(views::kRuntimeConfiguration, forms::kConfiguration, "ConfigKey")},
          {{forms::kConfiguration, {"ConfigKey", "wfOfficeMail", "ReplicaID"}}}};
}

DatabaseTemplate ProcessDefinitions() {
  return {DatabaseKind::ProcessDefinitions,
          "procdef",
          "Process Definitions Database",
          "VELK Process Definitions",
          {View(views::kHeaderById, forms::kHeader, "WorkflowID"),
           // Loading finds a workflow by its name, which headers keep in "Type".
           View(views::kHeaderByName, forms::kHeader, "Type"),
           View(views::kWorkflowStructure, forms::kWorkflowStructure, "WorkflowID"),
           // Deleting and freezing take every match as a document: no category rows.
           View(views::kText, forms::kText, "WorkflowID"),
           View(views::kResource, forms::kResource, "Resource")},
          {DescribedForm(forms::kHeader, HeaderFormItems()),
           DescribedForm(forms::kWorkflowStructure, TaskFormItems()),
           {forms::kText, {"WorkflowID", "Status", "Version", "Type", "Text"}},
           {forms::kResource, {"Resource"}}}};
}

DatabaseTemplate Infrastructure() {
  return {DatabaseKind::Infrastructure,
          "infra",
          "Infrastructure Database",
          "VELK Infrastructure",
          {View(views::kOrgaAgentLastName, forms::kPerson, "LastName"),
           View(views::kWorkgroups, forms::kWorkgroup, "NewWorkgroup"),
           View(views::kUnits, forms::kUnit, "NewArrangement"),
           // Role documents of one name form a group; their parameters are merged.
           View(views::kRoles, forms::kRole, "Name", true)},
          {{forms::kPerson, {"FullName", "LastName", "FirstName"}},
           {forms::kWorkgroup, {"NewWorkgroup", "NewManager", "NewPersons"}},
           {forms::kUnit, {"NewArrangement", "NewUnit", "NewManager", "NewPersons"}},
           {forms::kRole, {"Name", "Parameter"}}}};
}

DatabaseTemplate ExternalDirectory() {
  return {DatabaseKind::ExternalDirectory,
          "extdir",
          "External Directory Database",
          "VELK External Directory",
          {View(views::kContentManagement, forms::kContentManagement, "ContentManagementName"),
           View(views::kContentBlocks, forms::kContentBlock, "ContentBlockID"),
           View(views::kDocumentTypes, forms::kDocumentType, "DocumentTypeID"),
           View(views::kPeople, forms::kPerson, "LastName"),
           View(views::kEidm, forms::kExtClusterSpec, "ExtClusterName"),
           View(views::kEidmOrg, forms::kExtOrganization, "ExtOrganization"),
           View(views::kGriHeader, forms::kGriHeader, "OrgName"),
           // Leafs are found by their header's id and by their own id.
           View(views::kGriLeaf, forms::kGriLeaf, "HeaderID"),
           View(views::kGriLeafId, forms::kGriLeaf, "LeafID"),
           View(views::kIriLeaf, forms::kIriLeaf, "LeafID")},
          ExternalDirectoryForms()};
}

// Nothing in these two is read but their identity; the forms give the views
// something to select.
DatabaseTemplate Gateway() {
  return {DatabaseKind::Gateway,
          "gateway",
          "Gateway Database",
          "VELK Gateway",
          {View(views::kGateway, forms::kGatewayMessage, "MessageID")},
          {{forms::kGatewayMessage, {"MessageID", "Sender", "Recipient", "Subject"}}}};
}

DatabaseTemplate Tracking() {
  return {DatabaseKind::Tracking,
          "tracking",
          "Tracking Database",
          "VELK Tracking",
          {View(views::kTracking, forms::kTrackingRecord, "InstanceID")},
          {{forms::kTrackingRecord, {"InstanceID", "WorkflowID", "Task", "Status", "Date"}}}};
}

LNSTATUS ApplyDesign(LNDatabase& db, const DatabaseTemplate& design) {
  for (const LNViewDesign& view : design.views)
    if (LNSTATUS status = db.CreateView(view); IsError(status)) return status;
  for (const FormDesign& form : design.forms)
    if (LNSTATUS status = db.CreateForm(form.title, form.fields); IsError(status)) return status;
  return LNNOERROR;
}

}  // namespace

FormDesign DescribedForm(std::string title, const std::vector<FormItem>& items) {
  FormDesign form{std::move(title), {}, {}};
  for (const FormItem& item : items) {
    form.fields.push_back(item.name);
    if (item.type) form.typed.push_back(item);
  }
  return form;
}

std::vector<MistypedItem> MistypedItems(LNDatabase& db, DatabaseKind kind) {
  // What cannot be read is for the other checks to report.
  LNThrowAllErrorsScope returning(db, false);
  std::vector<MistypedItem> found;
  std::vector<LNDocument> documents;
  if (IsError(db.GetAllDocuments(&documents))) return found;
  const std::vector<FormDesign>& forms = TemplateOf(kind).forms;
  for (LNDocument& doc : documents) {
    if (IsError(doc.Open())) continue;
    const std::string form = doc.GetFormName();
    auto design = std::ranges::find_if(
        forms, [&](const FormDesign& f) { return lnstore::SameName(f.title, form); });
    if (design == forms.end()) continue;
    for (std::size_t i = 0, count = doc.GetItemCount(); i < count; ++i) {
      const std::string_view name = doc.GetItemName(i);
      auto typed = std::ranges::find_if(design->typed, [&](const FormItem& item) {
        return lnstore::SameName(item.name, name);
      });
      if (typed != design->typed.end() && doc.GetItemType(i) != *typed->type)
        found.push_back({form, doc.GetNoteID(), std::string(name), doc.GetItemType(i), *typed->type});
    }
  }
  return found;
}

const std::vector<DatabaseTemplate>& DatabaseTemplates() {
  static const std::vector<DatabaseTemplate> templates = {
      ApplicationEnvironment(), Tracking(), ProcessDefinitions(),
      Infrastructure(),         Gateway(),  ExternalDirectory()};
  return templates;
}

const DatabaseTemplate& TemplateOf(DatabaseKind kind) {
  const int code = static_cast<int>(kind);
  if (code < 1 || code > kDatabaseKindCount)
    throw std::out_of_range("TemplateOf: not a database kind");
  return DatabaseTemplates()[static_cast<std::size_t>(code - 1)];
}

const char* CliNameOf(DatabaseKind kind) {
  return kind == DatabaseKind::None ? "" : TemplateOf(kind).cliName;
}

std::optional<DatabaseKind> KindFromCliName(const std::string& name) {
  for (const DatabaseTemplate& t : DatabaseTemplates())
    if (name == t.cliName) return t.kind;
  return std::nullopt;
}

const char* KindNameOf(DatabaseKind kind) {
  return kind == DatabaseKind::None ? "none of the kinds" : TemplateOf(kind).kindName;
}

LNSTATUS ApplyTemplate(LNDatabase& db, DatabaseKind kind) {
  const DatabaseTemplate& design = TemplateOf(kind);
  LNTransaction transaction(db);
  if (LNSTATUS status = ApplyDesign(db, design); IsError(status)) return status;
  return transaction.Commit();
}

LNSTATUS CreateDatabaseOfKind(LNNotesSession& session, DatabaseKind kind, const std::string& path,
                              const std::string& title, const std::string& server,
                              LNDatabase* out) {
  const DatabaseTemplate& design = TemplateOf(kind);
  LNDatabase db;
  // The design is written before the file appears under `path`, so a creation cut
  // short leaves nothing there to block the next attempt.
  const LNSTATUS status = session.CreateDatabase(
      path, &db, title.empty() ? design.defaultTitle : title, server,
      [kind](LNDatabase& building) { return ApplyTemplate(building, kind); });
  if (!IsError(status) && out) *out = db;
  return status;
}

DatabaseKind DetectKindByViews(LNDatabase& db) {
  LNThrowAllErrorsScope returning(db, false);
  return KindFromViews([&db](const std::string& view) {
    LNViewFolder folder;
    return db.GetViewFolder(view, &folder) == LNNOERROR;
  });
}

}  // namespace velk
