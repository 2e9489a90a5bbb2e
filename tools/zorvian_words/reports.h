#pragma once

#include <filesystem>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "database_builder.h"

namespace zrv::words_tool {

/// The lookup keys of a text's words as the program makes them: runs of letters and apostrophes
/// (typographic apostrophes folded), one apostrophe off each edge, lower-cased. A word that runs
/// straight into a digit is a verse label ("Ge1:1") and left out when `skipVerseLabels`.
std::vector<std::string> lookupKeysOf(const std::string& text, bool skipVerseLabels);

/// How many of a text's word tokens the dictionary (generated forms included) knows.
struct Coverage {
  std::size_t tokens = 0;
  std::size_t known = 0;
  std::map<std::string, std::size_t> missing;
};

Coverage coverageOf(const BuildInputs& inputs, const std::vector<std::string>& keys);

/// The ordinary words of the texts: the word lists' lower-case entries that the dictionary has and
/// the texts use, sorted.
std::vector<std::string> ordinaryWords(const BuildInputs& inputs,
                                       const std::vector<std::vector<std::string>>& texts);

/// Prints, per accent, the pairs of ordinary words spelled alike with different base
/// pronunciations: explained by a licensed merger or unexplained, the unexplained ones listed.
/// Returns the number of unexplained pairs over all accents.
std::size_t printCollisionReport(const BuildInputs& inputs, const std::vector<std::string>& words,
                                 std::size_t listLimit, std::ostream& out);

/// Prints a markdown table of Wells' keywords and a few markers as each accent writes them.
void printLexicalSetTable(const BuildInputs& inputs, std::ostream& out);

}  // namespace zrv::words_tool
