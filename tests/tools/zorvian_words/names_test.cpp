// Which words get name rows, from the real word lists and the curated given names: a common word
// that the lists also hold capitalised (an element symbol, a state code) must not become a name,
// or the program keeps it in English at every sentence start with names switched off.

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "real_sources.h"
#include "word_rows.h"

namespace zrv::words_tool {
namespace {

using test::realInputs;

NameUse nameUseOf(std::string_view word) {
  const BuildInputs& inputs = realInputs();
  const WordPreparer preparer(inputs.dictionary, inputs.words, inputs.heteronyms, inputs.lists);
  return preparer.nameUseOf(word);
}

TEST(Names, CommonWordsThatTheListsAlsoCapitaliseGetNoNameRow) {
  for (std::string_view word :
       {"he", "it", "in", "as", "at", "so", "now", "be", "or", "am", "us", "who"}) {
    EXPECT_EQ(nameUseOf(word), NameUse::Common) << word;
  }
}

TEST(Names, EveryCuratedGivenNameGetsACommonRowAndANameRow) {
  std::ifstream in(std::string(ZRV_SOURCE_DIR) + "/tools/zorvian_words/data/given_names.txt");
  ASSERT_TRUE(in) << "no data/given_names.txt";
  std::size_t names = 0;
  for (std::string line; std::getline(in, line);) {
    const std::string name = line.substr(0, line.find('#'));
    if (name.find_first_not_of(" \t\r") == std::string::npos) {
      continue;
    }
    std::string word;
    for (char c : name) {
      if (c != ' ' && c != '\t' && c != '\r') {
        word += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
      }
    }
    EXPECT_EQ(nameUseOf(word), NameUse::NameAndCommon) << word;
    ++names;
  }
  EXPECT_GE(names, 2u);
  EXPECT_EQ(nameUseOf("bill"), NameUse::NameAndCommon);
  EXPECT_EQ(nameUseOf("rose"), NameUse::NameAndCommon);
}

TEST(Names, ANameHeldOnlyCapitalisedIsOnlyANameAndASingleLetterNeverIsOne) {
  EXPECT_EQ(nameUseOf("aaron"), NameUse::NameOnly);
  EXPECT_EQ(nameUseOf("paris"), NameUse::NameOnly);
  for (char letter = 'a'; letter <= 'z'; ++letter) {
    EXPECT_EQ(nameUseOf(std::string(1, letter)), NameUse::Common) << letter;
  }
}

}  // namespace
}  // namespace zrv::words_tool
