#include "extdir/extdirrecords.h"

#include "repository/databasetemplates.h"
#include "repository/fieldaccess.h"
#include "repository/fieldtext.h"
#include "repository/store/lnencoding.h"
#include "repository/store/lnnote.h"
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
void ReadField(Services& services, const StoredField<R>& f, R& r, LNNote& note) {
  using Texts = std::vector<std::string>;
  switch (f.as) {
    case StoredAs::Text:
      r.*std::get<std::string R::*>(f.member) = GetFieldContent(services, f.item, note);
      break;
    case StoredAs::Integer:
      r.*std::get<int R::*>(f.member) = GetFieldIntContent(services, f.item, note);
      break;
    case StoredAs::Number:
      r.*std::get<int R::*>(f.member) = GetFieldNumberContent(services, f.item, note);
      break;
    case StoredAs::YesNo:
      r.*std::get<bool R::*>(f.member) = GetFieldBoolContent(services, f.item, note);
      break;
    case StoredAs::Word: {
      int code = 0;
      f.words->toCode(GetFieldContent(services, f.item, note), code);
      r.*std::get<int R::*>(f.member) = code;
      break;
    }
    case StoredAs::List:
    case StoredAs::Readers:
      GetFieldListContent(services, f.item, note, r.*std::get<Texts R::*>(f.member));
      break;
    case StoredAs::FieldEntries: {
      Texts texts;
      GetFieldListContent(services, f.item, note, texts);
      r.*std::get<std::vector<ExtDirFieldEntry> R::*>(f.member) = SplitFieldEntries(texts);
      break;
    }
  }
}

template <class R>
void WriteField(const StoredField<R>& f, const R& r, LNNote& note) {
  using Texts = std::vector<std::string>;
  const std::string item(f.item);
  switch (f.as) {
    case StoredAs::Text:
      SetFieldContent(item, r.*std::get<std::string R::*>(f.member), note);
      break;
    case StoredAs::Integer:
      SetFieldIntContent(item, r.*std::get<int R::*>(f.member), note);
      break;
    case StoredAs::Number:
      SetFieldNumberContent(item, r.*std::get<int R::*>(f.member), note);
      break;
    case StoredAs::YesNo:
      SetFieldBoolContent(item, r.*std::get<bool R::*>(f.member), note);
      break;
    case StoredAs::Word:
      SetFieldContent(item, f.words->toWord(r.*std::get<int R::*>(f.member)), note);
      break;
    case StoredAs::List:
      SetFieldListContent(item, note, r.*std::get<Texts R::*>(f.member));
      break;
    case StoredAs::Readers:
      SetFieldReadersContent(item, note, r.*std::get<Texts R::*>(f.member));
      break;
    case StoredAs::FieldEntries:
      SetFieldListContent(
          item, note, JoinFieldEntries(r.*std::get<std::vector<ExtDirFieldEntry> R::*>(f.member)));
      break;
  }
}

// The value of a field whose item the note lacks, as the readers give it.
template <class R>
void ReadMissing(const StoredField<R>& f, R& r) {
  using Texts = std::vector<std::string>;
  switch (f.as) {
    case StoredAs::Text:
      (r.*std::get<std::string R::*>(f.member)).clear();
      break;
    case StoredAs::Integer:
    case StoredAs::Number:
      r.*std::get<int R::*>(f.member) = 0;
      break;
    case StoredAs::YesNo:
      r.*std::get<bool R::*>(f.member) = false;
      break;
    case StoredAs::Word: {
      int code = 0;
      f.words->toCode(std::string(), code);
      r.*std::get<int R::*>(f.member) = code;
      break;
    }
    case StoredAs::List:
    case StoredAs::Readers:
      (r.*std::get<Texts R::*>(f.member)).clear();
      break;
    case StoredAs::FieldEntries:
      (r.*std::get<std::vector<ExtDirFieldEntry> R::*>(f.member)).clear();
      break;
  }
}

// Item `index` of the note into the field. An item of another type than the field
// takes goes the asking way, which reports it.
template <class R>
void ReadFieldAt(Services& services, const StoredField<R>& f, R& r, LNNote& note,
                 std::size_t index) {
  using Texts = std::vector<std::string>;
  const LNItemType type = note.GetItemType(index);
  if (type != (f.as == StoredAs::Number ? LNItemType::Numbers : LNItemType::Text)) {
    ReadField(services, f, r, note);
    return;
  }
  switch (f.as) {
    case StoredAs::Text:
      r.*std::get<std::string R::*>(f.member) = note.GetFirstTextAt(index);
      break;
    case StoredAs::Integer:
      r.*std::get<int R::*>(f.member) = ParseFieldInt(std::string(note.GetFirstTextAt(index)));
      break;
    case StoredAs::Number: {
      std::vector<double> numbers;
      note.GetNumbersAt(index, &numbers);
      r.*std::get<int R::*>(f.member) = numbers.empty() ? 0 : TruncateToInt(numbers.front());
      break;
    }
    case StoredAs::YesNo:
      r.*std::get<bool R::*>(f.member) = note.GetFirstTextAt(index) == "Yes";
      break;
    case StoredAs::Word: {
      int code = 0;
      f.words->toCode(std::string(note.GetFirstTextAt(index)), code);
      r.*std::get<int R::*>(f.member) = code;
      break;
    }
    case StoredAs::List:
    case StoredAs::Readers:
      note.GetTextsAt(index, &(r.*std::get<Texts R::*>(f.member)));
      break;
    case StoredAs::FieldEntries: {
      Texts texts;
      note.GetTextsAt(index, &texts);
      r.*std::get<std::vector<ExtDirFieldEntry> R::*>(f.member) = SplitFieldEntries(texts);
      break;
    }
  }
}

// The store's name bit of each field, and of them all: most items that are no
// field, and most fields that are not the item, fail on the bit.
template <class R>
struct FieldBits {
  explicit FieldBits(const StoredFields<R>& fields) {
    for (const StoredField<R>& f : fields) all |= each.emplace_back(lnstore::NameBit(f.item));
  }
  std::vector<std::uint64_t> each;
  std::uint64_t all = 0;
};

// The field named `name` (any case), looked for from `from` on: items mostly come
// in the order the fields are written. -1 when the item is not a field.
template <class R>
int FieldNamed(const StoredFields<R>& fields, const FieldBits<R>& bits, std::string_view name,
               std::size_t from) {
  const std::uint64_t bit = lnstore::NameBit(name);
  if (!(bits.all & bit)) return -1;
  const std::size_t count = fields.size();
  for (std::size_t tried = 0, i = from < count ? from : 0; tried < count;
       ++tried, i = i + 1 == count ? 0 : i + 1) {
    if (bits.each[i] != bit) continue;
    const std::string_view item = fields[i].item;
    if (item == name || lnstore::SameName(item, name)) return static_cast<int>(i);
  }
  return -1;
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

// One walk over the note's items: a document holds a few of the fields its
// record describes, and asking for each of the others cost most of a load.
template <class Record>
void ReadFields(Services& services, Record& record, LNNote& note) {
  const StoredFields<Record>& fields = FieldsOf<Record>();
  static const FieldBits<Record> bits(fields);
  if (!note.IsOpen() || fields.size() > 64) {  // the asking way reports a closed note
    for (const StoredField<Record>& field : fields) ReadField(services, field, record, note);
    return;
  }
  std::uint64_t found = 0;
  std::size_t next = 0;
  for (std::size_t index = 0, count = note.GetItemCount(); index < count; ++index) {
    const int f = FieldNamed(fields, bits, note.GetItemName(index), next);
    if (f < 0) continue;
    found |= std::uint64_t{1} << f;
    next = static_cast<std::size_t>(f) + 1;
    ReadFieldAt(services, fields[static_cast<std::size_t>(f)], record, note, index);
  }
  for (std::size_t f = 0; f < fields.size(); ++f)
    if (!(found >> f & 1)) ReadMissing(fields[f], record);
}

template <class Record>
void WriteFields(const Record& record, LNNote& note) {
  for (const StoredField<Record>& field : FieldsOf<Record>()) WriteField(field, record, note);
}

#define VELK_RECORD(Record)                                      \
  template void ReadFields<Record>(Services&, Record&, LNNote&); \
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

namespace {

template <class Record>
void AddItems(std::vector<FormItem>& items) {
  for (const StoredField<Record>& field : FieldsOf<Record>())
    items.emplace_back(std::string(field.item),
                       field.as == StoredAs::Number ? LNItemType::Numbers : LNItemType::Text);
}

// The key item leads or closes the items as the save writes it.
template <class Record>
FormDesign SavedForm(ExtDirKind kind) {
  const StoredDocument& stored = *StoredDocumentOf(kind);
  std::vector<FormItem> items;
  if (stored.keyFirst) items.emplace_back(stored.keyItem, LNItemType::Text);
  AddItems<Record>(items);
  if (!stored.keyFirst) items.emplace_back(stored.keyItem, LNItemType::Text);
  return DescribedForm(stored.form, items);
}

template <class Record>
FormDesign ReadForm(const char* form, std::vector<FormItem> others = {}) {
  std::vector<FormItem> items;
  AddItems<Record>(items);
  items.insert(items.end(), others.begin(), others.end());
  return DescribedForm(form, items);
}

}  // namespace

std::vector<FormDesign> ExternalDirectoryForms() {
  return {
      SavedForm<CExtDirItemCM>(ExtDirKind::CM),
      ReadForm<ContentBlockRecord>(forms::kContentBlock),
      ReadForm<DocumentTypeRecord>(forms::kDocumentType),
      // The People view sorts by the name parts, which the modeler never reads.
      ReadForm<CExtDirItemExtRegOrg>(forms::kPerson, {FormItem("LastName"), FormItem("FirstName")}),
      SavedForm<CExtDirItemEIDM>(ExtDirKind::EIDM),
      SavedForm<EidmOrgFields>(ExtDirKind::EIDMOrg),
      SavedForm<CExtDirItemGRIProcView>(ExtDirKind::GRIProcView),
      SavedForm<CExtDirItemGRILeaf>(ExtDirKind::GRILeaf),
      // Written by the engine; the modeler reads none of it.
      DescribedForm(forms::kIriLeaf, {FormItem("LeafID"), FormItem("ApplicationDB"),
                                      FormItem("WorkflowID"), FormItem("wfID")}),
  };
}

}  // namespace velk
