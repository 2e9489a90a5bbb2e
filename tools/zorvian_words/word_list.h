#pragma once

#include <filesystem>
#include <istream>
#include <string>
#include <string_view>
#include <unordered_set>

namespace zrv::words_tool {

/// How the word list holds a word, which decides its name rows.
enum class NameUse {
  Common,         // only in lower case, or not at all: common rows only
  NameOnly,       // only with capitals ("Aaron", "NASA"): name rows only
  NameAndCommon,  // both ways ("Bill" and "bill"): a common row and a name row
};

/// The spellings of a word list such as /usr/share/dict/american-english, one word a line, kept
/// apart by whether they carry a capital letter.
class WordList {
 public:
  /// Adds one line of the list.
  void add(std::string_view entry);
  /// How the list holds `lowerCaseWord`. A single letter is always Common: the list holds every
  /// letter in both cases as a letter of the alphabet, and "A" and "I" are no names.
  NameUse nameUseOf(std::string_view lowerCaseWord) const;

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
