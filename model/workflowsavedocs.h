#pragma once
// Inside the save: the documents of one workflow, item by item. The writers throw
// LNStatusError; the caller holds the transaction.

#include <string>
#include <utility>
#include <vector>

#include "model/workflowgraph.h"

class LNDatabase;
class LNNotesSession;

namespace velk {

class CNode;
class CWorkflowDoc;

// What the writers of one save share.
struct SaveSession {
  LNNotesSession& session;
  LNDatabase& db;
  std::string appReplicaId;  // written when the Application Environment slot is set
  bool hasAppReplicaId = false;
  std::vector<std::string> retiredUsers;  // of the header this save replaces
  std::vector<std::string> retiredLastModify;
  // In Tasks with a GRI id, handed to the External Directory once the save is committed.
  std::vector<std::pair<std::string, std::string>> published;  // GRI id, workflow id
};

// Completes the header (user, designers, supervisor, workflow id, valid dates)
// and writes the header document.
void WriteHeaderDocument(CWorkflowDoc& top, SaveSession& save);

// Writes every node's task document, `start` first; false after reporting a task
// document that could not be written. Shows the count of tasks to go.
bool WriteTaskDocuments(CWorkflowDoc& top, CNode& start, SaveSession& save);

// "%d.%m.%Y %H:%M:%S" of a store date-time ("YYYY-MM-DDTHH:MM:SS"); other texts as they are.
std::string DateTimeText(const std::string& isoText);

}  // namespace velk
