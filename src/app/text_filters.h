#pragma once

#include <string>

namespace zrv {

// Pure byte-string filters shared by the sentence reader, the word scanner and provisioning.
// Each takes its text by value and returns a new one; none looks at the locale.

/// Replaces each of U+02BC, U+2018, U+2019 and U+FF07 (as UTF-8) by "'".
std::string normalizeApostrophes(std::string text);

/// Doubles every "'", so that the text can stand inside a single-quoted SQL literal.
std::string escapeSingleQuotes(std::string text);

/// Removes one leading "'", then one trailing "'" if more than one byte is left.
std::string removeSingleEdgeQuotes(std::string text);

/// Keeps only the ASCII letters and digits, in order.
std::string removeNonAlphanumerics(std::string text);

/// Turns A-Z into a-z; every other byte is kept.
std::string toLowerCase(std::string text);

}  // namespace zrv
