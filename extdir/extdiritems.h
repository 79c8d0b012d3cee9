#pragma once
// The eight kinds of External Directory item.

#include <memory>
#include <string>
#include <vector>

#include "extdir/extdiritem.h"

namespace velk {

class CNode;

inline constexpr char kOffered[] = "Offered";
inline constexpr char kPublished[] = "Published";

// An organisation of the published or offered section; made when a header
// needs it, never stored.
class CExtDirItemGRIOrg : public CExtDirItem {
 public:
  using CExtDirItem::CExtDirItem;
  std::string OrgName;
  std::string GatewayDB;
  bool published = false;  // under "Workflows Published By Us (Internal)"

  void SetModified() override;
  ExtDirKind Kind() const override { return ExtDirKind::GRIOrg; }
  void InsertIntoTree(CExtDirTreeNode* parent, CExtDirTree& tree) override;
  void UpdateTreeText() override;
  ExtDirMenu ContextMenu() const override;
  // "New Process View" below the organisation.
  void NewChild() override;
  std::string Label() const override { return OrgName; }
};

// A GRI header, shown as a process view.
class CExtDirItemGRIProcView : public CExtDirItem {
 public:
  using CExtDirItem::CExtDirItem;
  std::string Direction;
  std::string ProcViewName;
  std::string OrgName;
  std::string GatewayDB;
  bool leafsLoaded = true;  // loaders clear it

  // Published unless its direction is "Offered".
  bool IsPublished() const { return Direction != kOffered; }
  // Reads the header's leafs once and shows them below it.
  void LoadLeafs();
  // The same for many headers in one pass over the store.
  static void LoadLeafs(CExtDirData& data, const std::vector<CExtDirItemGRIProcView*>& headers);

  ExtDirKind Kind() const override { return ExtDirKind::GRIProcView; }
  void InsertIntoTree(CExtDirTreeNode* parent, CExtDirTree& tree) override;
  void UpdateTreeText() override;
  ExtDirMenu ContextMenu() const override;
  void OnDoubleClick() override { LoadLeafs(); }
  bool Save(LNDatabase& db) override;
  bool AcceptsDrop() const override { return IsPublished() && leafsLoaded; }
  void NewChild() override;
  void Delete() override;
  std::string Label() const override { return ProcViewName; }
};

// A folder inside a process view (or of the registered persons); never stored.
class CExtDirItemGRIFolder : public CExtDirItem {
 public:
  // Makes the folders of a "/"-separated path below `parent` and appends them
  // all to the item list; returns the innermost.
  static CExtDirItemGRIFolder& Create(CExtDirData& data, std::string path, CExtDirTreeNode* parent,
                                      CExtDirTree& tree);
  using CExtDirItem::CExtDirItem;
  std::string name;

  void SetModified() override;
  ExtDirKind Kind() const override { return ExtDirKind::GRIFolder; }
  void UpdateTreeText() override;
  ExtDirMenu ContextMenu() const override;
  bool AcceptsDrop() const override;
  void NewChild() override;
  void Delete() override;
  std::string Label() const override { return name; }
};

// A published or offered workflow.
class CExtDirItemGRILeaf : public CExtDirItem {
 public:
  using CExtDirItem::CExtDirItem;
  std::string displayName;
  std::string Description2;
  std::string LeafName;  // folders and name, "/"-separated
  int Status = 0;        // directory entry status
  int Version = 0;
  std::string Direction;
  std::string ValidUntil;
  bool TrackingAllowed = false;
  int Duration = 0;
  int DurationUnit = 0;
  int PublishTo = 0;
  std::vector<std::string> PublishReader;
  std::vector<ExtDirFieldEntry> InputFields;
  std::string InputDocTypeID;
  std::vector<ExtDirFieldEntry> OutputFields;
  std::string OutputDocTypeID;
  std::string FormatServer;
  std::string HeaderID;
  std::vector<std::string> ReferencedByWFNode;
  // The In Task whose drop published the leaf (not owned); whoever ends that
  // workflow while the leaf still points to it must clear this.
  const CNode* publishedTask = nullptr;
  int reserved = 0;
  std::string reservedText;
  std::string workflowId;  // written to the IRI document when no task is set

  // Its header is known and not offered.
  bool IsPublished() const;
  // The image of a status; -1 for a status that is not shown.
  static int ImageOfStatus(int status);
  // Copies every field value of `other` except identity and tree placement.
  void CopyValuesFrom(const CExtDirItemGRILeaf& other);

  ExtDirKind Kind() const override { return ExtDirKind::GRILeaf; }
  void InsertIntoTree(CExtDirTreeNode* parent, CExtDirTree& tree) override;
  void UpdateTreeText() override;
  ExtDirMenu ContextMenu() const override;
  bool Save(LNDatabase& db) override;
  void Delete() override;
  std::string Label() const override { return displayName; }
};

// A registered external person; its ID stays empty.
class CExtDirItemExtRegOrg : public CExtDirItem {
 public:
  using CExtDirItem::CExtDirItem;
  std::string FullName;  // abbreviated: person/unit/organisation
  std::string CompanyName;
  std::string Department;
  std::string HTTPPassword;
  std::string MailAddress;
  std::string OfficeStreetAddress;
  std::string OfficeCity;
  std::string OfficeState;
  std::string OfficeZIP;
  std::string OfficeCountry;
  std::string OfficeNumber;
  std::string WebSite;

  ExtDirKind Kind() const override { return ExtDirKind::ExtRegOrg; }
  // Placed under its organisation and unit: the name path reversed into folders.
  void InsertIntoTree(CExtDirTreeNode* parent, CExtDirTree& tree) override;
  void UpdateTreeText() override;
  ExtDirMenu ContextMenu() const override;
  std::string Label() const override;
};

// The stored fields of an EIDM organisation, one record for both twins.
struct EidmOrgFields {
  std::string ExtOrganization;
  std::string ExtOrgReader;
  std::vector<std::string> ExtOrgResponsible;
};

// An organisation that orders or performs sub-workflows. Each document gives
// two twins, one per "Ordered" section; they share one record of fields, so a
// change to one is the other's and their document is written from one state.
class CExtDirItemEIDMOrg : public CExtDirItem {
 public:
  explicit CExtDirItemEIDMOrg(CExtDirData& data);
  // The twin of `other`, reading and writing its fields.
  CExtDirItemEIDMOrg(CExtDirData& data, CExtDirItemEIDMOrg& other);
  bool orderedByUs = false;

 private:
  std::shared_ptr<EidmOrgFields> fields_;

 public:
  std::string& ExtOrganization = fields_->ExtOrganization;
  std::string& ExtOrgReader = fields_->ExtOrgReader;
  std::vector<std::string>& ExtOrgResponsible = fields_->ExtOrgResponsible;
  CExtDirItemEIDMOrg* byUsTwin = nullptr;
  CExtDirItemEIDMOrg* byPartnersTwin = nullptr;

  bool IsOrderedByUs() const { return orderedByUs; }
  EidmOrgFields& Fields() { return *fields_; }
  const EidmOrgFields& Fields() const { return *fields_; }
  // Both twins share one document, so a change to either rewrites it.
  void SetModified() override;
  ExtDirKind Kind() const override { return ExtDirKind::EIDMOrg; }
  void InsertIntoTree(CExtDirTreeNode* parent, CExtDirTree& tree) override;
  void UpdateTreeText() override;
  ExtDirMenu ContextMenu() const override;
  bool Save(LNDatabase& db) override;
  bool AcceptsDrop() const override { return orderedByUs; }
  std::string Label() const override { return ExtOrganization; }
};

// An ordered sub-workflow (EIDM request).
class CExtDirItemEIDM : public CExtDirItem {
 public:
  using CExtDirItem::CExtDirItem;
  bool orderedByUs = false;
  std::vector<std::string> Readers;  // "$Readers"
  std::vector<std::string> ExtClusterResponsible;
  std::string ExtClusterOrg;
  std::string MasterOrg;
  std::string ExtClusterName;
  std::string ExtClusterGoal;
  std::string ExtClusterInput;
  std::string ExtClusterOutput;
  std::string ExtClusterID;
  std::string ExtClusterFormat;
  int ExtClusterStatus = 0;  // EIDM request state
  int ExtClusterVersion = 0;
  std::string MasterWorkflowID;
  std::string MasterEngineAddress;
  std::string MasterTrackingAddress;
  std::string ExtClusterRequiredDate;
  int ExtClusterExpectedDuration = 0;
  int ExtClusterExpectedDurationUnit = 0;
  std::string ExtClusterDesigner;
  std::string ExtClusterAppID;
  std::string ExtClusterMail;
  std::string ExtClusterWorkflowID;
  std::string ExtClusterStartDate;
  int ExtClusterConfirmedDuration = 0;
  int ExtClusterConfirmedDurationUnit = 0;

  bool IsOrderedByUs() const { return orderedByUs; }
  static int ImageOfState(int state);

  ExtDirKind Kind() const override { return ExtDirKind::EIDM; }
  // Under its organisation of the matching section, else under the section;
  // under `parent` when the caller has found that place already.
  void InsertIntoTree(CExtDirTreeNode* parent, CExtDirTree& tree) override;
  void UpdateTreeText() override;
  ExtDirMenu ContextMenu() const override;
  bool Save(LNDatabase& db) override;
  void Delete() override;
  std::string Label() const override { return ExtClusterName; }
};

// A content management block: saved, never shown.
class CExtDirItemCM : public CExtDirItem {
 public:
  using CExtDirItem::CExtDirItem;
  std::string ContentManagementName;
  std::string FreeText;
  std::vector<std::string> ContentManagement;

  ExtDirKind Kind() const override { return ExtDirKind::CM; }
  bool Save(LNDatabase& db) override;
  std::string Label() const override { return ContentManagementName; }
};

}  // namespace velk
