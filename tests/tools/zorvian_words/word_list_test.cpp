#include "word_list.h"

#include <gtest/gtest.h>

#include <sstream>

namespace zrv::words_tool {
namespace {

TEST(WordList, TellsNamesFromCommonWordsByHowTheListsWriteThem) {
  std::istringstream in(
      "A\na\nAaron\nBill\nbill\nHe\nhe\nNe\nI\nNASA\nO'Neil\ndon't\nParis\r\nnice\nNice\n"
      "zebra\n");
  WordList list;
  parseWordList(in, list);
  struct Case {
    std::string_view word;
    bool givenName;
    NameUse use;
  };
  const Case cases[] = {
      {"aaron", false, NameUse::NameOnly},     // only capitalised
      {"paris", false, NameUse::NameOnly},     // with a carriage return
      {"o'neil", false, NameUse::NameOnly},    //
      {"nice", false, NameUse::Common},        // lower case too: common
      {"he", false, NameUse::Common},          //
      {"bill", true, NameUse::NameAndCommon},  // a curated given name that is also a word
      {"ne", false, NameUse::Common},          // two letters: an element symbol
      {"nasa", false, NameUse::Common},        // capitals only: an acronym
      {"don't", false, NameUse::Common},       //
      {"zebra", false, NameUse::Common},       //
      {"unlisted", false, NameUse::Common},    //
      {"a", false, NameUse::Common},           // single letters are letters, not names
      {"i", false, NameUse::Common},           //
  };
  for (const Case& c : cases) {
    EXPECT_EQ(list.nameUseOf(c.word, c.givenName), c.use) << c.word;
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
