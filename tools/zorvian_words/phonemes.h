#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace zrv::words_tool {

/// The sounds a word is made of: the 39 ARPAbet phonemes of the pronouncing dictionary, then the
/// sounds that only the accent rules produce (no dictionary line names them).
enum class Phoneme : std::uint8_t {
  // clang-format off
  // ARPAbet vowels
  AA, AE, AH, AO, AW, AY, EH, ER, EY, IH, IY, OW, OY, UH, UW,
  // ARPAbet consonants
  B, CH, D, DH, F, G, HH, JH, K, L, M, N, NG, P, R, S, SH, T, TH, V, W, Y, Z, ZH,
  // clang-format on
  // accent sounds
  Lot,          // the rounded short o of British-type LOT
  Nurse,        // the long r-less vowel of "bird" in non-rhotic accents
  Letter,       // the r-less schwa of "butter" in non-rhotic accents
  Near,         // the r-less centring diphthong of "near"
  Square,       // the r-less long open e of "square"
  TenseE,       // a long close e: monophthongal FACE, tensed TRAP
  TenseO,       // a long close o: monophthongal GOAT
  LongA,        // a long front a: monophthongal PRICE or MOUTH
  RaisedPrice,  // PRICE with a raised onset before voiceless consonants
  RaisedMouth,  // MOUTH with a raised onset before voiceless consonants
  Flap,         // the tapped t of "water" in flapping accents
  Glottal,      // the glottal stop that replaces t
};

inline constexpr int kPhonemeCount = static_cast<int>(Phoneme::Glottal) + 1;
inline constexpr int kArpabetCount = static_cast<int>(Phoneme::ZH) + 1;

/// The phoneme of an ARPAbet symbol such as "AA" or "AA1" (a stress digit is dropped), or nothing
/// when the symbol is not one of the 39.
std::optional<Phoneme> phonemeFromArpabet(std::string_view symbol);

/// The phoneme's name: its ARPAbet symbol, or the name of an accent sound ("Lot", "Flap").
std::string_view phonemeName(Phoneme phoneme);

/// True for every vowel, r-coloured ER and the accent vowels included.
bool isVowel(Phoneme phoneme);

/// True for the voiceless consonants, the ones before which Canadian raising happens.
bool isVoiceless(Phoneme phoneme);

}  // namespace zrv::words_tool
