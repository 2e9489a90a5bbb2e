#include "espeak_names.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace zrv::words_tool {
namespace {

std::string arpabetOf(const std::vector<Phone>& phones) {
  std::string text;
  for (const Phone& phone : phones) {
    text += (text.empty() ? "" : " ") + phoneName(phone);
  }
  return text;
}

std::vector<Phone> phonesOf(std::string_view arpabet) {
  std::vector<Phone> phones;
  std::istringstream in{std::string(arpabet)};
  std::string symbol;
  while (in >> symbol) {
    phones.push_back(*phoneFromArpabet(symbol));
  }
  return phones;
}

TEST(EspeakNames, MnemonicsBecomeArpabetWithTheStressOfTheMarks) {
  struct Case {
    std::string_view mnemonics;
    std::string_view arpabet;
  };
  const Case cases[] = {
      {"l'EvaIts", "L EH1 V AY0 T S"},                        // Levites
      {"dZ'oUab", "JH OW1 AE0 B"},                            // Joab
      {"'i:d@m", "IY1 D AH0 M"},                              // Edom
      {"h,EzI2k'aI@", "HH EH2 Z IH0 K AY1 AH0"},              // Hezekiah: secondary stress
      {"'Izri:;@L", "IH1 Z R IY0 AH0 L"},                     // Israel: ; is silent
      {"'e@r@n", "EH1 R AH0 N"},                              // Aaron: e@ takes up its r
      {"k'am3r@n", "K AE1 M ER0 AH0 N"},                      // Cameron: so does 3
      {"'A@raU", "AA1 R AW0"},                                // Aarau
      {"saIb'i@rI2;@", "S AY0 B IH1 R IH0 AH0"},              // Siberia: i@ before r
      {"m@r'i@", "M AH0 R IY1 AH0"},                          // Maria: i@ elsewhere
      {"abd'i@3ri;@n", "AE0 B D IH1 R IY0 AH0 N"},            // Abderian
      {"f'aI3", "F AY1 ER0"},                                 // fire
      {"b'aU3", "B AW1 ER0"},                                 // Bauer
      {"h'V?n-", "HH AH1 T AH0 N"},                           // Hutton: syllabic n
      {"'O:l?n-b,3:g", "AO1 L T AH0 N B ER2 G"},              // Altenburg
      {",ab3r-'IstwIT", "AE2 B ER0 IH1 S T W IH0 TH"},        // Aberystwyth: - is silent
      {"a#tS'It#0f@L", "AH0 CH IH1 T AA0 F AH0 L"},           // Achitophel: flap t#
      {"'axmEd", "AE1 K M EH0 D"},                            // Ahmed: x
      {"k,alI2f'o@ni@n", "K AE2 L IH0 F AO1 R N IY0 AH0 N"},  // Californian
      {"j'u:t2O", "Y UW1 T AO0"},                             // Utah
      {"pr0v'A~s", "P R AA0 V AA1 S"},                        // Provence
      {"'aD3:t@n", "AE1 DH ER0 T AH0 N"},                     // Atherton
      {"r'U@r@L", "R UH1 R AH0 L"},                           // rural
      {"SaI'anz", "SH AY0 AE1 N Z"},                          // Cheyennes
      {"b,3:g", "B ER1 G"},                                   // no primary: the secondary is
      {"b3g", "B ER1 G"},                                     // no mark at all: the first vowel
  };
  for (const Case& c : cases) {
    std::string unknown = "unset";
    const auto phones = phonesFromEspeak(c.mnemonics, &unknown);
    ASSERT_TRUE(phones) << c.mnemonics << " stopped at " << unknown;
    EXPECT_EQ(arpabetOf(*phones), c.arpabet) << c.mnemonics;
  }
}

TEST(EspeakNames, AMnemonicOutsideTheTableOrNoVowelGivesNothing) {
  struct Case {
    std::string_view mnemonics;
    std::string_view unknown;
  };
  const Case cases[] = {
      {"b'aQ", "Q"},    // not an English mnemonic
      {"k'a 'a", " "},  // two words
      {"st", ""},       // no vowel
      {"", ""},         //
  };
  for (const Case& c : cases) {
    std::string unknown = "unset";
    EXPECT_FALSE(phonesFromEspeak(c.mnemonics, &unknown)) << c.mnemonics;
    EXPECT_EQ(unknown, c.unknown) << c.mnemonics;
  }
}

bool espeakInstalled() {
  return std::system("command -v espeak-ng >/dev/null 2>&1") == 0;
}

class TemporaryList {
 public:
  explicit TemporaryList(const std::string& text)
      : path_(std::filesystem::temp_directory_path() /
              ("espeak-names-test-" + std::to_string(getpid()) + ".txt")) {
    std::ofstream(path_, std::ios::binary) << text;
  }
  ~TemporaryList() {
    std::error_code ec;
    std::filesystem::remove(path_, ec);
  }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

TEST(EspeakNames, TheNamesTheDictionaryLacksComeFromEspeakAndNoEntryIsReplaced) {
  if (!espeakInstalled()) {
    GTEST_SKIP() << "espeak-ng is not installed";
  }
  // Aaron is in the dictionary, rose in the word lists in lower case; NASA, McDonald, Xy and Brr
  // are not written as names are (Brr has no vowel letter: espeak-ng would spell it out).
  const TemporaryList list(
      "Aaron\nAaron's\nHezekiah\nJoab\nJoab's\nLevites\nlevites\nRose\nNASA\nMcDonald\nXy\n"
      "Brr\nd'Arcy\n");
  const std::vector<Phone> aaron = phonesOf("AE1 R AH0 N");
  std::vector<DictionaryWord> dictionary = {{"aaron", {{1, aaron}}}, {"zebra", {}}};
  WordList words;
  words.add("rose");
  EspeakNames report;
  std::string error;
  ASSERT_TRUE(addEspeakNames(list.path(), dictionary, words, report, error)) << error;

  EXPECT_EQ(report.asked, 3u);  // Hezekiah, Joab, Levites
  EXPECT_EQ(report.added, 4u);  // and joab's
  EXPECT_EQ(report.unmappable, 0u);
  std::vector<std::string> keys;
  for (const DictionaryWord& entry : dictionary) {
    keys.push_back(entry.word);
  }
  EXPECT_EQ(keys,
            (std::vector<std::string>{"aaron", "hezekiah", "joab", "joab's", "levites", "zebra"}));
  ASSERT_EQ(dictionary[0].pronunciations.size(), 1u);
  EXPECT_EQ(dictionary[0].pronunciations[0].phones, aaron);
  EXPECT_EQ(arpabetOf(dictionary[1].pronunciations[0].phones), "HH EH2 Z IH0 K AY1 AH0");
  EXPECT_EQ(arpabetOf(dictionary[2].pronunciations[0].phones), "JH OW1 AE0 B");
  EXPECT_EQ(arpabetOf(dictionary[3].pronunciations[0].phones), "JH OW1 AE0 B Z");
  EXPECT_EQ(arpabetOf(dictionary[4].pronunciations[0].phones), "L EH1 V AY0 T S");
  for (std::string_view name : {"hezekiah", "joab", "joab's", "levites"}) {
    EXPECT_EQ(words.nameUseOf(name, false), NameUse::NameOnly) << name;
  }
  EXPECT_EQ(words.nameUseOf("rose", false), NameUse::Common);
}

TEST(EspeakNames, EveryWordKeepsItsOwnLineAcrossBatchesAndProcesses) {
  if (!espeakInstalled()) {
    GTEST_SKIP() << "espeak-ng is not installed";
  }
  // More words than two batches hold, so both processes run and their lines must be put back
  // in order.
  const std::vector<std::string> names = {"Joab", "Edom", "Levites", "Hezekiah", "Aaron"};
  std::vector<std::string> words;
  for (std::size_t i = 0; i < 4100; ++i) {
    words.push_back(names[(i * 7 + i / 3) % names.size()]);
  }
  std::vector<std::string> alone;
  std::string error;
  ASSERT_TRUE(espeakMnemonics(names, alone, error)) << error;
  std::vector<std::string> mnemonics;
  ASSERT_TRUE(espeakMnemonics(words, mnemonics, error)) << error;
  ASSERT_EQ(mnemonics.size(), words.size());
  for (std::size_t i = 0; i < words.size(); ++i) {
    ASSERT_EQ(mnemonics[i], alone[(i * 7 + i / 3) % names.size()]) << i << " " << words[i];
  }
}

TEST(EspeakNames, AMissingNamesListIsAnError) {
  std::vector<DictionaryWord> dictionary;
  WordList words;
  EspeakNames report;
  std::string error;
  EXPECT_FALSE(addEspeakNames("/nonexistent/names", dictionary, words, report, error));
  EXPECT_EQ(error, "cannot read the names list /nonexistent/names");
}

}  // namespace
}  // namespace zrv::words_tool
