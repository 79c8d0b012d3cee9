// The @functions the formula checker knows, with the number of arguments each takes.
// Argument ranges are generous where a function has several forms.

#include <algorithm>
#include <iterator>

#include "repository/store/lnformulaparser.h"

namespace lnstore::formula {

namespace {

constexpr int N = kManyArgs;
constexpr unsigned S = kStatementArgs;

// clang-format off
constexpr FunctionInfo kFunctions[] = {
    {"Abs", 1, 1, 0}, {"Accessed", 0, 0, 0}, {"ACos", 1, 1, 0}, {"AddToFolder", 2, 2, 0},
    {"Adjust", 7, 8, 0}, {"All", 0, 0, 0}, {"Ascii", 1, 2, 0}, {"ASin", 1, 1, 0},
    {"ATan", 1, 1, 0}, {"ATan2", 2, 2, 0}, {"AttachmentNames", 0, 1, 0},
    {"Attachments", 0, 1, 0}, {"Author", 0, 0, 0}, {"Begins", 2, 2, 0},
    {"BusinessDays", 2, 4, 0}, {"Char", 1, 1, 0}, {"CheckFormulaSyntax", 1, 1, 0},
    {"ClientType", 0, 0, 0}, {"Command", 1, N, 0}, {"Compare", 2, 3, 0},
    {"Contains", 2, 2, 0}, {"Cos", 1, 1, 0}, {"Count", 1, 1, 0}, {"Created", 0, 0, 0},
    {"Date", 1, 6, 0}, {"Day", 1, 1, 0}, {"DbColumn", 4, 8, 0}, {"DbLookup", 5, 9, 0},
    {"DbManager", 0, 0, 0}, {"DbName", 0, 0, 0}, {"DbTitle", 0, 0, 0},
    {"DeleteDocument", 0, 0, 0}, {"DeleteField", 0, 0, 0}, {"Do", 1, N, S},
    {"DocumentUniqueID", 0, 0, 0}, {"DoWhile", 2, N, S}, {"Elements", 1, 1, 0},
    {"Ends", 2, 2, 0}, {"Environment", 1, 2, 0}, {"Error", 0, 0, 0}, {"Eval", 1, 1, 0},
    {"Exp", 1, 1, 0}, {"Explode", 1, 4, 0}, {"Failure", 1, 1, 0}, {"False", 0, 0, 0},
    {"FloatEq", 2, 3, 0}, {"For", 4, N, S}, {"GetDocField", 2, 2, 0}, {"GetField", 1, 1, 0},
    {"GetProfileField", 2, 3, 0}, {"Hash", 1, 1, 0}, {"HashPassword", 1, 1, 0},
    {"Hour", 1, 1, 0}, {"If", 3, N, S | kOddArgs}, {"Implode", 1, 2, 0},
    {"InheritedDocumentUniqueID", 0, 2, 0}, {"Integer", 1, 1, 0}, {"IsAvailable", 1, 1, 0},
    {"IsCategory", 0, 2, 0}, {"IsDocBeingSaved", 0, 0, 0}, {"IsError", 1, 1, 0},
    {"IsMember", 2, 2, 0}, {"IsNewDoc", 0, 0, 0}, {"IsNotMember", 2, 2, 0},
    {"IsNull", 1, 1, 0}, {"IsNumber", 1, 1, 0}, {"IsResponseDoc", 0, 0, 0},
    {"IsText", 1, 1, 0}, {"IsTime", 1, 1, 0}, {"IsUnavailable", 1, 1, 0},
    {"IsValid", 0, 0, 0}, {"Keywords", 2, 3, 0}, {"Left", 2, 2, 0}, {"LeftBack", 2, 2, 0},
    {"Length", 1, 1, 0}, {"Like", 2, 3, 0}, {"Ln", 1, 1, 0}, {"Log", 1, 1, 0},
    {"LowerCase", 1, 1, 0}, {"MailDbName", 0, 0, 0}, {"MailSend", 0, 7, 0},
    {"Matches", 2, 2, 0}, {"Max", 1, N, 0}, {"Member", 2, 2, 0}, {"Middle", 3, 3, 0},
    {"MiddleBack", 3, 3, 0}, {"Min", 1, N, 0}, {"Minute", 1, 1, 0}, {"Modified", 0, 0, 0},
    {"Modulo", 2, 2, 0}, {"Month", 1, 1, 0}, {"Name", 2, 2, 0}, {"NewLine", 0, 0, 0},
    {"No", 0, 0, 0}, {"NoteID", 0, 0, 0}, {"Nothing", 0, 0, 0}, {"Now", 0, 2, 0},
    {"Password", 1, 1, 0}, {"Pi", 0, 0, 0}, {"Platform", 0, 1, 0},
    {"PostedCommand", 1, N, 0}, {"Power", 2, 2, 0}, {"Prompt", 2, 7, 0},
    {"ProperCase", 1, 1, 0}, {"Random", 0, 0, 0}, {"Repeat", 2, 3, 0},
    {"Replace", 3, 3, 0}, {"ReplaceSubstring", 3, 3, 0}, {"ReplicaID", 0, 0, 0},
    {"Responses", 0, 0, 0}, {"Return", 1, 1, 0}, {"Right", 2, 2, 0},
    {"RightBack", 2, 2, 0}, {"Round", 1, 2, 0}, {"Second", 1, 1, 0}, {"Select", 1, N, 0},
    {"ServerName", 0, 0, 0}, {"Set", 2, 2, 0}, {"SetDocField", 3, 3, 0},
    {"SetEnvironment", 2, 2, 0}, {"SetField", 2, 2, 0}, {"SetProfileField", 3, 4, 0},
    {"Sign", 1, 1, 0}, {"Sin", 1, 1, 0}, {"Sort", 1, 3, 0}, {"Soundex", 1, 1, 0},
    {"Sqrt", 1, 1, 0}, {"StatusBar", 1, 1, 0}, {"Subset", 2, 2, 0}, {"Success", 0, 0, 0},
    {"Sum", 1, N, 0}, {"Tan", 1, 1, 0}, {"Text", 1, 2, 0}, {"TextToNumber", 1, 1, 0},
    {"TextToTime", 1, 1, 0}, {"ThisName", 0, 0, 0}, {"ThisValue", 0, 0, 0},
    {"Time", 1, 6, 0}, {"TimeMerge", 2, 3, 0}, {"Today", 0, 0, 0}, {"Tomorrow", 0, 0, 0},
    {"Transform", 3, 3, 0}, {"Trim", 1, 1, 0}, {"True", 0, 0, 0}, {"Unavailable", 0, 0, 0},
    {"Unique", 0, 1, 0}, {"UpperCase", 1, 1, 0}, {"UserAccess", 1, 2, 0},
    {"UserName", 0, 1, 0}, {"UserNamesList", 0, 0, 0}, {"UserRoles", 0, 0, 0},
    {"ValidateInternetAddress", 2, 2, 0}, {"Version", 0, 0, 0}, {"ViewTitle", 0, 0, 0},
    {"Weekday", 1, 1, 0}, {"While", 2, N, S}, {"Word", 3, 3, 0}, {"Year", 1, 1, 0},
    {"Yes", 0, 0, 0}, {"Yesterday", 0, 0, 0}, {"Zone", 0, 1, 0},
};
// clang-format on

char lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

bool equalsIgnoreCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [](char x, char y) { return lower(x) == lower(y); });
}

const FunctionInfo* findFunction(std::string_view name) {
  auto it = std::find_if(std::begin(kFunctions), std::end(kFunctions),
                         [name](const FunctionInfo& f) { return equalsIgnoreCase(f.name, name); });
  return it == std::end(kFunctions) ? nullptr : &*it;
}

}  // namespace lnstore::formula
