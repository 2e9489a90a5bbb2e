#include "cmu_dictionary.h"

#include <gtest/gtest.h>

#include <sstream>

namespace zrv::words_tool {
namespace {

using P = Phoneme;

std::vector<DictionaryWord> parse(const std::string& text, std::string* error = nullptr) {
  std::istringstream in(text);
  std::vector<DictionaryWord> words;
  std::string message;
  const bool ok = parsePronouncingDictionary(in, "test.dict", words, message);
  if (error != nullptr) {
    *error = ok ? "" : message;
  } else {
    EXPECT_TRUE(ok) << message;
  }
  return words;
}

TEST(PronouncingDictionary, VariantsJoinTheirWordInVariantOrder) {
  const auto words = parse("read(2) R IY D\nread R EH D\nread(3) R AY D\n");
  ASSERT_EQ(words.size(), 1u);
  EXPECT_EQ(words[0].word, "read");
  ASSERT_EQ(words[0].pronunciations.size(), 3u);
  EXPECT_EQ(words[0].pronunciations[0].variant, 1);
  EXPECT_EQ(words[0].pronunciations[0].phonemes, (std::vector<P>{P::R, P::EH, P::D}));
  EXPECT_EQ(words[0].pronunciations[1].variant, 2);
  EXPECT_EQ(words[0].pronunciations[2].variant, 3);
}

TEST(PronouncingDictionary, WordsComeSortedByByteValueWithTheirApostrophes) {
  const auto words = parse("tis T IH Z\n'tis T IH Z\ndon't D OW N T\na AH\n");
  std::vector<std::string> order;
  for (const DictionaryWord& w : words) {
    order.push_back(w.word);
  }
  EXPECT_EQ(order, (std::vector<std::string>{"'tis", "a", "don't", "tis"}));
}

TEST(PronouncingDictionary, StressDigitsCapitalsCommentsAndBlankLinesAreTolerated) {
  const auto words = parse(
      ";;; a comment line of the original dictionary\n"
      "\n"
      "BATH  B AE1 TH\n"
      "word\tW ER0 D # a note\r\n");
  ASSERT_EQ(words.size(), 2u);
  EXPECT_EQ(words[0].word, "bath");
  EXPECT_EQ(words[0].pronunciations[0].phonemes, (std::vector<P>{P::B, P::AE, P::TH}));
  EXPECT_EQ(words[1].word, "word");
  EXPECT_EQ(words[1].pronunciations[0].phonemes, (std::vector<P>{P::W, P::ER, P::D}));
}

TEST(PronouncingDictionary, ABadLineIsReportedWithItsLineNumber) {
  struct Case {
    std::string text;
    std::string error;
  };
  const Case cases[] = {
      {"a AH\nb B XX\n", "test.dict:2: unknown phoneme \"XX\""},
      {"a AH\n\nlonely\n", "test.dict:3: the word \"lonely\" has no phonemes"},
      {"a AH3\n", "test.dict:1: unknown phoneme \"AH3\""},
  };
  for (const Case& c : cases) {
    std::string error;
    parse(c.text, &error);
    EXPECT_EQ(error, c.error) << c.text;
  }
}

TEST(PronouncingDictionary, AMissingFileIsAnError) {
  std::vector<DictionaryWord> words;
  std::string error;
  EXPECT_FALSE(readPronouncingDictionary("/nonexistent/cmudict.dict", words, error));
  EXPECT_EQ(error, "cannot read the pronouncing dictionary /nonexistent/cmudict.dict");
}

}  // namespace
}  // namespace zrv::words_tool
