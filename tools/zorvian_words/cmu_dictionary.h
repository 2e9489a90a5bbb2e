#pragma once

#include <filesystem>
#include <istream>
#include <string>
#include <string_view>
#include <vector>

#include "phonemes.h"

namespace zrv::words_tool {

/// One pronunciation of a word: `variant` 1 for the plain line, N for a line "word(N) ...".
struct Pronunciation {
  int variant = 1;
  std::vector<Phoneme> phonemes;
};

/// A word of the pronouncing dictionary with all of its pronunciations, lowest variant first.
struct DictionaryWord {
  std::string word;
  std::vector<Pronunciation> pronunciations;
};

/// Reads a pronouncing dictionary in the CMU layout: one "word PHONEME PHONEME ..." per line,
/// variants as "word(2) ...", stress digits dropped, words lower-cased, ";;;" lines and "#"
/// comments skipped. On success `words` holds every word once, sorted by byte value. Returns
/// false, with `error` naming the source and line, for a line without phonemes or with an unknown
/// phoneme.
bool parsePronouncingDictionary(std::istream& in, std::string_view sourceName,
                                std::vector<DictionaryWord>& words, std::string& error);

/// The same for a file; also returns false when the file cannot be read.
bool readPronouncingDictionary(const std::filesystem::path& path,
                               std::vector<DictionaryWord>& words, std::string& error);

}  // namespace zrv::words_tool
