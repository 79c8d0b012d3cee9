#include "repository/identity.h"

#include <cstdint>
#include <cstdio>

namespace {

std::string Hex8(std::uint32_t word) {
  char buffer[9];
  std::snprintf(buffer, sizeof buffer, "%08X", static_cast<unsigned>(word));
  return buffer;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// `count` (1 to 8) hex digits of `text` starting at `pos`.
std::optional<std::uint32_t> ParseHexWord(const std::string& text, std::size_t pos,
                                          std::size_t count) {
  if (count == 0 || count > 8 || pos + count > text.size()) return std::nullopt;
  std::uint32_t value = 0;
  for (std::size_t i = pos; i < pos + count; ++i) {
    int digit = HexValue(text[i]);
    if (digit < 0) return std::nullopt;
    value = (value << 4) | static_cast<std::uint32_t>(digit);
  }
  return value;
}

}  // namespace

std::string FormatUniversalId(const LNUNID& universalId) {
  const auto& w = universalId.words;
  return Hex8(w[1]) + Hex8(w[0]) + Hex8(w[3]) + Hex8(w[2]);
}

std::string FormatReplicaId(const LNREPLICAID& replicaId) {
  return Hex8(replicaId.words[1]) + ":" + Hex8(replicaId.words[0]);
}

std::string FormatNoteId(LNNOTEID noteId) {
  return Hex8(noteId);
}

std::optional<LNUNID> ParseUniversalId(const std::string& text) {
  if (text.size() != 32) return std::nullopt;
  // Text order is w1, w0, w3, w2.
  static constexpr int kWordAt[4] = {1, 0, 3, 2};
  LNUNID id;
  for (std::size_t part = 0; part < 4; ++part) {
    auto word = ParseHexWord(text, part * 8, 8);
    if (!word) return std::nullopt;
    id.words[kWordAt[part]] = *word;
  }
  return id;
}

std::optional<LNREPLICAID> ParseReplicaId(const std::string& text) {
  if (text.size() != 17 || text[8] != ':') return std::nullopt;
  auto high = ParseHexWord(text, 0, 8);
  auto low = ParseHexWord(text, 9, 8);
  if (!high || !low) return std::nullopt;
  LNREPLICAID id;
  id.words[0] = *low;
  id.words[1] = *high;
  return id;
}

std::optional<LNNOTEID> ParseNoteId(const std::string& text) {
  return ParseHexWord(text, 0, text.size());
}

std::string SplitFirstToken(std::string& text, char separator) {
  std::string token;
  std::size_t pos = text.find(separator);
  if (pos == std::string::npos) {
    token.swap(text);
  } else {
    token = text.substr(0, pos);
    text.erase(0, pos + 1);
  }
  return token;
}

std::string SplitLastToken(std::string& text, char separator) {
  std::string token;
  std::size_t pos = text.rfind(separator);
  if (pos == std::string::npos) {
    token.swap(text);
  } else {
    token = text.substr(pos + 1);
    text.erase(pos);
  }
  return token;
}

std::string ReverseTokens(const std::string& text, char separator) {
  // Walking from the end by hand rather than with SplitLastToken keeps a leading
  // empty part ("/a" gives "a/"), which a loop that stops at the empty rest loses.
  std::string result;
  std::size_t end = text.size();
  while (true) {
    std::size_t pos = end == 0 ? std::string::npos : text.rfind(separator, end - 1);
    std::size_t begin = pos == std::string::npos ? 0 : pos + 1;
    result.append(text, begin, end - begin);
    if (pos == std::string::npos) break;
    result.push_back(separator);
    end = pos;
  }
  return result;
}
