#pragma once
// The External Directory catalogue page: the directory's tree as its window
// shows it with every branch open, each workflow with its published facts.

#include <string>

#include "publish/sitetemplates.h"

namespace velk {

class CExtDirData;

// The catalogue address of the item with `itemId` ("extdir.html#item-..."),
// empty when the directory does not hold it.
std::string CatalogueEntry(const CExtDirData* data, const std::string& itemId);

// Fills "extdir.html.tpl". Without a directory the page says `problem`.
// Reads every process view's leafs first.
void FillCataloguePage(PageDictionary& dict, CExtDirData* data, const std::string& problem);

}  // namespace velk
