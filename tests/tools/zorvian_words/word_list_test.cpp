#include "word_list.h"

#include <gtest/gtest.h>

#include <sstream>

namespace zrv::words_tool {
namespace {

TEST(WordList, TellsNamesFromCommonWordsByTheirCapitals) {
  std::istringstream in(
      "A\na\nAaron\nBill\nbill\nI\nNASA\nO'Neil\ndon't\nParis\r\nnice\nNice\nzebra\n");
  WordList list;
  parseWordList(in, list);
  struct Case {
    std::string_view word;
    NameUse use;
  };
  const Case cases[] = {
      {"aaron", NameUse::NameOnly},     {"bill", NameUse::NameAndCommon},
      {"nice", NameUse::NameAndCommon}, {"nasa", NameUse::NameOnly},
      {"o'neil", NameUse::NameOnly},    {"paris", NameUse::NameOnly},
      {"don't", NameUse::Common},       {"zebra", NameUse::Common},
      {"unlisted", NameUse::Common},    {"a", NameUse::Common},
      {"i", NameUse::Common},  // single letters are letters, not names
  };
  for (const Case& c : cases) {
    EXPECT_EQ(list.nameUseOf(c.word), c.use) << c.word;
  }
}

TEST(WordList, AMissingFileIsAnError) {
  WordList list;
  std::string error;
  EXPECT_FALSE(readWordList("/nonexistent/words", list, error));
  EXPECT_EQ(error, "cannot read the word list /nonexistent/words");
}

}  // namespace
}  // namespace zrv::words_tool
