#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "accent_lists.h"
#include "cmu_dictionary.h"
#include "heteronyms.h"
#include "word_list.h"
#include "words/accent_catalog.h"

#ifndef ZRV_CMU_DICTIONARY
#define ZRV_CMU_DICTIONARY "cmu-pronouncing-dictionary/index.js"
#endif

namespace zrv::words_tool {

/// Where the words database comes from.
struct BuildSources {
  /// CMUdict 0.7b with stress digits, as npm's cmu-pronouncing-dictionary ships it.
  std::filesystem::path dictionary = ZRV_CMU_DICTIONARY;
  /// The word lists that tell names from common words and the forms to generate: wamerican and
  /// wbritish (American first, then British spellings).
  std::vector<std::filesystem::path> wordLists = {"/usr/share/dict/american-english",
                                                  "/usr/share/dict/british-english"};
  /// Festival's letter-to-sound rules, for the list words that no rule derives from an entry. Off
  /// by default: on dictionary words they were not trained on they get only half the phonemes
  /// right.
  std::optional<std::filesystem::path> letterToSoundRules;
  /// A names list (wamerican-huge) whose capitalised-only names the dictionary lacks take
  /// espeak-ng's pronunciation (Joab, Hezekiah): some 22,000 names, about ten seconds of the
  /// build on two cores.
  std::optional<std::filesystem::path> espeakNames =
      std::filesystem::path("/usr/share/dict/american-english-huge");
  /// A larger word list (wamerican-huge) whose lower-case words the standard lists lack get a
  /// form where the inflections, the prefixes re-, sub-, non-, the agentive -or or -ability derive
  /// them from an entry (relicensing, sublicenses, licensors, merchantability).
  std::optional<std::filesystem::path> largeWordList =
      std::filesystem::path("/usr/share/dict/american-english-huge");
  /// A folder whose data files replace the built-in ones of the same name.
  std::optional<std::filesystem::path> dataFolder;
};

/// The sources read and checked, ready to build from (or to report on).
struct BuildInputs {
  std::vector<DictionaryWord> dictionary;  // keyed as the program looks words up, sorted
  WordList words;
  AccentLists lists;
  HeteronymList heteronyms;
  std::size_t dictionaryEntries = 0;   // as read
  std::size_t unreachableEntries = 0;  // with digits, periods or hyphens: never looked up
  std::size_t generatedForms = 0;
};

/// Reads and checks every source. Returns false with `error` naming the file (and line) at fault.
bool loadBuildInputs(const BuildSources& sources, BuildInputs& inputs, std::string& error);

/// The candidates of `word` in one accent, as the database gets them (most common first, names
/// policy aside); empty when the dictionary lacks the word. For tests and reports.
std::vector<std::string> spellingsIn(const BuildInputs& inputs, std::string_view word,
                                     const AccentTable& accent);

/// What a build made, in catalog order.
struct BuildReport {
  std::size_t words = 0;
  std::array<std::size_t, 24> rowsPerTable{};
  double seconds = 0;
  std::uintmax_t bytes = 0;
};

/// The statement that creates one accent table: the five columns, none of them null, clustered on
/// the key the lookup searches by (english_word, word_version) and ordered by weight within it.
std::string createTableStatement(std::string_view tableName);

/// Writes a complete words database at `file` (which must be missing or empty) from loaded inputs:
/// the 24 accent tables of the catalog, every word in each. Returns false with `error` on any
/// failure; the file is then incomplete.
bool writeWordsDatabase(const std::filesystem::path& file, const BuildInputs& inputs,
                        BuildReport& report, std::string& error);

/// Reads the sources and builds `output` into a temporary file that is renamed over `output` once
/// complete, so `output` is never a half-built database. Returns false with `error` when a source
/// cannot be read or is malformed, or the database cannot be written; `output` is then left as it
/// was and no temporary file stays behind.
bool buildWordsDatabase(const BuildSources& sources, const std::filesystem::path& output,
                        BuildReport& report, std::string& error);

}  // namespace zrv::words_tool
