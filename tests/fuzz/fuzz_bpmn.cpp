// `workflow import FILE.bpmn` and "Import BPMN...": any bytes as a BPMN file.
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string_view>

#include "common/headlessservices.h"
#include "model/bpmn.h"
#include "model/workflowdoc.h"
#include "model/workflowjson.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  velk::HeadlessServices services;  // dropped arrows are reported, not asked about
  velk::CWorkflowDoc doc(services, "CN=Fuzz/O=Marvelund", "01.01.2026");
  try {
    // Graphviz, which places the tasks the file gives no place, is no part of the import.
    velk::WorkflowFromBpmn(std::string_view(reinterpret_cast<const char*>(data), size), doc, false);
  } catch (const std::runtime_error&) {
    return 0;
  }
  // What was taken exports to a file that imports as the same workflow.
  std::string xml;
  try {
    xml = velk::WorkflowToBpmn(doc);
  } catch (const std::runtime_error&) {
    return 0;  // a text XML can not carry, named
  }
  velk::CWorkflowDoc again(services, "CN=Fuzz/O=Marvelund", "01.01.2026");
  if (!velk::WorkflowFromBpmn(xml, again, false).empty()) __builtin_trap();
  if (velk::WorkflowToJson(again) != velk::WorkflowToJson(doc)) __builtin_trap();
  return 0;
}
