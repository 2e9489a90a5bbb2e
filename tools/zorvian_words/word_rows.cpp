#include "word_rows.h"

#include <algorithm>

#include "orthography.h"
#include "vowel_letters.h"

namespace zrv::words_tool {

PreparedWord prepareWord(const DictionaryWord& entry, const WordList& words,
                         const HeteronymList& heteronyms) {
  PreparedWord prepared;
  prepared.entry = &entry;
  prepared.nameUse = words.nameUseOf(entry.word);
  for (const Pronunciation* pronunciation : heteronyms.keptPronunciations(entry)) {
    const std::vector<std::string_view> letters =
        vowelLettersOf(entry.word, pronunciation->phonemes);
    WordSounds sounds{entry.word, {}};
    sounds.sounds.reserve(pronunciation->phonemes.size());
    for (std::size_t i = 0; i < pronunciation->phonemes.size(); ++i) {
      sounds.sounds.push_back({pronunciation->phonemes[i], letters[i]});
    }
    prepared.pronunciations.push_back(std::move(sounds));
  }
  return prepared;
}

void rowsInAccent(const PreparedWord& word, const AccentTable& accent, std::vector<WordRow>& rows) {
  rows.clear();
  std::vector<std::string> spellings;
  std::vector<Phoneme> phonemes;
  for (const WordSounds& pronunciation : word.pronunciations) {
    WordSounds sounds = pronunciation;
    applyAccent(accent, sounds);
    phonemes.clear();
    for (const Sound& sound : sounds.sounds) {
      phonemes.push_back(sound.phoneme);
    }
    std::string spelling = spell(phonemes);
    // A rule can drop every sound (h-dropping a bare "h"); the unchanged pronunciation stands in.
    if (spelling.empty()) {
      phonemes.clear();
      for (const Sound& sound : pronunciation.sounds) {
        phonemes.push_back(sound.phoneme);
      }
      spelling = spell(phonemes);
    }
    // Two pronunciations that an accent says alike are one candidate there.
    if (std::find(spellings.begin(), spellings.end(), spelling) == spellings.end()) {
      spellings.push_back(std::move(spelling));
    }
  }
  int weight = kFirstWeight;
  for (const std::string& spelling : spellings) {
    if (word.nameUse != NameUse::NameOnly) {
      rows.push_back({spelling, false, weight});
    }
    if (word.nameUse == NameUse::NameOnly) {
      rows.push_back({spelling, true, weight});
    } else if (word.nameUse == NameUse::NameAndCommon) {
      rows.push_back({spelling, true, weight - kNameWeightStep});
    }
    weight -= kVariantWeightStep;
  }
}

}  // namespace zrv::words_tool
