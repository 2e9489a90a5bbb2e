// Arbitrary bytes through the text filters and the case transfer. Each function must come back
// without a fault and keep what its rule promises about the length and the kind of every byte.

#include <cstddef>
#include <cstdint>
#include <string>

#include "app/text_filters.h"
#include "engine/case_transfer.h"
#include "fuzz_checks.h"

namespace zrv::fuzz {
namespace {

void checkNormalizeApostrophes(const std::string& text) {
  const std::string folded = normalizeApostrophes(text);
  // A replacement only shortens; the plain scan gives the very bytes.
  check(folded.size() <= text.size(), "normalizeApostrophes grew the text");
  check(folded == foldApostrophes(text), "normalizeApostrophes differs from the plain scan");
  for (std::size_t at = 0; at < folded.size(); ++at) {
    check(typographicApostropheAt(folded, at) == 0, "normalizeApostrophes left an apostrophe");
  }
}

void checkEscapeSingleQuotes(const std::string& text) {
  const std::string escaped = escapeSingleQuotes(text);
  std::string expected;
  for (char byte : text) {
    expected.push_back(byte);
    if (byte == '\'') {
      expected.push_back('\'');
    }
  }
  check(escaped == expected, "escapeSingleQuotes did not double exactly the apostrophes");
}

void checkRemoveSingleEdgeQuotes(const std::string& text) {
  const std::string trimmed = removeSingleEdgeQuotes(text);
  const std::size_t front = !text.empty() && text.front() == '\'' ? 1 : 0;
  const std::size_t left = text.size() - front;
  const std::size_t back = left > 1 && text.back() == '\'' ? 1 : 0;
  check(trimmed == text.substr(front, left - back), "removeSingleEdgeQuotes took the wrong bytes");
}

void checkRemoveNonAlphanumerics(const std::string& text) {
  const std::string kept = removeNonAlphanumerics(text);
  std::size_t at = 0;
  for (char byte : text) {
    const auto value = static_cast<unsigned char>(byte);
    if (isAsciiUpper(value) || isAsciiLower(value) || isAsciiDigit(value)) {
      check(at < kept.size() && kept[at] == byte, "removeNonAlphanumerics lost or moved a byte");
      ++at;
    }
  }
  check(at == kept.size(), "removeNonAlphanumerics kept a byte that is no letter or digit");
}

void checkToLowerCase(const std::string& text) {
  const std::string lower = toLowerCase(text);
  check(lower.size() == text.size(), "toLowerCase changed the length");
  for (std::size_t at = 0; at < text.size(); ++at) {
    const auto before = static_cast<unsigned char>(text[at]);
    const auto after = static_cast<unsigned char>(lower[at]);
    check(after == (isAsciiUpper(before) ? before + ('a' - 'A') : before),
          "toLowerCase changed a byte other than A-Z");
  }
}

void checkCaseTransfer(const std::string& text) {
  const std::string upper = toUpperCase(text);
  check(upper.size() == text.size(), "toUpperCase changed the length");
  check(toUpperCase(upper) == upper, "toUpperCase is not settled after one pass");
  for (std::size_t at = 0; at < text.size(); ++at) {
    const auto before = static_cast<unsigned char>(text[at]);
    const auto after = static_cast<unsigned char>(upper[at]);
    check(!isAsciiLower(after), "toUpperCase left a lower-case ASCII letter");
    check(!startsWithSpecialLetter(upper.substr(at, 2)), "toUpperCase left a special letter");
    if (before < 0x80) {
      check(after == (isAsciiLower(before) ? before - ('a' - 'A') : before),
            "toUpperCase changed an ASCII byte other than a-z");
    } else if (after != before) {
      // Only the bytes of a special letter change, and such a letter starts at this byte or the
      // one before.
      check(startsWithSpecialLetter(text.substr(at, 2)) ||
                (at > 0 && startsWithSpecialLetter(text.substr(at - 1, 2))),
            "toUpperCase changed a byte outside a special letter");
      check(after >= 0x80, "toUpperCase turned a byte of a letter into ASCII");
    }
  }

  const std::string capitalized = capitalizeFirstLetter(text);
  check(capitalized.size() == text.size(), "capitalizeFirstLetter changed the length");
  if (!text.empty()) {
    const std::size_t first = startsWithSpecialLetter(text) ? 2 : 1;
    check(capitalized.substr(0, first) == upper.substr(0, first),
          "capitalizeFirstLetter's first letter is not the capital one");
    check(capitalized.compare(first, std::string::npos, text, first) == 0,
          "capitalizeFirstLetter changed a byte after the first letter");
  }

  const bool special = startsWithSpecialLetter(text);
  check(!special || (text.size() >= 2 && upper.compare(0, 2, text, 0, 2) != 0),
        "a special letter has no capital");
}

}  // namespace
}  // namespace zrv::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  zrv::fuzz::checkNormalizeApostrophes(text);
  zrv::fuzz::checkEscapeSingleQuotes(text);
  zrv::fuzz::checkRemoveSingleEdgeQuotes(text);
  zrv::fuzz::checkRemoveNonAlphanumerics(text);
  zrv::fuzz::checkToLowerCase(text);
  zrv::fuzz::checkCaseTransfer(text);
  return 0;
}
