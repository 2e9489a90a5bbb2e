#pragma once

// What the fuzz targets hold the program to, written as plainly as possible so that the checks
// do not share a fault with the code they check.

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace zrv::fuzz {

/// Stops the run with a message; libFuzzer keeps the input that got here as a crash.
[[noreturn]] inline void fail(const char* what) {
  std::fprintf(stderr, "invariant broken: %s\n", what);
  std::abort();
}

inline void check(bool holds, const char* what) {
  if (!holds) {
    fail(what);
  }
}

inline bool isAsciiUpper(unsigned char byte) {
  return byte >= 'A' && byte <= 'Z';
}
inline bool isAsciiLower(unsigned char byte) {
  return byte >= 'a' && byte <= 'z';
}
inline bool isAsciiDigit(unsigned char byte) {
  return byte >= '0' && byte <= '9';
}

/// A byte of a word: an ASCII letter or the apostrophe. Every other byte is a delimiter.
inline bool isWordByte(unsigned char byte) {
  return isAsciiUpper(byte) || isAsciiLower(byte) || byte == '\'';
}

/// The length of the typographic apostrophe (U+02BC, U+2018, U+2019, U+FF07) at `at`, or 0.
inline std::size_t typographicApostropheAt(std::string_view text, std::size_t at) {
  constexpr std::string_view kApostrophes[] = {"\xCA\xBC", "\xE2\x80\x98", "\xE2\x80\x99",
                                               "\xEF\xBC\x87"};
  for (std::string_view apostrophe : kApostrophes) {
    if (text.substr(at, apostrophe.size()) == apostrophe) {
      return apostrophe.size();
    }
  }
  return 0;
}

/// The text with each typographic apostrophe, left to right, replaced by "'".
inline std::string foldApostrophes(std::string_view text) {
  std::string folded;
  for (std::size_t at = 0; at < text.size();) {
    if (const std::size_t length = typographicApostropheAt(text, at)) {
      folded.push_back('\'');
      at += length;
    } else {
      folded.push_back(text[at]);
      at += 1;
    }
  }
  return folded;
}

/// The delimiters of a text, in order: everything but its words.
inline std::string delimitersOf(std::string_view text) {
  std::string delimiters;
  for (char byte : text) {
    if (!isWordByte(static_cast<unsigned char>(byte))) {
      delimiters.push_back(byte);
    }
  }
  return delimiters;
}

}  // namespace zrv::fuzz
