#include "app/text_filters.h"

#include <gtest/gtest.h>

#include <string>

namespace zrv {
namespace {

struct FilterCase {
  const char* input;
  const char* expected;
};

TEST(NormalizeApostrophes, FoldsTheFourTypographicApostrophesOnly) {
  const FilterCase cases[] = {
      {"it\xE2\x80\x99s", "it's"},                     // U+2019
      {"\xE2\x80\x98quoted\xE2\x80\x99", "'quoted'"},  // U+2018 ... U+2019
      {"a\xCA\xBC"
       "b\xEF\xBC\x87"
       "c",
       "a'b'c"},  // U+02BC, U+FF07
      {"\xE2\x80\x9C"
       "double\xE2\x80\x9D",
       "\xE2\x80\x9C"
       "double\xE2\x80\x9D"},                        // U+201C/D stay
      {"`grave\xE2\x80\xB2", "`grave\xE2\x80\xB2"},  // grave accent, prime stay
      {"", ""},
      {"plain text, no marks", "plain text, no marks"},
      {"\xE2\x80\x99\xE2\x80\x99", "''"},
      {"\xE2\x80", "\xE2\x80"},  // a cut-off sequence is not an apostrophe
  };
  for (const FilterCase& c : cases) {
    EXPECT_EQ(normalizeApostrophes(c.input), c.expected) << c.input;
  }
}

TEST(EscapeSingleQuotes, DoublesEveryApostrophe) {
  const FilterCase cases[] = {
      {"don't", "don''t"}, {"''", "''''"}, {"plain", "plain"}, {"", ""}, {"'a'", "''a''"},
  };
  for (const FilterCase& c : cases) {
    EXPECT_EQ(escapeSingleQuotes(c.input), c.expected) << c.input;
  }
}

TEST(RemoveSingleEdgeQuotes, RemovesAtMostOneApostropheAtEachEnd) {
  const FilterCase cases[] = {
      {"'", ""},        {"''", "'"}, {"'a'", "a"},       {"a'", "a"},  {"'a", "a"},
      {"''a''", "'a'"}, {"", ""},    {"don't", "don't"}, {"'''", "'"},
  };
  for (const FilterCase& c : cases) {
    EXPECT_EQ(removeSingleEdgeQuotes(c.input), c.expected) << c.input;
  }
}

TEST(RemoveNonAlphanumerics, KeepsOnlyAsciiLettersAndDigits) {
  const FilterCase cases[] = {
      {"130\n", "130"},
      {"2fd4e1c67a2d28fced849ee1bb76e7391b93eb12   \r\n",
       "2fd4e1c67a2d28fced849ee1bb76e7391b93eb12"},
      {"a-b c", "abc"},
      {"\xC3\xA9", ""},
      {"1.3.0", "130"},
      {"", ""},
  };
  for (const FilterCase& c : cases) {
    EXPECT_EQ(removeNonAlphanumerics(c.input), c.expected) << c.input;
  }
}

TEST(RemoveNonAlphanumerics, SurvivesABodyOfSeveralMegabytes) {
  // A server may send anything as the digest; long runs of other bytes must not exhaust the stack.
  std::string body(4 << 20, ' ');
  body += "abc";
  body += std::string(3 << 20, '\0');
  body += "123";
  for (int i = 0; i < (1 << 20); ++i) {
    body += static_cast<char>(0x80 + i % 128);
  }
  EXPECT_EQ(removeNonAlphanumerics(body), "abc123");
}

TEST(TextFilters, LongRunsWithoutMatchesComeBackWhole) {
  const std::string spaces(1 << 20, ' ');
  EXPECT_EQ(normalizeApostrophes(spaces), spaces);
  EXPECT_EQ(escapeSingleQuotes(spaces), spaces);
  const std::string apostrophes(100000, '\'');
  EXPECT_EQ(escapeSingleQuotes(apostrophes), std::string(200000, '\''));
  std::string curly;
  for (int i = 0; i < 100000; ++i) {
    curly += "\xE2\x80\x99";
  }
  EXPECT_EQ(normalizeApostrophes(curly), apostrophes);
}

TEST(ToLowerCase, LowersAsciiLettersOnly) {
  const FilterCase cases[] = {
      {"DON'T", "don't"}, {"\xC3\x84", "\xC3\x84"}, {"A1-Z9.", "a1-z9."},
      {"", ""},           {"McDonald", "mcdonald"},
  };
  for (const FilterCase& c : cases) {
    EXPECT_EQ(toLowerCase(c.input), c.expected) << c.input;
  }
}

}  // namespace
}  // namespace zrv
