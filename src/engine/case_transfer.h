#pragma once

#include <string>

namespace zrv {

// Gives a Zorvian form the letter case of the English word it replaces. Beside A-Z, nineteen
// two-byte lower-case letters have capitals; every other character passes through, and the result
// is exactly as long as the text.

/// The text with every ASCII letter and every special letter in upper case.
std::string toUpperCase(std::string text);

/// The text with only its first letter (ASCII or special) in upper case.
std::string capitalizeFirstLetter(std::string text);

/// True when the text begins with the lower-case form of a special letter.
bool startsWithSpecialLetter(std::string text);

}  // namespace zrv
