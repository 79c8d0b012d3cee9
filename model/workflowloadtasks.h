#pragma once
// Inside loading: the task documents of one workflow version.

#include <string>
#include <vector>

#include "repository/fieldaccess.h"

class LNDatabase;
class LNDocument;

namespace velk {

class Services;

class CWorkflowDoc;
class GraphBuilder;

// Empties the document's graph and rebuilds it from the task documents of its
// workflow id and version, opening the database unless it is open; closes it.
// False after showing why nothing could be read.
bool ReadGraph(CWorkflowDoc& doc, LNDatabase& db);

// A text list item; empty when missing.
inline std::vector<std::string> ReadList(Services& services, const char* item, LNNote& doc) {
  std::vector<std::string> list;
  GetFieldListContent(services, item, doc, list);
  return list;
}

// Adds the task of one open task document, with its routing lists, to `builder`.
void ReadTask(Services& services, LNDocument& task, GraphBuilder& builder);

}  // namespace velk
