#include <gtest/gtest.h>

#include "core/repositoryfixture.h"
#include "repository/fieldaccess.h"
#include "repository/viewreader.h"

namespace velk {
namespace {

using Strings = std::vector<std::string>;

class ViewWalkTest : public RepositoryTest {
 protected:
  // A categorized view over documents keyed A, B, A: rows A, a1, a2, B, b1.
  void SetUp() override {
    RepositoryTest::SetUp();
    db_ = NewDatabaseWithViews("walk.nsf", {{"ByKey", {"Doc"}, "Key", true}});
    for (auto [key, name] : {std::pair{"A", "a1"}, {"B", "b1"}, {"A", "a2"}})
      AddDocument(db_, "Doc", {{"Key", {key}}, {"Name", {name}}});
    ASSERT_EQ(db_.GetViewFolder("ByKey", &view_), LNNOERROR);
  }
  void TearDown() override {
    db_.Close();
    RepositoryTest::TearDown();
  }

  // The view as opened, at its first entry.
  LNViewFolder& Opened() {
    EXPECT_EQ(view_.Open(), LNNOERROR);
    return view_;
  }

  // The names of the documents visited (a category row as "+key"), up to `stopAt`.
  Strings Walk(ViewWalk walk, const std::string& stopAt = "") {
    Strings seen;
    walk.Entries([&](const LNVFEntry& entry) {
      if (entry.IsCategory()) {
        seen.push_back("+" + entry.GetKey());
        return true;
      }
      LNDocument doc;
      entry.GetDocument(&doc);
      doc.Open();
      seen.push_back(GetFieldContent(ui_, "Name", doc));
      return seen.back() != stopAt;
    });
    return seen;
  }

  LNDatabase db_;
  LNViewFolder view_;
};

TEST_F(ViewWalkTest, WalksEveryEntryOrThoseOfOneKeyAndStopsWhenAsked) {
  using C = ViewWalk::Categories;
  LNThrowAllErrorsScope throwing(db_, true);
  EXPECT_EQ(Walk(ViewWalk(Opened())), (Strings{"a1", "a2", "b1"}));
  EXPECT_EQ(Walk(ViewWalk(Opened(), C::Visit)), (Strings{"+A", "a1", "a2", "+B", "b1"}));
  EXPECT_EQ(Walk(ViewWalk(Opened()), "a2"), (Strings{"a1", "a2"}));
  EXPECT_EQ(Walk(ViewWalk(view_, "A")), (Strings{"a1", "a2"}));
  EXPECT_EQ(Walk(ViewWalk(view_, "B", C::Visit)), (Strings{"+B", "b1"}));
  EXPECT_TRUE(ViewWalk(view_, "C").Empty());
  EXPECT_EQ(Walk(ViewWalk(view_, "C")), Strings{});
}

}  // namespace
}  // namespace velk
