#include "heteronyms.h"

#include <algorithm>
#include <charconv>
#include <sstream>

namespace zrv::words_tool {

void HeteronymList::add(std::string word, std::vector<Reading> readings, long line) {
  readings_[std::move(word)] = {std::move(readings), line};
}

bool HeteronymList::readingsOf(const DictionaryWord& entry,
                               std::vector<std::vector<Phone>>& readings,
                               std::string& error) const {
  readings.clear();
  const auto listed = readings_.find(entry.word);
  if (listed == readings_.end()) {
    if (!entry.pronunciations.empty()) {
      readings.push_back(entry.pronunciations.front().phones);
    }
    return true;
  }
  for (const Reading& reading : listed->second.readings) {
    if (const auto* phones = std::get_if<std::vector<Phone>>(&reading)) {
      readings.push_back(*phones);
      continue;
    }
    const int variant = std::get<int>(reading);
    const auto found = std::find_if(entry.pronunciations.begin(), entry.pronunciations.end(),
                                    [&](const Pronunciation& p) { return p.variant == variant; });
    if (found == entry.pronunciations.end()) {
      error = source_ + ":" + std::to_string(listed->second.line) +
              ": the dictionary has no reading " + std::to_string(variant) + " of \"" + entry.word +
              "\"";
      return false;
    }
    readings.push_back(found->phones);
  }
  return true;
}

std::string HeteronymList::missingWord(const std::vector<DictionaryWord>& dictionary) const {
  for (const auto& [word, listed] : readings_) {
    if (findEntry(dictionary, word) == nullptr) {
      return source_ + ":" + std::to_string(listed.line) + ": \"" + word +
             "\" is not in the dictionary";
    }
  }
  return "";
}

bool parseHeteronymList(std::string_view text, std::string_view sourceName, HeteronymList& list,
                        std::string& error) {
  list.setSource(std::string(sourceName));
  std::istringstream in{std::string(text)};
  std::string line;
  long lineNumber = 0;
  while (std::getline(in, line)) {
    ++lineNumber;
    std::string_view rest = line;
    if (const std::size_t hash = rest.find('#'); hash != std::string_view::npos) {
      rest = rest.substr(0, hash);
    }
    const std::string where = std::string(sourceName) + ":" + std::to_string(lineNumber) + ": ";
    const auto skipBlanks = [&] {
      while (!rest.empty() &&
             (rest.front() == ' ' || rest.front() == '\t' || rest.front() == '\r')) {
        rest.remove_prefix(1);
      }
    };
    const auto nextWord = [&] {
      skipBlanks();
      std::size_t end = 0;
      while (end < rest.size() && rest[end] != ' ' && rest[end] != '\t' && rest[end] != '\r') {
        ++end;
      }
      const std::string_view token = rest.substr(0, end);
      rest.remove_prefix(end);
      return token;
    };
    const std::string word(nextWord());
    if (word.empty()) {
      continue;
    }
    if (list.contains(word)) {
      error = where + "the word \"" + word + "\" is listed twice";
      return false;
    }
    std::vector<HeteronymList::Reading> readings;
    for (skipBlanks(); !rest.empty(); skipBlanks()) {
      if (rest.front() == '[') {
        const std::size_t close = rest.find(']');
        if (close == std::string_view::npos) {
          error = where + "a reading in brackets has no closing bracket";
          return false;
        }
        std::istringstream symbols{std::string(rest.substr(1, close - 1))};
        std::vector<Phone> phones;
        for (std::string symbol; symbols >> symbol;) {
          const auto phone = phoneFromArpabet(symbol);
          if (!phone) {
            error = where + "\"" + symbol + "\" is not a phoneme with its stress digit";
            return false;
          }
          phones.push_back(*phone);
        }
        if (phones.empty()) {
          error = where + "an empty reading";
          return false;
        }
        readings.emplace_back(std::move(phones));
        rest.remove_prefix(close + 1);
        continue;
      }
      const std::string_view token = nextWord();
      int number = 0;
      const char* last = token.data() + token.size();
      const auto [end, ec] = std::from_chars(token.data(), last, number);
      if (ec != std::errc() || end != last || number < 1) {
        error = where + "\"" + std::string(token) + "\" is not a variant number";
        return false;
      }
      readings.emplace_back(number);
    }
    if (readings.empty()) {
      error = where + "the word \"" + word + "\" has no readings";
      return false;
    }
    list.add(word, std::move(readings), lineNumber);
  }
  return true;
}

}  // namespace zrv::words_tool
