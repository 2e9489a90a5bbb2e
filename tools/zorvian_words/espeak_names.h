#pragma once

// Pronunciations for the names the pronouncing dictionary lacks (Joab, Hezekiah, Levites), taken
// from espeak-ng's American English voice. espeak-ng prints its own phoneme mnemonics with stress
// marks (h,EzI2k'aI@); this module turns them into ARPAbet phones with stress digits.
//
// The mnemonics and what they become (stress from the marks, see phonesFromEspeak):
//   @ @2 @5 AH     @L AH L      3 3: ER      a aa AE      a# AH        A: A~ AA     0 AA
//   O: O O2 AO     O@ o@ AO R   A@ AA R      E EH         e@ EH R      eI EY
//   I I2 I# IH     i i: IY      i@ IY AH (IH before r)    i@3 IH R     U UH         U@ UH R
//   u: u UW        V AH         VR ER        aI AY        aI@ AY AH    aI3 AY ER    aU AW
//   aU@ AW AH      aU3 AW ER    oU @U o OW   oU3 OW ER    OI OY
//   p b t d k g f v s z m n l r w as themselves   h HH   T TH   D DH   S SH   Z ZH   N NG
//   j Y   tS CH   dZ JH
//   t# t2 T (flap and variant)   d# D    l# L L    x C K (loch, ich)    ? T (glottal stop)
// A vowel written with its r (e@, A@, O@, U@, i@3, 3, 3:) takes up a following r rather than
// saying it twice (k'am3r@n is K AE1 M ER0 AH0 N); a glottal stop before an n that no vowel
// follows is the T of a syllabic n (h'V?n- is HH AH1 T AH0 N). The marks ; (palatal), -
// (syllable boundary), _ and | (pauses) carry no sound.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cmu_dictionary.h"
#include "phonemes.h"
#include "word_list.h"

namespace zrv::words_tool {

/// The phones of one word's espeak-ng mnemonics, as `espeak-ng -q -x -v en-us` prints them. A
/// vowel takes stress 1 after ', 2 after , and 0 otherwise; a word without a primary stress gets
/// it on its first secondary-stressed vowel, or else its first vowel, as the dictionary always
/// has one. Nothing when the text holds a mnemonic the table above lacks or no vowel; then
/// `unknown` (when given) names the first mnemonic not understood.
std::optional<std::vector<Phone>> phonesFromEspeak(std::string_view mnemonics,
                                                   std::string* unknown = nullptr);

/// espeak-ng's mnemonics for each of `words`, in order, from two espeak-ng processes at once (one
/// per batch of words, each word on a line of its own ending a clause, so each comes back on its
/// own line). Returns false with `error` when espeak-ng cannot be run or its output does not line
/// up with the words.
bool espeakMnemonics(const std::vector<std::string>& words, std::vector<std::string>& mnemonics,
                     std::string& error);

/// What addEspeakNames did.
struct EspeakNames {
  std::size_t asked = 0;       // the names espeak-ng was asked for
  std::size_t added = 0;       // entries added, possessives included
  std::size_t unmappable = 0;  // skipped: a mnemonic the table lacks
};

/// Adds an entry for each name of the list at `namesList` that `dictionary` lacks: a word of
/// three or more letters with a vowel letter (not an abbreviation espeak-ng would spell out),
/// written capitalised with only small letters after the capital, and not held in lower case by
/// `words` (the lists that tell names from common words; a big names list holds levites too).
/// Its possessive ("joab's") comes with it where the list holds one. Each name is added to
/// `words` as a capitalised entry, so it gets name rows. An entry of `dictionary` is never
/// replaced; `dictionary` stays sorted. Returns false with `error` when the list cannot be read
/// or espeak-ng fails.
bool addEspeakNames(const std::filesystem::path& namesList, std::vector<DictionaryWord>& dictionary,
                    WordList& words, EspeakNames& report, std::string& error);

}  // namespace zrv::words_tool
