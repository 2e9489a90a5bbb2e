#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "accent_lists.h"
#include "phonemes.h"

namespace zrv::words_tool {

/// The units of a word's base pronunciation: the dictionary's consonants, the yod that some accents
/// drop, and the vowels as Wells' lexical sets, which keep apart what some accent keeps apart.
enum class Unit : std::uint8_t {
  // clang-format off
  // consonants, in the order of their phonemes
  B, CH, D, DH, F, G, HH, JH, K, L, M, N, NG, P, R, S, SH, T, TH, V, W, Y, Z, ZH,
  Yod,  // the y of "tune", "new", "due" after t, d, n, th, s, z: dropped by the American accents
  // vowels: the lexical sets, then the weak vowels
  KIT, DRESS, TRAP, LOT, STRUT, FOOT, BATH, CLOTH, NURSE, FLEECE, FACE, PALM, THOUGHT, GOAT,
  GOOSE, PRICE, CHOICE, MOUTH, NEAR, SQUARE, START, NORTH, FORCE, CURE,
  HAPPY, LETTER, COMMA,
  // clang-format on
};

inline constexpr int kUnitCount = static_cast<int>(Unit::COMMA) + 1;
inline constexpr int kFirstVowelUnit = static_cast<int>(Unit::KIT);

/// Wells' keyword of a vowel unit ("TRAP", "lettER") or the symbol of a consonant ("T", "Yod").
std::string_view unitName(Unit unit);

inline bool isVowelUnit(Unit unit) {
  return static_cast<int>(unit) >= kFirstVowelUnit;
}

/// One unit of a base pronunciation with what it came from: the dictionary's phoneme and stress,
/// and the English letters that write a vowel (empty when the letters did not pair up).
struct Segment {
  Unit unit = Unit::COMMA;
  Phoneme source = Phoneme::AH;
  std::int8_t stress = Phone::kNoStress;
  bool fromWh = false;  // a w written wh ("which"), kept apart by the accents that say [hw]
  std::string_view letters;
  BathTags bath;             // for a BATH vowel: whether Australia and New England also say it long
  bool americanYod = false;  // a yod the dictionary itself has before a weak vowel ("menu")
};

/// Which base a pronunciation is read into: the dictionary's American one, or the British-type one
/// that the accents of Britain, Ireland and the southern hemisphere share (its own word forms, the
/// -ile, -ary and -ization vowels).
enum class BaseKind { American, British };

/// A word's base pronunciation. `spelling` is the English word the letters point into.
struct BaseWord {
  std::string_view spelling;
  std::vector<Segment> segments;
};

/// Reads a dictionary pronunciation of `spelling` into lexical sets, from the phonemes, their
/// stress and the letters, with the curated lists for what the spelling cannot tell (BATH words,
/// SQUARE before a vowel, LOT or FORCE before r, the FORCE words spelled or). `britishForm` says
/// that `phones` is a curated British form, whose AA is LOT however it is spelled ("because").
BaseWord baseOf(std::string_view spelling, std::span<const Phone> phones, BaseKind kind,
                const AccentLists& lists, bool britishForm = false);

}  // namespace zrv::words_tool
