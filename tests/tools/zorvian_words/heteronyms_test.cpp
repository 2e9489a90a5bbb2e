#include "heteronyms.h"

#include <gtest/gtest.h>

#include <set>

#include "real_sources.h"

namespace zrv::words_tool {
namespace {

Phone phone(std::string_view symbol) {
  const auto parsed = phoneFromArpabet(symbol);
  EXPECT_TRUE(parsed.has_value()) << symbol;
  return parsed.value_or(Phone{});
}

DictionaryWord wordWithVariants(std::string word, int count) {
  DictionaryWord entry{std::move(word), {}};
  const Phone vowels[] = {phone("AA1"), phone("EH1"), phone("IY1"), phone("OW1")};
  for (int v = 1; v <= count; ++v) {
    entry.pronunciations.push_back({v, {phone("R"), vowels[v - 1], phone("D")}});
  }
  return entry;
}

std::vector<std::string> readingsOf(const HeteronymList& list, const DictionaryWord& entry) {
  std::vector<std::vector<Phone>> readings;
  std::string error;
  EXPECT_TRUE(list.readingsOf(entry, readings, error)) << error;
  std::vector<std::string> names;
  for (const std::vector<Phone>& reading : readings) {
    std::string name;
    for (const Phone& p : reading) {
      name += (name.empty() ? "" : " ") + phoneName(p);
    }
    names.push_back(name);
  }
  return names;
}

TEST(HeteronymList, ListedWordsKeepTheirReadingsInTheListedOrderOthersTheirFirst) {
  HeteronymList list;
  std::string error;
  ASSERT_TRUE(
      parseHeteronymList("# comment\nread 2 1\n\nlead 1  # one reading: replaces the first\n"
                         "rod\t3 [R AW1 D]   1\n",
                         "list", list, error))
      << error;
  struct Case {
    DictionaryWord entry;
    std::vector<std::string> readings;
  };
  const Case cases[] = {
      {wordWithVariants("read", 2), {"R EH1 D", "R AA1 D"}},
      {wordWithVariants("lead", 3), {"R AA1 D"}},
      {wordWithVariants("rod", 3), {"R IY1 D", "R AW1 D", "R AA1 D"}},
      {wordWithVariants("the", 2), {"R AA1 D"}},  // not listed: the dictionary's first
  };
  for (const Case& c : cases) {
    EXPECT_EQ(readingsOf(list, c.entry), c.readings) << c.entry.word;
  }
  EXPECT_EQ(list.size(), 3u);
}

TEST(HeteronymList, AReadingTheDictionaryLacksIsAnErrorNamingTheLine) {
  HeteronymList list;
  std::string error;
  ASSERT_TRUE(parseHeteronymList("read 1\n\nlive 2 3\n", "heteronyms.txt", list, error));
  std::vector<std::vector<Phone>> readings;
  EXPECT_FALSE(list.readingsOf(wordWithVariants("live", 2), readings, error));
  EXPECT_EQ(error, "heteronyms.txt:3: the dictionary has no reading 3 of \"live\"");
  EXPECT_EQ(list.missingWord({wordWithVariants("live", 3)}),
            "heteronyms.txt:1: \"read\" is not in the dictionary");
  EXPECT_EQ(list.missingWord({wordWithVariants("live", 3), wordWithVariants("read", 1)}), "");
}

TEST(HeteronymList, ABadLineIsReportedWithItsLineNumber) {
  struct Case {
    std::string_view text;
    std::string error;
  };
  const Case cases[] = {
      {"read x\n", "list:1: \"x\" is not a variant number"},
      {"read 1\nlead 0\n", "list:2: \"0\" is not a variant number"},
      {"read\n", "list:1: the word \"read\" has no readings"},
      {"read 1\n# again\nread 2\n", "list:3: the word \"read\" is listed twice"},
      {"does 1 [D OW1 Z\n", "list:1: a reading in brackets has no closing bracket"},
      {"does [D OW Z]\n", "list:1: \"OW\" is not a phoneme with its stress digit"},
      {"does 1 []\n", "list:1: an empty reading"},
  };
  for (const Case& c : cases) {
    HeteronymList list;
    std::string error;
    EXPECT_FALSE(parseHeteronymList(c.text, "list", list, error)) << c.text;
    EXPECT_EQ(error, c.error) << c.text;
  }
}

// The curated list against the dictionary it was made for: a reading listed twice, or two
// numbers that an update of the dictionary made alike, would ask a question with one answer.
TEST(HeteronymList, EveryBuiltInHeteronymWithSeveralReadingsHasThemAllDistinct) {
  const BuildInputs& inputs = test::realInputs();
  ASSERT_GT(inputs.heteronyms.size(), 0u);
  std::size_t asking = 0;
  for (const DictionaryWord& entry : inputs.dictionary) {
    if (!inputs.heteronyms.contains(entry.word)) {
      continue;
    }
    std::vector<std::vector<Phone>> readings;
    std::string error;
    ASSERT_TRUE(inputs.heteronyms.readingsOf(entry, readings, error)) << error;
    std::set<std::string> distinct;
    for (const std::vector<Phone>& reading : readings) {
      std::string arpabet;
      for (const Phone& p : reading) {
        arpabet += phoneName(p) + " ";
      }
      distinct.insert(arpabet);
    }
    EXPECT_EQ(distinct.size(), readings.size()) << entry.word;
    asking += readings.size() > 1;
  }
  EXPECT_GT(asking, 0u);
}

// The candidates of the real database come in the order of how common each reading is today, not
// in the dictionary's order; the words that are no heteronyms ask nothing.
TEST(HeteronymList, TheBuiltInListPutsTheCommonReadingFirst) {
  const BuildInputs& inputs = test::realInputs();
  const AccentTable& accent = test::accentLabelled("US Midland");
  struct Case {
    std::string_view word;
    std::vector<std::string> candidates;
  };
  const Case cases[] = {
      {"live", {"liv", "laiv"}},
      {"wind", {"wind", "waind"}},
      {"read", {"rīd", "red"}},
      {"lead", {"līd", "led"}},
      {"bass", {"bēs", "bas"}},
      {"sow", {"sō", "sau"}},
      {"putting", {"púɾiŋ", "puɾiŋ"}},
      {"wound", {"wūnd", "waund"}},
      {"the", {"ðu"}},
      {"a", {"u"}},
      {"does", {"duz"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(spellingsIn(inputs, c.word, accent), c.candidates) << c.word;
  }
}

}  // namespace
}  // namespace zrv::words_tool
