#include "extdir/extdirrecords.h"

#include "repository/databasetemplates.h"
#include "repository/fieldaccess.h"
#include "repository/vocabulary.h"

namespace velk {

namespace {

constexpr WordConverter kDirectoryEntryStatus{
    DirectoryEntryStatusToWord, WordToDirectoryEntryStatus, DirectoryEntryStatusWords};
constexpr WordConverter kDurationUnit{DurationUnitToWord, WordToDurationUnit, DurationUnitWords};
constexpr WordConverter kPublishingMode{PublishingModeToWord, WordToPublishingMode,
                                        PublishingModeWords};
constexpr WordConverter kEidmState{EidmStateToWord, WordToEidmState, EidmStateWords};

template <class R>
StoredField<R> Text(const char* item, std::string R::*member) {
  return {item, StoredAs::Text, member};
}
template <class R>
StoredField<R> Integer(const char* item, int R::*member) {
  return {item, StoredAs::Integer, member};
}
template <class R>
StoredField<R> Number(const char* item, int R::*member) {
  return {item, StoredAs::Number, member};
}
template <class R>
StoredField<R> YesNo(const char* item, bool R::*member) {
  return {item, StoredAs::YesNo, member};
}
template <class R>
StoredField<R> Word(const char* item, int R::*member, const WordConverter& words) {
  return {item, StoredAs::Word, member, &words};
}
template <class R>
StoredField<R> List(const char* item, std::vector<std::string> R::*member) {
  return {item, StoredAs::List, member};
}
template <class R>
StoredField<R> Readers(const char* item, std::vector<std::string> R::*member) {
  return {item, StoredAs::Readers, member};
}
template <class R>
StoredField<R> Entries(const char* item, std::vector<ExtDirFieldEntry> R::*member) {
  return {item, StoredAs::FieldEntries, member};
}

template <class R>
void ReadField(const StoredField<R>& f, R& r, LNNote& note) {
  using Texts = std::vector<std::string>;
  switch (f.as) {
    case StoredAs::Text:
      r.*std::get<std::string R::*>(f.member) = GetFieldContent(f.item, note);
      break;
    case StoredAs::Integer:
      r.*std::get<int R::*>(f.member) = GetFieldIntContent(f.item, note);
      break;
    case StoredAs::Number:
      r.*std::get<int R::*>(f.member) = GetFieldNumberContent(f.item, note);
      break;
    case StoredAs::YesNo:
      r.*std::get<bool R::*>(f.member) = GetFieldBoolContent(f.item, note);
      break;
    case StoredAs::Word: {
      int code = 0;
      f.words->toCode(GetFieldContent(f.item, note), code);
      r.*std::get<int R::*>(f.member) = code;
      break;
    }
    case StoredAs::List:
    case StoredAs::Readers:
      GetFieldListContent(f.item, note, r.*std::get<Texts R::*>(f.member));
      break;
    case StoredAs::FieldEntries: {
      Texts texts;
      GetFieldListContent(f.item, note, texts);
      r.*std::get<std::vector<ExtDirFieldEntry> R::*>(f.member) = SplitFieldEntries(texts);
      break;
    }
  }
}

template <class R>
void WriteField(const StoredField<R>& f, const R& r, LNNote& note) {
  using Texts = std::vector<std::string>;
  switch (f.as) {
    case StoredAs::Text:
      SetFieldContent(f.item, r.*std::get<std::string R::*>(f.member), note);
      break;
    case StoredAs::Integer:
      SetFieldIntContent(f.item, r.*std::get<int R::*>(f.member), note);
      break;
    case StoredAs::Number:
      SetFieldNumberContent(f.item, r.*std::get<int R::*>(f.member), note);
      break;
    case StoredAs::YesNo:
      SetFieldBoolContent(f.item, r.*std::get<bool R::*>(f.member), note);
      break;
    case StoredAs::Word:
      SetFieldContent(f.item, f.words->toWord(r.*std::get<int R::*>(f.member)), note);
      break;
    case StoredAs::List:
      SetFieldListContent(f.item, note, r.*std::get<Texts R::*>(f.member));
      break;
    case StoredAs::Readers:
      SetFieldReadersContent(f.item, note, r.*std::get<Texts R::*>(f.member));
      break;
    case StoredAs::FieldEntries:
      SetFieldListContent(
          f.item, note,
          JoinFieldEntries(r.*std::get<std::vector<ExtDirFieldEntry> R::*>(f.member)));
      break;
  }
}

}  // namespace

template <>
const StoredFields<ContentBlockRecord>& FieldsOf<ContentBlockRecord>() {
  using R = ContentBlockRecord;
  static const StoredFields<R> fields{
      Text("Name", &R::Name),
      Text("ContentBlockID", &R::ContentBlockID),
      Text("Status", &R::Status),
      Integer("Version", &R::Version),
      YesNo("HaveSubform", &R::HaveSubform),
      Text("Freetext", &R::Freetext),
      Entries("ContentFieldList", &R::ContentFieldList),
      List("IsInDocumentType", &R::IsInDocumentType),
  };
  return fields;
}

template <>
const StoredFields<DocumentTypeRecord>& FieldsOf<DocumentTypeRecord>() {
  using R = DocumentTypeRecord;
  static const StoredFields<R> fields{
      Text("Name", &R::Name),
      Text("DocumentTypeID", &R::DocumentTypeID),
      Text("DocumentCategory", &R::DocumentCategory),
      Text("Status", &R::Status),
      Integer("Version", &R::Version),
      Text("Freetext", &R::Freetext),
      List("ContentBlockIDList", &R::ContentBlockIDList),
      Entries("FreeFieldList", &R::FreeFieldList),
  };
  return fields;
}

// FullName as stored; the loader abbreviates it.
template <>
const StoredFields<CExtDirItemExtRegOrg>& FieldsOf<CExtDirItemExtRegOrg>() {
  using R = CExtDirItemExtRegOrg;
  static const StoredFields<R> fields{
      Text("FullName", &R::FullName),         Text("CompanyName", &R::CompanyName),
      Text("Department", &R::Department),     Text("HTTPPassword", &R::HTTPPassword),
      Text("MailAddress", &R::MailAddress),   Text("OfficeStreetAddress", &R::OfficeStreetAddress),
      Text("OfficeCity", &R::OfficeCity),     Text("OfficeState", &R::OfficeState),
      Text("OfficeZIP", &R::OfficeZIP),       Text("OfficeCountry", &R::OfficeCountry),
      Text("OfficeNumber", &R::OfficeNumber), Text("WebSite", &R::WebSite),
  };
  return fields;
}

template <>
const StoredFields<CExtDirItemGRIProcView>& FieldsOf<CExtDirItemGRIProcView>() {
  using R = CExtDirItemGRIProcView;
  static const StoredFields<R> fields{
      Text("Direction", &R::Direction),
      Text("OrgName", &R::OrgName),
      Text("ProcViewName", &R::ProcViewName),
      Text("GatewayDB", &R::GatewayDB),
  };
  return fields;
}

template <>
const StoredFields<CExtDirItemGRILeaf>& FieldsOf<CExtDirItemGRILeaf>() {
  using R = CExtDirItemGRILeaf;
  static const StoredFields<R> fields{
      Text("LeafName", &R::LeafName),
      Text("Description2", &R::Description2),
      Word("Status", &R::Status, kDirectoryEntryStatus),
      Integer("Version", &R::Version),
      Text("Direction", &R::Direction),
      Text("ValidUntil", &R::ValidUntil),
      YesNo("TrackingAllowed", &R::TrackingAllowed),
      Number("Duration", &R::Duration),
      Word("DurationUnit", &R::DurationUnit, kDurationUnit),
      Word("PublishTo", &R::PublishTo, kPublishingMode),
      List("PublishReader", &R::PublishReader),
      Text("InputDocTypeID", &R::InputDocTypeID),
      Entries("InputFields", &R::InputFields),
      Text("OutputDocTypeID", &R::OutputDocTypeID),
      Entries("OutputFields", &R::OutputFields),
      Text("FormatServer", &R::FormatServer),
      Text("HeaderID", &R::HeaderID),
      List("ReferencedByWFNode", &R::ReferencedByWFNode),
  };
  return fields;
}

template <>
const StoredFields<EidmOrgFields>& FieldsOf<EidmOrgFields>() {
  using R = EidmOrgFields;
  static const StoredFields<R> fields{
      Text("ExtOrganization", &R::ExtOrganization),
      Text("ExtOrgReader", &R::ExtOrgReader),
      List("ExtOrgResponsible", &R::ExtOrgResponsible),
  };
  return fields;
}

// ExtClusterID is the item's ID and is stored as such.
template <>
const StoredFields<CExtDirItemEIDM>& FieldsOf<CExtDirItemEIDM>() {
  using R = CExtDirItemEIDM;
  static const StoredFields<R> fields{
      Text("ExtClusterName", &R::ExtClusterName),
      Text("ExtClusterGoal", &R::ExtClusterGoal),
      Text("ExtClusterInput", &R::ExtClusterInput),
      Text("ExtClusterOutput", &R::ExtClusterOutput),
      Text("ExtClusterFormat", &R::ExtClusterFormat),
      Word("ExtClusterStatus", &R::ExtClusterStatus, kEidmState),
      Integer("ExtClusterVersion", &R::ExtClusterVersion),
      Text("MasterWorkflowID", &R::MasterWorkflowID),
      Text("MasterEngineAddress", &R::MasterEngineAddress),
      Text("MasterTrackingAddress", &R::MasterTrackingAddress),
      Text("ExtClusterRequiredDate", &R::ExtClusterRequiredDate),
      Number("ExtClusterExpectedDuration", &R::ExtClusterExpectedDuration),
      Word("ExtClusterExpectedDurationUnit", &R::ExtClusterExpectedDurationUnit, kDurationUnit),
      List("ExtClusterResponsible", &R::ExtClusterResponsible),
      Readers("$Readers", &R::Readers),
      Text("MasterOrg", &R::MasterOrg),
      Text("ExtClusterOrg", &R::ExtClusterOrg),
      Text("ExtClusterDesigner", &R::ExtClusterDesigner),
      Text("ExtClusterAppID", &R::ExtClusterAppID),
      Text("ExtClusterMail", &R::ExtClusterMail),
      Text("ExtClusterWorkflowID", &R::ExtClusterWorkflowID),
      Text("ExtClusterStartDate", &R::ExtClusterStartDate),
      Number("ExtClusterConfirmedDuration", &R::ExtClusterConfirmedDuration),
      Word("ExtClusterConfirmedDurationUnit", &R::ExtClusterConfirmedDurationUnit, kDurationUnit),
  };
  return fields;
}

template <>
const StoredFields<CExtDirItemCM>& FieldsOf<CExtDirItemCM>() {
  using R = CExtDirItemCM;
  static const StoredFields<R> fields{
      Text("ContentManagementName", &R::ContentManagementName),
      Text("FreeText", &R::FreeText),
      List("ContentManagement", &R::ContentManagement),
  };
  return fields;
}

template <class Record>
void ReadFields(Record& record, LNNote& note) {
  for (const StoredField<Record>& field : FieldsOf<Record>()) ReadField(field, record, note);
}

template <class Record>
void WriteFields(const Record& record, LNNote& note) {
  for (const StoredField<Record>& field : FieldsOf<Record>()) WriteField(field, record, note);
}

#define VELK_RECORD(Record)                           \
  template void ReadFields<Record>(Record&, LNNote&); \
  template void WriteFields<Record>(const Record&, LNNote&);
VELK_RECORD(ContentBlockRecord)
VELK_RECORD(DocumentTypeRecord)
VELK_RECORD(CExtDirItemExtRegOrg)
VELK_RECORD(CExtDirItemGRIProcView)
VELK_RECORD(CExtDirItemGRILeaf)
VELK_RECORD(EidmOrgFields)
VELK_RECORD(CExtDirItemEIDM)
VELK_RECORD(CExtDirItemCM)
#undef VELK_RECORD

const StoredDocument* StoredDocumentOf(ExtDirKind kind) {
  static const StoredDocument kHeader{forms::kGriHeader, "Saving GRI Header", "HeaderID",
                                      NewId::NoteId, true};
  static const StoredDocument kLeaf{forms::kGriLeaf, "Saving GRI Leaf", "LeafID",
                                    NewId::UniversalId, false};
  static const StoredDocument kEidmOrg{forms::kExtOrganization, "Saving EIDM Organization",
                                       "ExtOrgID", NewId::UniversalId, false};
  static const StoredDocument kEidm{forms::kExtClusterSpec, "Saving EIDM", "ExtClusterID",
                                    NewId::UniversalId, false};
  static const StoredDocument kContentManagement{forms::kContentManagement,
                                                 "Saving Content Management", "ContentManagementID",
                                                 NewId::NoteId, true};
  switch (kind) {
    case ExtDirKind::GRIProcView:
      return &kHeader;
    case ExtDirKind::GRILeaf:
      return &kLeaf;
    case ExtDirKind::EIDMOrg:
      return &kEidmOrg;
    case ExtDirKind::EIDM:
      return &kEidm;
    case ExtDirKind::CM:
      return &kContentManagement;
    default:
      return nullptr;
  }
}

}  // namespace velk
