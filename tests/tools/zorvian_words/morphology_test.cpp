#include "morphology.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "letter_to_sound.h"

namespace zrv::words_tool::morphology {
namespace {

Phones phones(std::string_view text) {
  std::istringstream in{std::string(text)};
  Phones p;
  for (std::string s; in >> s;) {
    p.push_back(s);
  }
  return p;
}

std::string joined(const Phones& p) {
  std::string out;
  for (const std::string& s : p) {
    out += (out.empty() ? "" : " ") + s;
  }
  return out;
}

/// A dictionary from lines "word PHONES | PHONES" (alternatives most common first).
Dictionary dictionaryOf(std::initializer_list<std::string_view> lines) {
  Dictionary d;
  for (std::string_view line : lines) {
    const std::size_t space = line.find(' ');
    std::string word(line.substr(0, space));
    std::string_view rest = line.substr(space + 1);
    for (std::size_t bar; (bar = rest.find('|')) != std::string_view::npos;
         rest = rest.substr(bar + 1)) {
      d[word].push_back(phones(rest.substr(0, bar)));
    }
    d[word].push_back(phones(rest));
  }
  return d;
}

const GeneratedForm* find(const Generation& g, std::string_view word) {
  auto it = std::find_if(g.forms.begin(), g.forms.end(),
                         [&](const GeneratedForm& f) { return f.word == word; });
  return it == g.forms.end() ? nullptr : &*it;
}

const Dictionary& smallDictionary() {
  static const Dictionary d = dictionaryOf({
      "cat K AE1 T",
      "dog D AO1 G",
      "horse HH AO1 R S",
      "box B AA1 K S",
      "church CH ER1 CH",
      "city S IH1 T IY0",
      "wolf W UH1 L F",
      "knife N AY1 F",
      "potato P AH0 T EY1 T OW2",
      "walk W AO1 K",
      "want W AA1 N T | W AO1 N T",
      "play P L EY1",
      "stop S T AA1 P",
      "hope HH OW1 P",
      "hop HH AA1 P",
      "carry K AE1 R IY0",
      "visit V IH1 Z AH0 T",
      "begin B IH0 G IH1 N",
      "panic P AE1 N IH0 K",
      "die D AY1",
      "see S IY1",
      "big B IH1 G",
      "happy HH AE1 P IY0",
      "late L EY1 T",
      "simple S IH1 M P AH0 L",
      "know N OW1",
      "knowing N OW1 IH0 NG",
      "make M EY1 K",
      "making M EY1 K IH0 NG",
      "come K AH1 M",
      "coming K AH1 M IH0 NG",
      "go G OW1",
      "going G OW1 IH0 NG",
      "doing D UW1 IH0 NG",
      "say S EY1",
      "saying S EY1 IH0 NG",
      "said S EH1 D",
      "cry K R AY1",
      "crying K R AY1 IH0 NG",
      "cried K R AY1 D",
      "forget F ER0 G EH1 T",
      "forgetting F ER0 G EH1 T IH0 NG",
      "morn M AO1 R N",
      "morning M AO1 R N IH0 NG",
      "color K AH1 L ER0",
      "favored F EY1 V ER0 D",
      "organize AO1 R G AH0 N AY2 Z",
      "organization AO2 R G AH0 N AH0 Z EY1 SH AH0 N",
      "center S EH1 N T ER0",
      "travel T R AE1 V AH0 L",
      "traveled T R AE1 V AH0 L D",
      "defense D IH0 F EH1 N S",
      "catalog K AE1 T AH0 L AO2 G",
      "program P R OW1 G R AE2 M",
      "gray G R EY1",
      "still S T IH1 L",
      "kind K AY1 N D",
      "gentle JH EH1 N T AH0 L",
      "basic B EY1 S IH0 K",
      "refill R IY1 F IH0 L",
      "modified M AA1 D AH0 F AY2 D",
      "copy K AA1 P IY0",
      "left L EH1 F T",
      "stiled S T AY1 L D",
      "parenthesis P ER0 EH1 N TH AH0 S IH0 S",
      "parenthesized P ER0 EH1 N TH AH0 S AY2 Z D",
      "have HH AE1 V",
      "do D UW1",
      "did D IH1 D",
      "'tis T IH1 Z",
      "'em AH0 M",
      "em EH1 M",
  });
  return d;
}

Sources smallSources(std::vector<std::string> listWords) {
  Sources s;
  s.dictionary = &smallDictionary();
  s.listWords = std::move(listWords);
  s.archaicForms = {"archaic.txt",
                    "# form base pronunciation\nhath have HH AE1 TH\n"
                    "didst did D IH1 D S T  # the past with -st\nknow\ncome\n"
                    "go\nmake\ndo\nsay\nforget\n"};
  s.britishSpellings = {"british.txt", "grey gray\n"};
  return s;
}

struct Case {
  std::string word;
  std::string base;
  std::string_view rule;
  std::vector<std::string> pronunciations;
};

void expectForms(const Generation& g, const std::vector<Case>& cases) {
  ASSERT_EQ(g.error, "");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.word);
    const GeneratedForm* f = find(g, c.word);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->base, c.base);
    EXPECT_EQ(f->rule, c.rule);
    std::vector<std::string> got;
    for (const Phones& p : f->pronunciations) {
      got.push_back(joined(p));
    }
    EXPECT_EQ(got, c.pronunciations);
  }
}

TEST(Morphology, InflectionsTakeTheirSoundFromTheBaseAndTheirSpellingFromTheList) {
  const std::vector<Case> cases = {
      {"cats", "cat", kPluralRule, {"K AE1 T S"}},
      {"dogs", "dog", kPluralRule, {"D AO1 G Z"}},
      {"horses", "horse", kPluralRule, {"HH AO1 R S IH0 Z"}},
      {"boxes", "box", kPluralRule, {"B AA1 K S IH0 Z"}},
      {"churches", "church", kPluralRule, {"CH ER1 CH IH0 Z"}},
      {"cities", "city", kPluralRule, {"S IH1 T IY0 Z"}},
      {"wolves", "wolf", kPluralRule, {"W UH1 L V Z"}},
      {"knives", "knife", kPluralRule, {"N AY1 V Z"}},
      {"potatoes", "potato", kPluralRule, {"P AH0 T EY1 T OW2 Z"}},
      {"walked", "walk", kPastRule, {"W AO1 K T"}},
      {"wanted", "want", kPastRule, {"W AA1 N T IH0 D", "W AO1 N T IH0 D"}},
      {"played", "play", kPastRule, {"P L EY1 D"}},
      {"stopped", "stop", kPastRule, {"S T AA1 P T"}},
      {"hoped", "hope", kPastRule, {"HH OW1 P T"}},
      {"hopped", "hop", kPastRule, {"HH AA1 P T"}},
      {"carried", "carry", kPastRule, {"K AE1 R IY0 D"}},
      {"visited", "visit", kPastRule, {"V IH1 Z AH0 T IH0 D"}},
      {"panicked", "panic", kPastRule, {"P AE1 N IH0 K T"}},
      {"hoping", "hope", kIngRule, {"HH OW1 P IH0 NG"}},
      {"stopping", "stop", kIngRule, {"S T AA1 P IH0 NG"}},
      {"beginning", "begin", kIngRule, {"B IH0 G IH1 N IH0 NG"}},
      {"visiting", "visit", kIngRule, {"V IH1 Z AH0 T IH0 NG"}},
      {"dying", "die", kIngRule, {"D AY1 IH0 NG"}},
      {"seeing", "see", kIngRule, {"S IY1 IH0 NG"}},
      {"bigger", "big", kComparativeRule, {"B IH1 G ER0"}},
      {"later", "late", kComparativeRule, {"L EY1 T ER0"}},
      {"simpler", "simple", kComparativeRule, {"S IH1 M P L ER0"}},
      {"happiest", "happy", kSuperlativeRule, {"HH AE1 P IY0 IH0 S T"}},
      {"biggest", "big", kSuperlativeRule, {"B IH1 G IH0 S T"}},
      {"walker", "walk", kComparativeRule, {"W AO1 K ER0"}},
      {"walkers", "walker", kPluralRule, {"W AO1 K ER0 Z"}},
      {"kindness", "kind", kNessRule, {"K AY1 N D N AH0 S"}},
      {"happiness", "happy", kNessRule, {"HH AE1 P IY0 N AH0 S"}},
      {"gently", "gentle", kLyRule, {"JH EH1 N T L IY0"}},
      {"basically", "basic", kLyRule, {"B EY1 S IH0 K L IY0"}},
      {"happily", "happy", kLyRule, {"HH AE1 P IY0 L IY0"}},
      {"hopeless", "hope", kLessRule, {"HH OW1 P L AH0 S"}},
      {"hopeful", "hope", kFulRule, {"HH OW1 P F AH0 L"}},
      {"refillable", "refill", kAbleRule, {"R IY1 F IH0 L AH0 B AH0 L"}},
      {"unmodified", "modified", kPrefixRule, {"AH0 N M AA1 D AH0 F AY2 D"}},
      {"copyleft", "left", kCompoundRule, {"K AA1 P IY0 L EH2 F T"}},
  };
  // A prefix or a compound joins words the lists hold.
  std::vector<std::string> list = {"modified", "copy", "left"};
  for (const Case& c : cases) {
    list.push_back(c.word);
  }
  expectForms(generateForms(smallSources(list)), cases);
}

TEST(Morphology, SpellingsTheRulesWouldNotWriteGetNoForm) {
  // hoped is hope's, never hop's; visit does not double; big does.
  const Generation g =
      generateForms(smallSources({"hopeed", "visitted", "biger", "cityes", "dogses", "stoped"}));
  ASSERT_EQ(g.error, "");
  for (std::string_view word : {"hopeed", "visitted", "biger", "cityes", "dogses", "stoped"}) {
    EXPECT_EQ(find(g, word), nullptr) << word;
  }
}

TEST(Morphology, PossessivesFollowTheSoundOfTheirBase) {
  expectForms(generateForms(smallSources({"cat's", "dog's", "horse's", "cats'", "Colour's"})),
              {
                  {"cat's", "cat", kPossessiveRule, {"K AE1 T S"}},
                  {"dog's", "dog", kPossessiveRule, {"D AO1 G Z"}},
                  {"horse's", "horse", kPossessiveRule, {"HH AO1 R S IH0 Z"}},
                  // The program drops the trailing apostrophe, so cats' is looked up as cats.
                  {"cats", "cat", kPluralRule, {"K AE1 T S"}},
                  {"colour's", "colour", kPossessiveRule, {"K AH1 L ER0 Z"}},
              });
}

TEST(Morphology, BritishSpellingsTakeTheAmericanPronunciation) {
  expectForms(
      generateForms(smallSources({"colour", "colours", "favoured", "organise", "organisation",
                                  "organisations", "centre", "travelled", "defence", "catalogue",
                                  "programme", "grey", "greys"})),
      {
          {"colour", "color", kBritishRule, {"K AH1 L ER0"}},
          {"colours", "colour", kPluralRule, {"K AH1 L ER0 Z"}},
          {"favoured", "favored", kBritishRule, {"F EY1 V ER0 D"}},
          {"organise", "organize", kBritishRule, {"AO1 R G AH0 N AY2 Z"}},
          {"organisation", "organization", kBritishRule, {"AO2 R G AH0 N AH0 Z EY1 SH AH0 N"}},
          {"organisations", "organisation", kPluralRule, {"AO2 R G AH0 N AH0 Z EY1 SH AH0 N Z"}},
          {"centre", "center", kBritishRule, {"S EH1 N T ER0"}},
          {"travelled", "traveled", kBritishRule, {"T R AE1 V AH0 L D"}},
          {"defence", "defense", kBritishRule, {"D IH0 F EH1 N S"}},
          {"catalogue", "catalog", kBritishRule, {"K AE1 T AH0 L AO2 G"}},
          {"programme", "program", kBritishRule, {"P R OW1 G R AE2 M"}},
          {"grey", "gray", kBritishListRule, {"G R EY1"}},
          {"greys", "grey", kPluralRule, {"G R EY1 Z"}},
      });
}

TEST(Morphology, AWordOnlyTheBritishListHoldsIsReadAsABritishSpellingFirst) {
  Sources s = smallSources({"stilled"});
  s.britishListWords = {"parenthesised", "stilled", "travelled"};
  expectForms(
      generateForms(s),
      {
          {"parenthesised", "parenthesized", kBritishRule, {"P ER0 EH1 N TH AH0 S AY2 Z D"}},
          {"stilled", "still", kPastRule, {"S T IH1 L D"}},
          {"travelled", "traveled", kBritishRule, {"T R AE1 V AH0 L D"}},
      });
  // Where the American list has it too, the suffix reading comes first.
  expectForms(generateForms(smallSources({"parenthesised"})),
              {{"parenthesised", "parenthesis", kPastRule, {"P ER0 EH1 N TH AH0 S IH0 S T"}}});
}

TEST(Morphology, ArchaicFormsOfVerbs) {
  const Generation g =
      generateForms(smallSources({"know", "make", "come", "go", "say", "cry", "forget", "forgets",
                                  "forgot", "morn", "morns", "cat", "cats", "do", "did"}));
  expectForms(g, {
                     {"knoweth", "know", kArchaicEthRule, {"N OW1 IH0 TH"}},
                     {"knowest", "know", kArchaicEstRule, {"N OW1 IH0 S T"}},
                     {"maketh", "make", kArchaicEthRule, {"M EY1 K IH0 TH"}},
                     {"cometh", "come", kArchaicEthRule, {"K AH1 M IH0 TH"}},
                     {"goeth", "go", kArchaicEthRule, {"G OW1 IH0 TH"}},
                     {"doeth", "do", kArchaicEthRule, {"D UW1 IH0 TH"}},
                     {"sayest", "say", kArchaicEstRule, {"S EY1 IH0 S T"}},
                     {"crieth", "cry", kArchaicEthRule, {"K R AY1 IH0 TH"}},
                     {"forgetteth", "forget", kArchaicEthRule, {"F ER0 G EH1 T IH0 TH"}},
                     {"hath", "have", kArchaicListRule, {"HH AE1 TH"}},
                     {"didst", "did", kArchaicListRule, {"D IH1 D S T"}},
                 });
  // Neither morning nor cats makes a verb: morn has no -ed form and no verb line, cat no -ing.
  EXPECT_EQ(find(g, "morneth"), nullptr);
  EXPECT_EQ(find(g, "catteth"), nullptr);
  EXPECT_EQ(find(g, "cateth"), nullptr);
}

TEST(Morphology, AGeneratedFormNeverReplacesOrDuplicatesADictionaryEntry) {
  Dictionary d = smallDictionary();
  d["hoped"] = {phones("HH OW1 P T")};
  d["knoweth"] = {phones("N OW1 EH0 TH")};
  d["hath"] = {phones("HH AE1 TH")};
  d["colour"] = {phones("K AH1 L AW0 R")};
  Sources s = smallSources({"hoped", "colour", "know", "cats"});
  s.dictionary = &d;
  const Generation g = generateForms(s);
  ASSERT_EQ(g.error, "");
  for (const GeneratedForm& f : g.forms) {
    EXPECT_EQ(d.count(f.word), 0u) << f.word;
  }
  EXPECT_NE(find(g, "cats"), nullptr);
  EXPECT_TRUE(std::is_sorted(g.forms.begin(), g.forms.end(),
                             [](const auto& a, const auto& b) { return a.word < b.word; }));
}

TEST(Morphology, EntriesKeyedWithAnEdgeApostropheGetTheKeyTheProgramLooksUp) {
  const Generation g = generateForms(smallSources({}));
  expectForms(g, {{"tis", "'tis", kLookupKeyRule, {"T IH1 Z"}}});
  // em is a dictionary word already (the letter), so 'em adds nothing under it.
  EXPECT_EQ(find(g, "em"), nullptr);
}

TEST(Morphology, LookupKeysFollowTheProgramsScanner) {
  const std::pair<std::string, std::string> cases[] = {
      {"Cat's", "cat's"}, {"'tis", "tis"}, {"dogs'", "dogs"}, {"'a'", "a"},
      {"''a''", "'a'"},   {"a.d.", ""},    {"x-ray", ""},     {"Bogot\xc3\xa1", ""},
  };
  for (const auto& [word, key] : cases) {
    EXPECT_EQ(lookupKey(word), key) << word;
  }
}

TEST(Morphology, BadDataLinesAreNamedWithTheirFileAndLine) {
  struct BadCase {
    std::string archaic;
    std::string british;
    std::string error;
  };
  const BadCase cases[] = {
      {"# ok\nhath have HH AE1 TH\nhast have\n", "",
       "archaic.txt:3: expected a form, its base and its pronunciation, or a verb alone"},
      {"hath hove HH AE1 TH\n", "", "archaic.txt:1: the base \"hove\" is not in the dictionary"},
      {"hath have HH AE TH\n", "",
       "archaic.txt:1: \"AE\" is not an ARPAbet phoneme with its stress digit"},
      {"hath have HH AE1 Q\n", "",
       "archaic.txt:1: \"Q\" is not an ARPAbet phoneme with its stress digit"},
      {"Hath have HH AE1 TH\n", "", "archaic.txt:1: \"Hath\" is not a lower-case word of letters"},
      {"\nknow\nknow\n", "", "archaic.txt:3: the verb \"know\" is listed twice"},
      {"knaw\n", "", "archaic.txt:1: the base \"knaw\" is not in the dictionary"},
      {"", "grey\n", "british.txt:1: expected a British spelling and its American spelling"},
      {"", "grey gray extra\n",
       "british.txt:1: expected a British spelling and its American spelling"},
      {"", "grey grey\n", "british.txt:1: the base \"grey\" is not in the dictionary"},
      {"", "grey gray\n\ngrey gray\n",
       "british.txt:3: the British spelling \"grey\" is listed twice"},
      {"", "gr-ey gray\n", "british.txt:1: \"gr-ey\" is not a lower-case word of letters"},
  };
  for (const BadCase& c : cases) {
    Sources s = smallSources({"cats"});
    s.archaicForms.text = c.archaic;
    s.britishSpellings.text = c.british;
    const Generation g = generateForms(s);
    EXPECT_EQ(g.error, c.error);
    EXPECT_TRUE(g.forms.empty());
  }
}

// A tree per letter in festival's layout: c is /tʃ/ before h, whose own tree is then silent;
// x is /ks/ where the letter two before it lies beyond the edge mark "#" ("0"), else /gz/.
constexpr std::string_view kSmallLetterToSoundRules = R"(;;; comment
(set! cmu_lts_rules '(
(a (((ax0 0.4) (ae1 0.6) ae1)))
(c
 ((n.name is h)
  (((ch 1) ch))
  (((k 1) k))))
(h
 ((p.name is c)
  (((_epsilon_ 1) _epsilon_))
  (((hh 1) hh))))
(t (((t 1) t)))
(x
 ((p.p.name is 0)
  (((k-s 1) k-s))
  (((g-z 1) g-z))))
))
)";

TEST(LetterToSound, EachLetterFollowsItsTreeAndItsNeighbours) {
  LetterToSound lts;
  std::string error;
  ASSERT_TRUE(lts.parse(kSmallLetterToSoundRules, "rules.scm", error)) << error;
  const std::pair<std::string_view, std::string_view> cases[] = {
      {"chat", "CH AE1 T"}, {"cat", "K AE1 T"}, {"hat", "HH AE1 T"}, {"tax", "T AE1 G Z"},
      {"x", "K S"},         {"ax", "AE1 G Z"},  {"dog", ""},
  };
  for (const auto& [word, sound] : cases) {
    EXPECT_EQ(joined(lts.pronounce(word)), sound) << word;
  }
}

TEST(LetterToSound, MalformedRulesAreNamedWithTheirLine) {
  const std::pair<std::string_view, std::string_view> cases[] = {
      {"(set! cmu_lts_rules '(\n(a ((q.name is b) (((t 1) t)) (((t 1) t))))\n))",
       "rules.scm:2: expected a feature such as p.name or n.n.name"},
      {"(set! cmu_lts_rules '(\n(ab (((t 1) t)))\n))",
       "rules.scm:2: expected a letter from a to z"},
      {"(set! cmu_lts_rules '(\n(a (((t 1) t)))\n", "rules.scm:3: expected \")\""},
      {"", "rules.scm:1: expected \"(\""},
  };
  for (const auto& [text, message] : cases) {
    LetterToSound lts;
    std::string error;
    EXPECT_FALSE(lts.parse(text, "rules.scm", error));
    EXPECT_EQ(error, message);
    EXPECT_TRUE(lts.empty());
  }
}

TEST(Morphology, AgentiveOrAndAbilityComeFromTheirVerbAndTheirAble) {
  Dictionary d = smallDictionary();
  d["locate"] = {phones("L OW1 K EY2 T")};
  d["manageable"] = {phones("M AE1 N IH0 JH AH0 B AH0 L")};
  d["mane"] = {phones("M EY1 N")};
  // "manor" is no agent of "mane": no "maning" is known.
  Sources s =
      smallSources({"locate", "locating", "locator", "locators", "manageability", "mane", "manor"});
  s.dictionary = &d;
  const Generation g = generateForms(s);
  expectForms(
      g,
      {
          {"locator", "locate", kAgentRule, {"L OW1 K EY2 T ER0"}},
          {"locators", "locator", kPluralRule, {"L OW1 K EY2 T ER0 Z"}},
          {"manageability", "manageable", kAbilityRule, {"M AE2 N IH0 JH AH0 B IH1 L AH0 T IY0"}},
      });
  EXPECT_EQ(find(g, "manor"), nullptr);
}

// The larger list's words come only from the productive rules: the inflections alone of a list
// word, un-, other prefixes and compounds would bring in tens of thousands of rare forms.
TEST(Morphology, ALargerListsWordsComeOnlyFromTheProductiveRules) {
  Dictionary d = smallDictionary();
  d["license"] = {phones("L AY1 S AH0 N S")};
  d["licenses"] = {phones("L AY1 S AH0 N S IH0 Z")};
  d["licensing"] = {phones("L AY1 S AH0 N S IH0 NG")};
  d["licensed"] = {phones("L AY1 S AH0 N S T")};
  d["licensor"] = {phones("L AY1 S AH0 N S ER0")};
  d["commercial"] = {phones("K AH0 M ER1 SH AH0 L")};
  d["merchant"] = {phones("M ER1 CH AH0 N T")};
  d["house"] = {phones("HH AW1 S")};
  d["boat"] = {phones("B OW1 T")};
  Sources s = smallSources({"license", "licenses", "licensing", "licensed", "commercial",
                            "merchant", "house", "boat", "cat", "kind"});
  s.dictionary = &d;
  s.largeListWords = {"relicensing",     "sublicenses", "noncommercial", "licensors",
                      "merchantability", "sublicensed", "cats",          "unkind",
                      "dislicense",      "houseboat",   "licensor",      "affero",
                      "Relicense"};
  const Generation g = generateForms(s);
  expectForms(g, {
                     {"relicensing", "licensing", kPrefixRule, {"R IY0 L AY1 S AH0 N S IH0 NG"}},
                     {"sublicenses", "licenses", kPrefixRule, {"S AH2 B L AY1 S AH0 N S IH0 Z"}},
                     {"noncommercial", "commercial", kPrefixRule, {"N AA2 N K AH0 M ER1 SH AH0 L"}},
                     {"licensors", "licensor", kPluralRule, {"L AY1 S AH0 N S ER0 Z"}},
                     // -ability of the -able the rules make from merchant
                     {"merchantability",
                      "merchantable",
                      kAbilityRule,
                      {"M ER2 CH AH0 N T AH0 B IH1 L AH0 T IY0"}},
                     // a prefixed past: the prefix on the list's past
                     {"sublicensed", "licensed", kPrefixRule, {"S AH2 B L AY1 S AH0 N S T"}},
                     // a capitalised entry is looked up lower-cased all the same
                     {"relicense", "license", kPrefixRule, {"R IY0 L AY1 S AH0 N S"}},
                 });
  for (const char* absent : {"cats", "unkind", "dislicense", "houseboat", "licensor", "affero"}) {
    const GeneratedForm* f = find(g, absent);
    EXPECT_EQ(f, nullptr) << absent << " from " << (f ? f->base : "") << " by "
                          << (f ? f->rule : "");
  }
}

TEST(Morphology, LetterToSoundTakesOnlyTheListWordsNoRuleDerives) {
  Sources s = smallSources({"chat", "chat's", "cats"});
  s.letterToSoundRules = {"rules.scm", std::string(kSmallLetterToSoundRules)};
  expectForms(generateForms(s), {
                                    {"chat", "chat", kLetterToSoundRule, {"CH AE1 T"}},
                                    {"chat's", "chat", kLetterToSoundRule, {"CH AE1 T S"}},
                                    {"cats", "cat", kPluralRule, {"K AE1 T S"}},
                                });
  s.letterToSoundRules.text = "(oops";
  EXPECT_EQ(generateForms(s).error, "rules.scm:1: expected \"set!\"");
}

// ---- The real sources ---------------------------------------------------------------------------

const std::filesystem::path kCmuDictionary = "/work/deps/cmu-pronouncing-dictionary/index.js";
const char* const kCmuDictionaryFallback =
    "/usr/lib/node_modules/cmu-pronouncing-dictionary/index.js";
const std::filesystem::path kAmericanList = "/usr/share/dict/american-english";
const std::filesystem::path kBritishList = "/usr/share/dict/british-english";
const std::filesystem::path kLtsRules = "/usr/share/festival/dicts/cmu/cmu_lts_rules.scm";
const std::filesystem::path kLtsTrainingDictionary =
    "/usr/share/festival/dicts/cmu/cmudict-0.4.out";

std::string fileText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

/// The npm package's index.js: lines `  "word(2)": "K AE1 T S",`, variants merged in order.
Dictionary readCmuJs(const std::filesystem::path& path) {
  Dictionary d;
  std::ifstream in(path);
  for (std::string line; std::getline(in, line);) {
    const std::size_t open = line.find('"');
    const std::size_t close = line.find("\": \"", open + 1);
    if (open == std::string::npos || close == std::string::npos) {
      continue;
    }
    std::string word = line.substr(open + 1, close - open - 1);
    if (const std::size_t paren = word.find('('); paren != std::string::npos && paren > 0) {
      word.resize(paren);
    }
    const std::size_t end = line.find('"', close + 4);
    d[word].push_back(phones(line.substr(close + 4, end - close - 4)));
  }
  return d;
}

std::vector<std::string> readList(const std::filesystem::path& path) {
  std::vector<std::string> words;
  std::ifstream in(path);
  for (std::string line; std::getline(in, line);) {
    std::transform(line.begin(), line.end(), line.begin(),
                   [](unsigned char c) { return c < 128 ? std::tolower(c) : c; });
    words.push_back(line);
  }
  return words;
}

std::filesystem::path dataDir() {
  return std::filesystem::path(ZRV_SOURCE_DIR) / "tools/zorvian_words/data";
}

struct RealSources {
  Dictionary dictionary;
  Sources sources;
};

/// Loaded once: the real dictionary and lists, the data files of the tree.
const RealSources* realSources() {
  static const RealSources* loaded = []() -> const RealSources* {
    std::filesystem::path cmu = kCmuDictionary;
    if (!std::filesystem::exists(cmu)) {
      cmu = kCmuDictionaryFallback;
    }
    if (!std::filesystem::exists(cmu) || !std::filesystem::exists(kAmericanList) ||
        !std::filesystem::exists(kBritishList)) {
      return nullptr;
    }
    auto* r = new RealSources;
    r->dictionary = readCmuJs(cmu);
    r->sources.dictionary = &r->dictionary;
    r->sources.listWords = readList(kAmericanList);
    r->sources.britishListWords = readList(kBritishList);
    // Larger lists to measure, as "american:british" paths.
    if (const char* extra = std::getenv("ZRV_MORPHOLOGY_LISTS")) {
      const std::string paths = extra;
      const std::size_t colon = paths.find(':');
      const std::vector<std::string> more = readList(paths.substr(0, colon));
      r->sources.listWords.insert(r->sources.listWords.end(), more.begin(), more.end());
      if (colon != std::string::npos) {
        const std::vector<std::string> british = readList(paths.substr(colon + 1));
        r->sources.britishListWords.insert(r->sources.britishListWords.end(), british.begin(),
                                           british.end());
      }
    }
    r->sources.archaicForms = {"archaic_forms.txt", fileText(dataDir() / "archaic_forms.txt")};
    r->sources.britishSpellings = {"british_spellings.txt",
                                   fileText(dataDir() / "british_spellings.txt")};
    return r;
  }();
  return loaded;
}

TEST(MorphologyOnTheRealSources, TheDataFilesParseAndTheRulesGiveTheExpectedForms) {
  const RealSources* r = realSources();
  if (r == nullptr) {
    GTEST_SKIP() << "the dictionary or the word lists are not installed";
  }
  const Generation g = generateForms(r->sources);
  ASSERT_EQ(g.error, "");
  const std::pair<std::string_view, std::string_view> cases[] = {
      {"knoweth", "N OW1 IH0 TH"},
      {"goeth", "G OW1 IH0 TH"},
      {"maketh", "M EY1 K IH0 TH"},
      {"saith", "S EH1 TH"},
      {"didst", "D IH1 D S T"},
      {"favoured", "F EY1 V ER0 D"},
      {"organise", "AO1 R G AH0 N AY2 Z"},
      {"organised", "AO1 R G AH0 N AY2 Z D"},
      {"abacuses", "AE1 B AH0 K AH0 S IH0 Z"},
      {"friended", "F R EH1 N D IH0 D"},
      {"creaming", "K R IY1 M IH0 NG"},
      {"nimbler", "N IH1 M B L ER0"},
      {"niftiest", "N IH1 F T IY0 IH0 S T"},
      {"amity's", "AE1 M IH0 T IY0 Z"},
      {"categorise", "K AE1 T AH0 G ER0 AY2 Z"},
      {"shabbily", "SH AE1 B IY0 L IY0"},
      {"lovedst", "L AH1 V D S T"},
  };
  for (const auto& [word, sound] : cases) {
    const GeneratedForm* f = find(g, word);
    ASSERT_NE(f, nullptr) << word;
    EXPECT_EQ(joined(f->pronunciations.front()), sound) << word;
  }
  for (const GeneratedForm& f : g.forms) {
    ASSERT_EQ(r->dictionary.count(f.word), 0u) << f.word;
    ASSERT_EQ(lookupKey(f.word), f.word);
  }
}

/// Peak and current resident memory of this process, in kB, from the kernel's status file.
std::pair<long, long> memoryKb() {
  std::ifstream in("/proc/self/status");
  long peak = 0;
  long now = 0;
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("VmHWM:", 0) == 0) {
      peak = std::stol(line.substr(6));
    } else if (line.rfind("VmRSS:", 0) == 0) {
      now = std::stol(line.substr(6));
    }
  }
  return {peak, now};
}

/// The word tokens of a text as the program scans them: runs of ASCII letters and apostrophes,
/// each turned into its lookup key; keys left empty are not words.
std::vector<std::string> tokens(const std::string& text) {
  std::vector<std::string> out;
  std::string word;
  auto flush = [&] {
    if (!word.empty()) {
      if (std::string key = lookupKey(word); !key.empty()) {
        out.push_back(key);
      }
      word.clear();
    }
  };
  for (char c : text) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (c == '\'' || (u < 128 && std::isalpha(u))) {
      word += c;
    } else {
      flush();
    }
  }
  flush();
  return out;
}

void reportCoverage(std::string_view name, const std::string& text, const Dictionary& d,
                    const std::set<std::string>& generated) {
  std::map<std::string, long> missing;
  long total = 0;
  long found = 0;
  long byDictionary = 0;
  for (const std::string& key : tokens(text)) {
    ++total;
    const bool inDictionary = d.count(key) != 0;
    byDictionary += inDictionary ? 1 : 0;
    if (inDictionary || generated.count(key) != 0) {
      ++found;
    } else {
      ++missing[key];
    }
  }
  std::vector<std::pair<long, std::string>> top;
  for (const auto& [word, count] : missing) {
    top.emplace_back(-count, word);
  }
  std::sort(top.begin(), top.end());
  std::cout << name << ": " << total << " tokens, dictionary alone " << 100.0 * byDictionary / total
            << "%, with generated forms " << found << "/" << total << " = " << 100.0 * found / total
            << "%, " << missing.size() << " distinct missing\n  ";
  const char* shown = std::getenv("ZRV_MORPHOLOGY_TOP");
  const std::size_t count = shown != nullptr ? std::stoul(shown) : 50;
  for (std::size_t i = 0; i < top.size() && i < count; ++i) {
    std::cout << top[i].second << " " << -top[i].first << (i % 10 == 9 ? "\n  " : ", ");
  }
  std::cout << "\n";
}

/// How close the letter-to-sound guesses come to CMUdict 0.7b on words the rules were not
/// trained on (0.7b entries missing from festival's cmudict 0.4) that wamerican holds, and on
/// the King James text's names that 0.7b has (trained on or not).
TEST(MorphologyOnTheRealSources, LetterToSoundReport) {
  const char* kjvPath = std::getenv("ZRV_MORPHOLOGY_REPORT");
  const RealSources* r = realSources();
  if (kjvPath == nullptr || r == nullptr || !std::filesystem::exists(kLtsRules) ||
      !std::filesystem::exists(kLtsTrainingDictionary)) {
    GTEST_SKIP() << "set ZRV_MORPHOLOGY_REPORT to the King James text, with festlex-cmu installed";
  }
  LetterToSound lts;
  std::string error;
  ASSERT_TRUE(lts.parse(fileText(kLtsRules), "cmu_lts_rules.scm", error)) << error;
  std::set<std::string> trained;
  {
    std::ifstream in(kLtsTrainingDictionary);
    for (std::string line; std::getline(in, line);) {
      const std::size_t open = line.find('"');
      const std::size_t close = line.find('"', open + 1);
      if (open != std::string::npos && close != std::string::npos) {
        trained.insert(line.substr(open + 1, close - open - 1));
      }
    }
  }
  auto stressless = [](Phones p) {
    for (std::string& s : p) {
      if (!s.empty() && std::isdigit(static_cast<unsigned char>(s.back()))) {
        s.pop_back();
      }
    }
    return p;
  };
  auto measure = [&](std::string_view name, const std::set<std::string>& words) {
    long exact = 0;
    long phonesOnly = 0;
    long shown = 0;
    for (const std::string& word : words) {
      const Phones guess = lts.pronounce(word);
      const auto& readings = r->dictionary.at(word);
      bool isExact = false;
      bool samePhones = false;
      for (const Phones& p : readings) {
        isExact = isExact || p == guess;
        samePhones = samePhones || stressless(p) == stressless(guess);
      }
      exact += isExact ? 1 : 0;
      phonesOnly += samePhones ? 1 : 0;
      if (!samePhones && shown < 15) {
        ++shown;
        std::cout << "    " << word << ": " << joined(guess) << " / " << joined(readings.front())
                  << "\n";
      }
    }
    std::cout << name << ": " << words.size() << " words, " << 100.0 * exact / words.size()
              << "% exact with stress, " << 100.0 * phonesOnly / words.size()
              << "% the same phones\n";
  };
  std::set<std::string> unseen;
  const std::vector<std::string>& american = r->sources.listWords;
  for (const std::string& word : american) {
    if (r->dictionary.count(word) != 0 && trained.count(word) == 0 &&
        word.find_first_not_of("abcdefghijklmnopqrstuvwxyz") == std::string::npos) {
      unseen.insert(word);
    }
  }
  measure("wamerican words of CMUdict 0.7b the rules were not trained on", unseen);
  std::set<std::string> names;
  std::set<std::string> lower;
  const std::string kjv = fileText(kjvPath);
  for (const std::string& word : tokens(kjv)) {
    lower.insert(word);
  }
  std::string current;
  std::set<std::string> capitalised;
  for (char c : kjv) {
    if (std::isalpha(static_cast<unsigned char>(c))) {
      current += c;
    } else {
      if (!current.empty() && std::isupper(static_cast<unsigned char>(current[0]))) {
        std::string key = lookupKey(current);
        capitalised.insert(key);
      }
      current.clear();
    }
  }
  std::set<std::string> lowerInText;
  for (std::size_t i = 0; i + 1 < kjv.size(); ++i) {
    if ((i == 0 || !std::isalpha(static_cast<unsigned char>(kjv[i - 1]))) &&
        std::islower(static_cast<unsigned char>(kjv[i]))) {
      std::size_t j = i;
      while (j < kjv.size() && std::isalpha(static_cast<unsigned char>(kjv[j]))) {
        ++j;
      }
      lowerInText.insert(kjv.substr(i, j - i));
    }
  }
  for (const std::string& word : capitalised) {
    if (lowerInText.count(word) == 0 && r->dictionary.count(word) != 0 &&
        trained.count(word) == 0 && word.size() > 2) {
      names.insert(word);
    }
  }
  measure("King James names in CMUdict 0.7b the rules were not trained on", names);
}

/// Figures for the closing note, printed when ZRV_MORPHOLOGY_REPORT is set: the forms per rule,
/// time and memory of one generation on the full sources, and the coverage of two texts.
TEST(MorphologyOnTheRealSources, Report) {
  const char* kjvPath = std::getenv("ZRV_MORPHOLOGY_REPORT");
  const RealSources* r = realSources();
  if (kjvPath == nullptr || r == nullptr) {
    GTEST_SKIP() << "set ZRV_MORPHOLOGY_REPORT to the King James text (bible -f) for the report";
  }
  Sources sources = r->sources;
  if (std::getenv("ZRV_MORPHOLOGY_LTS") != nullptr) {
    sources.letterToSoundRules = {kLtsRules.filename().string(), fileText(kLtsRules)};
  }
  if (std::getenv("ZRV_MORPHOLOGY_TEXT_WORDS") != nullptr) {
    for (const std::string& word : tokens(fileText(kjvPath))) {
      sources.listWords.push_back(word);
    }
  }
  const auto before = memoryKb();
  const auto start = std::chrono::steady_clock::now();
  const Generation g = generateForms(sources);
  const auto seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const auto after = memoryKb();
  ASSERT_EQ(g.error, "");
  std::map<std::string_view, long> perRule;
  std::set<std::string> generated;
  for (const GeneratedForm& f : g.forms) {
    ++perRule[f.rule];
    generated.insert(f.word);
  }
  std::cout << g.forms.size() << " forms in " << seconds << " s; resident memory " << before.second
            << " kB before (sources loaded), " << after.second << " kB after, peak " << after.first
            << " kB\n";
  for (const auto& [rule, count] : perRule) {
    std::cout << "  " << rule << ": " << count << "\n";
  }
  if (const char* sample = std::getenv("ZRV_MORPHOLOGY_SAMPLE")) {
    for (const GeneratedForm& f : g.forms) {
      if (f.rule == sample) {
        std::cout << "    " << f.word << " <- " << f.base << ": "
                  << joined(f.pronunciations.front()) << "\n";
      }
    }
  }
  reportCoverage("GPL-3", fileText("/usr/share/common-licenses/GPL-3"), r->dictionary, generated);
  // The verse labels ("Ge1:1") open every line of the bible tool's output.
  std::istringstream kjv(fileText(kjvPath));
  std::string verses;
  for (std::string line; std::getline(kjv, line);) {
    const std::size_t space = line.find(' ');
    verses += (space == std::string::npos ? "" : line.substr(space + 1)) + "\n";
  }
  reportCoverage("King James", verses, r->dictionary, generated);
}

}  // namespace
}  // namespace zrv::words_tool::morphology
