#include "phonemes.h"

#include <array>

namespace zrv::words_tool {
namespace {

constexpr std::array<std::string_view, kPhonemeCount> kNames = {
    "AA",     "AE",    "AH",          "AO",          "AW",    "AY",      "EH",   "ER",     "EY",
    "IH",     "IY",    "OW",          "OY",          "UH",    "UW",      "B",    "CH",     "D",
    "DH",     "F",     "G",           "HH",          "JH",    "K",       "L",    "M",      "N",
    "NG",     "P",     "R",           "S",           "SH",    "T",       "TH",   "V",      "W",
    "Y",      "Z",     "ZH",          "Lot",         "Nurse", "Letter",  "Near", "Square", "TenseE",
    "TenseO", "LongA", "RaisedPrice", "RaisedMouth", "Flap",  "Glottal",
};

}  // namespace

std::optional<Phoneme> phonemeFromArpabet(std::string_view symbol) {
  // Dictionaries that keep stress write it as one trailing digit; the respelling ignores stress.
  if (!symbol.empty() && symbol.back() >= '0' && symbol.back() <= '2') {
    symbol.remove_suffix(1);
  }
  for (int i = 0; i < kArpabetCount; ++i) {
    if (kNames[i] == symbol) {
      return static_cast<Phoneme>(i);
    }
  }
  return std::nullopt;
}

std::string_view phonemeName(Phoneme phoneme) {
  return kNames[static_cast<int>(phoneme)];
}

bool isVowel(Phoneme phoneme) {
  return phoneme <= Phoneme::UW || (phoneme >= Phoneme::Lot && phoneme <= Phoneme::RaisedMouth);
}

bool isVoiceless(Phoneme phoneme) {
  switch (phoneme) {
    case Phoneme::P:
    case Phoneme::T:
    case Phoneme::K:
    case Phoneme::F:
    case Phoneme::TH:
    case Phoneme::S:
    case Phoneme::SH:
    case Phoneme::CH:
    case Phoneme::HH:
      return true;
    default:
      return false;
  }
}

}  // namespace zrv::words_tool
