#include "word_list.h"

#include <fstream>

namespace zrv::words_tool {

void WordList::add(std::string_view entry) {
  while (!entry.empty() && (entry.back() == '\r' || entry.back() == ' ')) {
    entry.remove_suffix(1);
  }
  if (entry.empty()) {
    return;
  }
  std::string lower(entry);
  bool hasCapital = false;
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') {
      c = static_cast<char>(c - 'A' + 'a');
      hasCapital = true;
    }
  }
  (hasCapital ? capitalised_ : lowerCase_).insert(std::move(lower));
}

NameUse WordList::nameUseOf(std::string_view lowerCaseWord) const {
  const std::string key(lowerCaseWord);
  if (key.size() == 1 || !capitalised_.contains(key)) {
    return NameUse::Common;
  }
  return lowerCase_.contains(key) ? NameUse::NameAndCommon : NameUse::NameOnly;
}

void parseWordList(std::istream& in, WordList& list) {
  std::string line;
  while (std::getline(in, line)) {
    list.add(line);
  }
}

bool readWordList(const std::filesystem::path& path, WordList& list, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "cannot read the word list " + path.string();
    return false;
  }
  parseWordList(in, list);
  if (in.bad()) {
    error = "read error in the word list " + path.string();
    return false;
  }
  return true;
}

}  // namespace zrv::words_tool
