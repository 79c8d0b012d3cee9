#pragma once
// "Item Properties": the property sheet of one External Directory item. Its
// pages and title follow the item's class; the pages change the item only when
// the sheet closes with OK (then the item is marked modified and its tree label
// refreshed). Nothing is written to the database here: the External Directory's
// save does that.

class QWidget;

namespace velk {
class CExtDirItem;
class CExtDirTree;
}  // namespace velk

// Whether the item's class has pages; items without pages get no sheet.
bool HasExtDirItemProperties(const velk::CExtDirItem& item);

// Runs the sheet modally; `tree` is the tree that shows the item, or none (the
// task pages open it for items they look up). True when closed with OK.
bool ShowExtDirItemProperties(QWidget* parent, velk::CExtDirItem& item, velk::CExtDirTree* tree);
