#include "cmu_dictionary.h"

#include <gtest/gtest.h>

#include <sstream>

namespace zrv::words_tool {
namespace {

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

std::string arpabetOf(const std::vector<Phone>& phones) {
  std::string text;
  for (const Phone& phone : phones) {
    text += (text.empty() ? "" : " ") + phoneName(phone);
  }
  return text;
}

// Every word with its pronunciations in order, as "word: A B | C D".
std::vector<std::string> summary(const std::vector<DictionaryWord>& words) {
  std::vector<std::string> lines;
  for (const DictionaryWord& w : words) {
    std::string line = w.word + ":";
    const char* separator = " ";
    for (const Pronunciation& p : w.pronunciations) {
      line += separator + std::to_string(p.variant) + " " + arpabetOf(p.phones);
      separator = " | ";
    }
    lines.push_back(line);
  }
  return lines;
}

TEST(PronouncingDictionary, ReadsTheCmuTextLayoutWithStressVariantsAndComments) {
  const auto words = parse(
      ";;; a comment line of the original dictionary\n"
      "\n"
      "READ(2)  R IY1 D\n"
      "read R EH1 D\n"
      "tis T IH1 Z\n"
      "'tis T IH1 Z\n"
      "don't D OW1 N T # a note\r\n"
      "read(3) R AY2 D\n");
  EXPECT_EQ(summary(words), (std::vector<std::string>{
                                "'tis: 1 T IH1 Z",
                                "don't: 1 D OW1 N T",
                                "read: 1 R EH1 D | 2 R IY1 D | 3 R AY2 D",
                                "tis: 1 T IH1 Z",
                            }));
}

TEST(PronouncingDictionary, ReadsTheLayoutOfNpmsJavaScriptModule) {
  const auto words = parse(
      "/** @type {{ [word: string]: string }} */\n"
      "export const dictionary = {\n"
      "  \"'bout\": \"B AW1 T\",\n"
      "  \"aarhus(2)\": \"AA1 R HH UW0 S\",\n"
      "  \"aarhus\": \"AA2 R HH UW1 S\",\n"
      "  \"abbe\": \"AE1 B IY0 # place, french\"\n"
      "}\n");
  EXPECT_EQ(summary(words), (std::vector<std::string>{
                                "'bout: 1 B AW1 T",
                                "aarhus: 1 AA2 R HH UW1 S | 2 AA1 R HH UW0 S",
                                "abbe: 1 AE1 B IY0",
                            }));
}

TEST(PronouncingDictionary, ABadLineIsReportedWithItsLineNumber) {
  const std::string notAPhoneme =
      " is not a phoneme with its stress digit (vowels AA0 to UW2, consonants B to ZH)";
  struct Case {
    std::string text;
    std::string error;
  };
  const Case cases[] = {
      {"a AH0\nb B XX\n", "test.dict:2: \"XX\"" + notAPhoneme},
      {"read R EH D\n", "test.dict:1: \"EH\"" + notAPhoneme},  // a vowel needs its stress
      {"a AH3\n", "test.dict:1: \"AH3\"" + notAPhoneme},
      {"bid B1 IH1 D\n", "test.dict:1: \"B1\"" + notAPhoneme},  // a consonant takes none
      {"a AH0\n\nlonely\n", "test.dict:3: the word \"lonely\" has no phonemes"},
      {"a AH0\na(2) EY1\nA(2) EY1\n", "test.dict:3: the word \"A(2)\" is given twice"},
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
