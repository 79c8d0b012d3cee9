#include <gtest/gtest.h>

#include <variant>

#include "core/extdirfixture.h"
#include "extdir/extdirrecords.h"
#include "repository/vocabulary.h"

namespace velk {
namespace {

// A code of the vocabulary other than what a missing item reads as, varying
// with `n` so that two fields of one vocabulary differ.
int CodeFor(const WordConverter& words, int n) {
  const int count = static_cast<int>(words.words().size());
  int missing = 0;
  words.toCode("", missing);
  const int code = n % count;
  return code == missing ? (code + 1) % count : code;
}

template <class R>
void Fill(R& record) {
  int n = 0;
  for (const StoredField<R>& f : FieldsOf<R>()) {
    const std::string text = std::string(f.item) + "-" + std::to_string(++n);
    std::visit(
        [&](auto member) {
          using Value = std::remove_reference_t<decltype(record.*member)>;
          if constexpr (std::is_same_v<Value, std::string>)
            record.*member = text;
          else if constexpr (std::is_same_v<Value, int>)
            record.*member = f.words ? CodeFor(*f.words, n) : 100 + n;
          else if constexpr (std::is_same_v<Value, bool>)
            record.*member = true;
          else if constexpr (std::is_same_v<Value, std::vector<std::string>>)
            record.*member = {text, text + "b"};
          else
            record.*member = {{text, "Text", "a/b"}, {"x", "", ""}};
        },
        f.member);
  }
}

template <class R>
void ExpectSameFields(const R* loaded, const R& saved) {
  ASSERT_NE(loaded, nullptr);
  for (const StoredField<R>& f : FieldsOf<R>())
    std::visit([&](auto member) { EXPECT_TRUE(loaded->*member == saved.*member) << f.item; },
               f.member);
}

template <class R>
void AddRecord(LNDatabase& db, const char* form, const R& record) {
  LNDocument doc;
  ASSERT_EQ(db.CreateDocument(&doc, form), LNNOERROR);
  WriteFields(record, doc);
  ASSERT_EQ(doc.Save(), LNNOERROR);
}

template <class Item>
const Item* Loaded(CExtDirData& data, const CExtDirItem& saved) {
  EXPECT_FALSE(saved.ID.empty()) << saved.GetClassName();
  return dynamic_cast<const Item*>(data.FindItemById(saved.ID));
}

TEST_F(ExtDirTest, EveryStoredFieldOfEveryRecordIsSavedAndLoadedBack) {
  LNDatabase db = NewDirectory();
  ContentBlockRecord block;
  DocumentTypeRecord type;
  auto saved = Load();
  CExtDirItemExtRegOrg person(*saved);
  Fill(block), Fill(type), Fill(person);
  // The modeler reads these and never writes them.
  AddRecord(db, forms::kContentBlock, block);
  AddRecord(db, forms::kDocumentType, type);
  AddRecord(db, forms::kPerson, person);
  db.Close();

  auto& header = saved->Append<CExtDirItemGRIProcView>();
  auto& leaf = saved->Append<CExtDirItemGRILeaf>();
  auto& org = saved->Append<CExtDirItemEIDMOrg>();
  auto& request = saved->Append<CExtDirItemEIDM>();
  auto& cm = saved->Append<CExtDirItemCM>();
  Fill(header), Fill(leaf), Fill(org.Fields()), Fill(request), Fill(cm);
  header.Direction = kOffered;  // any other direction is read as published
  leaf.PublishTo = 2;           // set here too: the field table alone would miss a lost item
  for (CExtDirItem* item : std::initializer_list<CExtDirItem*>{&header, &leaf, &org, &cm})
    item->SetModified();
  ASSERT_TRUE(saved->SaveAll());

  auto loaded = Load();
  ASSERT_EQ(loaded->ContentBlocks().size(), 1u);
  ExpectSameFields(&loaded->ContentBlocks().front(), block);
  ASSERT_EQ(loaded->DocumentTypes().size(), 1u);
  ExpectSameFields(&loaded->DocumentTypes().front(), type);
  ASSERT_EQ(loaded->ItemsOf<CExtDirItemExtRegOrg>().size(), 1u);
  ExpectSameFields<CExtDirItemExtRegOrg>(loaded->ItemsOf<CExtDirItemExtRegOrg>().front(), person);
  ExpectSameFields(Loaded<CExtDirItemGRIProcView>(*loaded, header), header);
  const CExtDirItemGRILeaf* loadedLeaf = loaded->LoadLeafById(leaf.ID);
  ExpectSameFields(loadedLeaf, leaf);
  EXPECT_EQ(loadedLeaf ? loadedLeaf->PublishTo : -1, 2);
  const auto* loadedOrg = Loaded<CExtDirItemEIDMOrg>(*loaded, org);
  ExpectSameFields(loadedOrg ? &loadedOrg->Fields() : nullptr, org.Fields());
  const auto* loadedRequest = Loaded<CExtDirItemEIDM>(*loaded, request);
  ExpectSameFields(loadedRequest, request);
  EXPECT_EQ(loadedRequest ? loadedRequest->ExtClusterID : "", request.ID);
  ExpectSameFields(Loaded<CExtDirItemCM>(*loaded, cm), cm);
}

// A document written by hand or another program: names in any case and order,
// items no field reads, fields it lacks, and an item of the wrong type.
TEST_F(ExtDirTest, FieldsAreReadWhateverTheCaseOrOrderAndAMistypedItemIsReported) {
  LNDatabase db = NewDirectory();
  LNDocument doc;
  ASSERT_EQ(db.CreateDocument(&doc, forms::kExtClusterSpec), LNNOERROR);
  ASSERT_EQ(doc.CreateItem("Remark", LNText("not a field")), LNNOERROR);
  ASSERT_EQ(doc.CreateItem("extclusterresponsible", LNText(std::vector<std::string>{"A", "B"})),
            LNNOERROR);
  ASSERT_EQ(doc.CreateItem("EXTCLUSTERVERSION", LNText("7")), LNNOERROR);
  ASSERT_EQ(doc.CreateItem("ExtClusterExpectedDuration", LNText("5")), LNNOERROR);
  ASSERT_EQ(doc.CreateItem("ExtClusterConfirmedDuration", LNNumbers(3.9)), LNNOERROR);
  ASSERT_EQ(doc.CreateItem("ExtClusterName", LNText("Ship")), LNNOERROR);
  auto data = Load();
  CExtDirItemEIDM request(*data);
  Fill(request);  // what a missing item must not leave behind
  ReadFields(ui_, request, doc);
  // Read whatever the case; a number truncated; a mistyped or missing item left empty.
  EXPECT_EQ(std::tie(request.ExtClusterName, request.ExtClusterVersion,
                     request.ExtClusterResponsible, request.ExtClusterConfirmedDuration,
                     request.ExtClusterExpectedDuration, request.ExtClusterGoal, request.Readers),
            std::tuple("Ship", 7, std::vector<std::string>{"A", "B"}, 3, 0, "",
                       std::vector<std::string>{}));
  int missingStatus = -1;
  WordToEidmState("", missingStatus);
  EXPECT_EQ(request.ExtClusterStatus, missingStatus);
  ASSERT_EQ(ui_.messages.size(), 1u);
  EXPECT_NE(ui_.messages.front().text.find("ExtClusterExpectedDuration"), std::string::npos);

  // Held as stored, not as written: the same fields.
  ASSERT_EQ(doc.Save(), LNNOERROR);
  db.Close();
  auto loaded = Load();
  ASSERT_EQ(loaded->ItemsOf<CExtDirItemEIDM>().size(), 1u);
  ExpectSameFields<CExtDirItemEIDM>(loaded->ItemsOf<CExtDirItemEIDM>().front(), request);
  EXPECT_EQ(ui_.messages.size(), 2u);
}

}  // namespace
}  // namespace velk
