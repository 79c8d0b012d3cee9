#pragma once
// Item names and the binary form of item values.
//
// Values are stored as: a varint count, then per text (and date-time) a varint
// byte length and the bytes, per number 8 bytes of an IEEE double, little endian.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "repository/store/lnvalues.h"

namespace lnstore {

// Item names compare without regard to case; only ASCII letters fold, so names
// in other scripts must match exactly.
std::string FoldName(std::string_view name);
void AppendFolded(std::string_view name, std::string* to);
bool SameName(std::string_view a, std::string_view b);
// One of 64 bits, the same for names SameName calls equal. Inline: a reader
// asks it for every item it looks for.
inline std::uint64_t NameBit(std::string_view name) {
  unsigned last = name.empty() ? 0 : static_cast<unsigned char>(name.back());
  if (last >= 'A' && last <= 'Z') last += 'a' - 'A';
  return std::uint64_t{1} << ((name.size() * 7 + last) & 63);
}
// Sort order of view keys: case-insensitive first, then by bytes.
int CompareKeyText(std::string_view a, std::string_view b);

// Appends the encoded values of `item` (by its type) to `out`.
void EncodeValues(const LNItem& item, std::string* out);
// Fills the values of `item` (whose type is set) from `data`; false when the data
// is not a valid encoding of that type.
bool DecodeValues(std::string_view data, LNItem* item);
// Whether DecodeValues would accept `data` for an item of `type`.
bool ValidValues(LNItemType type, std::string_view data);
// The values of encoded texts (or date-times) / numbers; false when `data` is
// no such encoding.
bool DecodeTexts(std::string_view data, std::vector<std::string>* texts);
bool DecodeNumbers(std::string_view data, std::vector<double>* numbers);
// The first of encoded texts, pointing into `data`; "" when there is none or
// `data` is no such encoding.
std::string_view FirstEncodedText(std::string_view data);

// The first value of an encoded item, as views sort by it.
struct FirstValue {
  bool present = false;  // false for an empty list
  bool numeric = false;
  double number = 0;
  std::string text;
};
bool DecodeFirstValue(LNItemType type, std::string_view data, FirstValue* value);
FirstValue FirstValueOf(const LNItem& item);

// A checksum of a note as stored (class, form, packed universal id, and each
// item's name, type, flags and encoded values in stored order), kept beside it
// so that a check tells values the file changed from values a program wrote.
class NoteHasher {
 public:
  NoteHasher(std::int64_t noteClass, std::string_view form, std::string_view unid);
  void Item(std::string_view name, std::int64_t type, std::int64_t flags, std::string_view data);
  std::int64_t Value() const { return static_cast<std::int64_t>(hash_); }

 private:
  void Add(std::string_view bytes);
  void Add(std::int64_t number);
  std::uint64_t hash_ = 14695981039346656037ull;  // FNV-1a
};

// Whether `text` is well-formed UTF-8 (no overlong forms, surrogates or values
// beyond U+10FFFF).
bool IsUtf8(std::string_view text);

// Shortest text that reads back as the same double ("3", "2.5", "1e+20").
std::string NumberText(double value);

}  // namespace lnstore
