#include <gtest/gtest.h>

#include <cerrno>
#include <cmath>
#include <limits>
#include <system_error>

#include "repository/store/lnencoding.h"
#include "repository/store/lnsqlite.h"

namespace {

using namespace lnstore;

TEST(Encoding, ValuesRoundTrip) {
  const LNItem items[] = {
      {"T",
       LNItemType::Text,
       0,
       {"", "a", std::string(300, 'z'), std::string("nul\0byte", 8), "Grüße"},
       {}},
      {"T", LNItemType::Text, 0, {}, {}},
      {"N",
       LNItemType::Numbers,
       0,
       {},
       {0.0, -0.0, 1e-300, std::numeric_limits<double>::infinity(), 42}},
      {"D", LNItemType::Datetimes, 0, {"2026-12-06T10:20:30"}, {}},
  };
  for (const LNItem& item : items) {
    std::string data;
    EncodeValues(item, &data);
    LNItem back{item.name, item.type, item.flags, {"stale"}, {1}};
    ASSERT_TRUE(DecodeValues(data, &back));
    EXPECT_EQ(back, item);
    FirstValue first;
    ASSERT_TRUE(DecodeFirstValue(item.type, data, &first));
    EXPECT_EQ(first.present, !(item.texts.empty() && item.numbers.empty()));
  }
}

TEST(Encoding, GarbageIsRefusedNotTrusted) {
  const std::pair<LNItemType, std::string> cases[] = {
      {LNItemType::Text, ""},
      {LNItemType::Text, "\x01"},  // one text, no length
      {LNItemType::Text,
       "\x01\x05"
       "abc"},                                     // length beyond the end
      {LNItemType::Text, "\xff\xff\xff\xff\x0f"},  // a huge count
      {LNItemType::Text,
       "\x01\x01"
       "ab"},                                       // bytes left over
      {LNItemType::Text, std::string(12, '\x80')},  // endless varint
      {LNItemType::Numbers,
       "\x02"
       "12345678"},  // one double short
      {LNItemType::Numbers,
       "\x01"
       "1234567"},
  };
  for (const auto& [type, data] : cases) {
    LNItem item{"x", type, 0, {}, {}};
    EXPECT_FALSE(DecodeValues(data, &item)) << testing::PrintToString(data);
  }
}

TEST(Encoding, NamesFoldOnlyAsciiLetters) {
  EXPECT_TRUE(SameName("WorkflowID", "workflowid"));
  EXPECT_FALSE(SameName("Größe", "GRÖSSE"));
  EXPECT_EQ(FoldName("AbC-1"), "abc-1");
  EXPECT_LT(CompareKeyText("a", "B"), 0);
  EXPECT_LT(CompareKeyText("B", "b"), 0);
  EXPECT_EQ(CompareKeyText("b", "b"), 0);
  EXPECT_EQ(NumberText(3), "3");
  EXPECT_EQ(NumberText(2.5), "2.5");
}

TEST(Encoding, Utf8IsCheckedByTheLengthItsLeadByteAnnounces) {
  const std::pair<std::string, bool> cases[] = {
      {"plain", true},          {"Gr\xC3\xBC\xC3\x9F" "e", true},
      {"\xE2\x9C\x93", true},  {"\xF0\x9F\x98\x80 emoji", true},
      {"\xF0\x9F\x98", false}, {"\xF8\x88\x80\x80\x80", false},
      {"\xC0\xAF", false},      {"\xED\xA0\x80", false},
      {"\xFF", false},          {"\xC3(", false},
  };
  for (const auto& [text, valid] : cases) EXPECT_EQ(IsUtf8(text), valid) << testing::PrintToString(text);
}

TEST(SystemErrors, CarryTheirErrnoOnlyWhenItFits) {
  EXPECT_EQ(LNGetErrorMessage(LNSystemError(ENOENT)),
            "The file could not be accessed: " + std::generic_category().message(ENOENT));
  for (int outOfRange : {0, -1, 0x1000}) {
    EXPECT_EQ(LNSystemError(outOfRange), LNERR_SYSTEM) << outOfRange;
    EXPECT_EQ(LNGetErrorMessage(LNSystemError(outOfRange)), "The file could not be accessed");
  }
}

TEST(SqliteErrors, MapToStoreStatuses) {
  const std::pair<int, LNSTATUS> cases[] = {
      {SQLITE_OK, LNNOERROR},
      {SQLITE_NOTADB, LNERR_NOT_A_DATABASE},
      {SQLITE_CORRUPT, LNERR_DATABASE_DAMAGED},
      {SQLITE_CORRUPT_INDEX, LNERR_DATABASE_DAMAGED},
      {SQLITE_BUSY, LNERR_DATABASE_BUSY},
      {SQLITE_BUSY_SNAPSHOT, LNERR_DATABASE_BUSY},
      {SQLITE_LOCKED, LNERR_DATABASE_BUSY},
      {SQLITE_IOERR_WRITE, LNERR_DISK_IO},
      {SQLITE_FULL, LNERR_DISK_FULL},
      {SQLITE_READONLY, LNERR_PERMISSION_DENIED},
      {SQLITE_CANTOPEN, LNERR_CANNOT_OPEN},
      {SQLITE_NOMEM, LNERR_INTERNAL},
      {SQLITE_CONSTRAINT_UNIQUE, LNERR_INTERNAL},
  };
  for (const auto& [code, status] : cases) EXPECT_EQ(MapSqliteError(code), status) << code;
  // What the system reported tells why a file could not be opened or written.
  EXPECT_EQ(MapSqliteError(SQLITE_CANTOPEN, ENOENT), LNERR_FILE_NOT_FOUND);
  EXPECT_EQ(MapSqliteError(SQLITE_IOERR_WRITE, ENOSPC), LNERR_DISK_FULL);
}

}  // namespace
