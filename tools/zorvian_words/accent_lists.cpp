#include "accent_lists.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/text_filters.h"

namespace zrv::words_tool {
namespace {

// What may stand before a listed word: nothing, a prefix, or another word ("hourglass").
// Not "tres" or "com": trespass and compass have a weak vowel there.
constexpr std::array<std::string_view, 29> kPrefixes = {
    "a",    "after", "back",  "by",    "counter", "cross", "de",  "dis",  "down", "en",
    "fore", "in",    "im",    "inter", "mis",     "non",   "off", "out",  "over", "pre",
    "re",   "sub",   "super", "sur",   "un",      "under", "up",  "with", "self"};

// What may follow a listed word: its inflections and the common derivational endings.
// The archaic -eth, -st and -edst ("passeth", "askedst") count as inflections too.
constexpr std::array<std::string_view, 41> kSuffixes = {
    "s",     "es",    "'s",     "ed",    "d",       "ing", "ings", "er",   "ers", "est",   "ful",
    "fully", "less",  "ly",     "ness",  "y",       "ier", "iest", "ily",  "ies", "ied",   "able",
    "ably",  "ment",  "ments",  "ingly", "edly",    "s'",  "er's", "ers'", "ous", "ously", "ance",
    "ances", "iness", "ment's", "ish",   "ingness", "eth", "edst", "st"};

bool isSuffix(std::string_view rest) {
  return std::find(kSuffixes.begin(), kSuffixes.end(), rest) != kSuffixes.end();
}

bool startsWithVowelLetter(std::string_view text) {
  return !text.empty() && std::string_view("aeiouy").find(text.front()) != std::string_view::npos;
}

std::string where(std::string_view file, long line) {
  return std::string(file) + ":" + std::to_string(line) + ": ";
}

// Calls `line` for each line of a data file that holds tokens; stops at the first false.
template <typename LineFunction>
bool forEachLine(const DataFile& file, LineFunction line) {
  std::istringstream in(file.text);
  std::string text;
  long number = 0;
  while (std::getline(in, text)) {
    ++number;
    const std::vector<std::string_view> tokens = dataTokens(text);
    if (!tokens.empty() && !line(tokens, number, text)) {
      return false;
    }
  }
  return true;
}

}  // namespace

bool isWordEnding(std::string_view rest) {
  return isSuffix(rest);
}

std::vector<std::string_view> dataTokens(std::string_view line) {
  if (const std::size_t hash = line.find('#'); hash != std::string_view::npos) {
    line = line.substr(0, hash);
  }
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

const DataFile* findDataFile(const std::vector<DataFile>& files, std::string_view name) {
  for (const DataFile& file : files) {
    if (file.name == name) {
      return &file;
    }
  }
  return nullptr;
}

bool readDataFolder(const std::string& folder, std::vector<DataFile>& files, std::string& error) {
  files = builtInDataFiles();
  for (DataFile& file : files) {
    const std::filesystem::path path = std::filesystem::path(folder) / file.name;
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) {
      continue;
    }
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    // An empty file is an empty list: reading no bytes sets failbit, not badbit.
    if (!std::filesystem::is_regular_file(path, ec) || !in ||
        (in.peek() != std::ifstream::traits_type::eof() && !(text << in.rdbuf()))) {
      error = "cannot read the data file " + path.string();
      return false;
    }
    file.text = text.str();
  }
  return true;
}

std::vector<AccentLists::Match> AccentLists::matches(
    const std::set<std::string, std::less<>>& stems, std::string_view word) const {
  std::vector<Match> found;
  for (std::size_t begin = 0; begin < word.size(); ++begin) {
    const std::string_view before = word.substr(0, begin);
    const bool prefixOk =
        before.empty() ||
        std::find(kPrefixes.begin(), kPrefixes.end(), before) != kPrefixes.end() ||
        (before.size() >= 3 && isWord(before));
    if (!prefixOk) {
      continue;
    }
    for (std::size_t end = begin + 2; end <= word.size(); ++end) {
      const std::string_view piece = word.substr(begin, end - begin);
      const std::string_view after = word.substr(end);
      const bool suffixOk =
          after.empty() || isSuffix(after) || (after.size() >= 3 && isWord(after));
      if (suffixOk && stems.contains(piece)) {
        found.push_back({*stems.find(piece), begin, end});
        continue;
      }
      // "dancing" and "danced" from "dance"; "varies" and "various" from "vary".
      if (!after.empty() && startsWithVowelLetter(after) && isSuffix(after)) {
        const std::string withE = std::string(piece) + "e";
        if (stems.contains(withE)) {
          found.push_back({*stems.find(withE), begin, end});
          continue;
        }
        if (piece.ends_with('i')) {
          std::string withY(piece);
          withY.back() = 'y';
          if (stems.contains(withY)) {
            found.push_back({*stems.find(withY), begin, end});
          }
        }
      }
      if (piece.ends_with('i') && (after == "ous" || after == "ously")) {
        std::string withY(piece);
        withY.back() = 'y';
        if (stems.contains(withY)) {
          found.push_back({*stems.find(withY), begin, end});
        }
      }
    }
  }
  return found;
}

bool AccentLists::covers(const std::set<std::string, std::less<>>& stems,
                         std::string_view word) const {
  return !matches(stems, word).empty();
}

std::optional<BathTags> AccentLists::bathAt(std::string_view word, std::size_t letter,
                                            bool secondaryStress) const {
  for (const Match& match : matches(bathStems_, word)) {
    const std::string_view before = word.substr(0, match.begin);
    // A listed word after a word that is no prefix keeps a weak vowel: "trespass", "compass".
    if (secondaryStress && !before.empty() &&
        std::find(kPrefixes.begin(), kPrefixes.end(), before) == kPrefixes.end()) {
      continue;
    }
    if (letter >= match.begin && letter < match.end) {
      return bath_.find(match.stem)->second;
    }
  }
  return std::nullopt;
}

bool AccentLists::squareBeforeVowel(std::string_view word) const {
  return !trap_.contains(word) && covers(square_, word);
}

std::optional<bool> AccentLists::forceBeforeR(std::string_view word) const {
  if (lotBeforeR_.contains(word)) {
    return false;
  }
  if (covers(forceBeforeR_, word)) {
    return true;
  }
  if (covers(lotBeforeR_, word)) {
    return false;
  }
  return std::nullopt;
}

bool AccentLists::forceSpelledOr(std::string_view word) const {
  return covers(forceOr_, word);
}

const std::vector<Phone>* AccentLists::britishForm(std::string_view word) const {
  const auto found = british_.find(word);
  return found == british_.end() ? nullptr : &found->second;
}

bool AccentLists::isGivenName(std::string_view lowerCaseWord) const {
  return givenNames_.contains(lowerCaseWord);
}

bool parseForms(const DataFile& file, const std::vector<DictionaryWord>& dictionary,
                std::map<std::string, std::vector<Phone>, std::less<>>& forms, std::string& error) {
  return forEachLine(file, [&](const auto& tokens, long line, const std::string& text) {
    if (tokens.size() < 3 || (tokens[1] != "=" && tokens[1] != ":")) {
      error = where(file.name, line) + "expected \"word = N\" or \"word : PHONEMES\", not \"" +
              text + "\"";
      return false;
    }
    const DictionaryWord* entry = findEntry(dictionary, tokens[0]);
    if (!entry) {
      error =
          where(file.name, line) + "\"" + std::string(tokens[0]) + "\" is not in the dictionary";
      return false;
    }
    if (forms.contains(tokens[0])) {
      error = where(file.name, line) + "\"" + std::string(tokens[0]) + "\" is listed twice";
      return false;
    }
    std::vector<Phone> phones;
    if (tokens[1] == "=") {
      int variant = 0;
      const char* last = tokens[2].data() + tokens[2].size();
      const auto [end, ec] = std::from_chars(tokens[2].data(), last, variant);
      if (ec != std::errc() || end != last || tokens.size() != 3) {
        error = where(file.name, line) + "expected \"word = N\" with a reading number, not \"" +
                text + "\"";
        return false;
      }
      const auto reading =
          std::find_if(entry->pronunciations.begin(), entry->pronunciations.end(),
                       [&](const Pronunciation& p) { return p.variant == variant; });
      if (reading == entry->pronunciations.end()) {
        error = where(file.name, line) + "the dictionary has no reading " + std::string(tokens[2]) +
                " of \"" + std::string(tokens[0]) + "\"";
        return false;
      }
      phones = reading->phones;
    } else {
      for (std::size_t t = 2; t < tokens.size(); ++t) {
        const auto phone = phoneFromArpabet(tokens[t]);
        if (!phone) {
          error = where(file.name, line) + "\"" + std::string(tokens[t]) +
                  "\" is not a phoneme with its stress digit";
          return false;
        }
        phones.push_back(*phone);
      }
    }
    forms.emplace(std::string(tokens[0]), std::move(phones));
    return true;
  });
}

bool applyCorrections(const std::vector<DataFile>& files, std::vector<DictionaryWord>& dictionary,
                      std::string& error) {
  const DataFile* file = findDataFile(files, "corrections.txt");
  if (!file) {
    error = "the data file corrections.txt is missing";
    return false;
  }
  std::map<std::string, std::vector<Phone>, std::less<>> corrections;
  if (!parseForms(*file, dictionary, corrections, error)) {
    return false;
  }
  for (DictionaryWord& entry : dictionary) {
    const auto found = corrections.find(entry.word);
    if (found == corrections.end()) {
      continue;
    }
    // The corrected reading comes first; the others stay as variants.
    std::erase_if(entry.pronunciations,
                  [&](const Pronunciation& p) { return p.phones == found->second; });
    entry.pronunciations.insert(entry.pronunciations.begin(), Pronunciation{0, found->second});
  }
  return true;
}

bool AccentLists::load(const std::vector<DataFile>& files,
                       const std::vector<DictionaryWord>& dictionary, std::string& error) {
  words_.clear();
  for (const DictionaryWord& entry : dictionary) {
    words_.insert(entry.word);
  }
  const auto need = [&](std::string_view name) -> const DataFile* {
    const DataFile* file = findDataFile(files, name);
    if (!file) {
      error = "the data file " + std::string(name) + " is missing";
    }
    return file;
  };
  // A listed word must be one the dictionary has, once per file.
  std::set<std::string> seen;
  const auto known = [&](const DataFile& file, long line, std::string_view word) {
    if (!words_.contains(std::string(word))) {
      error = where(file.name, line) + "\"" + std::string(word) + "\" is not in the dictionary";
      return false;
    }
    if (!seen.insert(file.name + " " + std::string(word)).second) {
      error = where(file.name, line) + "\"" + std::string(word) + "\" is listed twice";
      return false;
    }
    return true;
  };
  const auto malformed = [&](const DataFile& file, long line, const std::string& text,
                             std::string_view expected) {
    error = where(file.name, line) + "expected " + std::string(expected) + ", not \"" + text + "\"";
    return false;
  };

  const DataFile* bath = need("bath.txt");
  if (!bath || !forEachLine(*bath, [&](const auto& tokens, long line, const std::string& text) {
        BathTags tags;
        for (std::size_t t = 1; t < tokens.size(); ++t) {
          if (tokens[t] == "au") {
            tags.australian = true;
          } else if (tokens[t] == "ne") {
            tags.newEngland = true;
          } else {
            return malformed(*bath, line, text, "a word and the tags au and ne");
          }
        }
        if (!known(*bath, line, tokens[0])) {
          return false;
        }
        bath_.emplace(std::string(tokens[0]), tags);
        bathStems_.emplace(tokens[0]);
        return true;
      })) {
    return false;
  }

  const DataFile* square = need("square_before_vowel.txt");
  if (!square) {
    return false;
  }
  {
    bool trapSection = false;
    std::istringstream in(square->text);
    std::string text;
    long line = 0;
    while (std::getline(in, text)) {
      ++line;
      if (text.starts_with("# TRAP")) {
        trapSection = true;
        continue;
      }
      const std::vector<std::string_view> tokens = dataTokens(text);
      if (tokens.empty()) {
        continue;
      }
      if (tokens.size() != 1) {
        return malformed(*square, line, text, "one word");
      }
      if (!known(*square, line, tokens[0])) {
        return false;
      }
      (trapSection ? trap_ : square_).emplace(tokens[0]);
    }
  }

  const DataFile* lot = need("lot_before_r.txt");
  if (!lot || !forEachLine(*lot, [&](const auto& tokens, long line, const std::string& text) {
        if (tokens.size() != 2 || (tokens[1] != "FORCE" && tokens[1] != "LOT")) {
          return malformed(*lot, line, text, "a word and FORCE or LOT");
        }
        if (!known(*lot, line, tokens[0])) {
          return false;
        }
        (tokens[1] == "FORCE" ? forceBeforeR_ : lotBeforeR_).emplace(tokens[0]);
        return true;
      })) {
    return false;
  }

  const DataFile* force = need("force_words.txt");
  if (!force || !forEachLine(*force, [&](const auto& tokens, long line, const std::string& text) {
        if (tokens.size() != 1) {
          return malformed(*force, line, text, "one word");
        }
        if (!known(*force, line, tokens[0])) {
          return false;
        }
        forceOr_.emplace(tokens[0]);
        return true;
      })) {
    return false;
  }

  const DataFile* british = need("british_forms.txt");
  if (!british || !parseForms(*british, dictionary, british_, error)) {
    return false;
  }

  const DataFile* names = need("given_names.txt");
  return names && forEachLine(*names, [&](const auto& tokens, long line, const std::string& text) {
           if (tokens.size() != 1 || tokens[0].front() < 'A' || tokens[0].front() > 'Z') {
             return malformed(*names, line, text, "one capitalised name");
           }
           const std::string lower = toLowerCase(std::string(tokens[0]));
           if (!known(*names, line, lower)) {
             return false;
           }
           givenNames_.insert(lower);
           return true;
         });
}

}  // namespace zrv::words_tool
