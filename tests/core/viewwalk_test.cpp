#include <gtest/gtest.h>

#include "core/repositoryfixture.h"
#include "repository/fieldaccess.h"
#include "repository/viewreader.h"

namespace velk {
namespace {

using Strings = std::vector<std::string>;

// A categorized view over documents keyed A, B, A: rows A, a1, a2, B, b1.
TEST_F(RepositoryTest, ViewWalkVisitsEveryEntryOrThoseOfOneKeyAndStopsWhenAsked) {
  LNDatabase db = NewDatabaseWithViews("walk.nsf", {{"ByKey", {"Doc"}, "Key", true}});
  for (auto [key, name] : {std::pair{"A", "a1"}, {"B", "b1"}, {"A", "a2"}})
    AddDocument(db, "Doc", {{"Key", {key}}, {"Name", {name}}});
  LNViewFolder view;
  ASSERT_EQ(db.GetViewFolder("ByKey", &view), LNNOERROR);
  LNThrowAllErrorsScope throwing(db, true);
  const auto opened = [&]() -> LNViewFolder& {
    EXPECT_EQ(view.Open(), LNNOERROR);
    return view;
  };
  // The names of the documents visited (a category row as "+key"), up to `stopAt`.
  const auto walk = [&](ViewWalk w, const std::string& stopAt = "") {
    Strings seen;
    w.Entries([&](const LNVFEntry& entry) {
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
  };
  using C = ViewWalk::Categories;
  EXPECT_EQ(walk(ViewWalk(opened())), (Strings{"a1", "a2", "b1"}));
  EXPECT_EQ(walk(ViewWalk(opened(), C::Visit)), (Strings{"+A", "a1", "a2", "+B", "b1"}));
  EXPECT_EQ(walk(ViewWalk(opened()), "a2"), (Strings{"a1", "a2"}));
  EXPECT_EQ(walk(ViewWalk(view, "A")), (Strings{"a1", "a2"}));
  EXPECT_EQ(walk(ViewWalk(view, "B", C::Visit)), (Strings{"+B", "b1"}));
  EXPECT_TRUE(ViewWalk(view, "C").Empty());
  EXPECT_EQ(walk(ViewWalk(view, "C")), Strings{});
  db.Close();
}

}  // namespace
}  // namespace velk
