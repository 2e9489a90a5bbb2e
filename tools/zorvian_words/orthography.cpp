#include "orthography.h"

#include <array>

namespace zrv::words_tool {
namespace {

// Indexed by Phoneme. docs/orthography.md shows the same table; a test keeps the two alike.
constexpr std::array<std::string_view, kPhonemeCount> kSpellings = {
    "ā",   // AA  father, US lot
    "a",   // AE  trap
    "u",   // AH  strut and schwa
    "å",   // AO  thought
    "au",  // AW  mouth
    "ai",  // AY  price
    "e",   // EH  dress
    "ur",  // ER  nurse and letter, r-coloured
    "ē",   // EY  face
    "i",   // IH  kit
    "ī",   // IY  fleece
    "ō",   // OW  goat
    "oi",  // OY  choice
    "ú",   // UH  foot
    "ū",   // UW  goose
    "b",   // B
    "ч",   // CH
    "d",   // D
    "ð",   // DH
    "f",   // F
    "g",   // G
    "h",   // HH
    "j",   // JH
    "k",   // K
    "l",   // L
    "m",   // M
    "n",   // N
    "ŋ",   // NG
    "p",   // P
    "r",   // R
    "s",   // S
    "ћ",   // SH
    "t",   // T
    "þ",   // TH
    "v",   // V
    "w",   // W
    "y",   // Y
    "z",   // Z
    "ԅ",   // ZH
    "o",   // Lot
    "ů",   // Nurse
    "u",   // Letter
    "iu",  // Near
    "է",   // Square
    "é",   // TenseE
    "ó",   // TenseO
    "á",   // LongA
    "ui",  // RaisedPrice
    "ou",  // RaisedMouth
    "ԏ",   // Flap
    "ҁ",   // Glottal
};

}  // namespace

std::string_view spellingOf(Phoneme phoneme) {
  return kSpellings[static_cast<int>(phoneme)];
}

std::string spell(std::span<const Phoneme> phonemes) {
  std::string word;
  word.reserve(phonemes.size() * 2);
  for (Phoneme phoneme : phonemes) {
    word += spellingOf(phoneme);
  }
  return word;
}

}  // namespace zrv::words_tool
