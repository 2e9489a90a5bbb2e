#pragma once

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "accents.h"
#include "engine/case_transfer.h"
#include "orthography.h"
#include "vowel_letters.h"
#include "words/accent_catalog.h"

namespace zrv::words_tool::test {

/// The one letter of the orthography that the case transfer leaves as it is.
inline constexpr std::string_view kEth = "ð";

/// The first character of `spelling` that breaks the orthography (not a–z, not a special letter of
/// the case transfer, not ð), or "" when it keeps to it.
inline std::string offendingLetter(std::string_view spelling) {
  for (std::size_t i = 0; i < spelling.size();) {
    const auto byte = static_cast<unsigned char>(spelling[i]);
    if (byte < 0x80) {
      if (byte < 'a' || byte > 'z') {
        return std::string(1, spelling[i]);
      }
      ++i;
      continue;
    }
    const std::string letter(spelling.substr(i, 2));
    if (letter != kEth && !startsWithSpecialLetter(letter)) {
      return letter;
    }
    i += 2;
  }
  return "";
}

/// The catalog entry with this menu label; fails the test when there is none.
inline const AccentTable& accentLabelled(std::string_view label) {
  for (const AccentTable& accent : accentCatalog) {
    if (accent.label == label) {
      return accent;
    }
  }
  ADD_FAILURE() << "no accent labelled " << label;
  return accentCatalog.front();
}

/// The phonemes of an ARPAbet text such as "B AE TH".
inline std::vector<Phoneme> phonemesOf(std::string_view arpabet) {
  std::vector<Phoneme> phonemes;
  std::istringstream in{std::string(arpabet)};
  for (std::string symbol; in >> symbol;) {
    const auto phoneme = phonemeFromArpabet(symbol);
    EXPECT_TRUE(phoneme.has_value()) << symbol;
    if (phoneme) {
      phonemes.push_back(*phoneme);
    }
  }
  return phonemes;
}

/// The Zorvian spelling of the English `word` pronounced `arpabet` in one accent, as the builder
/// makes it: letters paired, the accent's rules applied, the sounds spelled.
inline std::string spellIn(const AccentTable& accent, std::string_view word,
                           std::string_view arpabet) {
  const std::vector<Phoneme> phonemes = phonemesOf(arpabet);
  const std::vector<std::string_view> letters = vowelLettersOf(word, phonemes);
  WordSounds sounds{word, {}};
  for (std::size_t i = 0; i < phonemes.size(); ++i) {
    sounds.sounds.push_back({phonemes[i], letters[i]});
  }
  applyAccent(accent, sounds);
  std::vector<Phoneme> result;
  for (const Sound& sound : sounds.sounds) {
    result.push_back(sound.phoneme);
  }
  return spell(result);
}

}  // namespace zrv::words_tool::test
