// The letters the accents write with: each keeps its case in the program's case transfer, and no
// accent writes two of its sounds alike.

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "accents.h"
#include "engine/case_transfer.h"
#include "real_sources.h"
#include "words/accent_catalog.h"

namespace zrv::words_tool {
namespace {

// Every letter that a sound may be spelled with, and its capital: the Unicode capital of each
// special letter, and the letter itself for the three that the case transfer leaves alone.
const std::map<std::string, std::string> kCapitals = {
    {"a", "A"}, {"b", "B"}, {"d", "D"}, {"e", "E"}, {"f", "F"}, {"g", "G"}, {"h", "H"}, {"i", "I"},
    {"j", "J"}, {"k", "K"}, {"l", "L"}, {"m", "M"}, {"n", "N"}, {"o", "O"}, {"p", "P"}, {"r", "R"},
    {"s", "S"}, {"t", "T"}, {"u", "U"}, {"v", "V"}, {"w", "W"}, {"y", "Y"}, {"z", "Z"}, {"á", "Á"},
    {"å", "Å"}, {"é", "É"}, {"ú", "Ú"}, {"ó", "Ó"}, {"þ", "Þ"}, {"ā", "Ā"}, {"ē", "Ē"}, {"ī", "Ī"},
    {"ū", "Ū"}, {"ů", "Ů"}, {"ō", "Ō"}, {"ŋ", "Ŋ"}, {"ћ", "Ћ"}, {"ч", "Ч"}, {"ҁ", "Ҁ"}, {"ԅ", "Ԅ"},
    {"ԏ", "Ԏ"}, {"է", "Է"}, {"ð", "ð"}, {"ɾ", "ɾ"}, {"ʔ", "ʔ"},  // no capitals in the case transfer
};

// The UTF-8 characters of a text.
std::vector<std::string> lettersOf(std::string_view text) {
  std::vector<std::string> letters;
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    letters.emplace_back(text.substr(i, length));
    i += length;
  }
  return letters;
}

std::vector<Sound> everySound() {
  std::vector<Sound> sounds;
  for (int s = 0; s < kSoundCount; ++s) {
    sounds.push_back(static_cast<Sound>(s));
  }
  return sounds;
}

TEST(Orthography, EveryLetterOfEverySoundTakesItsCapitalAtTheStartAndInAllCapitals) {
  for (Sound sound : everySound()) {
    const std::string spelling(spellingOf(sound));
    ASSERT_FALSE(spelling.empty()) << soundName(sound);
    std::string capitalised;
    std::string allCapitals;
    for (const std::string& letter : lettersOf(spelling)) {
      const auto capital = kCapitals.find(letter);
      ASSERT_NE(capital, kCapitals.end())
          << soundName(sound) << " is spelled with \"" << letter << "\", a letter of no table";
      capitalised += capitalised.empty() ? capital->second : letter;
      allCapitals += capital->second;
    }
    // As a whole word, and as the start of one, which is how the program meets it.
    EXPECT_EQ(capitalizeFirstLetter(spelling), capitalised) << soundName(sound);
    EXPECT_EQ(toUpperCase(spelling), allCapitals) << soundName(sound);
    EXPECT_EQ(capitalizeFirstLetter(spelling + "ba"), capitalised + "ba") << soundName(sound);
    EXPECT_EQ(toUpperCase("ba" + spelling), "BA" + allCapitals) << soundName(sound);
  }
}

TEST(Orthography, NoAccentSpellsTwoOfItsSoundsAlike) {
  for (const AccentTable& accent : accentCatalog) {
    std::map<std::string_view, Sound> soundOf;
    for (Sound sound : soundsOf(profileOf(accent))) {
      const auto [at, isNew] = soundOf.emplace(spellingOf(sound), sound);
      EXPECT_TRUE(isNew) << accent.label << " spells " << soundName(at->second) << " and "
                         << soundName(sound) << " alike: " << spellingOf(sound);
    }
  }
}

// The check above is only as good as the set of sounds it is given: every sound that an accent
// writes in the real database must be among them. The flap and the glottal stop never begin a
// word, where they would have to be capitalised.
TEST(Orthography, EverySoundAnAccentWritesIsOneOfItsSoundsAndNoWordStartsWithoutACapital) {
  const BuildInputs& inputs = test::realInputs();
  for (const AccentTable& accent : accentCatalog) {
    const AccentProfile& profile = profileOf(accent);
    const std::set<Sound> own = soundsOf(profile);
    std::set<Sound> written;
    std::set<Sound> first;
    for (std::size_t w = 0; w < inputs.dictionary.size(); w += 29) {  // a sample is plenty
      const DictionaryWord& entry = inputs.dictionary[w];
      for (const Pronunciation& p : entry.pronunciations) {
        const AccentWord word =
            realise(baseOf(entry.word, p.phones, profile.base, inputs.lists), profile);
        for (const Sounded& s : word.sounds) {
          written.insert(s.sound);
        }
        if (!word.sounds.empty()) {
          first.insert(word.sounds.front().sound);
        }
      }
    }
    for (Sound sound : written) {
      EXPECT_TRUE(own.contains(sound)) << accent.label << " writes " << soundName(sound);
    }
    EXPECT_FALSE(first.contains(Sound::Flap)) << accent.label;
    EXPECT_FALSE(first.contains(Sound::Glottal)) << accent.label;
  }
}

}  // namespace
}  // namespace zrv::words_tool
