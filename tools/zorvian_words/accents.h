#pragma once

#include <span>
#include <string_view>
#include <vector>

#include "phonemes.h"
#include "words/accent_catalog.h"

namespace zrv::words_tool {

/// One sound of a word, with the English letters that write it (vowels only; may be empty).
struct Sound {
  Phoneme phoneme;
  std::string_view letters;
};

/// A word as the accent rules see it. `sounds` starts as the dictionary pronunciation and is
/// rewritten by each rule; `spelling` is the English word the letters point into.
struct WordSounds {
  std::string_view spelling;
  std::vector<Sound> sounds;
};

/// A sound change that some accents make. The enumerators are in the order in which the rules
/// apply, whatever the accent: a later rule sees what the earlier ones made.
enum class AccentRule {
  LotPalmSplit,             // AA of "hot" (spelled o) becomes Lot; "cloth" AO too
  PalmTrapMerger,           // the remaining AA (PALM) becomes AE
  CotCaughtMergerToPalm,    // AO becomes AA, except before r
  CotCaughtMergerToLot,     // AO becomes Lot
  TrapBathSplit,            // AE becomes AA before f, th, s and nasal clusters
  TrapBathSplitFricatives,  // AE becomes AA before f, th and s only
  NorthernCitiesShift,      // AE becomes TenseE, AA becomes AE, AO becomes AA
  ShortATensing,            // AE becomes TenseE before m n b d g f th s sh in a closed syllable
  NurseSplit,               // ER becomes IH R, EH R or AH R after its spelling
  NonRhotic,                // r not before a vowel is dropped and colours the vowel
  OpenLetterVowel,          // the r-less schwa at the end becomes AE
  NearSquareMerger,         // Square becomes Near
  FootStrutUnsplit,         // AH of "cup" (first vowel, spelled u or o) becomes UH
  FootGooseMerger,          // UH becomes UW
  PinPenMerger,             // EH becomes IH before m, n, ng
  KitCentralisation,        // IH becomes AH, except before ng
  DressRaising,             // EH becomes IH
  TrapRaising,              // AE becomes EH
  FleeceLaxingBeforeL,      // IY becomes IH before l
  CanadianRaising,          // AY, AW become RaisedPrice, RaisedMouth before voiceless sounds
  PriceMonophthong,         // AY becomes LongA, except before voiceless sounds
  MouthMonophthong,         // AW becomes LongA
  DiphthongShift,           // EY becomes AY, AY becomes OY, OW becomes AW
  FaceGoatMonophthongs,     // EY becomes TenseE, OW becomes TenseO
  TFlapping,                // t between a vowel or r and a weak vowel becomes Flap
  TGlottalling,             // t after a vowel, not before a strong vowel, becomes Glottal
  ThFronting,               // TH becomes F, DH becomes V (D at the start of a word)
  ThStopping,               // TH becomes T, DH becomes D
  HDropping,                // HH is dropped
  LVocalisation,            // l not before a vowel becomes W
  InitialFricativeVoicing,  // f and s at the start of a word, before a vowel, become v and z
  VWMerger,                 // W becomes V
};

inline constexpr int kAccentRuleCount = static_cast<int>(AccentRule::VWMerger) + 1;

/// The rule's name as docs/orthography.md lists it (for instance "non-rhotic").
std::string_view ruleName(AccentRule rule);

/// The rules of an accent of the catalog, in the order in which they apply.
std::span<const AccentRule> rulesOf(const AccentTable& accent);

/// Rewrites `word.sounds` by one rule.
void applyRule(AccentRule rule, WordSounds& word);

/// Rewrites `word.sounds` by every rule of the accent, in order.
void applyAccent(const AccentTable& accent, WordSounds& word);

}  // namespace zrv::words_tool
