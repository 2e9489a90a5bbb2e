#include "cmu_dictionary.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <unordered_map>

#include "app/text_filters.h"

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

// A line of the npm module: `  "word": "PHONES",`. Returns false for any other line.
bool splitModuleLine(std::string_view line, std::string_view& token, std::string_view& phones) {
  std::size_t start = 0;
  while (start < line.size() && isSpace(line[start])) {
    ++start;
  }
  if (start >= line.size() || line[start] != '"') {
    return false;
  }
  const std::size_t keyEnd = line.find("\": \"", start + 1);
  if (keyEnd == std::string_view::npos) {
    return false;
  }
  const std::size_t valueEnd = line.find('"', keyEnd + 4);
  if (valueEnd == std::string_view::npos) {
    return false;
  }
  token = line.substr(start + 1, keyEnd - start - 1);
  phones = line.substr(keyEnd + 4, valueEnd - keyEnd - 4);
  return true;
}

}  // namespace

bool parsePronouncingDictionary(std::istream& in, std::string_view sourceName,
                                std::vector<DictionaryWord>& words, std::string& error) {
  words.clear();
  std::unordered_map<std::string, std::size_t> indexOf;
  std::string line;
  long lineNumber = 0;
  bool moduleLayout = false;
  while (std::getline(in, line)) {
    ++lineNumber;
    std::string_view rest = line;
    std::string_view token;
    if (lineNumber == 1 && (rest.starts_with("/**") || rest.starts_with("export"))) {
      moduleLayout = true;
    }
    if (moduleLayout) {
      if (!splitModuleLine(rest, token, rest)) {
        continue;
      }
      if (const std::size_t hash = rest.find('#'); hash != std::string_view::npos) {
        rest = rest.substr(0, hash);  // "# place, danish"
      }
    } else {
      if (rest.starts_with(";;;")) {
        continue;
      }
      if (const std::size_t hash = rest.find('#'); hash != std::string_view::npos) {
        rest = rest.substr(0, hash);
      }
      token = nextToken(rest);
      if (token.empty()) {
        continue;
      }
    }
    const std::string where = std::string(sourceName) + ":" + std::to_string(lineNumber) + ": ";
    Pronunciation pronunciation;
    const std::string word = toLowerCase(std::string(splitVariant(token, pronunciation.variant)));
    for (std::string_view symbol = nextToken(rest); !symbol.empty(); symbol = nextToken(rest)) {
      const auto phone = phoneFromArpabet(symbol);
      if (!phone) {
        error = where + "\"" + std::string(symbol) +
                "\" is not a phoneme with its stress digit (vowels AA0 to UW2, consonants B to ZH)";
        return false;
      }
      pronunciation.phones.push_back(*phone);
    }
    if (pronunciation.phones.empty()) {
      error = where + "the word \"" + std::string(token) + "\" has no phonemes";
      return false;
    }
    const auto [at, isNew] = indexOf.try_emplace(word, words.size());
    if (isNew) {
      words.push_back({word, {}});
    }
    for (const Pronunciation& earlier : words[at->second].pronunciations) {
      if (earlier.variant == pronunciation.variant) {
        error = where + "the word \"" + std::string(token) + "\" is given twice";
        return false;
      }
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

const DictionaryWord* findEntry(const std::vector<DictionaryWord>& dictionary,
                                std::string_view word) {
  const auto at = std::lower_bound(
      dictionary.begin(), dictionary.end(), word,
      [](const DictionaryWord& entry, std::string_view key) { return entry.word < key; });
  return at != dictionary.end() && at->word == word ? &*at : nullptr;
}

}  // namespace zrv::words_tool
