#pragma once
// Repository tests: a fresh temporary data directory and session, headless
// services with an Info Center of their own, and helpers that build purpose-made databases.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "common/headlessservices.h"
#include "common/infocenter.h"
#include "repository/databasetemplates.h"
#include "repository/store/lnnotes.h"

class RepositoryTest : public ::testing::Test {
 protected:
  using Texts = std::vector<std::pair<std::string, std::vector<std::string>>>;

  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "velkrepo-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
    setenv("VELK_DATA_DIR", dir_.c_str(), 1);
    ASSERT_EQ(session_.Init(410), LNNOERROR);
  }

  void TearDown() override {
    session_.Term();
    unsetenv("VELK_DATA_DIR");
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }

  // A new database with the full design of `kind`, open.
  LNDatabase NewDatabaseOfKind(velk::DatabaseKind kind, const std::string& path) {
    LNDatabase db;
    EXPECT_EQ(velk::CreateDatabaseOfKind(session_, kind, path, {}, {}, &db), LNNOERROR);
    EXPECT_EQ(db.Open(), LNNOERROR);
    return db;
  }

  // A new database holding only the given views, open.
  LNDatabase NewDatabaseWithViews(const std::string& path, const std::vector<LNViewDesign>& views) {
    LNDatabase db;
    EXPECT_EQ(session_.CreateDatabase(path, &db, "Purpose-made"), LNNOERROR);
    EXPECT_EQ(db.Open(), LNNOERROR);
    for (const LNViewDesign& view : views) EXPECT_EQ(db.CreateView(view), LNNOERROR);
    return db;
  }

  // A saved document of `form` with text items (a list item per entry).
  void AddDocument(LNDatabase& db, const std::string& form, const Texts& items) {
    LNDocument doc;
    ASSERT_EQ(db.CreateDocument(&doc, form), LNNOERROR);
    for (const auto& [name, values] : items)
      ASSERT_EQ(doc.CreateItem(name, LNText(values)), LNNOERROR);
    ASSERT_EQ(doc.Save(), LNNOERROR);
  }
  // Documents of `form`, a row each: the values of the named items separated by ";"
  // (a list's by ",").
  void AddRows(LNDatabase& db, const std::string& form, const std::vector<std::string>& names,
               const std::vector<std::string>& rows) {
    for (const std::string& row : rows) {
      Texts texts;
      for (const std::string& value : Split(row, ";"))
        texts.emplace_back(names.at(texts.size()), Split(value, ","));
      AddDocument(db, form, texts);
    }
  }
  static std::vector<std::string> Split(const std::string& text, const std::string& separator) {
    std::vector<std::string> parts;
    std::size_t from = 0;
    for (std::size_t at; (at = text.find(separator, from)) != std::string::npos;
         from = at + separator.size())
      parts.push_back(text.substr(from, at - from));
    parts.push_back(text.substr(from));
    return parts;
  }

  // An existing database, open.
  LNDatabase Reopen(const std::string& path) {
    LNDatabase db;
    EXPECT_EQ(session_.GetDatabase(path, &db), LNNOERROR);
    EXPECT_EQ(db.Open(), LNNOERROR);
    return db;
  }

  std::vector<velk::InfoEntry> Entries(const std::string& category) const {
    return ui_.infoCenter().entries(category);
  }
  // The entries of the category as "severity|title".
  std::vector<std::string> Summary(const std::string& category) const {
    std::vector<std::string> result;
    for (const velk::InfoEntry& e : Entries(category))
      result.push_back(std::to_string(static_cast<int>(e.severity)) + "|" + e.title);
    return result;
  }

  std::filesystem::path dir_;
  LNNotesSession session_;
  velk::HeadlessServices ui_;
};
