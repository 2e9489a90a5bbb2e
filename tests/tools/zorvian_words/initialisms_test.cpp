// The initialisms no source holds as words, read as their letters' names or as listed, and the
// faults of their data file.

#include "initialisms.h"

#include <gtest/gtest.h>

#include <sstream>

#include "real_sources.h"

namespace zrv::words_tool {
namespace {

using test::accentLabelled;
using test::realInputs;

TEST(InitialismsOnTheRealSources, EachIsSpelledAsItsLettersOrAsListedInTwoAccents) {
  struct Case {
    std::string_view word;
    std::string_view usMidland;
    std::string_view ukRp;
  };
  const Case cases[] = {
      {"gpl", "jīpīel", "jīpīel"},
      {"lgpl", "eljīpīel", "eljīpīel"},
      {"fsf", "efesef", "efesef"},
      {"gui", "jīyūai", "jīyūai"},
      {"https", "ēчtītīpīes", "ēчtītīpīes"},
      // the letter a is EY1, not the article; r is START, without its r where r is dropped
      {"qa", "kyūē", "kyūē"},
      {"rfc", "ārefsī", "ārefsī"},
      // w's d stays a d, though the spelling has none
      {"www", "dubulyūdubulyūdubulyū", "dubulyūdubulyūdubulyū"},
      {"w", "dubulyū", "dubulyū"},
      // read as words, from their listed ARPAbet
      {"wipo", "waipō", "waipō"},
      {"iso", "aisō", "aisō"},
      {"posix", "pāziks", "poziks"},
      // the dictionary's own initialisms keep its reading
      {"http", "ēчtītīpī", "ēчtītīpī"},
      {"html", "ēчtīemel", "ēчtīemel"},
      // a word in neither the dictionary, the lists nor initialisms.txt stays absent
      {"affero", "", ""},
  };
  for (const Case& c : cases) {
    for (const auto& [label, expected] :
         {std::pair{"US Midland", c.usMidland}, std::pair{"UK RP", c.ukRp}}) {
      const std::vector<std::string> spellings =
          spellingsIn(realInputs(), c.word, accentLabelled(label));
      EXPECT_EQ(spellings, expected.empty() ? std::vector<std::string>{}
                                            : std::vector<std::string>{std::string(expected)})
          << label << ": " << c.word;
    }
  }
}

TEST(Initialisms, FaultsOfTheListAreNamedWithTheirLine) {
  std::vector<DictionaryWord> letters;
  std::istringstream dictionary(
      "a AH0\na(2) EY1\nb B IY1\ncab K AE1 B\nl EH1 L\np P IY1\nq K Y UW0\n");
  std::string error;
  ASSERT_TRUE(parsePronouncingDictionary(dictionary, "test.dict", letters, error)) << error;
  WordList words;
  words.add("bab");
  words.add("ABC");
  struct Case {
    std::string list;
    std::string error;
  };
  const Case cases[] = {
      {"GPL\n",
       "initialisms.txt:1: expected \"word\" or \"word : PHONEMES\" in lower-case "
       "letters, not \"GPL\""},
      {"# header\n\nab\nab\n", "initialisms.txt:4: \"ab\" is listed twice"},
      {"cab\n", "initialisms.txt:1: \"cab\" is a word of the dictionary or the word lists already"},
      {"bab\n", "initialisms.txt:1: \"bab\" is a word of the dictionary or the word lists already"},
      {"ab : EY1 B X\n", "initialisms.txt:1: \"X\" is not a phoneme with its stress digit"},
      {"ab EY1 B\n",
       "initialisms.txt:1: expected \"word\" or \"word : PHONEMES\" in lower-case "
       "letters, not \"ab EY1 B\""},
      {"abz\n", "initialisms.txt:1: the dictionary has no stressed reading of the letter \"z\""},
      {"pq\n", "initialisms.txt:1: the dictionary has no stressed reading of the letter \"q\""},
  };
  for (const Case& c : cases) {
    std::vector<DictionaryWord> into = letters;
    error.clear();
    EXPECT_FALSE(addInitialisms({{"initialisms.txt", c.list}}, words, into, error)) << c.list;
    EXPECT_EQ(error, c.error);
  }
  // Capitals only in the lists (ABC) are no word; the entries stay sorted.
  std::vector<DictionaryWord> into = letters;
  ASSERT_TRUE(addInitialisms({{"initialisms.txt", "abc : EY1 B IY0\nlab\n"}}, words, into, error))
      << error;
  std::vector<std::string> keys;
  std::string lab;
  for (const DictionaryWord& entry : into) {
    keys.push_back(entry.word);
    if (entry.word == "lab") {
      for (const Phone& phone : entry.pronunciations.at(0).phones) {
        lab += phoneName(phone) + " ";
      }
    }
  }
  EXPECT_EQ(keys, (std::vector<std::string>{"a", "abc", "b", "cab", "l", "lab", "p", "q"}));
  EXPECT_EQ(lab, "EH2 L EY2 B IY1 ");
  EXPECT_FALSE(addInitialisms({}, words, into, error));
  EXPECT_EQ(error, "the data file initialisms.txt is missing");
}

}  // namespace
}  // namespace zrv::words_tool
