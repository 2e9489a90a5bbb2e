#include "orthography.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>

#include "accents.h"
#include "engine/case_transfer.h"
#include "spelling_helpers.h"
#include "words/accent_catalog.h"

namespace zrv::words_tool {
namespace {

using test::kEth;
using test::offendingLetter;

TEST(Orthography, EverySoundIsSpelledInLowerCaseWithLettersTheCaseTransferKnows) {
  for (int p = 0; p < kPhonemeCount; ++p) {
    const auto phoneme = static_cast<Phoneme>(p);
    EXPECT_FALSE(spellingOf(phoneme).empty()) << phonemeName(phoneme);
    EXPECT_EQ(offendingLetter(spellingOf(phoneme)), "") << phonemeName(phoneme);
  }
}

TEST(Orthography, OnlyEthStaysLowerCaseInACapitalisedWord) {
  EXPECT_EQ(spellingOf(Phoneme::DH), kEth);
  EXPECT_EQ(toUpperCase(std::string(kEth)), kEth);
  for (int p = 0; p < kPhonemeCount; ++p) {
    const std::string spelling(spellingOf(static_cast<Phoneme>(p)));
    if (spelling != kEth) {
      EXPECT_NE(toUpperCase(spelling), spelling) << phonemeName(static_cast<Phoneme>(p));
    }
  }
}

TEST(Orthography, NoTwoDictionarySoundsShareASpelling) {
  std::set<std::string_view> seen;
  for (int p = 0; p < kArpabetCount; ++p) {
    EXPECT_TRUE(seen.insert(spellingOf(static_cast<Phoneme>(p))).second)
        << phonemeName(static_cast<Phoneme>(p));
  }
}

TEST(Orthography, SpellingAWordJoinsTheSpellingsOfItsSounds) {
  const Phoneme thing[] = {Phoneme::TH, Phoneme::IH, Phoneme::NG};
  EXPECT_EQ(spell(thing), "þiŋ");
  EXPECT_EQ(spell({}), "");
}

std::string documentation() {
  std::ifstream in(std::string(ZRV_SOURCE_DIR) + "/docs/orthography.md", std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(Orthography, TheDocumentedTablesAreTheOnesTheToolUses) {
  const std::string docs = documentation();
  ASSERT_FALSE(docs.empty()) << "docs/orthography.md is missing";
  for (int p = 0; p < kPhonemeCount; ++p) {
    const auto phoneme = static_cast<Phoneme>(p);
    const std::string row = "| `" + std::string(phonemeName(phoneme)) + "` | " +
                            std::string(spellingOf(phoneme)) + " |";
    EXPECT_NE(docs.find(row), std::string::npos) << "no line starting " << row;
  }
  for (const AccentTable& accent : accentCatalog) {
    std::string row =
        "| " + std::to_string(accent.number) + " | " + std::string(accent.label) + " | ";
    const char* separator = "";
    for (AccentRule rule : rulesOf(accent)) {
      row += separator + std::string(ruleName(rule));
      separator = ", ";
    }
    row += " |";
    EXPECT_NE(docs.find(row), std::string::npos) << "no line starting " << row;
  }
}

}  // namespace
}  // namespace zrv::words_tool
