#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace zrv::words_tool {

/// The 39 sounds of the pronouncing dictionary (ARPAbet).
enum class Phoneme : std::uint8_t {
  // clang-format off
  // vowels
  AA, AE, AH, AO, AW, AY, EH, ER, EY, IH, IY, OW, OY, UH, UW,
  // consonants
  B, CH, D, DH, F, G, HH, JH, K, L, M, N, NG, P, R, S, SH, T, TH, V, W, Y, Z, ZH,
  // clang-format on
};

inline constexpr int kArpabetCount = static_cast<int>(Phoneme::ZH) + 1;

/// One sound of a dictionary pronunciation: a vowel carries its stress (0 unstressed, 1 primary,
/// 2 secondary), a consonant kNoStress.
struct Phone {
  static constexpr std::int8_t kNoStress = -1;
  Phoneme phoneme = Phoneme::AH;
  std::int8_t stress = kNoStress;
  bool operator==(const Phone&) const = default;
};

/// The phone of an ARPAbet symbol such as "AA1" or "K", or nothing when the symbol is not one of
/// the 39 or a vowel's stress digit is missing or not 0, 1 or 2 (a consonant takes no digit).
std::optional<Phone> phoneFromArpabet(std::string_view symbol);

/// The ARPAbet symbol of a phoneme, without stress ("AA").
std::string_view phonemeName(Phoneme phoneme);

/// The ARPAbet symbol of a phone, with the stress digit of a vowel ("AA1").
std::string phoneName(Phone phone);

/// True for the 15 vowels, r-coloured ER included.
bool isVowel(Phoneme phoneme);

}  // namespace zrv::words_tool
