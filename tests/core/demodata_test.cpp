// The demo repository holds together: every name one database quotes from
// another exists there, and the readers' keys find what they look for. Its
// documents also show that each form names every item its documents hold, with
// the type the modeler stores it as.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "common/headlessservices.h"
#include "model/workflowdoc.h"
#include "repository/applicationenvdb.h"
#include "repository/databasetemplates.h"
#include "repository/demodata.h"
#include "repository/demoworkflows.h"
#include "repository/identity.h"
#include "repository/repositoryfind.h"
#include "repository/store/lnencoding.h"
#include "repository/viewreader.h"

namespace velk {
namespace {

namespace fs = std::filesystem;

// A document's items by name: texts, or numbers as "%g".
using Items = std::map<std::string, std::vector<std::string>>;

class DemoDataTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    std::string pattern = (fs::temp_directory_path() / "velkdemo-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
    setenv("VELK_DATA_DIR", dir_.c_str(), 1);
    session_ = new LNNotesSession;
    session_->Init(410);
    HeadlessServices ui;
    results_ = CreateDemoRepository(ui, *session_, {});
  }
  static void TearDownTestSuite() {
    delete session_;
    unsetenv("VELK_DATA_DIR");
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }
  void SetUp() override { session_->SetThrowAllErrors(true); }
  void TearDown() override { session_->SetThrowAllErrors(false); }

  static const DemoResult& Result(DatabaseKind kind) {
    return *std::ranges::find(results_, kind, &DemoResult::kind);
  }
  static LNDatabase Open(DatabaseKind kind) {
    LNDatabase db;
    session_->GetDatabase(Result(kind).path, &db);
    db.Open();
    return db;
  }

  // Every document of `view` in view order, category rows left out.
  static std::vector<Items> Read(LNDatabase& db, const char* view) {
    LNViewFolder folder;
    db.GetViewFolder(view, &folder);
    folder.Open();
    std::vector<Items> docs;
    if (folder.GetEntryCount() == 0) return docs;
    ViewWalk(folder).Documents([&docs](LNDocument& doc) {
      Items& items = docs.emplace_back();
      for (const LNItem& item : doc.GetItems()) {
        items[item.name] = item.texts;
        for (double n : item.numbers)
          items[item.name].push_back(std::to_string(static_cast<int>(n)));
      }
      items["#noteId"] = {FormatNoteId(doc.GetNoteID())};
      return true;
    });
    return docs;
  }

  static std::set<std::string> Values(const std::vector<Items>& docs, const char* item) {
    std::set<std::string> values;
    for (const Items& d : docs)
      if (d.count(item)) values.insert(d.at(item).begin(), d.at(item).end());
    return values;
  }

  static inline fs::path dir_;
  static inline LNNotesSession* session_ = nullptr;
  static inline std::vector<DemoResult> results_;
};

bool Within(const std::set<std::string>& part, const std::set<std::string>& whole) {
  return std::includes(whole.begin(), whole.end(), part.begin(), part.end());
}

TEST_F(DemoDataTest, OrganisationMembersArePersonsOfTheInfrastructure) {
  LNDatabase infra = Open(DatabaseKind::Infrastructure);
  std::set<std::string> persons;
  for (const std::string& name : Values(Read(infra, views::kOrgaAgentLastName), "FullName"))
    persons.insert(LNNotesSession::AbbreviateName(name));
  EXPECT_GE(persons.size(), 40u);
  for (const char* view : {views::kWorkgroups, views::kUnits}) {
    const auto groups = Read(infra, view);
    EXPECT_GE(groups.size(), 5u);
    EXPECT_TRUE(Within(Values(groups, "NewManager"), persons)) << view;
    EXPECT_TRUE(Within(Values(groups, "NewPersons"), persons)) << view;
  }
  const auto roles = Read(infra, views::kRoles);
  EXPECT_EQ(std::count_if(roles.begin(), roles.end(),
                          [](const Items& r) { return r.at("Name")[0] == "Clerk"; }),
            3);
}

// Read as the modeler reads it; the forms also hold the engine's own fields.
TEST_F(DemoDataTest, ApplicationEnvironmentOffersFormsAndTheOfficeAddress) {
  HeadlessServices ui;
  const CApplicationEnvDb read(ui, *session_, Result(DatabaseKind::ApplicationEnvironment).path, {},
                               nullptr);
  EXPECT_EQ(read.OfficeMail(), kDemoOfficeMail);
  EXPECT_GE(read.Forms().size(), 8u);
  LNDatabase appenv = Open(DatabaseKind::ApplicationEnvironment);
  std::vector<LNForm> forms;
  appenv.GetForms(&forms);
  int ownFields = 0;
  for (LNForm& form : forms) {
    form.Open();
    LNText title, fields;
    form.GetItem("$TITLE", &title);
    form.GetItem("$Fields", &fields);
    if (IsApplicationFormTitle(title[0]))
      ownFields += std::ranges::count_if(fields.Values(), std::not_fn(IsApplicationFieldName));
  }
  EXPECT_GE(ownFields, 5);
}

TEST_F(DemoDataTest, ExternalDirectoryReferencesResolve) {
  LNDatabase extdir = Open(DatabaseKind::ExternalDirectory);
  const auto headers = Read(extdir, views::kGriHeader);
  const auto leafs = Read(extdir, views::kGriLeafId);
  const auto types = Read(extdir, views::kDocumentTypes);
  const auto blocks = Read(extdir, views::kContentBlocks);
  EXPECT_TRUE(Within(Values(leafs, "HeaderID"), Values(headers, "HeaderID")));
  std::set<std::string> docTypes = Values(types, "DocumentTypeID");
  docTypes.insert("");
  EXPECT_TRUE(Within(Values(leafs, "InputDocTypeID"), docTypes));
  EXPECT_TRUE(Within(Values(leafs, "OutputDocTypeID"), docTypes));
  EXPECT_TRUE(Within(Values(types, "ContentBlockIDList"), Values(blocks, "ContentBlockID")));
  // Blocks are found by a part of their id.
  for (const std::string& a : Values(blocks, "ContentBlockID"))
    for (const std::string& b : Values(blocks, "ContentBlockID"))
      EXPECT_TRUE(a == b || b.find(a) == std::string::npos) << a << " in " << b;

  // Every published leaf has its IRI document, found by the leaf id.
  for (const Items& leaf : leafs) {
    if (leaf.at("Direction")[0] != "Published") continue;
    LNViewFolder iri;
    extdir.GetViewFolder(views::kIriLeaf, &iri);
    iri.Open();
    long count = 0;
    iri.Find(leaf.at("LeafID")[0], nullptr, &count);
    EXPECT_EQ(count, 1) << leaf.at("LeafName")[0];
  }
  for (const Items& cm : Read(extdir, views::kContentManagement))
    EXPECT_EQ(cm.at("ContentManagementID")[0], cm.at("#noteId")[0]);
}

TEST_F(DemoDataTest, EidmRequestsNameKnownOrganisationsAndPersons) {
  LNDatabase extdir = Open(DatabaseKind::ExternalDirectory);
  std::set<std::string> organisations = Values(Read(extdir, views::kEidmOrg), "ExtOrganization");
  organisations.insert(kDemoOrganisation);
  std::set<std::string> people;
  for (const std::string& name : Values(Read(extdir, views::kPeople), "FullName"))
    people.insert(LNNotesSession::AbbreviateName(name));
  LNDatabase tracking = Open(DatabaseKind::Tracking);
  const std::string trackingId = FormatReplicaId(tracking.GetReplicaID());

  const auto requests = Read(extdir, views::kEidm);
  EXPECT_GE(requests.size(), 4u);
  EXPECT_TRUE(Within(Values(requests, "ExtClusterOrg"), organisations));
  EXPECT_TRUE(Within(Values(requests, "MasterOrg"), organisations));
  EXPECT_TRUE(Within(Values(requests, "ExtClusterResponsible"), people));
  EXPECT_TRUE(Within(Values(Read(extdir, views::kEidmOrg), "ExtOrgResponsible"), people));
  for (const Items& r : requests) {
    if (r.at("MasterOrg")[0] != kDemoOrganisation) continue;
    EXPECT_EQ(r.at("MasterTrackingAddress")[0], trackingId);
    EXPECT_EQ(r.at("MasterEngineAddress")[0], kDemoOfficeMail);
  }
}

// How far two arrows run along one line: the length of the part both cover
// when each end of `b` lies within two units of the line through `a`, else 0.
double SharedRun(const CArrow& a, const CArrow& b) {
  const double ax = a.LineStart().x, ay = a.LineStart().y;
  const double dx = a.LineEnd().x - ax, dy = a.LineEnd().y - ay;
  const double length = std::hypot(dx, dy);
  if (length == 0) return 0;
  double from = length, to = 0;
  for (Point p : {b.LineStart(), b.LineEnd()}) {
    if (std::abs((p.x - ax) * dy - (p.y - ay) * dx) / length > 2) return 0;
    const double along = ((p.x - ax) * dx + (p.y - ay) * dy) / length;
    from = std::min(from, along);
    to = std::max(to, along);
  }
  return std::max(0.0, std::min(to, length) - std::max(from, 0.0));
}

// Every level of the workflow: the top one, then each cluster's.
void CollectLevels(CWorkflowDoc& doc, std::vector<CWorkflowDoc*>& levels) {
  levels.push_back(&doc);
  for (CNode* node : doc.LevelNodes())
    if (node->IsClusterNode()) CollectLevels(*doc.Top().OpenClusterDocument(*node), levels);
}

TEST(DemoWorkflowsTest, NoArrowRunsAlongAnother) {
  HeadlessServices ui;
  for (const auto& workflow : demo::BuildDemoWorkflows(ui)) {
    std::vector<CWorkflowDoc*> levels;
    CollectLevels(*workflow, levels);
    for (const CWorkflowDoc* level : levels) {
      std::vector<const CArrow*> arrows;
      for (const CNode* node : level->LevelNodes())
        arrows.insert(arrows.end(), node->OutgoingArrows().begin(), node->OutgoingArrows().end());
      for (const CArrow* a : arrows)
        for (const CArrow* b : arrows)
          EXPECT_TRUE(a == b || SharedRun(*a, *b) <= kNodeSize)
              << workflow->Header().name << ": " << a->Source()->Name() << " -> "
              << a->Target()->Name() << " runs along " << b->Source()->Name() << " -> "
              << b->Target()->Name();
    }
  }
}

TEST_F(DemoDataTest, FindInRepositoryListsTheStoredVersionsByNamePerformerAndForm) {
  LNDatabase db = Open(DatabaseKind::ProcessDefinitions);
  HeadlessServices ui;
  const RepositoryFindIndex index(ui, db);
  auto texts = [&index](std::string_view text) {
    std::vector<std::string> found;
    for (const RepositoryHit& hit : index.Find(text)) found.push_back(index.Describe(hit));
    return found;
  };
  // Only the version with the cluster has the dispatcher's tasks, two levels down.
  EXPECT_EQ(
      texts("DISPATCHER"),
      (std::vector<std::string>{"Order Handling v2 (Active): task 'Pack parcel' (performer)",
                                "Order Handling v2 (Active): task 'Print label' (performer)"}));
  const std::vector<std::string> named = texts("order handling");
  EXPECT_EQ(std::ranges::count(named, std::string("Order Handling v1 (Freeze) (name)")), 1);
  EXPECT_EQ(std::ranges::count(named, std::string("Order Handling v2 (Active) (name)")), 1);
  // A form is found by its title, not by the stored form name after it.
  EXPECT_EQ(texts("Delivery Note").size(), 4u);
  EXPECT_TRUE(texts("GF_DeliveryNote").empty());
  EXPECT_TRUE(texts("").empty());
  db.Close();
}

TEST_F(DemoDataTest, EveryDocumentHoldsOnlyItemsOfItsFormStoredAsTheFormSays) {
  for (const DemoResult& result : results_) {
    SCOPED_TRACE(CliNameOf(result.kind));
    LNDatabase db = Open(result.kind);
    EXPECT_TRUE(MistypedItems(db, result.kind).empty());
    std::vector<LNDocument> documents;
    ASSERT_EQ(db.GetAllDocuments(&documents), LNNOERROR);
    const std::vector<FormDesign>& forms = TemplateOf(result.kind).forms;
    for (LNDocument& doc : documents) {
      doc.Open();
      auto form = std::ranges::find(forms, doc.GetFormName(), &FormDesign::title);
      ASSERT_NE(form, forms.end()) << doc.GetFormName();
      for (std::size_t i = 0; i < doc.GetItemCount(); ++i) {
        const std::string_view item = doc.GetItemName(i);
        if (item == "Form") continue;  // the store's own
        EXPECT_TRUE(std::ranges::any_of(
            form->fields, [&](const std::string& field) { return lnstore::SameName(field, item); }))
            << form->title << ": " << item;
      }
    }
  }
}

// Last of the suite: it stores a damaged item in the shared demo repository.
TEST_F(DemoDataTest, AnItemStoredOtherwiseThanTheModelerStoresItIsFound) {
  LNDatabase db = Open(DatabaseKind::ProcessDefinitions);
  std::vector<LNDocument> documents;
  db.GetAllDocuments(&documents);
  auto task = std::ranges::find_if(documents, [](LNDocument& doc) {
    doc.Open();
    return doc.GetFormName() == forms::kWorkflowStructure && doc.HasItem("duration");
  });
  ASSERT_NE(task, documents.end());
  ASSERT_EQ(
      task->CreateItem(LNItem{"Duration", LNItemType::Text, 0, {"2"}, {}}, LNITEMOPTION_REPLACE),
      LNNOERROR);
  ASSERT_EQ(task->Save(), LNNOERROR);

  const std::vector<MistypedItem> found = MistypedItems(db, DatabaseKind::ProcessDefinitions);
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(
      std::tie(found[0].form, found[0].noteId, found[0].item, found[0].stored, found[0].expected),
      std::tuple(forms::kWorkflowStructure, task->GetNoteID(), "Duration", LNItemType::Text,
                 LNItemType::Numbers));
}

}  // namespace
}  // namespace velk
