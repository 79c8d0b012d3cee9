#pragma once
// A Process Definitions Database in a temporary data directory, a workflow whose
// Process Definitions slot names it, and readers for what the save stored.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "common/infocenter.h"
#include "common/services.h"
#include "model/workflowload.h"
#include "model/workflowsave.h"
#include "repository/databasetemplates.h"
#include "repository/fieldaccess.h"
#include "repository/processdefdb.h"
#include "repository/store/lnnotes.h"
#include "workflowfixture.h"

namespace velk::testing {

inline constexpr char kTestUser[] = "CN=Test Designer/O=Marvelund";

// A header document as another program may have stored it.
struct StoredHeader {
  std::string type;
  std::string id;
  const char* status;
  int version;
  bool referenced = false;
  const char* wfType = "Normal";
  std::string category = "Sales";
};

class StorageTest : public WorkflowTest {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "velkstorage-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
    setenv("VELK_DATA_DIR", dir_.c_str(), 1);
    setenv("VELK_USER", kTestUser, 1);
    ASSERT_EQ(session.Init(410), LNNOERROR);
    LNDatabase db;
    ASSERT_EQ(
        CreateDatabaseOfKind(session, DatabaseKind::ProcessDefinitions, "procdef.nsf", "", "", &db),
        LNNOERROR);
    repository = std::make_unique<CProcessDefDb>(ui, session, "procdef.nsf", "", &doc,
                                                 [this] { return headerLocation; });
    Attach(doc);
  }

  void TearDown() override {
    unsetenv("VELK_DATA_DIR");
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }

  // Gives a workflow the test database as its Process Definitions Database.
  void Attach(CWorkflowDoc& workflow) {
    WorkflowDatabases databases = workflow.Databases();
    databases.processDefinitions.location = {"procdef.nsf", ""};
    databases.processDefinitions.repository = repository.get();
    workflow.SetDatabases(databases);
  }

  // Loads a stored version from the test database into `workflow`.
  bool LoadStored(CWorkflowDoc& workflow, const std::string& name, const std::string& id,
                  int version = 0, WorkflowStatus status = WorkflowStatus::Design) {
    Attach(workflow);
    WorkflowHeaderEntry chosen;
    chosen.type = name;
    chosen.workflowId = id;
    chosen.status = static_cast<int>(status);
    chosen.version = version;
    return LoadWorkflow(workflow, chosen, session);
  }

  // Stores the workflow and loads what was stored into a new document.
  std::unique_ptr<CWorkflowDoc> SavedAndReopened(CWorkflowDoc& workflow) {
    Attach(workflow);
    EXPECT_TRUE(WriteWorkflow(workflow, {nullptr, workflow.Header().applicationReplicaId}));
    const WorkflowHeader& h = workflow.Header();
    auto loaded = std::make_unique<CWorkflowDoc>(ui, kTestUser, "06.12.2026");
    EXPECT_TRUE(LoadStored(*loaded, h.name, h.workflowId, h.version)) << h.name;
    return loaded;
  }

  void SetStatus(CWorkflowDoc& workflow, WorkflowStatus status, int version = 0) {
    WorkflowHeader h = workflow.Header();
    h.status = status;
    h.version = version;
    workflow.SetHeader(h);
  }

  LNDatabase Open(const char* file = "procdef.nsf") {
    LNThrowAllErrorsScope returning(session, false);  // and the database it gives
    LNDatabase db;
    EXPECT_EQ(session.GetDatabase(file, &db), LNNOERROR);
    EXPECT_EQ(db.Open(), LNNOERROR);
    return db;
  }

  // The open documents of a view under a key, in view order (all when `key` is empty).
  std::vector<LNDocument> Documents(LNDatabase& db, const char* view, const std::string& key = {}) {
    LNThrowAllErrorsScope returning(db, false);
    LNViewFolder folder;
    EXPECT_EQ(db.GetViewFolder(view, &folder), LNNOERROR);
    EXPECT_EQ(folder.Open(), LNNOERROR);
    std::vector<LNDocument> docs;
    LNVFEntry entry;
    long count = folder.GetEntryCount();
    if (!key.empty() && folder.Find(key, &entry, &count) != LNNOERROR) return docs;
    if (key.empty() && folder.GetEntry(&entry) != LNNOERROR) return docs;
    for (long i = 0; i < count; ++i) {
      if (i > 0) folder.Goto(LNVFNAVIGATE_NEXT, &entry);
      LNDocument d;
      entry.GetDocument(&d);
      d.Open();
      docs.push_back(d);
    }
    return docs;
  }

  // Saves a document of `form` with text list items, as another program may have stored it.
  using Items = std::vector<std::pair<std::string, std::vector<std::string>>>;
  void AddStored(const char* form, const Items& items) {
    LNDatabase db = Open();
    LNThrowAllErrorsScope throwing(db, true);
    LNDocument d;
    db.CreateDocument(&d, form);
    for (const auto& [name, values] : items) SetFieldListContent(name, d, values);
    d.Save();
    db.Close();
  }

  // Writes the header; the items named in `skip` are left out.
  void AddHeader(const StoredHeader& h, const std::vector<std::string>& skip = {}) {
    LNDatabase db = Open();
    LNThrowAllErrorsScope throwing(db, true);
    LNDocument d;
    db.CreateDocument(&d, forms::kHeader);
    auto wanted = [&](const char* item) { return std::ranges::find(skip, item) == skip.end(); };
    if (wanted("Type")) SetFieldContent("Type", h.type, d);
    SetFieldContent("Category", h.category, d);
    SetFieldContent("WorkFlowID", h.id, d);
    SetFieldContent("AppReplikaID", "C1257A1B:0034F2E1", d);
    if (wanted("Version")) SetFieldIntContent("Version", h.version, d);
    if (wanted("Status")) SetFieldContent("Status", h.status, d);
    SetFieldContent("WFType", h.wfType, d);
    SetFieldBoolContent("ReferenceAllowed", true, d);
    if (h.referenced)
      SetFieldListContent("IsReferencedBy", d, {"5D0E7A1B2C3D4E5F60718293A4B5C6D7"});
    SetFieldListContent("User", d, {"Ann Lee/Sales/Marvelund", h.type + " editor"});
    SetFieldListContent("LastModify", d, {"01.02.2026 10:00:00", "03.04.2026 11:00:00"});
    d.Save();
    db.Close();
  }

  static std::vector<std::string> Texts(const LNDocument& d, const std::string& item) {
    LNText text;
    if (d.GetItem(item, &text) != LNNOERROR) return {};
    return text.Values();
  }
  static std::string Text(const LNDocument& d, const std::string& item) {
    std::vector<std::string> t = Texts(d, item);
    return t.empty() ? std::string() : t[0];
  }
  // "item=value,value | ..." of the named items, "!item" for one not stored.
  static std::string ItemText(const LNDocument& d, std::initializer_list<const char*> names) {
    std::string text;
    for (const char* name : names) {
      std::string values;
      for (const std::string& v : Texts(d, name)) values += (values.empty() ? "" : ",") + v;
      text += (text.empty() ? "" : " | ") +
              (d.HasItem(name) ? std::string(name) + "=" + values : std::string("!") + name);
    }
    return text;
  }
  // The documents of a view under a key (all when empty) as ItemText renders them.
  std::vector<std::string> StoredRows(const char* view, const std::string& key,
                                      std::initializer_list<const char*> names,
                                      const char* file = "procdef.nsf") {
    LNDatabase db = Open(file);
    std::vector<std::string> rows;
    for (const LNDocument& d : Documents(db, view, key)) rows.push_back(ItemText(d, names));
    return rows;
  }
  // Item names in stored order, without the form, joined by spaces.
  static std::string ItemNames(const LNDocument& d) {
    std::string names;
    for (const LNItem& item : d.GetItems())
      if (item.name != "Form") names += (names.empty() ? "" : " ") + item.name;
    return names;
  }

  std::filesystem::path dir_;
  LNNotesSession session;
  std::unique_ptr<CProcessDefDb> repository;
  // Where the repository reads its header list.
  DatabaseLocation headerLocation{"procdef.nsf", ""};
};

}  // namespace velk::testing
