#include "phonemes.h"

#include <array>
#include <string>

namespace zrv::words_tool {
namespace {

constexpr std::array<std::string_view, kArpabetCount> kNames = {
    "AA", "AE", "AH", "AO", "AW", "AY", "EH", "ER", "EY", "IH", "IY", "OW", "OY",
    "UH", "UW", "B",  "CH", "D",  "DH", "F",  "G",  "HH", "JH", "K",  "L",  "M",
    "N",  "NG", "P",  "R",  "S",  "SH", "T",  "TH", "V",  "W",  "Y",  "Z",  "ZH",
};

}  // namespace

std::optional<Phone> phoneFromArpabet(std::string_view symbol) {
  std::int8_t stress = Phone::kNoStress;
  if (!symbol.empty() && symbol.back() >= '0' && symbol.back() <= '9') {
    if (symbol.back() > '2') {
      return std::nullopt;
    }
    stress = static_cast<std::int8_t>(symbol.back() - '0');
    symbol.remove_suffix(1);
  }
  for (int i = 0; i < kArpabetCount; ++i) {
    if (kNames[i] != symbol) {
      continue;
    }
    const auto phoneme = static_cast<Phoneme>(i);
    // Every rule that tells a weak syllable from a strong one reads the vowel's digit.
    if (isVowel(phoneme) == (stress == Phone::kNoStress)) {
      return std::nullopt;
    }
    return Phone{phoneme, stress};
  }
  return std::nullopt;
}

std::string_view phonemeName(Phoneme phoneme) {
  return kNames[static_cast<int>(phoneme)];
}

std::string phoneName(Phone phone) {
  std::string name(phonemeName(phone.phoneme));
  if (phone.stress != Phone::kNoStress) {
    name += static_cast<char>('0' + phone.stress);
  }
  return name;
}

bool isVowel(Phoneme phoneme) {
  return phoneme <= Phoneme::UW;
}

}  // namespace zrv::words_tool
