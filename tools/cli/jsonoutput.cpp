// JSON on stdout with our own words for what the JSON library refuses.

#include <ostream>
#include <stdexcept>

#include "commands.h"
#include "repository/store/lnencoding.h"

namespace velkcli {

namespace {

using Json = nlohmann::ordered_json;

// Where the first text that is not UTF-8 stands ("nodes[3].name"), or "".
std::string FirstBadText(const Json& json, const std::string& at) {
  if (json.is_string())
    return lnstore::IsUtf8(json.get_ref<const std::string&>()) ? "" : at.empty() ? "the top" : at;
  if (json.is_array()) {
    for (std::size_t i = 0; i < json.size(); ++i)
      if (std::string found = FirstBadText(json[i], at + "[" + std::to_string(i) + "]");
          !found.empty())
        return found;
  } else if (json.is_object()) {
    for (const auto& [key, value] : json.items()) {
      if (!lnstore::IsUtf8(key)) return (at.empty() ? "" : at + ".") + "a member name";
      if (std::string found = FirstBadText(value, at.empty() ? key : at + "." + key);
          !found.empty())
        return found;
    }
  }
  return "";
}

}  // namespace

void printJson(std::ostream& out, const Json& json, const std::string& what) {
  std::string text;
  try {
    text = json.dump(2);
  } catch (const Json::exception& e) {
    const std::string where = FirstBadText(json, "");
    throw std::runtime_error(what + " cannot be written as JSON: " +
                             (where.empty()
                                  ? std::string("a value cannot be written (") + e.what() + ")"
                                  : "the text at " + where +
                                        " is not UTF-8, so the database is damaged"
                                        " (\"db check\" names the document)"));
  }
  out << text << '\n';
}

}  // namespace velkcli
