// `workflow import`: a workflow document from anywhere, built into a workflow.
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

#include "common/headlessservices.h"
#include "model/jsonlimits.h"
#include "model/workflowdoc.h"
#include "model/workflowjson.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  velk::WorkflowJson json;
  try {
    json = velk::ParseJsonWithinDepth(std::string(reinterpret_cast<const char*>(data), size));
  } catch (const std::exception&) {
    return 0;
  }
  velk::HeadlessServices headless;  // dropped arrows are reported, not asked about
  velk::CWorkflowDoc doc(headless, "CN=Fuzz/O=Marvelund", "01.01.2026");
  try {
    velk::WorkflowFromJson(json, doc);
  } catch (const std::runtime_error&) {
    return 0;
  }
  // What was taken exports to a document that builds the same workflow again.
  const velk::WorkflowJson exported = velk::WorkflowToJson(doc);
  velk::CWorkflowDoc again(headless, "CN=Fuzz/O=Marvelund", "01.01.2026");
  velk::WorkflowFromJson(exported, again);
  if (velk::WorkflowToJson(again) != exported) __builtin_trap();
  return 0;
}
