#include "heteronyms.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <sstream>

namespace zrv::words_tool {
namespace {

std::vector<std::string_view> tokensOf(std::string_view line) {
  std::vector<std::string_view> tokens;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) {
      ++i;
    }
    const std::size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') {
      ++i;
    }
    if (i > start) {
      tokens.push_back(line.substr(start, i - start));
    }
  }
  return tokens;
}

}  // namespace

void HeteronymList::add(std::string word, std::vector<int> variants) {
  std::sort(variants.begin(), variants.end());
  variants_[std::move(word)] = std::move(variants);
}

std::vector<const Pronunciation*> HeteronymList::keptPronunciations(
    const DictionaryWord& entry) const {
  std::vector<const Pronunciation*> kept;
  if (entry.pronunciations.empty()) {
    return kept;
  }
  if (const auto listed = variants_.find(entry.word); listed != variants_.end()) {
    for (const Pronunciation& pronunciation : entry.pronunciations) {
      const std::vector<int>& wanted = listed->second;
      if (wanted.empty() ||
          std::binary_search(wanted.begin(), wanted.end(), pronunciation.variant)) {
        kept.push_back(&pronunciation);
      }
    }
  }
  if (kept.empty()) {
    kept.push_back(&entry.pronunciations.front());
  }
  return kept;
}

bool parseHeteronymList(std::string_view text, std::string_view sourceName, HeteronymList& list,
                        std::string& error) {
  std::istringstream in{std::string(text)};
  std::string line;
  std::vector<std::string> seen;
  long lineNumber = 0;
  while (std::getline(in, line)) {
    ++lineNumber;
    std::string_view content = line;
    if (const std::size_t hash = content.find('#'); hash != std::string_view::npos) {
      content = content.substr(0, hash);
    }
    const std::vector<std::string_view> tokens = tokensOf(content);
    if (tokens.empty()) {
      continue;
    }
    const std::string where = std::string(sourceName) + ":" + std::to_string(lineNumber) + ": ";
    const std::string word(tokens.front());
    if (std::find(seen.begin(), seen.end(), word) != seen.end()) {
      error = where + "the word \"" + word + "\" is listed twice";
      return false;
    }
    seen.push_back(word);
    std::vector<int> variants;
    for (std::size_t t = 1; t < tokens.size(); ++t) {
      int number = 0;
      const char* last = tokens[t].data() + tokens[t].size();
      const auto [end, ec] = std::from_chars(tokens[t].data(), last, number);
      if (ec != std::errc() || end != last || number < 1) {
        error = where + "\"" + std::string(tokens[t]) + "\" is not a variant number";
        return false;
      }
      variants.push_back(number);
    }
    list.add(word, std::move(variants));
  }
  return true;
}

bool readHeteronymList(const std::filesystem::path& path, HeteronymList& list, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "cannot read the heteronym list " + path.string();
    return false;
  }
  std::ostringstream text;
  text << in.rdbuf();
  return parseHeteronymList(text.str(), path.string(), list, error);
}

}  // namespace zrv::words_tool
