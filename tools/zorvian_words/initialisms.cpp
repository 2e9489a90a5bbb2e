#include "initialisms.h"

#include <algorithm>
#include <set>
#include <sstream>

namespace zrv::words_tool {
namespace {

// The name of a letter is its entry's first reading with a primary stress: "a" is listed first as
// the article AH0, then as the letter EY1.
const std::vector<Phone>* letterName(const std::vector<DictionaryWord>& dictionary, char letter) {
  const DictionaryWord* entry = findEntry(dictionary, std::string(1, letter));
  if (!entry) {
    return nullptr;
  }
  for (const Pronunciation& reading : entry->pronunciations) {
    if (std::any_of(reading.phones.begin(), reading.phones.end(),
                    [](const Phone& phone) { return phone.stress == 1; })) {
      return &reading.phones;
    }
  }
  return nullptr;
}

bool isLowerCaseWord(std::string_view word) {
  return !word.empty() &&
         std::all_of(word.begin(), word.end(), [](char c) { return c >= 'a' && c <= 'z'; });
}

}  // namespace

bool addInitialisms(const std::vector<DataFile>& files, const WordList& words,
                    std::vector<DictionaryWord>& dictionary, std::string& error) {
  const DataFile* file = findDataFile(files, "initialisms.txt");
  if (!file) {
    error = "the data file initialisms.txt is missing";
    return false;
  }
  std::vector<DictionaryWord> added;
  std::set<std::string, std::less<>> seen;
  std::istringstream in(file->text);
  std::string text;
  long number = 0;
  while (std::getline(in, text)) {
    ++number;
    const std::vector<std::string_view> tokens = dataTokens(text);
    if (tokens.empty()) {
      continue;
    }
    const std::string at = file->name + ":" + std::to_string(number) + ": ";
    const std::string word(tokens[0]);
    if (!isLowerCaseWord(word) || (tokens.size() > 1 && (tokens[1] != ":" || tokens.size() < 3))) {
      error = at + "expected \"word\" or \"word : PHONEMES\" in lower-case letters, not \"" + text +
              "\"";
      return false;
    }
    if (!seen.insert(word).second) {
      error = at + "\"" + word + "\" is listed twice";
      return false;
    }
    if (findEntry(dictionary, word) || words.hasLowerCase(word)) {
      error = at + "\"" + word + "\" is a word of the dictionary or the word lists already";
      return false;
    }
    std::vector<Phone> phones;
    if (tokens.size() > 1) {
      for (std::size_t t = 2; t < tokens.size(); ++t) {
        const auto phone = phoneFromArpabet(tokens[t]);
        if (!phone) {
          error = at + "\"" + std::string(tokens[t]) + "\" is not a phoneme with its stress digit";
          return false;
        }
        phones.push_back(*phone);
      }
    } else {
      for (std::size_t l = 0; l < word.size(); ++l) {
        const std::vector<Phone>* name = letterName(dictionary, word[l]);
        if (!name) {
          error = at + "the dictionary has no stressed reading of the letter \"" +
                  std::string(1, word[l]) + "\"";
          return false;
        }
        for (Phone phone : *name) {
          // The last letter carries the word's stress: "gee pee ELL".
          if (phone.stress == 1 && l + 1 < word.size()) {
            phone.stress = 2;
          }
          phones.push_back(phone);
        }
      }
    }
    added.push_back({word, {Pronunciation{1, std::move(phones)}}});
  }
  for (DictionaryWord& entry : added) {
    const auto at = std::lower_bound(
        dictionary.begin(), dictionary.end(), entry,
        [](const DictionaryWord& a, const DictionaryWord& b) { return a.word < b.word; });
    dictionary.insert(at, std::move(entry));
  }
  return true;
}

}  // namespace zrv::words_tool
