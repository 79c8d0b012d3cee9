#pragma once
// Inside saving: the phases of SaveAll, one per stored kind of item.

#include <string>
#include <vector>

class LNDatabase;

namespace velk {

class Services;

class CExtDirData;
class CExtDirItem;
enum class ExtDirKind;

struct SavePhase {
  const char* statusText;
  const char* view;
  ExtDirKind kind;
  const char* emptyTitle;  // null: an empty view is not noted
  const char* emptyWords;
  const char* successTitle;
  const char* successText;
  const char* documentTitle;
  const char* documentText;
  const char* viewTitle;
  const char* viewText;
  const char* folderTitle;
  const char* folderText;
  bool newOnly;            // items not met in the view are written when new, else when modified
  bool keyedById = false;  // the view is sorted by the key item: its entries name the items
};

// Headers, leafs, content management, EIDM organisations, EIDM requests.
const std::vector<const SavePhase*>& SavePhases();
// The phase that stores items of the item's class; null for items never stored.
const SavePhase* SavePhaseOf(const CExtDirItem& item);

// Deletes the documents of deleted items and rewrites changed ones, then writes
// the changed (or new) items the view did not hold. Reports under the saving
// category; false when anything failed.
bool RunSavePhase(CExtDirData& data, LNDatabase& db, const SavePhase& phase);

// Deletes the documents of the phase's view whose key item is `id`, before the
// item writes its new one. Throws LNStatusError.
void DeleteStoredDocuments(Services& services, LNDatabase& db, const SavePhase& phase,
                           const std::string& id);

}  // namespace velk
