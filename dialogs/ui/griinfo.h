#pragma once
// The "GRI Leaf ID" and "Informations about GRI Leaf" groups that the pages of
// subscribed workflows and In tasks share: the leaf a task is connected to and
// the process view it belongs to, as the External Directory knows them.

#include <QWidget>
#include <string>

class QLabel;

namespace velk {
class CExtDirData;
class CExtDirItemGRILeaf;
class CExtDirItemGRIProcView;
}  // namespace velk

inline constexpr char kNotYetLoaded[] = "Not yet loaded";

struct GriLeafFound {
  velk::CExtDirItemGRILeaf* leaf = nullptr;
  velk::CExtDirItemGRIProcView* header = nullptr;
};

class CGriInfo : public QWidget {
  Q_OBJECT
 public:
  CGriInfo();
  // Shows the id and what is found of its leaf and header; what is not found
  // reads "Not yet loaded".
  GriLeafFound Show(velk::CExtDirData* directory, const std::string& griId);

 private:
  QLabel* id_;
  QLabel* organisation_;
  QLabel* processView_;
  QLabel* canonical_;
  QLabel* formatServer_;
  QLabel* gateway_;
  QLabel* direction_;
  QLabel* validUntil_;
};
