#include "reports.h"

#include <algorithm>
#include <iomanip>
#include <set>

#include "app/text_filters.h"
#include "collisions.h"
#include "words/accent_catalog.h"

namespace zrv::words_tool {
namespace {

bool isLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isKnown(const BuildInputs& inputs, const std::string& key) {
  return findEntry(inputs.dictionary, key) != nullptr;
}

}  // namespace

std::vector<std::string> lookupKeysOf(const std::string& rawText, bool skipVerseLabels) {
  const std::string text = normalizeApostrophes(rawText);
  std::vector<std::string> keys;
  std::size_t i = 0;
  while (i < text.size()) {
    if (!isLetter(text[i]) && text[i] != '\'') {
      ++i;
      continue;
    }
    const std::size_t start = i;
    while (i < text.size() && (isLetter(text[i]) || text[i] == '\'')) {
      ++i;
    }
    if (skipVerseLabels && i < text.size() && text[i] >= '0' && text[i] <= '9') {
      continue;
    }
    std::string key = toLowerCase(removeSingleEdgeQuotes(text.substr(start, i - start)));
    if (!key.empty()) {
      keys.push_back(std::move(key));
    }
  }
  return keys;
}

Coverage coverageOf(const BuildInputs& inputs, const std::vector<std::string>& keys) {
  Coverage coverage;
  for (const std::string& key : keys) {
    ++coverage.tokens;
    if (isKnown(inputs, key)) {
      ++coverage.known;
    } else {
      ++coverage.missing[key];
    }
  }
  return coverage;
}

std::vector<std::string> ordinaryWords(const BuildInputs& inputs,
                                       const std::vector<std::vector<std::string>>& texts) {
  std::set<std::string> used;
  for (const std::vector<std::string>& keys : texts) {
    used.insert(keys.begin(), keys.end());
  }
  std::vector<std::string> words;
  for (const std::string& word : used) {
    if (inputs.words.hasLowerCase(word) && isKnown(inputs, word)) {
      words.push_back(word);
    }
  }
  return words;
}

std::size_t printCollisionReport(const BuildInputs& inputs, const std::vector<std::string>& words,
                                 std::size_t listLimit, std::ostream& out) {
  std::size_t unexplained = 0;
  out << "| No. | Accent | Words | Pairs spelled alike, explained | Unexplained |\n"
         "|---|---|---|---|---|\n";
  std::vector<std::pair<const AccentTable*, AccentCollisions>> all;
  for (const AccentTable& accent : accentCatalog) {
    AccentCollisions found = collisionsIn(inputs, words, profileOf(accent));
    out << "| " << accent.number << " | " << accent.label << " | " << found.words << " | "
        << found.explainedPairs << " | " << found.unexplained.size() << " |\n";
    unexplained += found.unexplained.size();
    all.emplace_back(&accent, std::move(found));
  }
  for (const auto& [accent, found] : all) {
    out << "\n## " << accent->label << "\n";
    std::vector<std::pair<std::size_t, std::string>> reasons;
    for (const auto& [reason, count] : found.pairsByReason) {
      reasons.emplace_back(count, reason);
    }
    std::sort(reasons.rbegin(), reasons.rend());
    out << "Explained, by merger:";
    for (std::size_t r = 0; r < reasons.size() && r < 8; ++r) {
      out << (r ? ", " : " ") << reasons[r].second << " " << reasons[r].first;
    }
    out << "\n";
    for (std::size_t c = 0; c < found.unexplained.size() && c < listLimit; ++c) {
      const Collision& collision = found.unexplained[c];
      out << "  unexplained: " << collision.first << " = " << collision.second << " ("
          << collision.spelling << "):";
      for (const std::string& reason : collision.reasons) {
        out << " " << reason;
      }
      out << "\n";
    }
  }
  out.flush();
  return unexplained;
}

void printLexicalSetTable(const BuildInputs& inputs, std::ostream& out) {
  static const std::vector<std::string> keywords = {
      "kit",    "dress",  "trap",  "lot",     "strut", "foot",  "bath",  "cloth",  "nurse",
      "fleece", "face",   "palm",  "thought", "goat",  "goose", "price", "choice", "mouth",
      "near",   "square", "start", "north",   "force", "cure",  "happy", "letter", "comma",
      "tune",   "water",  "three", "right",   "house", "vary",  "marry", "merry",  "orange"};
  out << "| Accent |";
  for (const std::string& word : keywords) {
    out << " " << word << " |";
  }
  out << "\n|---|";
  for (std::size_t i = 0; i < keywords.size(); ++i) {
    out << "---|";
  }
  out << "\n";
  for (const AccentTable& accent : accentCatalog) {
    out << "| " << accent.label << " |";
    for (const std::string& word : keywords) {
      const std::vector<std::string> spellings = spellingsIn(inputs, word, accent);
      out << " " << (spellings.empty() ? "-" : spellings.front()) << " |";
    }
    out << "\n";
  }
  out.flush();
}

}  // namespace zrv::words_tool
