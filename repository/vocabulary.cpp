#include "repository/vocabulary.h"

#include <algorithm>
#include <optional>

namespace {

struct Vocabulary {
  std::vector<std::string> words;  // index = code
  int writeFallback;               // code whose word an unknown code writes
  std::optional<int> readDefault;  // code an unknown word gives; none: leave as is
};

std::string ToWord(const Vocabulary& v, int code) {
  if (code >= 0 && static_cast<std::size_t>(code) < v.words.size()) return v.words[code];
  return v.words[v.writeFallback];
}

void ToCode(const Vocabulary& v, const std::string& word, int& code) {
  if (v.readDefault) code = *v.readDefault;
  auto it = std::find(v.words.begin(), v.words.end(), word);
  if (it != v.words.end()) code = static_cast<int>(it - v.words.begin());
}

}  // namespace

// Tables are function-local statics so that other files may use them while their
// own statics are being initialised.
#define VELK_VOCABULARY(Name, ...)                        \
  namespace {                                             \
  const Vocabulary& Name##Table() {                       \
    static const Vocabulary table{__VA_ARGS__};           \
    return table;                                         \
  }                                                       \
  }                                                       \
  std::string Name##ToWord(int code) {                    \
    return ToWord(Name##Table(), code);                   \
  }                                                       \
  void WordTo##Name(const std::string& word, int& code) { \
    ToCode(Name##Table(), word, code);                    \
  }                                                       \
  const std::vector<std::string>& Name##Words() {         \
    return Name##Table().words;                           \
  }

VELK_VOCABULARY(WorkflowStatus, {"Design", "Active", "Freeze", "Template", "Testing"}, 0, 0)
// "Referenced" reads back as 3, so every written code reads as itself.
VELK_VOCABULARY(WorkflowType, {"Normal", "ICDR", "CDDR", "Referenced"}, 0, 0)
VELK_VOCABULARY(OrganisationKind, {"Person", "Unit", "Workgroup", "Role"}, 0, 0)
VELK_VOCABULARY(TrackingMode, {"Never", "Send", "Self", "Mix"}, 0, 0)
VELK_VOCABULARY(TaskKind,
                {"Intern", "In", "Out", "IWC", "ICDR", "CDDR", "Extern", "ExtWFTask", "EIDM"}, 0, 0)
VELK_VOCABULARY(DurationUnit, {"h", "d", "w", "m"}, 3, 0)
VELK_VOCABULARY(ContentManagementKind, {"Standard", "Control", "Adhoc", "Free"}, 0, std::nullopt)
VELK_VOCABULARY(DirectoryEntryStatus, {"Design", "Active", "Archive"}, 1, 1)
// "Published and notified" reads back as 3, like the code that writes it.
VELK_VOCABULARY(EidmState,
                {"Created", "Submitted", "Performed", "Published and notified", "Denied",
                 "Canceled", "Expired", "Mail not deliverable"},
                3, 0)
VELK_VOCABULARY(PublishingMode, {"Publish to all", "Publish to WWW", "Publish selective"}, 0, 0)

#undef VELK_VOCABULARY
