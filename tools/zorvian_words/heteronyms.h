#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "cmu_dictionary.h"

namespace zrv::words_tool {

/// The curated heteronyms: the only words that keep more than one pronunciation.
class HeteronymList {
 public:
  /// Adds a word; `variants` empty means every variant of the dictionary.
  void add(std::string word, std::vector<int> variants);
  /// The pronunciations of `entry` that get rows, in variant order: for a listed word those of the
  /// listed variants the dictionary has (all of them when none are listed), for any other word (or
  /// a listed word whose listed variants are all missing) only the first.
  std::vector<const Pronunciation*> keptPronunciations(const DictionaryWord& entry) const;
  /// The number of listed words.
  std::size_t size() const { return variants_.size(); }

 private:
  std::map<std::string, std::vector<int>, std::less<>> variants_;
};

/// The list as it was compiled in from tools/zorvian_words/heteronyms.txt.
std::string_view builtInHeteronymText();

/// Parses the list's text: one word a line with optional variant numbers, "#" comments, blank
/// lines. Returns false, with `error` naming the source and line, for a bad variant number or a
/// word listed twice.
bool parseHeteronymList(std::string_view text, std::string_view sourceName, HeteronymList& list,
                        std::string& error);

/// The same for a file; also returns false when the file cannot be read.
bool readHeteronymList(const std::filesystem::path& path, HeteronymList& list, std::string& error);

}  // namespace zrv::words_tool
