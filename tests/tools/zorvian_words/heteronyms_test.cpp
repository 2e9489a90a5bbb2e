#include "heteronyms.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>

#include "database_builder.h"
#include "spelling_helpers.h"

namespace zrv::words_tool {
namespace {

DictionaryWord wordWithVariants(std::string word, int count) {
  DictionaryWord entry{std::move(word), {}};
  for (int v = 1; v <= count; ++v) {
    entry.pronunciations.push_back({v, {Phoneme::AH}});
  }
  return entry;
}

std::vector<int> keptVariants(const HeteronymList& list, const DictionaryWord& entry) {
  std::vector<int> variants;
  for (const Pronunciation* p : list.keptPronunciations(entry)) {
    variants.push_back(p->variant);
  }
  return variants;
}

TEST(HeteronymList, OnlyListedWordsKeepMoreThanTheirFirstPronunciation) {
  HeteronymList list;
  std::string error;
  ASSERT_TRUE(parseHeteronymList("# comment\nread\n\nminute 2 1  # noun and adjective\nlive 7\n",
                                 "list", list, error))
      << error;
  struct Case {
    DictionaryWord entry;
    std::vector<int> kept;
  };
  const Case cases[] = {
      {wordWithVariants("read", 2), {1, 2}},    // no numbers: every variant
      {wordWithVariants("minute", 3), {1, 2}},  // the listed variants, in variant order
      {wordWithVariants("live", 2), {1}},       // listed variants all missing: the first
      {wordWithVariants("the", 2), {1}},        // not listed: the first
  };
  for (const Case& c : cases) {
    EXPECT_EQ(keptVariants(list, c.entry), c.kept) << c.entry.word;
  }
  EXPECT_EQ(list.size(), 3u);
}

TEST(HeteronymList, ABadLineIsReportedWithItsLineNumber) {
  struct Case {
    std::string_view text;
    std::string error;
  };
  const Case cases[] = {
      {"read x\n", "list:1: \"x\" is not a variant number"},
      {"read\nlead 0\n", "list:2: \"0\" is not a variant number"},
      {"read\n# again\nread 1\n", "list:3: the word \"read\" is listed twice"},
  };
  for (const Case& c : cases) {
    HeteronymList list;
    std::string error;
    EXPECT_FALSE(parseHeteronymList(c.text, "list", list, error)) << c.text;
    EXPECT_EQ(error, c.error);
  }
}

// The curated list against the dictionary it was made for: a typo or a word whose variants an
// update merged would silently stop being a heteronym.
TEST(HeteronymList, EveryBuiltInHeteronymHasTwoDistinctReadingsInTheDebianDictionary) {
  HeteronymList list;
  std::string error;
  ASSERT_TRUE(parseHeteronymList(builtInHeteronymText(), "built-in", list, error)) << error;
  std::vector<DictionaryWord> dictionary;
  ASSERT_TRUE(readPronouncingDictionary(BuildSources{}.dictionary, dictionary, error)) << error;

  std::istringstream text{std::string(builtInHeteronymText())};
  std::size_t checked = 0;
  for (std::string line; std::getline(text, line);) {
    std::istringstream fields(line);
    std::string word;
    if (!(fields >> word) || word.starts_with("#")) {
      continue;
    }
    const auto entry = std::lower_bound(
        dictionary.begin(), dictionary.end(), word,
        [](const DictionaryWord& w, const std::string& key) { return w.word < key; });
    ASSERT_TRUE(entry != dictionary.end() && entry->word == word) << word << " is not in it";
    std::set<std::vector<Phoneme>> readings;
    for (const Pronunciation* p : list.keptPronunciations(*entry)) {
      readings.insert(p->phonemes);
    }
    EXPECT_GE(readings.size(), 2u) << word;
    ++checked;
  }
  EXPECT_EQ(checked, list.size());
}

}  // namespace
}  // namespace zrv::words_tool
