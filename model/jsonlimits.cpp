#include "model/jsonlimits.h"

namespace velk {

namespace {

using Json = nlohmann::ordered_json;

// Stops the parser at the first level too many, before anything that deep exists.
Json::parser_callback_t DepthGuard(int maxDepth) {
  return [maxDepth](int depth, Json::parse_event_t event, Json&) {
    const bool opens =
        event == Json::parse_event_t::object_start || event == Json::parse_event_t::array_start;
    // `depth` counts the arrays and objects around the one opening.
    if (opens && depth >= maxDepth)
      throw JsonTooDeep("the JSON is nested too deeply: more than " + std::to_string(maxDepth) +
                        " levels of arrays and objects");
    return true;
  };
}

}  // namespace

Json ParseJsonWithinDepth(std::istream& in, int maxDepth) {
  return Json::parse(in, DepthGuard(maxDepth));
}

Json ParseJsonWithinDepth(const std::string& text, int maxDepth) {
  return Json::parse(text, DepthGuard(maxDepth));
}

}  // namespace velk
