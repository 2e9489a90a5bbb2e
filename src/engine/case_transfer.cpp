#include "engine/case_transfer.h"

#include <array>
#include <cstddef>

namespace zrv {

namespace {

struct SpecialLetter {
  unsigned char lower[2];
  unsigned char upper[2];
};

// The Unicode simple upper-case mapping of each special letter. No two rows share a lower-case
// pair, so the order of the rows changes no result.
constexpr std::array<SpecialLetter, 19> kSpecialLetters = {{
    {{0xC3, 0xA1}, {0xC3, 0x81}},  // á Á
    {{0xC3, 0xA5}, {0xC3, 0x85}},  // å Å
    {{0xC3, 0xA9}, {0xC3, 0x89}},  // é É
    {{0xC3, 0xBA}, {0xC3, 0x9A}},  // ú Ú
    {{0xC3, 0xB3}, {0xC3, 0x93}},  // ó Ó
    {{0xC3, 0xBE}, {0xC3, 0x9E}},  // þ Þ
    {{0xC4, 0x81}, {0xC4, 0x80}},  // ā Ā
    {{0xC4, 0x93}, {0xC4, 0x92}},  // ē Ē
    {{0xC4, 0xAB}, {0xC4, 0xAA}},  // ī Ī
    {{0xC5, 0xAB}, {0xC5, 0xAA}},  // ū Ū
    {{0xC5, 0xAF}, {0xC5, 0xAE}},  // ů Ů
    {{0xC5, 0x8D}, {0xC5, 0x8C}},  // ō Ō
    {{0xC5, 0x8B}, {0xC5, 0x8A}},  // ŋ Ŋ
    {{0xD1, 0x9B}, {0xD0, 0x8B}},  // ћ Ћ
    {{0xD1, 0x87}, {0xD0, 0xA7}},  // ч Ч
    {{0xD2, 0x81}, {0xD2, 0x80}},  // ҁ Ҁ
    {{0xD4, 0x85}, {0xD4, 0x84}},  // ԅ Ԅ
    {{0xD4, 0x8F}, {0xD4, 0x8E}},  // ԏ Ԏ
    {{0xD5, 0xA7}, {0xD4, 0xB7}},  // է Է
}};

/// The special letter whose lower-case pair starts at text[at], or nullptr.
const SpecialLetter* specialLetterAt(const std::string& text, std::size_t at) {
  if (at + 1 >= text.size()) {
    return nullptr;
  }
  const auto first = static_cast<unsigned char>(text[at]);
  const auto second = static_cast<unsigned char>(text[at + 1]);
  for (const SpecialLetter& letter : kSpecialLetters) {
    if (letter.lower[0] == first && letter.lower[1] == second) {
      return &letter;
    }
  }
  return nullptr;
}

char asciiUpper(char byte) {
  return (byte >= 'a' && byte <= 'z') ? static_cast<char>(byte - 'a' + 'A') : byte;
}

}  // namespace

std::string toUpperCase(std::string text) {
  std::string upper;
  upper.reserve(text.size());
  std::size_t at = 0;
  while (at < text.size()) {
    if (const SpecialLetter* letter = specialLetterAt(text, at)) {
      upper.push_back(static_cast<char>(letter->upper[0]));
      upper.push_back(static_cast<char>(letter->upper[1]));
      at += 2;
    } else {
      upper.push_back(asciiUpper(text[at]));
      at += 1;
    }
  }
  return upper;
}

bool startsWithSpecialLetter(std::string text) {
  return specialLetterAt(text, 0) != nullptr;
}

std::string capitalizeFirstLetter(std::string text) {
  if (text.empty()) {
    return text;
  }
  const std::size_t firstLetterBytes = startsWithSpecialLetter(text) ? 2 : 1;
  return toUpperCase(text.substr(0, firstLetterBytes)) + text.substr(firstLetterBytes);
}

}  // namespace zrv
