#pragma once
// Finding tasks and arrows by their texts on every level of a workflow, as the
// designer types: task and cluster names, performers, forms, resources,
// descriptions and arrow conditions, without regard to case.

#include <string>
#include <string_view>
#include <vector>

namespace velk {

class CArrow;
class CNode;
class CWorkflowDoc;

// What a found text is of a task or an arrow.
enum class FoundIn { Name, Performer, Form, Resource, Description, Condition };
const char* FoundInWord(FoundIn in);  // "name", "performer", ...

struct FindResult {
  const CNode* node = nullptr;    // the task found, or the source of the arrow found
  const CArrow* arrow = nullptr;  // null for a task
  std::string level;              // "Fulfilment > Packing"; "" on top
  FoundIn in = FoundIn::Name;
};

// "Fulfilment > Packing: task 'Pack goods' (performer)".
std::string DescribeResult(const FindResult& result);

// The texts of one workflow (all its levels) folded once, so that each keystroke
// only scans them. Build it again after the workflow changes.
class WorkflowFindIndex {
 public:
  explicit WorkflowFindIndex(const CWorkflowDoc& doc);
  // Results in workflow order, each task or arrow once per kind of text; none for
  // an empty text.
  std::vector<FindResult> Find(std::string_view text) const;

 private:
  struct Entry {
    std::string folded;
    FindResult result;
  };
  void Add(std::string_view text, const FindResult& result);
  std::vector<Entry> entries_;
};

}  // namespace velk
