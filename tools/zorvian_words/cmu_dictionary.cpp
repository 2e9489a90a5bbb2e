#include "cmu_dictionary.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <unordered_map>

namespace zrv::words_tool {
namespace {

bool isSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view nextToken(std::string_view& rest) {
  std::size_t start = 0;
  while (start < rest.size() && isSpace(rest[start])) {
    ++start;
  }
  std::size_t end = start;
  while (end < rest.size() && !isSpace(rest[end])) {
    ++end;
  }
  const std::string_view token = rest.substr(start, end - start);
  rest.remove_prefix(end);
  return token;
}

// Splits "word(2)" into "word" and 2; a token without a well-formed suffix is variant 1 as it is.
std::string_view splitVariant(std::string_view token, int& variant) {
  variant = 1;
  if (token.size() < 4 || token.back() != ')') {
    return token;
  }
  const std::size_t open = token.rfind('(');
  if (open == std::string_view::npos || open == 0) {
    return token;
  }
  int number = 0;
  const char* first = token.data() + open + 1;
  const char* last = token.data() + token.size() - 1;
  const auto [end, ec] = std::from_chars(first, last, number);
  if (ec != std::errc() || end != last || number < 1) {
    return token;
  }
  variant = number;
  return token.substr(0, open);
}

std::string lowerCased(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') {
      c = static_cast<char>(c - 'A' + 'a');
    }
  }
  return lower;
}

}  // namespace

bool parsePronouncingDictionary(std::istream& in, std::string_view sourceName,
                                std::vector<DictionaryWord>& words, std::string& error) {
  words.clear();
  std::unordered_map<std::string, std::size_t> indexOf;
  std::string line;
  long lineNumber = 0;
  while (std::getline(in, line)) {
    ++lineNumber;
    std::string_view rest = line;
    if (rest.starts_with(";;;")) {
      continue;
    }
    if (const std::size_t hash = rest.find('#'); hash != std::string_view::npos) {
      rest = rest.substr(0, hash);
    }
    const std::string_view token = nextToken(rest);
    if (token.empty()) {
      continue;
    }
    Pronunciation pronunciation;
    const std::string word = lowerCased(splitVariant(token, pronunciation.variant));
    for (std::string_view symbol = nextToken(rest); !symbol.empty(); symbol = nextToken(rest)) {
      const auto phoneme = phonemeFromArpabet(symbol);
      if (!phoneme) {
        error = std::string(sourceName) + ":" + std::to_string(lineNumber) +
                ": unknown phoneme \"" + std::string(symbol) + "\"";
        return false;
      }
      pronunciation.phonemes.push_back(*phoneme);
    }
    if (pronunciation.phonemes.empty()) {
      error = std::string(sourceName) + ":" + std::to_string(lineNumber) + ": the word \"" +
              std::string(token) + "\" has no phonemes";
      return false;
    }
    const auto [at, isNew] = indexOf.try_emplace(word, words.size());
    if (isNew) {
      words.push_back({word, {}});
    }
    words[at->second].pronunciations.push_back(std::move(pronunciation));
  }
  if (in.bad()) {
    error = std::string(sourceName) + ": read error";
    return false;
  }
  for (DictionaryWord& entry : words) {
    std::stable_sort(
        entry.pronunciations.begin(), entry.pronunciations.end(),
        [](const Pronunciation& a, const Pronunciation& b) { return a.variant < b.variant; });
  }
  std::sort(words.begin(), words.end(),
            [](const DictionaryWord& a, const DictionaryWord& b) { return a.word < b.word; });
  return true;
}

bool readPronouncingDictionary(const std::filesystem::path& path,
                               std::vector<DictionaryWord>& words, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "cannot read the pronouncing dictionary " + path.string();
    return false;
  }
  return parsePronouncingDictionary(in, path.string(), words, error);
}

}  // namespace zrv::words_tool
