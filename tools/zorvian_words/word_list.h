#pragma once

#include <filesystem>
#include <istream>
#include <string>
#include <string_view>
#include <unordered_set>

namespace zrv::words_tool {

/// Whether a word gets common rows, name rows or both.
enum class NameUse {
  Common,         // common rows only
  NameOnly,       // name rows only ("Aaron")
  NameAndCommon,  // a common row and a name row: the curated given names that are also words
};

/// The spellings of word lists such as /usr/share/dict/american-english, one word a line, kept
/// apart by how they are written: in lower case, capitalised, or in capitals only (acronyms and
/// symbols, which say nothing about names).
class WordList {
 public:
  /// Adds one line of a list.
  void add(std::string_view entry);
  /// How the lists hold `lowerCaseWord`. A name is held only capitalised, not in capitals only,
  /// and has more than two letters ("He" and "Ne" are element symbols); a word held in lower case
  /// too (he, it, now, so) is common unless it is one of the curated given names (Bill, Rose),
  /// which get both rows. A single letter is never a name.
  NameUse nameUseOf(std::string_view lowerCaseWord, bool givenName) const;
  /// Whether the lists hold the word in lower case.
  bool hasLowerCase(std::string_view lowerCaseWord) const {
    return lowerCase_.contains(std::string(lowerCaseWord));
  }
  /// Every lower-cased entry, for the forms the builder generates.
  const std::unordered_set<std::string>& lowerCaseEntries() const { return lowerCase_; }
  const std::unordered_set<std::string>& capitalisedEntries() const { return capitalised_; }

 private:
  std::unordered_set<std::string> lowerCase_;
  std::unordered_set<std::string> capitalised_;  // lower-cased
};

/// Reads a word list, one entry a line (a trailing carriage return is ignored). Returns false,
/// with `error` saying so, when the file cannot be read.
bool readWordList(const std::filesystem::path& path, WordList& list, std::string& error);

/// The same from a stream.
void parseWordList(std::istream& in, WordList& list);

}  // namespace zrv::words_tool
