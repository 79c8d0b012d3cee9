#pragma once
// The design of the six kinds of database: every view the modeler opens and every
// form it reads or writes, per kind. Code that opens a view or writes a document
// names it through the constants below; creating a database of a kind gives it
// exactly the design listed here. A template holds the view that identifies its
// kind and none of the other kinds' identifying views.

#include <optional>
#include <string>
#include <vector>

#include "repository/databasekind.h"
#include "repository/store/lnnotes.h"

namespace velk {

// View names, exactly as stored: parentheses, backslashes and blanks matter, and
// "Modeler\Header" and "(Modeler\Header)" are two different views.
namespace views {
// Application Environment
inline constexpr char kConfiguration[] = "($Configuration)";
inline constexpr char kRuntimeConfiguration[] = "(Z. Runtime\\Configuration)";
// Process Definitions
inline constexpr char kHeaderById[] = "(Modeler\\Header)";
inline constexpr char kHeaderByName[] = "Modeler\\Header";
inline constexpr char kWorkflowStructure[] = "(Modeler\\Workflow Structure)";
inline constexpr char kText[] = "(Modeler\\Text)";
inline constexpr char kResource[] = "(Modeler\\Resource)";
// Infrastructure
inline constexpr char kOrgaAgentLastName[] = "(Modeler\\OrgaAgentLastName)";
inline constexpr char kWorkgroups[] = "(Modeler\\Workgroups)";
inline constexpr char kUnits[] = "(Modeler\\Units)";
inline constexpr char kRoles[] = "(Modeler\\Roles)";
// External Directory
inline constexpr char kContentManagement[] = "(Modeler\\ContentManagement)";
inline constexpr char kContentBlocks[] = "(Modeler\\ContentBlocks)";
inline constexpr char kDocumentTypes[] = "(Modeler\\DocumentTypes)";
inline constexpr char kPeople[] = "People";
inline constexpr char kEidm[] = "(Modeler\\EIDM)";
inline constexpr char kEidmOrg[] = "(Modeler\\EIDMOrg)";
inline constexpr char kGriHeader[] = "(Modeler\\GRIHeader)";
inline constexpr char kGriLeaf[] = "(Modeler\\GRILeaf)";
inline constexpr char kGriLeafId[] = "(Modeler\\GRILeafID)";
inline constexpr char kIriLeaf[] = "(Modeler\\IRILeaf)";
// Gateway and Tracking
inline constexpr char kGateway[] = "(#VELK Modeler#Gateway)";
inline constexpr char kTracking[] = "(#VELK Modeler#Tracking)";
}  // namespace views

// Form names documents are written with (`SetFormNote`); views select by them.
namespace forms {
inline constexpr char kConfiguration[] = "Configuration";
inline constexpr char kHeader[] = "Header";
inline constexpr char kWorkflowStructure[] = "Workflow Structure";
inline constexpr char kText[] = "Text";
inline constexpr char kResource[] = "Resource";
inline constexpr char kPerson[] = "Person";  // infrastructure persons and external persons alike
inline constexpr char kWorkgroup[] = "Workgroup";
inline constexpr char kUnit[] = "Unit";
inline constexpr char kRole[] = "Role";
inline constexpr char kContentManagement[] = "Content Management";
inline constexpr char kContentBlock[] = "ContentBlock";
inline constexpr char kDocumentType[] = "DocumentType";
inline constexpr char kExtClusterSpec[] = "ExtClusterSpec";
inline constexpr char kExtOrganization[] = "ExtOrganization";
inline constexpr char kGriHeader[] = "GRIHeader";
inline constexpr char kGriLeaf[] = "GRILeaf";
inline constexpr char kIriLeaf[] = "IRILeaf";
inline constexpr char kGatewayMessage[] = "GatewayMessage";
inline constexpr char kTrackingRecord[] = "TrackingRecord";
}  // namespace forms

// An item of a form and how the modeler stores it; no type where the modeler
// leaves that to whoever writes the item.
struct FormItem {
  explicit FormItem(std::string name, std::optional<LNItemType> type = {})
      : name(std::move(name)), type(type) {}
  std::string name;
  std::optional<LNItemType> type;
};

// A form design note: "$TITLE" and "$Fields".
struct FormDesign {
  std::string title;
  std::vector<std::string> fields;
  std::vector<FormItem> typed = {};  // those of `fields` the modeler stores with one type
};

// The design of a form whose items the modeler's records describe.
FormDesign DescribedForm(std::string title, const std::vector<FormItem>& items);

struct DatabaseTemplate {
  DatabaseKind kind = DatabaseKind::None;
  const char* cliName = "";         // the KIND word of velkmod-cli: "appenv", "procdef", ...
  const char* kindName = "";        // "Application Environment Database", ...
  const char* defaultTitle = "";    // title of a new database when none is given
  std::vector<LNViewDesign> views;  // the identifying view first
  std::vector<FormDesign> forms;
};

// The six templates in the order of their kind codes 1 to 6.
const std::vector<DatabaseTemplate>& DatabaseTemplates();
// Throws std::out_of_range for DatabaseKind::None.
const DatabaseTemplate& TemplateOf(DatabaseKind kind);
// "appenv" ...; empty for None.
const char* CliNameOf(DatabaseKind kind);
std::optional<DatabaseKind> KindFromCliName(const std::string& name);
// "Application Environment Database" ...; "none of the kinds" for None.
const char* KindNameOf(DatabaseKind kind);

// Adds the views and forms of `kind` to an open database, all or nothing.
LNSTATUS ApplyTemplate(LNDatabase& db, DatabaseKind kind);
// Creates a new database file at `path` (fails when one exists) with the design
// of `kind`; an empty title takes the template's. On success `out` is bound to it,
// closed. Follows the store's throwing mode.
LNSTATUS CreateDatabaseOfKind(LNNotesSession& session, DatabaseKind kind, const std::string& path,
                              const std::string& title, const std::string& server, LNDatabase* out);

// An item of a stored document whose type is not the one its form gives it: the
// modeler would misread it. Documents that cannot be read are passed by.
struct MistypedItem {
  std::string form;
  LNNOTEID noteId = 0;
  std::string item;
  LNItemType stored = LNItemType::Text;
  LNItemType expected = LNItemType::Text;
};
std::vector<MistypedItem> MistypedItems(LNDatabase& db, DatabaseKind kind);

// The kind of an open database by the identifying views it holds, probed in the
// order of KindProbeOrder(): the first view that exists wins. Reports nothing.
DatabaseKind DetectKindByViews(LNDatabase& db);

}  // namespace velk
