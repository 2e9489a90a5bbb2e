#include "engine/case_transfer.h"

#include <gtest/gtest.h>

#include <string>

namespace zrv {
namespace {

struct TextCase {
  const char* what;
  std::string text;
  std::string expected;
};

TEST(CaseTransfer, ToUpperCaseRaisesAsciiAndSpecialLettersOnly) {
  const TextCase cases[] = {
      {"eng and a with macron", "\xC5\x8B\xC4\x81", "\xC5\x8A\xC4\x80"},
      {"ascii letters", "abc", "ABC"},
      {"cyrillic che changes its lead byte", "\xD1\x87", "\xD0\xA7"},
      {"cyrillic tshe changes its lead byte", "\xD1\x9B", "\xD0\x8B"},
      {"armenian ech changes its lead byte", "\xD5\xA7", "\xD4\xB7"},
      {"digits, punctuation and apostrophes", "0129.,;!?'-", "0129.,;!?'-"},
      {"capitals stay", "ABC\xC3\x81\xD0\xA7", "ABC\xC3\x81\xD0\xA7"},
      {"eth is outside the table, both its bytes copied",
       "a\xC3\xB0"
       "b",
       "A\xC3\xB0"
       "B"},
      {"a lone lead byte at the end", "ab\xC3", "AB\xC3"},
      {"a lone lead byte before an ascii letter",
       "\xC3"
       "a",
       "\xC3"
       "A"},
      {"a three-byte character passes through",
       "a\xE2\x80\x99"
       "b",
       "A\xE2\x80\x99"
       "B"},
      {"empty", "", ""},
      {"every special letter",
       "\xC3\xA1\xC3\xA5\xC3\xA9\xC3\xBA\xC3\xB3\xC3\xBE\xC4\x81\xC4\x93\xC4\xAB\xC5\xAB\xC5\xAF"
       "\xC5\x8D\xC5\x8B\xD1\x9B\xD1\x87\xD2\x81\xD4\x85\xD4\x8F\xD5\xA7",
       "\xC3\x81\xC3\x85\xC3\x89\xC3\x9A\xC3\x93\xC3\x9E\xC4\x80\xC4\x92\xC4\xAA\xC5\xAA\xC5\xAE"
       "\xC5\x8C\xC5\x8A\xD0\x8B\xD0\xA7\xD2\x80\xD4\x84\xD4\x8E\xD4\xB7"},
      // A continuation byte never begins a pair, so C3 is not taken as a lead after A9.
      {"pairs are taken from the left", "\xC3\xA9\xC3\xA9", "\xC3\x89\xC3\x89"},
  };
  for (const TextCase& c : cases) {
    EXPECT_EQ(toUpperCase(c.text), c.expected) << c.what;
    EXPECT_EQ(toUpperCase(c.text).size(), c.text.size()) << c.what;
  }
}

TEST(CaseTransfer, CapitalizeFirstLetterChangesOnlyTheFirstLetter) {
  const TextCase cases[] = {
      {"special first letter",
       "\xC4\x93"
       "a",
       "\xC4\x92"
       "a"},
      {"ascii word", "abc", "Abc"},
      {"one letter", "a", "A"},
      {"eth is not a special letter",
       "\xC3\xB0"
       "e",
       "\xC3\xB0"
       "e"},
      {"leading apostrophe", "'abc", "'abc"},
      {"leading digit", "2abc", "2abc"},
      {"empty", "", ""},
      {"the rest keeps its case", "aBC\xC4\x81", "ABC\xC4\x81"},
      {"special letters after the first stay", "\xD1\x87\xD1\x87", "\xD0\xA7\xD1\x87"},
      {"capital first letter stays", "Abc", "Abc"},
      {"a lone lead byte", "\xC3", "\xC3"},
  };
  for (const TextCase& c : cases) {
    EXPECT_EQ(capitalizeFirstLetter(c.text), c.expected) << c.what;
  }
}

TEST(CaseTransfer, StartsWithSpecialLetterKnowsOnlyTheLowerCasePairs) {
  const struct {
    const char* what;
    std::string text;
    bool expected;
  } cases[] = {
      {"one byte", "a", false},
      {"e acute", "\xC3\xA9", true},
      {"capital e acute", "\xC3\x89", false},
      {"eth", "\xC3\xB0", false},
      {"armenian ech before more text", "\xD5\xA7xyz", true},
      {"a lone lead byte", "\xC3", false},
      {"empty", "", false},
      {"special letter not first", "a\xC3\xA9", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(startsWithSpecialLetter(c.text), c.expected) << c.what;
  }
}

}  // namespace
}  // namespace zrv
