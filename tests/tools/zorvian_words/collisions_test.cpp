#include "collisions.h"

#include <gtest/gtest.h>

#include <sstream>

#include "real_sources.h"
#include "reports.h"

namespace zrv::words_tool {
namespace {

std::vector<Phone> phonesOf(std::string_view arpabet) {
  std::vector<Phone> phones;
  std::istringstream in{std::string(arpabet)};
  for (std::string symbol; in >> symbol;) {
    phones.push_back(*phoneFromArpabet(symbol));
  }
  return phones;
}

struct Word {
  std::string spelling;
  std::vector<Phone> phones;
  BaseWord base;
  AccentWord sounds;
};

// A word as an accent says it, from an American base with no curated lists.
Word said(std::string spelling, std::string_view arpabet, const AccentProfile& accent) {
  static const AccentLists noLists;
  Word word{std::move(spelling), phonesOf(arpabet), {}, {}};
  word.base = baseOf(word.spelling, word.phones, BaseKind::American, noLists);
  word.sounds = realise(word.base, accent);
  return word;
}

Collision collide(const Word& a, const Word& b, const AccentProfile& accent) {
  EXPECT_EQ(spell(a.sounds), spell(b.sounds)) << a.spelling << " and " << b.spelling;
  return explainCollision(a.base, a.sounds, b.base, b.sounds, licensedMergers(accent));
}

TEST(CollisionReport, AMergerOfTheAccentExplainsThePair) {
  const AccentProfile& western = profileOf(test::accentLabelled("US Western"));
  const Word cot = said("cot", "K AA1 T", western);
  const Word caught = said("caught", "K AO1 T", western);
  const Collision collision = collide(cot, caught, western);
  EXPECT_TRUE(collision.explained);
  EXPECT_EQ(collision.reasons, (std::set<std::string>{"LOT=THOUGHT"}));

  const AccentProfile& midland = profileOf(test::accentLabelled("US Midland"));
  EXPECT_NE(spell(said("cot", "K AA1 T", midland).sounds),
            spell(said("caught", "K AO1 T", midland).sounds));
}

TEST(CollisionReport, ASoundGivenToAnotherSetIsFlaggedWhereTheAccentLicensesNoSuchMerger) {
  // The fault of an accent that writes KIT with the letter of STRUT (bit = but).
  AccentProfile faulty = profileOf(test::accentLabelled("UK RP"));
  faulty.vowels[static_cast<int>(Unit::KIT) - kFirstVowelUnit] = Sound::Strut;
  const Collision collision =
      collide(said("bit", "B IH1 T", faulty), said("but", "B AH1 T", faulty), faulty);
  EXPECT_FALSE(collision.explained);
  EXPECT_EQ(collision.reasons, (std::set<std::string>{"KIT=STRUT"}));
}

TEST(CollisionReport, TwoSoundsWithOneSpellingAreFlaggedAsSpelling) {
  // A rule that reuses a letter group: the shifted GOAT and the raised MOUTH are both "ou".
  AccentProfile faulty = profileOf(test::accentLabelled("UK RP"));
  faulty.vowels[static_cast<int>(Unit::GOAT) - kFirstVowelUnit] = Sound::ShiftedGoat;
  faulty.vowels[static_cast<int>(Unit::MOUTH) - kFirstVowelUnit] = Sound::RaisedMouth;
  const Collision collision =
      collide(said("no", "N OW1", faulty), said("now", "N AW1", faulty), faulty);
  EXPECT_FALSE(collision.explained);
  EXPECT_EQ(collision.reasons, (std::set<std::string>{"spelling"}));
}

TEST(CollisionReport, TheRealDatabaseHasNoUnexplainedPairAmongTheWordsOfTheIssuesPairs) {
  std::ostringstream text;
  text << "In the heart of the house the water was hot, the cot was caught, the latter ladder "
          "stood by the metal medal; three trees were thin, the bath by the bat, the cart, "
          "the hair and her beard, a bird, a fear, a fir, the boy and the buy, now and no.";
  const std::vector<std::string> words =
      ordinaryWords(test::realInputs(), {lookupKeysOf(text.str(), false)});
  for (const AccentTable& accent : accentCatalog) {
    const AccentCollisions found = collisionsIn(test::realInputs(), words, profileOf(accent));
    for (const Collision& collision : found.unexplained) {
      ADD_FAILURE() << accent.label << ": " << collision.first << " = " << collision.second;
    }
  }
}

}  // namespace
}  // namespace zrv::words_tool
