#pragma once
// JSON read from files given to the program, with its nesting bounded: copying,
// comparing or walking a parsed value recurses once per level, and the parser
// itself copies a member's value when the object holding it grows, so deeply
// nested input would exhaust the stack.

#include <istream>
#include <stdexcept>
#include <string>

#include <nlohmann/json.hpp>

namespace velk {

// More than any document of the program needs (a dump or a workflow nests five levels).
inline constexpr int kMaxJsonDepth = 64;

// Input nested deeper than allowed; what() says "nested too deeply".
class JsonTooDeep : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Parses `in` as nlohmann::ordered_json::parse does (malformed input throws its
// parse_error), but throws JsonTooDeep as soon as an array or object opens more
// than `maxDepth` levels deep, before the rest is read.
nlohmann::ordered_json ParseJsonWithinDepth(std::istream& in, int maxDepth = kMaxJsonDepth);
nlohmann::ordered_json ParseJsonWithinDepth(const std::string& text, int maxDepth = kMaxJsonDepth);

}  // namespace velk
