#include "repository/fieldaccess.h"

#include "repository/fieldtext.h"
#include "repository/noteserror.h"

namespace {

constexpr LNITEMFLAGS kListFlags =
    LNITEMFLAGS_SIGN | LNITEMFLAGS_SUMMARY | LNITEMFLAGS_NAMES | LNITEMFLAGS_READERS;

// With throwing off the store returns its failures; they count as failures here too.
void Check(LNSTATUS status) {
  if (status != LNNOERROR) throw LNStatusError(status);
}

// Runs `read`; a store failure is shown with the getter's context and gives `failure`.
template <typename T, typename Read>
T ReadGuarded(velk::Services& services, const char* getter, std::string_view itemName, T failure,
              Read read) {
  try {
    return read();
  } catch (const LNStatusError& e) {
    ShowNotesError(services, std::string("Error in ") + getter + " of " + std::string(itemName), e);
    return failure;
  }
}

// HasItem cannot report a failure: a note that is not open would read as if it
// had no items, so that case is raised as the failure it is.
void CheckOpen(const LNNote& note) {
  if (!note.IsOpen()) {
    throw LNStatusError(note.IsNull() ? LNERR_INVALID_ARGUMENT : LNERR_DOCUMENT_NOT_OPEN);
  }
}

bool Present(std::string_view itemName, const LNNote& note) {
  CheckOpen(note);
  return note.HasItem(itemName);
}

// Element 0 of a text item; "" when the item is missing or holds no element.
std::string FirstText(std::string_view itemName, LNNote& note) {
  CheckOpen(note);
  std::string text;
  Check(note.GetFirstText(itemName, &text));
  return text;
}

LNSTATUS WriteList(const std::string& itemName, LNNote& note, const std::vector<std::string>& list,
                   LNITEMFLAGS flags) {
  if (list.empty()) {
    // Remove a list written earlier, or it would survive the save unchanged. A note
    // that is not open goes to DeleteItem too, which reports that failure.
    return !note.IsOpen() || note.HasItem(itemName) ? note.DeleteItem(itemName) : LNNOERROR;
  }
  return note.CreateItem(itemName, LNText(list), flags, LNITEMOPTION_REPLACE);
}

}  // namespace

std::string GetFieldContent(velk::Services& services, std::string_view itemName, LNNote& note) {
  return ReadGuarded(services, "GetFieldContent", itemName, std::string(),
                     [&] { return FirstText(itemName, note); });
}

int GetFieldIntContent(velk::Services& services, std::string_view itemName, LNNote& note) {
  return ReadGuarded(services, "GetFieldIntContent", itemName, 0,
                     [&] { return ParseFieldInt(FirstText(itemName, note)); });
}

int GetFieldNumberContent(velk::Services& services, std::string_view itemName, LNNote& note) {
  return ReadGuarded(services, "GetFieldNumberContent", itemName, 0, [&] {
    if (!Present(itemName, note)) return 0;
    LNNumbers value;
    Check(note.GetItem(itemName, &value));
    return value.GetCount() > 0 ? TruncateToInt(value[0]) : 0;
  });
}

bool GetFieldBoolContent(velk::Services& services, std::string_view itemName, LNNote& note) {
  // Reports under the number reader's name: the established message text.
  return ReadGuarded(services, "GetFieldNumberContent", itemName, false,
                     [&] { return FirstText(itemName, note) == "Yes"; });
}

void GetFieldListContent(velk::Services& services, std::string_view itemName, LNNote& note,
                         std::vector<std::string>& list) {
  list.clear();
  ReadGuarded(services, "GetFieldListContent", itemName, 0, [&] {
    CheckOpen(note);
    Check(note.GetTexts(itemName, &list));
    return 0;
  });
}

LNSTATUS SetFieldContent(const std::string& itemName, const std::string& text, LNNote& note) {
  return note.CreateItem(itemName, LNText(text), LNITEMFLAGS_SUMMARY, LNITEMOPTION_DELETE_APPEND);
}

LNSTATUS SetFieldIntContent(const std::string& itemName, int value, LNNote& note) {
  return note.CreateItem(itemName, LNText(std::to_string(value)), LNITEMFLAGS_SUMMARY,
                         LNITEMOPTION_REPLACE);
}

LNSTATUS SetFieldNumberContent(const std::string& itemName, int value, LNNote& note) {
  return note.CreateItem(itemName, LNNumbers(static_cast<double>(value)), LNITEMFLAGS_SUMMARY,
                         LNITEMOPTION_REPLACE);
}

LNSTATUS SetFieldBoolContent(const std::string& itemName, bool flag, LNNote& note) {
  return note.CreateItem(itemName, LNText(flag ? "Yes" : "No"), LNITEMFLAGS_SUMMARY,
                         LNITEMOPTION_REPLACE);
}

LNSTATUS SetFieldListContent(const std::string& itemName, LNNote& note,
                             const std::vector<std::string>& list) {
  return WriteList(itemName, note, list, kListFlags);
}

LNSTATUS SetFieldReadersContent(const std::string& itemName, LNNote& note,
                                const std::vector<std::string>& list) {
  return WriteList(itemName, note, list, LNITEMFLAGS_READERS);
}
