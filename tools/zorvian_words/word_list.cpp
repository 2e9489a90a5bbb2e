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
  bool hasSmall = false;
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') {
      c = static_cast<char>(c - 'A' + 'a');
      hasCapital = true;
    } else if (c >= 'a' && c <= 'z') {
      hasSmall = true;
    }
  }
  if (!hasCapital) {
    lowerCase_.insert(std::move(lower));
  } else if (hasSmall) {
    capitalised_.insert(std::move(lower));
  }
}

NameUse WordList::nameUseOf(std::string_view lowerCaseWord, bool givenName) const {
  const std::string key(lowerCaseWord);
  if (key.size() <= 1) {
    return NameUse::Common;
  }
  if (lowerCase_.contains(key)) {
    return givenName ? NameUse::NameAndCommon : NameUse::Common;
  }
  if (givenName || (key.size() > 2 && capitalised_.contains(key))) {
    return NameUse::NameOnly;
  }
  return NameUse::Common;
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
