#include "repository/store/lnencoding.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace lnstore {

namespace {

inline char FoldChar(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c;
}

void PutVarint(std::uint64_t value, std::string* out) {
  while (value >= 0x80) {
    out->push_back(static_cast<char>((value & 0x7f) | 0x80));
    value >>= 7;
  }
  out->push_back(static_cast<char>(value));
}

void PutDouble(double value, std::string* out) {
  std::uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  for (int i = 0; i < 8; ++i) out->push_back(static_cast<char>((bits >> (8 * i)) & 0xff));
}

// Reads an encoding with every length checked against the bytes left.
class Reader {
 public:
  explicit Reader(std::string_view data) : data_(data) {}
  bool AtEnd() const { return pos_ == data_.size(); }
  std::size_t Left() const { return data_.size() - pos_; }

  bool Varint(std::uint64_t* value) {
    *value = 0;
    for (int shift = 0; shift < 64 && pos_ < data_.size(); shift += 7) {
      auto byte = static_cast<unsigned char>(data_[pos_++]);
      *value |= static_cast<std::uint64_t>(byte & 0x7f) << shift;
      if (!(byte & 0x80)) return true;
    }
    return false;
  }
  bool Bytes(std::string_view* bytes) {
    std::uint64_t size;
    if (!Varint(&size) || size > Left()) return false;
    *bytes = data_.substr(pos_, size);
    pos_ += size;
    return true;
  }
  bool Double(double* value) {
    if (Left() < 8) return false;
    std::uint64_t bits = 0;
    for (int i = 0; i < 8; ++i)
      bits |= static_cast<std::uint64_t>(static_cast<unsigned char>(data_[pos_ + i])) << (8 * i);
    pos_ += 8;
    std::memcpy(value, &bits, sizeof bits);
    return true;
  }
  // The element count, refused when the bytes left cannot hold that many.
  bool Count(std::size_t minElementSize, std::uint64_t* count) {
    return Varint(count) && *count <= Left() / minElementSize;
  }

 private:
  std::string_view data_;
  std::size_t pos_ = 0;
};

}  // namespace

void AppendFolded(std::string_view name, std::string* to) {
  const std::size_t at = to->size();
  to->append(name);
  for (std::size_t i = at; i < to->size(); ++i) (*to)[i] = FoldChar((*to)[i]);
}

std::string FoldName(std::string_view name) {
  std::string folded;
  AppendFolded(name, &folded);
  return folded;
}

// From the end: the item names of one document often share their first letters
// ("ExtClusterGoal", "ExtClusterName") and differ in the last ones.
bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = a.size(); i-- > 0;) {
    if (FoldChar(a[i]) != FoldChar(b[i])) return false;
  }
  return true;
}

int CompareKeyText(std::string_view a, std::string_view b) {
  std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    auto x = static_cast<unsigned char>(FoldChar(a[i]));
    auto y = static_cast<unsigned char>(FoldChar(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
  int exact = a.compare(b);
  return exact < 0 ? -1 : (exact > 0 ? 1 : 0);
}

void EncodeValues(const LNItem& item, std::string* out) {
  if (item.type == LNItemType::Numbers) {
    PutVarint(item.numbers.size(), out);
    for (double value : item.numbers) PutDouble(value, out);
    return;
  }
  PutVarint(item.texts.size(), out);
  for (const std::string& text : item.texts) {
    PutVarint(text.size(), out);
    out->append(text);
  }
}

bool DecodeValues(std::string_view data, LNItem* item) {
  if (item->type == LNItemType::Numbers) {
    item->texts.clear();
    return DecodeNumbers(data, &item->numbers);
  }
  item->numbers.clear();
  return DecodeTexts(data, &item->texts);
}

bool DecodeNumbers(std::string_view data, std::vector<double>* numbers) {
  Reader reader(data);
  std::uint64_t count;
  numbers->clear();
  if (!reader.Count(8, &count)) return false;
  numbers->resize(count);
  for (double& value : *numbers) reader.Double(&value);
  return reader.AtEnd();
}

bool DecodeTexts(std::string_view data, std::vector<std::string>* texts) {
  Reader reader(data);
  std::uint64_t count;
  texts->clear();
  if (!reader.Count(1, &count)) return false;
  texts->reserve(count);
  for (std::uint64_t i = 0; i < count; ++i) {
    std::string_view text;
    if (!reader.Bytes(&text)) return false;
    texts->emplace_back(text);
  }
  return reader.AtEnd();
}

std::string_view FirstEncodedText(std::string_view data) {
  Reader reader(data);
  std::uint64_t count;
  std::string_view text;
  if (!reader.Count(1, &count) || count == 0 || !reader.Bytes(&text)) return {};
  return text;
}

bool ValidValues(LNItemType type, std::string_view data) {
  Reader reader(data);
  std::uint64_t count;
  if (type == LNItemType::Numbers) return reader.Count(8, &count) && reader.Left() == count * 8;
  if (!reader.Count(1, &count)) return false;
  std::string_view text;
  for (std::uint64_t i = 0; i < count; ++i)
    if (!reader.Bytes(&text)) return false;
  return reader.AtEnd();
}

bool DecodeFirstValue(LNItemType type, std::string_view data, FirstValue* value) {
  Reader reader(data);
  std::uint64_t count;
  *value = FirstValue{};
  value->numeric = type == LNItemType::Numbers;
  if (!reader.Count(value->numeric ? 8 : 1, &count)) return false;
  if (count == 0) return true;
  value->present = true;
  if (value->numeric) return reader.Double(&value->number);
  std::string_view text;
  if (!reader.Bytes(&text)) return false;
  value->text = text;
  return true;
}

FirstValue FirstValueOf(const LNItem& item) {
  FirstValue value;
  value.numeric = item.type == LNItemType::Numbers;
  if (value.numeric) {
    value.present = !item.numbers.empty();
    if (value.present) value.number = item.numbers.front();
  } else {
    value.present = !item.texts.empty();
    if (value.present) value.text = item.texts.front();
  }
  return value;
}

std::string NumberText(double value) {
  char buffer[64];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

NoteHasher::NoteHasher(std::int64_t noteClass, std::string_view form, std::string_view unid) {
  Add(noteClass);
  Add(form);
  Add(unid);
}

void NoteHasher::Item(std::string_view name, std::int64_t type, std::int64_t flags,
                      std::string_view data) {
  Add(name);
  Add(type);
  Add(flags);
  Add(data);
}

// Each part with its length, so that no two sequences of parts run together.
void NoteHasher::Add(std::string_view bytes) {
  Add(static_cast<std::int64_t>(bytes.size()));
  for (char c : bytes) hash_ = (hash_ ^ static_cast<unsigned char>(c)) * 1099511628211ull;
}

void NoteHasher::Add(std::int64_t number) {
  auto bits = static_cast<std::uint64_t>(number);
  for (int i = 0; i < 8; ++i, bits >>= 8) hash_ = (hash_ ^ (bits & 0xff)) * 1099511628211ull;
}

bool IsUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto byte = [&](std::size_t at) { return static_cast<unsigned char>(text[at]); };
    const unsigned char lead = byte(i);
    std::size_t length = 0;
    std::uint32_t value = 0, least = 0;
    if (lead < 0x80) {
      ++i;
      continue;
    } else if ((lead & 0xE0) == 0xC0) {
      length = 2, value = lead & 0x1F, least = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
      length = 3, value = lead & 0x0F, least = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
      length = 4, value = lead & 0x07, least = 0x10000;
    } else {
      return false;
    }
    if (text.size() - i < length) return false;
    for (std::size_t k = 1; k < length; ++k) {
      if ((byte(i + k) & 0xC0) != 0x80) return false;
      value = value << 6 | (byte(i + k) & 0x3F);
    }
    if (value < least || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return false;
    i += length;
  }
  return true;
}

}  // namespace lnstore
