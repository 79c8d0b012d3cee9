#pragma once
// Which bitmap a node shows.

#include "model/kinds.h"

namespace velk {

class CNode;

// The picture a node gets when it is read from store (it depends on its kind, its
// cluster start/end flags, its GRI id, reference text and member).
int PictureByRule(const CNode& node);

// The picture of a node of this kind made by an insert tool or a task type command.
int InsertionPicture(NodeKind kind);

}  // namespace velk
