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
  std::vector<Phone> phones;
};

/// A word of the pronouncing dictionary with all of its pronunciations, lowest variant first.
struct DictionaryWord {
  std::string word;
  std::vector<Pronunciation> pronunciations;
};

/// The entry of `word` in `dictionary` (sorted by word, as the readers leave it), or nullptr.
const DictionaryWord* findEntry(const std::vector<DictionaryWord>& dictionary,
                                std::string_view word);

/// Reads a pronouncing dictionary with stress digits, in either of two layouts: the CMU text
/// layout, one "word PHONEME PHONEME ..." per line with variants as "word(2) ...", ";;;" lines and
/// "#" comments skipped; or the JavaScript module of npm's cmu-pronouncing-dictionary, one
/// `  "word(2)": "PHONEME PHONEME ...",` per line, every other line skipped. Words are lower-cased.
/// On success `words` holds every word once, sorted by byte value, its pronunciations in variant
/// order. Returns false, with `error` naming the source and line, for a line without phonemes, with
/// an unknown phoneme or a vowel without its stress digit, or a variant given twice.
bool parsePronouncingDictionary(std::istream& in, std::string_view sourceName,
                                std::vector<DictionaryWord>& words, std::string& error);

/// The same for a file; also returns false when the file cannot be read.
bool readPronouncingDictionary(const std::filesystem::path& path,
                               std::vector<DictionaryWord>& words, std::string& error);

}  // namespace zrv::words_tool
