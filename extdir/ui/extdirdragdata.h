#pragma once
// The field values of directory items as they travel in drags, named as in the
// store: a leaf with "LeafID", a person with "FullName", and every other field.

#include <QJsonObject>

namespace velk {
class CExtDirItemExtRegOrg;
class CExtDirItemGRILeaf;
}  // namespace velk

QJsonObject LeafFields(const velk::CExtDirItemGRILeaf& leaf);
// Fills the leaf's values from a drag's fields; fields that are missing stay.
void ReadLeafFields(const QJsonObject& fields, velk::CExtDirItemGRILeaf& leaf);
QJsonObject PersonFields(const velk::CExtDirItemExtRegOrg& person);
