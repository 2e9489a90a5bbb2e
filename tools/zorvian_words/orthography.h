#pragma once

#include <span>
#include <string>
#include <string_view>

#include "phonemes.h"

namespace zrv::words_tool {

/// The Zorvian spelling of one sound: lower-case ASCII letters and the special letters that the
/// program's case transfer knows, plus ð (which has no capital on purpose). Never empty.
std::string_view spellingOf(Phoneme phoneme);

/// The Zorvian word for a sequence of sounds: their spellings one after the other.
std::string spell(std::span<const Phoneme> phonemes);

}  // namespace zrv::words_tool
