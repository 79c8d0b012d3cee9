// The External Directory window over a directory of 10,000 leafs: 100 process
// views of 50 leafs, one of 5,000, and 2,000 persons. Measures opening the
// window (the directory tree and its widget items) and the double-click that
// reads and shows the largest process view; beside each, the same number of
// widget items built straight into a QTreeWidget (and, for the process view,
// the same store read). Goal: each below 100 ms.
//
//   extdir_window_bench [runs]      (default 5)

#include <QApplication>
#include <QTreeWidget>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/headlessservices.h"
#include "bench/benchdocuments.h"
#include "bench/benchsupport.h"
#include "extdir/extdirdata.h"
#include "extdir/extdiritems.h"
#include "extdir/ui/extdirview.h"
#include "repository/databasetemplates.h"
#include "repository/store/lnnotes.h"

namespace {

using bench::Texts;
constexpr int kHeaders = 100;
constexpr int kLeafsPerHeader = 50;
constexpr int kLargest = 5000;
constexpr int kPersons = 2000;

void AddHeader(LNDatabase& db, int h, int leafs) {
  const std::string id = "H" + std::to_string(h);
  bench::AddDocument(db, velk::forms::kGriHeader,
                     {{"HeaderID", {id}},
                      {"Direction", {"Published"}},
                      {"OrgName", {"Org " + std::to_string(h % 20)}},
                      {"ProcViewName", {"View " + std::to_string(h)}}});
  for (int i = 0; i < leafs; ++i)
    bench::AddDocument(db, velk::forms::kGriLeaf,
                       {{"LeafID", {id + "L" + std::to_string(i)}},
                        {"HeaderID", {id}},
                        {"LeafName",
                         {"Area " + std::to_string(i % 5) + "/Group " + std::to_string(i % 3) +
                          "/Workflow " + std::to_string(i)}},
                        {"Status", {"Active"}}});
}

void CreateDirectory(LNNotesSession& session, const std::string& path) {
  LNDatabase db;
  velk::CreateDatabaseOfKind(session, velk::DatabaseKind::ExternalDirectory, path, {}, {}, &db);
  db.Open();
  LNTransaction transaction(db);
  for (int h = 0; h < kHeaders; ++h) AddHeader(db, h, kLeafsPerHeader);
  AddHeader(db, kHeaders, kLargest);
  for (int p = 0; p < kPersons; ++p)
    bench::AddDocument(db, velk::forms::kPerson,
                       {{"FullName",
                         {"CN=Person " + std::to_string(p) + "/OU=Unit " + std::to_string(p % 10) +
                          "/O=Partner " + std::to_string(p % 7)}}});
  transaction.Commit();
  db.Close();
}

double Millis(const std::function<void()>& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

// The labels of a subtree straight into widget items, as the raw baseline.
void RawItems(const velk::CExtDirTreeNode& node, QTreeWidgetItem* into) {
  QList<QTreeWidgetItem*> children;
  for (const auto& child : node.Children()) {
    auto* item = new QTreeWidgetItem(QStringList(QString::fromStdString(child->Text())));
    RawItems(*child, item);
    children.push_back(item);
  }
  into->addChildren(children);
}

void Row(const char* what, const std::vector<double>& ours, const std::vector<double>& raw) {
  const double a = bench::Median(ours), b = bench::Median(raw);
  std::printf("%-36s %8.1f ms   raw %8.1f ms   ratio %5.2f   goal below 100 ms   %s\n", what, a, b,
              a / b, a < 100 ? "ok" : "MISSED");
}

ExtDirViewHost Host() {
  ExtDirViewHost host;
  host.openWorkflows = [] { return std::vector<velk::CWorkflowDoc*>(); };
  host.shiftHeld = [] { return false; };
  return host;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication qt(argc, argv);
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  const std::string dir = bench::ScratchFolder("velkextdirwindow");
  if (dir.empty()) return 1;
  setenv("VELK_DATA_DIR", dir.c_str(), 1);
  velk::ScopedHeadlessServices ui;
  LNNotesSession session;
  session.Init(410);
  CreateDirectory(session, "extdir.nsf");

  std::vector<double> open, rawOpen, expand, rawExpand;
  for (int run = 0; run < runs; ++run) {
    velk::CExtDirData data(session, "extdir.nsf", "", nullptr, velk::ExtDirLinks{});
    velk::CExtDirData rawData(session, "extdir.nsf", "", nullptr, velk::ExtDirLinks{});
    auto* view = new CExtDirView(data, Host());
    delete view;  // warm: the pictures are drawn once per program
    open.push_back(Millis([&] { view = new CExtDirView(data, Host()); }));
    view->resize(400, 600);
    view->show();
    qt.processEvents();
    QTreeWidget raw;
    raw.resize(400, 600);
    raw.show();
    rawOpen.push_back(Millis([&] {
      for (const auto& root : view->Tree().Roots()) {
        auto* top = new QTreeWidgetItem(QStringList(QString::fromStdString(root->Text())));
        RawItems(*root, top);
        raw.addTopLevelItem(top);
      }
    }));
    auto* largest = dynamic_cast<velk::CExtDirItemGRIProcView*>(
        data.FindItemById("H" + std::to_string(kHeaders)));
    QTreeWidgetItem* node = view->ItemOf(*largest->treeNode);
    view->setCurrentItem(node);
    expand.push_back(Millis([&] {
      largest->OnDoubleClick();
      view->Flush();
      node->setExpanded(true);
      view->repaint();
    }));
    rawExpand.push_back(Millis([&] {
      rawData.LoadLeafsOfHeader(largest->ID);
      auto* header = new QTreeWidgetItem(QStringList(QStringLiteral("View")));
      raw.addTopLevelItem(header);
      QList<QTreeWidgetItem*> leafs;
      for (auto* leaf : rawData.ItemsOf<velk::CExtDirItemGRILeaf>())
        leafs.push_back(new QTreeWidgetItem(QStringList(QString::fromStdString(leaf->LeafName))));
      header->addChildren(leafs);
      header->setExpanded(true);
      raw.repaint();
    }));
    if (data.ItemsOf<velk::CExtDirItemGRILeaf>().size() != kLargest ||
        view->ItemOf(*largest->treeNode)->childCount() != 5) {
      std::fprintf(stderr, "the process view does not show its leafs: %zu\n",
                   data.ItemsOf<velk::CExtDirItemGRILeaf>().size());
      return 1;
    }
    delete view;
  }
  std::error_code ignored;
  std::filesystem::remove_all(dir, ignored);
  Row("Open the window", open, rawOpen);
  Row("Expand the process view of 5,000 leafs", expand, rawExpand);
  return 0;
}
