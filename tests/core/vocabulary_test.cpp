#include "repository/vocabulary.h"

#include <gtest/gtest.h>

namespace {

struct VocabularyCase {
  const char* name;
  std::string (*toWord)(int);
  void (*toCode)(const std::string&, int&);
  const std::vector<std::string>& (*words)();
  std::vector<std::string> expectedWords;
};

const std::vector<VocabularyCase>& AllVocabularies() {
  static const std::vector<VocabularyCase> cases = {
      {"workflow status",
       WorkflowStatusToWord,
       WordToWorkflowStatus,
       WorkflowStatusWords,
       {"Design", "Active", "Freeze", "Template", "Testing"}},
      {"workflow type",
       WorkflowTypeToWord,
       WordToWorkflowType,
       WorkflowTypeWords,
       {"Normal", "ICDR", "CDDR", "Referenced"}},
      {"organisation kind",
       OrganisationKindToWord,
       WordToOrganisationKind,
       OrganisationKindWords,
       {"Person", "Unit", "Workgroup", "Role"}},
      {"tracking mode",
       TrackingModeToWord,
       WordToTrackingMode,
       TrackingModeWords,
       {"Never", "Send", "Self", "Mix"}},
      {"task kind",
       TaskKindToWord,
       WordToTaskKind,
       TaskKindWords,
       {"Intern", "In", "Out", "IWC", "ICDR", "CDDR", "Extern", "ExtWFTask", "EIDM"}},
      {"duration unit",
       DurationUnitToWord,
       WordToDurationUnit,
       DurationUnitWords,
       {"h", "d", "w", "m"}},
      {"content management kind",
       ContentManagementKindToWord,
       WordToContentManagementKind,
       ContentManagementKindWords,
       {"Standard", "Control", "Adhoc", "Free"}},
      {"directory entry status",
       DirectoryEntryStatusToWord,
       WordToDirectoryEntryStatus,
       DirectoryEntryStatusWords,
       {"Design", "Active", "Archive"}},
      {"EIDM state",
       EidmStateToWord,
       WordToEidmState,
       EidmStateWords,
       {"Created", "Submitted", "Performed", "Published and notified", "Denied", "Canceled",
        "Expired", "Mail not deliverable"}},
      {"publishing mode",
       PublishingModeToWord,
       WordToPublishingMode,
       PublishingModeWords,
       {"Publish to all", "Publish to WWW", "Publish selective"}},
  };
  return cases;
}

TEST(Vocabulary, EveryCodeIsWrittenAsItsWordAndReadsBackAsItself) {
  for (const auto& v : AllVocabularies()) {
    SCOPED_TRACE(v.name);
    EXPECT_EQ(v.words(), v.expectedWords);
    for (int code = 0; code < static_cast<int>(v.expectedWords.size()); ++code) {
      std::string word = v.toWord(code);
      EXPECT_EQ(word, v.expectedWords[code]);
      int read = -99;
      v.toCode(word, read);
      EXPECT_EQ(read, code) << word;
    }
  }
}

TEST(Vocabulary, UnknownCodesWriteTheFallbackWord) {
  struct Case {
    std::string (*toWord)(int);
    int code;
    const char* expected;
  };
  const Case cases[] = {
      {WorkflowStatusToWord, 7, "Design"},
      {WorkflowStatusToWord, -1, "Design"},
      {WorkflowTypeToWord, 4, "Normal"},
      {OrganisationKindToWord, 4, "Person"},
      {TrackingModeToWord, -5, "Never"},
      {TaskKindToWord, 9, "Intern"},
      {DurationUnitToWord, 9, "m"},
      {DurationUnitToWord, -1, "m"},
      {ContentManagementKindToWord, 4, "Standard"},
      {DirectoryEntryStatusToWord, 3, "Active"},
      {DirectoryEntryStatusToWord, -1, "Active"},
      {EidmStateToWord, 8, "Published and notified"},
      {EidmStateToWord, -1, "Published and notified"},
      {PublishingModeToWord, 3, "Publish to all"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.toWord(c.code), c.expected) << c.code;
}

TEST(Vocabulary, UnknownWordsReadAsTheDefaultCodeOrLeaveIt) {
  struct Case {
    void (*toCode)(const std::string&, int&);
    const char* word;
    int expected;
  };
  const Case cases[] = {
      {WordToWorkflowStatus, "active", 0},   // case matters
      {WordToWorkflowStatus, " Active", 0},  // no trimming
      {WordToWorkflowType, "", 0},
      {WordToOrganisationKind, "role", 0},
      {WordToTrackingMode, "Always", 0},
      {WordToTaskKind, "Normal", 0},
      {WordToDurationUnit, "", 0},  // hours
      {WordToDurationUnit, "H", 0},
      {WordToDirectoryEntryStatus, "", 1},  // "Active", not 0
      {WordToDirectoryEntryStatus, "design", 1},
      {WordToEidmState, "Published", 0},
      {WordToPublishingMode, "Publish to www", 0},
      // Unlike the others, an unknown content management word leaves the caller's value.
      {WordToContentManagementKind, "standard", 42},
      {WordToContentManagementKind, "", 42},
  };
  for (const auto& c : cases) {
    int code = 42;
    c.toCode(c.word, code);
    EXPECT_EQ(code, c.expected) << '"' << c.word << '"';
  }
}

}  // namespace
