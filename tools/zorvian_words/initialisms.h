#pragma once

// Initialisms that neither the dictionary nor the word lists hold as words (GPL, HTTPS, WWW),
// added to the dictionary as common words from the curated list initialisms.txt.

#include <string>
#include <vector>

#include "accent_lists.h"
#include "cmu_dictionary.h"
#include "word_list.h"

namespace zrv::words_tool {

/// Adds the words of initialisms.txt to `dictionary` (sorted by word, and kept so): a plain word
/// read as the names of its letters, from the dictionary's single-letter entries, the last letter
/// with the primary stress and the others with secondary stress; a `word : PHONEMES` line with
/// the reading given. Returns false, with `error` naming the file and line, for a missing file, a
/// malformed line, a word that is not lower-case letters, one listed twice, one the dictionary or
/// the lists' lower-case words already hold (it keeps its own reading), or a letter whose entry
/// has no stressed reading.
bool addInitialisms(const std::vector<DataFile>& files, const WordList& words,
                    std::vector<DictionaryWord>& dictionary, std::string& error);

}  // namespace zrv::words_tool
