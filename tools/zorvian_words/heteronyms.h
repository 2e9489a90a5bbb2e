#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "cmu_dictionary.h"

namespace zrv::words_tool {

/// The curated heteronyms: the only words that keep more than one reading, in the order of how
/// common each reading is.
class HeteronymList {
 public:
  /// A reading: a variant number of the dictionary, or a pronunciation the dictionary lacks.
  using Reading = std::variant<int, std::vector<Phone>>;

  /// Adds a word with its readings, most common first; `line` is where the list names it.
  void add(std::string word, std::vector<Reading> readings, long line = 0);
  /// Whether the list names the word.
  bool contains(std::string_view word) const { return readings_.contains(word); }
  /// The readings of `entry` that get rows, most common first: the listed ones for a listed word,
  /// the dictionary's first for any other. Returns false, with `error` naming the list's line, when
  /// a listed variant is missing from the dictionary.
  bool readingsOf(const DictionaryWord& entry, std::vector<std::vector<Phone>>& readings,
                  std::string& error) const;
  /// Every listed word the dictionary lacks: an error naming its line, or "" when there is none.
  std::string missingWord(const std::vector<DictionaryWord>& dictionary) const;
  std::size_t size() const { return readings_.size(); }
  void setSource(std::string source) { source_ = std::move(source); }

 private:
  struct Listed {
    std::vector<Reading> readings;
    long line = 0;
  };
  std::map<std::string, Listed, std::less<>> readings_;
  std::string source_ = "heteronyms.txt";
};

/// Parses the list's text: one word a line followed by its readings, each a variant number or an
/// ARPAbet pronunciation in brackets ("does 1 [D OW1 Z]"); "#" comments and blank lines. Returns
/// false, with `error` naming the source and line, for a bad reading, a word without readings or a
/// word listed twice.
bool parseHeteronymList(std::string_view text, std::string_view sourceName, HeteronymList& list,
                        std::string& error);

}  // namespace zrv::words_tool
