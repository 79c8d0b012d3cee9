#include "repository/identity.h"

#include <gtest/gtest.h>

namespace {

TEST(IdentityText, FormatsWordsInStoredOrderWithLeadingZeros) {
  EXPECT_EQ(FormatUniversalId({{1, 2, 3, 4}}), "00000002000000010000000400000003");
  EXPECT_EQ(FormatUniversalId({{0xDEADBEEF, 0xABCDEF01, 0, 0xFFFFFFFF}}),
            "ABCDEF01DEADBEEFFFFFFFFF00000000");
  EXPECT_EQ(FormatReplicaId({{0xA, 0xB}}), "0000000B:0000000A");
  EXPECT_EQ(FormatNoteId(0x1F2), "000001F2");
  EXPECT_EQ(FormatNoteId(0), "00000000");
  EXPECT_EQ(FormatNoteId(0xFFFFFFFF), "FFFFFFFF");
}

TEST(IdentityText, ParsingGivesBackTheFormattedIdsInEitherCase) {
  const LNUNID unid{{0x12345678, 0x9ABCDEF0, 0x0F1E2D3C, 0x4B5A6978}};
  EXPECT_EQ(ParseUniversalId(FormatUniversalId(unid)), unid);
  EXPECT_EQ(ParseUniversalId("abcdef01deadbeefffffffff00000000"),
            (LNUNID{{0xDEADBEEF, 0xABCDEF01, 0, 0xFFFFFFFF}}));
  const LNREPLICAID replica{{0xCAFEBABE, 0x00C0FFEE}};
  EXPECT_EQ(ParseReplicaId(FormatReplicaId(replica)), replica);
  EXPECT_EQ(ParseNoteId("000001F2"), 0x1F2u);
  EXPECT_EQ(ParseNoteId("1f2"), 0x1F2u);
}

TEST(IdentityText, ParsingRejectsMalformedTexts) {
  for (const char* text :
       {"", "0000000200000001000000040000000", "000000020000000100000004000000030",
        "0000000200000001000000040000000G", "-0000002000000010000000400000003"}) {
    EXPECT_FALSE(ParseUniversalId(text)) << text;
  }
  for (const char* text : {"", "0000000B0000000A", "0000000B:0000000", "0000000B-0000000A",
                           "0000000B:0000000X", "0000000B:0000000A0"}) {
    EXPECT_FALSE(ParseReplicaId(text)) << text;
  }
  for (const char* text : {"", "123456789", "12 4", "0x1F2", "-1"}) {
    EXPECT_FALSE(ParseNoteId(text)) << text;
  }
}

TEST(TokenHelpers, SplitTakesTheFirstOrLastPartAndLeavesTheRest) {
  struct Case {
    std::string text;
    char separator;
    std::string first, restAfterFirst, last, restBeforeLast;
  };
  const Case cases[] = {
      {"a/b/c", '/', "a", "b/c", "c", "a/b"},
      {"abc", '/', "abc", "", "abc", ""},
      {"", ';', "", "", "", ""},
      {"/x", '/', "", "x", "x", ""},
      {"x-", '-', "x", "", "", "x"},
      {"CN=A\\O=B", '\\', "CN=A", "O=B", "O=B", "CN=A"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    std::string text = c.text;
    EXPECT_EQ(SplitFirstToken(text, c.separator), c.first);
    EXPECT_EQ(text, c.restAfterFirst);
    text = c.text;
    EXPECT_EQ(SplitLastToken(text, c.separator), c.last);
    EXPECT_EQ(text, c.restBeforeLast);
  }
}

TEST(TokenHelpers, ReverseTokensReversesThePartOrder) {
  const std::pair<const char*, const char*> cases[] = {
      {"a/b/c", "c/b/a"}, {"abc", "abc"},   {"", ""},   {"a/", "/a"},
      {"/a", "a/"},       {"a//b", "b//a"}, {"/", "/"}, {"Ann/Sales/Acme", "Acme/Sales/Ann"},
  };
  for (const auto& [text, reversed] : cases) EXPECT_EQ(ReverseTokens(text, '/'), reversed) << text;
  EXPECT_EQ(ReverseTokens("1;2;3", ';'), "3;2;1");
}

}  // namespace
