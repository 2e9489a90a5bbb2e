#include "accents.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "spelling_helpers.h"
#include "vowel_letters.h"

namespace zrv::words_tool {
namespace {

using test::accentLabelled;
using test::phonemesOf;
using test::spellIn;

struct SpellingCase {
  std::string_view accent;
  std::string_view word;
  std::string_view arpabet;
  std::string_view expected;
};

// A few words per rule, with an accent that has the rule and, where it tells, one that has not.
constexpr SpellingCase kSpellingCases[] = {
    // non-rhotic: r before a consonant or at the end goes and colours the vowel
    {"UK RP", "car", "K AA R", "kā"},
    {"US Midland", "car", "K AA R", "kār"},
    {"UK RP", "bird", "B ER D", "bůd"},
    {"UK RP", "butter", "B AH T ER", "butu"},
    {"UK RP", "her", "HH ER", "hů"},
    {"UK RP", "person", "P ER S AH N", "půsun"},
    {"UK RP", "return", "R IH T ER N", "ritůn"},
    {"UK RP", "returns", "R IH T ER N Z", "ritůnz"},
    {"UK RP", "covered", "K AH V ER D", "kuvud"},
    {"UK RP", "property", "P R AA P ER T IY", "proputī"},
    {"UK RP", "hour", "AW ER", "auu"},
    {"UK RP", "near", "N IH R", "niu"},
    {"UK RP", "bear", "B EH R", "bէ"},
    {"UK RP", "sure", "SH UH R", "ћå"},
    {"UK RP", "fire", "F AY R", "faiu"},
    {"UK RP", "very", "V EH R IY", "verī"},
    {"US New England", "car", "K AA R", "kā"},
    // trap-bath split, full and before fricatives only
    {"UK RP", "bath", "B AE TH", "bāþ"},
    {"US Midland", "bath", "B AE TH", "baþ"},
    {"UK Midland Northern", "bath", "B AE TH", "baþ"},
    {"UK RP", "dance", "D AE N S", "dāns"},
    {"AU Standard", "dance", "D AE N S", "dans"},
    {"AU Standard", "bath", "B AE TH", "bāþ"},
    {"UK RP", "class", "K L AE S", "klās"},
    {"UK RP", "gas", "G AE S", "gas"},
    {"UK RP", "sample", "S AE M P AH L", "sāmpul"},
    // lot-palm split, after the spelling
    {"UK RP", "hot", "HH AA T", "hot"},
    {"US Midland", "hot", "HH AA T", "hāt"},
    {"UK RP", "father", "F AA DH ER", "fāðu"},
    {"UK RP", "watch", "W AA CH", "woч"},
    {"UK RP", "dog", "D AO G", "dog"},
    {"US Midland", "dog", "D AO G", "dåg"},
    {"UK RP", "caught", "K AA T", "kåt"},
    // cot-caught merger
    {"US Western", "caught", "K AO T", "kāt"},
    {"US Midland", "caught", "K AO T", "kåt"},
    {"US Western", "north", "N AO R TH", "nårþ"},
    {"US New England", "caught", "K AO T", "kāt"},
    {"UK Scottish", "caught", "K AO T", "kot"},
    // Scottish vowels: palm-trap merger, nurse split, foot-goose merger, monophthongs
    {"UK Scottish", "father", "F AA DH ER", "faðer"},
    {"UK Scottish", "bird", "B ER D", "bird"},
    {"UK Scottish", "herd", "HH ER D", "herd"},
    {"UK Scottish", "word", "W ER D", "wurd"},
    {"UK Scottish", "book", "B UH K", "būk"},
    {"UK RP", "book", "B UH K", "búk"},
    {"UK Scottish", "go", "G OW", "gó"},
    {"UK Wales", "face", "F EY S", "fés"},
    {"US North Central", "go", "G OW", "gó"},
    {"US Midland", "go", "G OW", "gō"},
    // Northern Cities shift and New York short-a tensing
    {"US Inland Northern", "cat", "K AE T", "két"},
    {"US Inland Northern", "cot", "K AA T", "kat"},
    {"US Inland Northern", "caught", "K AO T", "kāt"},
    {"US NYC", "man", "M AE N", "mén"},
    {"US NYC", "cat", "K AE T", "kat"},
    {"US NYC", "manner", "M AE N ER", "manu"},
    // the Welsh open final vowel
    {"UK Wales", "butter", "B AH T ER", "buta"},
    // New Zealand: near-square merger, kit centralisation, dress and trap raising
    {"NZ Standard", "bear", "B EH R", "biu"},
    {"NZ Standard", "fish", "F IH SH", "fuћ"},
    {"NZ Standard", "sing", "S IH NG", "siŋ"},
    {"NZ Standard", "bed", "B EH D", "bid"},
    {"NZ Standard", "bad", "B AE D", "bed"},
    {"ZA Standard", "bad", "B AE D", "bed"},
    {"ZA Standard", "bath", "B AE TH", "bāþ"},
    // foot-strut unsplit: the first vowel, when spelled u or o
    {"UK Midland Northern", "cup", "K AH P", "kúp"},
    {"UK Midland Southern", "cup", "K AH P", "kúp"},
    {"UK Midland Northern", "about", "AH B AW T", "ubaut"},
    {"UK RP", "cup", "K AH P", "kup"},
    // pin-pen merger and fleece laxing
    {"US Southern", "pen", "P EH N", "pin"},
    {"US Southern", "bed", "B EH D", "bed"},
    {"US Pitts", "steel", "S T IY L", "stil"},
    // Canadian raising, price and mouth monophthongs
    {"CA Standard", "right", "R AY T", "ruit"},
    {"CA Standard", "ride", "R AY D", "raid"},
    {"CA Standard", "about", "AH B AW T", "ubout"},
    {"CA Standard", "loud", "L AW D", "laud"},
    {"CA Atlantic", "right", "R AY T", "ruit"},
    {"US Southern", "time", "T AY M", "tám"},
    {"US Southern", "right", "R AY T", "rait"},
    {"ZA Standard", "my", "M AY", "má"},
    {"US Pitts", "downtown", "D AW N T AW N", "dántán"},
    // diphthong shift
    {"UK London", "face", "F EY S", "fais"},
    {"UK London", "price", "P R AY S", "prois"},
    {"UK London", "go", "G OW", "gau"},
    {"UK Midland Southern", "price", "P R AY S", "prois"},
    {"AU Standard", "face", "F EY S", "fais"},
    // t-flapping and t-glottalling
    {"US Midland", "water", "W AO T ER", "wåԏur"},
    {"US Midland", "party", "P AA R T IY", "pārԏī"},
    {"US Midland", "attack", "AH T AE K", "utak"},
    {"US North Central", "city", "S IH T IY", "siԏī"},
    {"US South Florida", "water", "W AO T ER", "wātur"},
    {"AU Standard", "water", "W AO T ER", "wåԏu"},
    {"UK London", "butter", "B AH T ER", "buҁu"},
    {"UK London", "get", "G EH T", "geҁ"},
    {"UK London", "attack", "AH T AE K", "utak"},
    // th-fronting and th-stopping
    {"UK London", "think", "TH IH NG K", "fiŋk"},
    {"UK London", "mother", "M AH DH ER", "muvu"},
    {"UK London", "the", "DH AH", "du"},
    {"UK Irish", "three", "TH R IY", "trī"},
    {"UK Irish", "the", "DH AH", "du"},
    {"US Hawaiian", "three", "TH R IY", "trī"},
    {"CA Atlantic", "the", "DH AH", "du"},
    {"US Midland", "the", "DH AH", "ðu"},
    // h-dropping, l-vocalisation, initial fricative voicing, v-w merger
    {"UK London", "house", "HH AW S", "aus"},
    {"UK Southwestern", "house", "HH AW S", "aus"},
    {"UK London", "milk", "M IH L K", "miwk"},
    {"UK London", "lily", "L IH L IY", "lilī"},
    {"UK Southwestern", "summer", "S AH M ER", "zumur"},
    {"UK Southwestern", "farm", "F AA R M", "vārm"},
    {"UK Southwestern", "spring", "S P R IH NG", "spriŋ"},
    {"IN Standard", "water", "W AO T ER", "votur"},
    {"IN Standard", "three", "TH R IY", "trī"},
    {"US Hawaiian", "go", "G OW", "gó"},
};

TEST(AccentRules, EachRuleSpellsItsSampleWordsAsTheAccentSaysThem) {
  for (const SpellingCase& c : kSpellingCases) {
    EXPECT_EQ(spellIn(accentLabelled(c.accent), c.word, c.arpabet), c.expected)
        << c.accent << ": " << c.word << " (" << c.arpabet << ")";
  }
}

TEST(AccentRules, EveryAccentListsItsRulesInTheOrderTheyApply) {
  for (const AccentTable& accent : accentCatalog) {
    const std::span<const AccentRule> rules = rulesOf(accent);
    EXPECT_FALSE(rules.empty()) << accent.label;
    EXPECT_TRUE(std::is_sorted(rules.begin(), rules.end())) << accent.label;
    EXPECT_EQ(std::adjacent_find(rules.begin(), rules.end()), rules.end()) << accent.label;
  }
}

TEST(AccentRules, EveryRuleBelongsToSomeAccent) {
  std::set<AccentRule> used;
  for (const AccentTable& accent : accentCatalog) {
    for (AccentRule rule : rulesOf(accent)) {
      used.insert(rule);
    }
  }
  EXPECT_EQ(used.size(), static_cast<std::size_t>(kAccentRuleCount));
}

TEST(AccentRules, EveryTwoAccentsSpellSomeSampleWordDifferently) {
  std::vector<std::vector<std::string>> spellings;
  for (const AccentTable& accent : accentCatalog) {
    std::vector<std::string> words;
    for (const SpellingCase& c : kSpellingCases) {
      words.push_back(spellIn(accent, c.word, c.arpabet));
    }
    spellings.push_back(std::move(words));
  }
  for (std::size_t a = 0; a < accentCatalog.size(); ++a) {
    for (std::size_t b = a + 1; b < accentCatalog.size(); ++b) {
      EXPECT_NE(spellings[a], spellings[b])
          << accentCatalog[a].label << " and " << accentCatalog[b].label << " say all alike";
    }
  }
}

TEST(AccentRules, HDroppingNeverLeavesAWordWithoutSounds) {
  WordSounds word{"h", {{Phoneme::HH, {}}}};
  applyRule(AccentRule::HDropping, word);
  EXPECT_TRUE(word.sounds.empty());  // the builder falls back to the plain spelling then
}

struct LettersCase {
  std::string_view word;
  std::string_view arpabet;
  std::vector<std::string_view>
      vowelLetters;  // the letters of each vowel, in order; none: unpaired
};

TEST(VowelLetters, PairEachVowelSoundWithTheLettersThatWriteIt) {
  const LettersCase cases[] = {
      {"father", "F AA DH ER", {"a", "e"}},
      {"make", "M EY K", {"a"}},              // final silent e
      {"baked", "B EY K T", {"a"}},           // silent e before the ending
      {"lovely", "L AH V L IY", {"o", "y"}},  // silent e before a suffix
      {"queen", "K W IY N", {"ee"}},          // the u of qu is no vowel
      {"law", "L AO", {"aw"}},
      {"boy", "B OY", {"oy"}},
      {"yes", "Y EH S", {"e"}},  // a leading y is a consonant
      {"above's", "AH B AH V Z", {"a", "o"}},
      {"hour", "AW ER", {}},  // one group, two vowels: no pairing
  };
  for (const LettersCase& c : cases) {
    const std::vector<Phoneme> phonemes = phonemesOf(c.arpabet);
    const std::vector<std::string_view> letters = vowelLettersOf(c.word, phonemes);
    ASSERT_EQ(letters.size(), phonemes.size()) << c.word;
    std::vector<std::string_view> vowels;
    for (std::size_t i = 0; i < phonemes.size(); ++i) {
      if (isVowel(phonemes[i]) && !letters[i].empty()) {
        vowels.push_back(letters[i]);
      }
      if (!isVowel(phonemes[i])) {
        EXPECT_TRUE(letters[i].empty()) << c.word << ": a consonant got letters";
      }
    }
    EXPECT_EQ(vowels, c.vowelLetters) << c.word;
  }
}

}  // namespace
}  // namespace zrv::words_tool
