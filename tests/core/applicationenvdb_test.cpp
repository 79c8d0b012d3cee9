#include "repository/applicationenvdb.h"

#include <gtest/gtest.h>

#include "core/repositoryfixture.h"
#include "repository/identity.h"
#include "repository/noteserror.h"

namespace velk {
namespace {

using Strings = std::vector<std::string>;
constexpr const char* kCategory = kApplicationEnvCategory;

class ApplicationEnvDbTest : public RepositoryTest {
 protected:
  // The full design (its "Configuration" form is no application form) plus `forms`.
  LNDatabase NewAppEnv(const std::vector<FormDesign>& forms, bool withConfiguration = true) {
    LNDatabase db = NewDatabaseOfKind(DatabaseKind::ApplicationEnvironment, "appenv.nsf");
    for (const FormDesign& f : forms) EXPECT_EQ(db.CreateForm(f.title, f.fields), LNNOERROR);
    if (withConfiguration) {
      AddDocument(db, forms::kConfiguration,
                  {{"ConfigKey", {"ReplicaID"}}, {"wfOfficeMail", {"Office/Acme"}}});
    }
    return db;
  }

  // The form design note titled `title`, open.
  static LNForm FormTitled(LNDatabase& db, const std::string& title) {
    std::vector<LNForm> forms;
    EXPECT_EQ(db.GetForms(&forms), LNNOERROR);
    for (LNForm& form : forms) {
      LNText text;
      if (form.Open() == LNNOERROR && form.GetItem("$TITLE", &text) == LNNOERROR &&
          text[0] == title)
        return form;
    }
    ADD_FAILURE() << "no form " << title;
    return {};
  }

  CApplicationEnvDb Load(const std::string& path = "appenv.nsf") {
    return {ui_, session_, path, {}, nullptr};
  }

  static Strings Names(const CApplicationEnvDb& appEnv) {
    Strings names;
    for (const FormRecord& f : appEnv.Forms()) names.push_back(f.name);
    return names;
  }
};

TEST(ApplicationFormRules, TitlesNeedAnUpperCaseGfAndFieldsLoseTheEnginesOwnNames) {
  const std::pair<const char*, bool> titles[] = {
      {"Order|GF_Order", true}, {"GF", true}, {"Order", false}, {"gf_order", false}, {"Gf", false}};
  for (const auto& [title, expected] : titles)
    EXPECT_EQ(IsApplicationFormTitle(title), expected) << title;
  const std::pair<const char*, bool> fields[] = {
      {"Amount", true},    {"Customer_tmp", true}, {"TmpSum", true}, {"tmpSum", false},
      {"wfStatus", false}, {"$Body", false},       {"", false}};
  for (const auto& [field, expected] : fields)
    EXPECT_EQ(IsApplicationFieldName(field), expected) << field;
}

TEST_F(ApplicationEnvDbTest, ReadsOfficeMailAndOnlyApplicationFormsAgainOnAReload) {
  LNDatabase db = NewAppEnv({{"Order|GF_Order", {"tmpSum", "wfStatus", "$Body", "Amount"}},
                             {"Order", {"Amount"}},
                             {"Invoice|gf_invoice", {"Amount"}},
                             {"GF_Empty", {}}});
  db.Close();
  CApplicationEnvDb appEnv = Load();
  EXPECT_EQ(appEnv.OfficeMail(), "Office/Acme");
  EXPECT_EQ(appEnv.Forms(),
            (std::vector<FormRecord>{{"Order|GF_Order", {"Amount"}}, {"GF_Empty", {}}}));
  EXPECT_EQ(Summary(kCategory), (Strings{"0|Reading forms in Application Environment Database"}));
  EXPECT_EQ(appEnv.Title(), "VELK Application Environment");
  EXPECT_EQ(ui_.currentStatus(), "");

  ASSERT_EQ(db.Open(), LNNOERROR);
  ASSERT_EQ(db.CreateForm("GF_Invoice", {"Total"}), LNNOERROR);
  db.Close();
  ASSERT_TRUE(appEnv.ReloadForms());
  EXPECT_EQ(Names(appEnv), (Strings{"Order|GF_Order", "GF_Empty", "GF_Invoice"}));
  EXPECT_EQ(appEnv.OfficeMail(), "Office/Acme");
  EXPECT_EQ(ui_.waitDepth, 0);
}

TEST_F(ApplicationEnvDbTest, MissingConfigurationDocumentIsANoticeAndFormsAreStillRead) {
  NewAppEnv({{"GF_Order", {"Amount"}}}, false).Close();
  CApplicationEnvDb appEnv = Load();
  EXPECT_EQ(appEnv.OfficeMail(), "");
  EXPECT_EQ(Names(appEnv), (Strings{"GF_Order"}));
  EXPECT_EQ(Summary(kCategory), (Strings{"1|Loading Application Configuration Document",
                                         "0|Reading forms in Application Environment Database"}));
  EXPECT_TRUE(Entries(kCategory)[0].text.starts_with(
      "Loading Application Configuration Document was unsuccessful, because "));
}

TEST_F(ApplicationEnvDbTest, MissingConfigurationViewIsAnErrorAndFormsAreStillRead) {
  LNDatabase db = NewDatabaseWithViews("appenv.nsf", {{views::kConfiguration, {}, "ConfigKey"}});
  ASSERT_EQ(db.CreateForm("GF_Order", {"Amount"}), LNNOERROR);
  db.Close();
  CApplicationEnvDb appEnv = Load();
  EXPECT_EQ(Names(appEnv), (Strings{"GF_Order"}));
  ASSERT_EQ(Summary(kCategory), (Strings{"3|Opening view (Z. Runtime\\Configuration)",
                                         "0|Reading forms in Application Environment Database"}));
  EXPECT_EQ(
      Entries(kCategory)[0].text,
      GetNotesErrorText(LNERR_VIEW_NOT_FOUND) +
          "The chosen Application database could not be opened properly,\r\nbecause it has "
          "no view (Z. Runtime\\Configuration). Maybe this database is no\r\nVELK-database or "
          "from a former version of VELK. Please choose another one.");
}

TEST_F(ApplicationEnvDbTest, FormWithoutFieldListEndsTheFormsAfterTheOnesBefore) {
  LNDatabase db = NewAppEnv({{"GF_First", {"Amount"}}, {"GF_Broken", {}}, {"GF_Last", {"Amount"}}});
  // A form design note holding a title but no "$Fields".
  LNForm broken = FormTitled(db, "GF_Broken");
  ASSERT_EQ(broken.DeleteItem("$Fields"), LNNOERROR);
  ASSERT_EQ(broken.Save(), LNNOERROR);
  db.Close();

  CApplicationEnvDb appEnv = Load();
  EXPECT_EQ(Names(appEnv), (Strings{"GF_First"}));
  ASSERT_EQ(Summary(kCategory), (Strings{"3|Reading forms of Application Environment Database"}));
  EXPECT_EQ(Entries(kCategory)[0].text,
            GetNotesErrorText(LNERR_ITEM_NOT_FOUND) +
                "The Application Environment Database form GF_Broken\r\nhas no field \"$Fields\"");
  EXPECT_EQ(ui_.waitDepth, 0);
}

TEST_F(ApplicationEnvDbTest, FormWhoseTitleIsNoTextIsSkippedWithAWarningAndNoMessageBox) {
  LNDatabase db = NewAppEnv({{"GF_Odd", {"Amount"}}, {"GF_Order", {"Amount"}}});
  LNForm odd = FormTitled(db, "GF_Odd");
  ASSERT_EQ(odd.CreateItem("$TITLE", LNNumbers(7.0), LNITEMFLAGS_SUMMARY, LNITEMOPTION_REPLACE),
            LNNOERROR);
  ASSERT_EQ(odd.Save(), LNNOERROR);
  db.Close();

  CApplicationEnvDb appEnv = Load();
  EXPECT_TRUE(ui_.messages.empty());
  EXPECT_EQ(Names(appEnv), (Strings{"GF_Order"}));
  ASSERT_EQ(Summary(kCategory), (Strings{"2|Skipping form of Application Environment Database",
                                         "0|Reading forms in Application Environment Database"}));
  EXPECT_EQ(Entries(kCategory)[0].text,
            "The Application Environment Database form with note id " +
                FormatNoteId(odd.GetNoteID()) +
                " is skipped, because its item \"$TITLE\" holds no text.");
}

TEST_F(ApplicationEnvDbTest, DatabaseThatCannotBeOpenedIsReportedAndLeavesIdentityEmpty) {
  CApplicationEnvDb appEnv = Load("missing.nsf");
  EXPECT_TRUE(appEnv.Path().empty() && appEnv.ReplicaId().empty() && appEnv.Forms().empty());
  ASSERT_EQ(Summary(kCategory), (Strings{"3|Opening Application Environment Database"}));
  EXPECT_FALSE(appEnv.ReloadForms());
  EXPECT_EQ(Summary(kCategory), (Strings{"3|Opening database"}));
  EXPECT_EQ(ui_.waitDepth, 0);
}

}  // namespace
}  // namespace velk
