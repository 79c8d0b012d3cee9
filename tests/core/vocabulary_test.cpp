#include "repository/vocabulary.h"

#include <gtest/gtest.h>

#include <cctype>

namespace {

// The stored words of a vocabulary: other programs read and write them as they are.
struct Vocabulary {
  const char* name;
  std::string (*toWord)(int);
  void (*toCode)(const std::string&, int&);
  const std::vector<std::string>& (*words)();
  std::vector<std::string> expectedWords;
  int writeFallback;  // the code whose word an unknown code writes
  int readDefault;    // what an unknown word reads as; kKept: the caller's value stays
};
constexpr int kKept = 42;
#define VOCABULARY(Name) #Name, Name##ToWord, WordTo##Name, Name##Words

const Vocabulary kVocabularies[] = {
    {VOCABULARY(WorkflowStatus), {"Design", "Active", "Freeze", "Template", "Testing"}, 0, 0},
    {VOCABULARY(WorkflowType), {"Normal", "ICDR", "CDDR", "Referenced"}, 0, 0},
    {VOCABULARY(OrganisationKind), {"Person", "Unit", "Workgroup", "Role"}, 0, 0},
    {VOCABULARY(TrackingMode), {"Never", "Send", "Self", "Mix"}, 0, 0},
    {VOCABULARY(TaskKind),
     {"Intern", "In", "Out", "IWC", "ICDR", "CDDR", "Extern", "ExtWFTask", "EIDM"},
     0,
     0},
    {VOCABULARY(DurationUnit), {"h", "d", "w", "m"}, 3, 0},
    {VOCABULARY(ContentManagementKind), {"Standard", "Control", "Adhoc", "Free"}, 0, kKept},
    {VOCABULARY(DirectoryEntryStatus), {"Design", "Active", "Archive"}, 1, 1},
    {VOCABULARY(EidmState),
     {"Created", "Submitted", "Performed", "Published and notified", "Denied", "Canceled",
      "Expired", "Mail not deliverable"},
     3,
     0},
    {VOCABULARY(PublishingMode), {"Publish to all", "Publish to WWW", "Publish selective"}, 0, 0},
};

TEST(Vocabulary, EveryCodeIsWrittenAsItsWordAndReadsBackAsItself) {
  for (const Vocabulary& v : kVocabularies) {
    SCOPED_TRACE(v.name);
    EXPECT_EQ(v.words(), v.expectedWords);
    for (int code = 0; code < static_cast<int>(v.expectedWords.size()); ++code) {
      const std::string word = v.toWord(code);
      EXPECT_EQ(word, v.expectedWords[code]);
      int read = -99;
      v.toCode(word, read);
      EXPECT_EQ(read, code) << word;
    }
  }
}

// Words match exactly: another case, a blank before or no word at all is unknown.
TEST(Vocabulary, UnknownCodesWriteTheFallbackWordAndUnknownWordsReadAsTheDefault) {
  for (const Vocabulary& v : kVocabularies) {
    SCOPED_TRACE(v.name);
    const int size = static_cast<int>(v.expectedWords.size());
    for (int code : {-1, size, size + 5})
      EXPECT_EQ(v.toWord(code), v.expectedWords[v.writeFallback]) << code;
    std::string otherCase = v.expectedWords[1];
    const unsigned char first = static_cast<unsigned char>(otherCase[0]);
    otherCase[0] =
        static_cast<char>(std::isupper(first) ? std::tolower(first) : std::toupper(first));
    for (const std::string& word : {std::string(), " " + v.expectedWords[1], otherCase}) {
      int code = kKept;
      v.toCode(word, code);
      EXPECT_EQ(code, v.readDefault) << '"' << word << '"';
    }
  }
}

}  // namespace
