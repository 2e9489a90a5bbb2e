#pragma once

namespace zrv {

/// The "C" locale's test on a byte's unsigned value: only A to Z are upper-case letters.
constexpr bool isUpperCaseLetter(char byte) {
  return byte >= 'A' && byte <= 'Z';
}

/// Whether a byte belongs to a word: the letters A to Z and a to z, and the apostrophe. Every
/// other byte, those of UTF-8 letters included, ends the word before it.
constexpr bool isWordByte(char byte) {
  return isUpperCaseLetter(byte) || (byte >= 'a' && byte <= 'z') || byte == '\'';
}

}  // namespace zrv
