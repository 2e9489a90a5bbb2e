#pragma once

#include <span>
#include <string_view>
#include <vector>

#include "phonemes.h"

namespace zrv::words_tool {

/// Pairs the sounds of a pronunciation with the English spelling: for each vowel sound the group of
/// vowel letters of `word` that writes it, for each consonant an empty view. The views point into
/// `word`. When the vowel-letter groups and the vowel sounds do not pair up one to one (after
/// leaving out silent e), every view is empty: a rule that needs the letters then falls back.
std::vector<std::string_view> vowelLettersOf(std::string_view word,
                                             std::span<const Phoneme> phonemes);

}  // namespace zrv::words_tool
