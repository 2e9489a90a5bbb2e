#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "cmu_dictionary.h"
#include "heteronyms.h"
#include "word_list.h"

namespace zrv::words_tool {

/// Where the words database comes from.
struct BuildSources {
  std::filesystem::path dictionary = "/usr/share/pocketsphinx/model/en-us/cmudict-en-us.dict";
  std::filesystem::path wordList = "/usr/share/dict/american-english";
  std::optional<std::filesystem::path> heteronymList;  // none: the compiled-in list
};

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

/// Writes a complete words database at `file` (which must not exist yet) from loaded inputs: the 24
/// accent tables of the catalog, every dictionary word in each. Returns false with `error` on any
/// SQLite failure; the file is then incomplete.
bool writeWordsDatabase(const std::filesystem::path& file,
                        const std::vector<DictionaryWord>& dictionary, const WordList& words,
                        const HeteronymList& heteronyms, BuildReport& report, std::string& error);

/// Reads the sources and builds `output`: into "<output>.building" first, renamed over `output`
/// once complete, so `output` is never a half-built database. Returns false with `error` when a
/// source cannot be read or the database cannot be written; `output` is then left as it was.
bool buildWordsDatabase(const BuildSources& sources, const std::filesystem::path& output,
                        BuildReport& report, std::string& error);

}  // namespace zrv::words_tool
