#pragma once
// External Directory tests: a directory database (the demo's or a purpose-made
// one), the data set loaded from it, and a look at what the store holds.

#include <sqlite3.h>

#include <memory>
#include <string>
#include <vector>

#include "core/repositoryfixture.h"
#include "extdir/extdirdata.h"
#include "extdir/extdiritems.h"
#include "extdir/extdirtree.h"
#include "repository/demodata.h"
#include "repository/fieldaccess.h"

class ExtDirTest : public RepositoryTest {
 protected:
  static constexpr char kPath[] = "extdir.nsf";

  LNDatabase NewDirectory() {
    return NewDatabaseOfKind(velk::DatabaseKind::ExternalDirectory, kPath);
  }

  void WriteDemoDirectory() {
    LNDatabase db = NewDirectory();
    velk::WriteDemoDocuments(ui_, velk::DatabaseKind::ExternalDirectory, db,
                             {"APP:REPLICA", "TRK:ID"});
    db.Close();
  }

  std::unique_ptr<velk::CExtDirData> Load() {
    velk::ExtDirLinks links;
    links.storedWorkflowIds = [] { return std::vector<std::string>{"WF-OURS"}; };
    links.officeMail = [] { return std::string("office@marvelund.example"); };
    return std::make_unique<velk::CExtDirData>(ui_, session_, kPath, "", nullptr, links);
  }

  LNDatabase Open() { return Reopen(kPath); }

  // Every document of a form as "item=value" of the named items, in note id order.
  std::vector<std::string> Stored(const std::string& form, const std::vector<std::string>& items) {
    LNDatabase db = Open();
    std::vector<LNDocument> docs;
    EXPECT_EQ(db.GetAllDocuments(&docs), LNNOERROR);
    std::vector<std::string> result;
    for (LNDocument& doc : docs) {
      doc.Open();
      if (doc.GetFormName() != form) continue;
      std::string line;
      for (const std::string& item : items)
        line += (line.empty() ? "" : " ") + item + "=" + GetFieldContent(ui_, item, doc);
      result.push_back(line);
    }
    db.Close();
    return result;
  }

  // While `on`, the store refuses every document with the item named `lname` (lower case).
  void Refuse(const std::string& lname, bool on) {
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open((dir_ / kPath).c_str(), &raw), SQLITE_OK);
    const std::string sql = on ? "CREATE TRIGGER refuse BEFORE INSERT ON items WHEN NEW.lname = '" +
                                     lname + "' BEGIN SELECT RAISE(ABORT, 'refused'); END;"
                               : "DROP TRIGGER refuse;";
    EXPECT_EQ(sqlite3_exec(raw, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(raw);
  }

  template <class Item>
  static Item* Find(const velk::CExtDirData& data, const std::string& label) {
    for (Item* item : data.ItemsOf<Item>())
      if (item->Label() == label) return item;
    return nullptr;
  }

  // The data set loaded from the directory, and a tree showing it.
  void LoadWithTree() {
    tree.reset();  // before the data set it shows
    data = Load();
    tree = std::make_unique<velk::CExtDirTree>(*data);
  }

  velk::CExtDirItemGRIProcView& Header(const std::string& name) {
    auto* header = Find<velk::CExtDirItemGRIProcView>(*data, name);
    EXPECT_NE(header, nullptr) << name;
    return *header;
  }

  std::unique_ptr<velk::CExtDirData> data;
  std::unique_ptr<velk::CExtDirTree> tree;
};
