#include "morphology.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <iterator>
#include <memory>
#include <optional>
#include <set>
#include <sstream>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "british_spelling.h"
#include "letter_to_sound.h"

namespace zrv::words_tool::morphology {
namespace {

// ---- Sounds -------------------------------------------------------------------------------------

constexpr std::array<std::string_view, 15> kVowels = {
    "AA", "AE", "AH", "AO", "AW", "AY", "EH", "ER", "EY", "IH", "IY", "OW", "OY", "UH", "UW"};
constexpr std::array<std::string_view, 24> kConsonants = {
    "B",  "CH", "D", "DH", "F",  "G", "HH", "JH", "K", "L", "M", "N",
    "NG", "P",  "R", "S",  "SH", "T", "TH", "V",  "W", "Y", "Z", "ZH"};

bool isVowelSymbol(std::string_view phone) {
  return !phone.empty() && (phone.back() == '0' || phone.back() == '1' || phone.back() == '2');
}

/// The phone without its stress digit.
std::string_view bare(std::string_view phone) {
  return isVowelSymbol(phone) ? phone.substr(0, phone.size() - 1) : phone;
}

bool isValidPhone(std::string_view phone) {
  if (isVowelSymbol(phone)) {
    return std::find(kVowels.begin(), kVowels.end(), bare(phone)) != kVowels.end();
  }
  return std::find(kConsonants.begin(), kConsonants.end(), phone) != kConsonants.end();
}

bool lastPhoneIn(const Phones& p, std::initializer_list<std::string_view> set) {
  return !p.empty() && std::find(set.begin(), set.end(), bare(p.back())) != set.end();
}

Phones withEnding(Phones p, std::initializer_list<const char*> ending) {
  p.insert(p.end(), ending.begin(), ending.end());
  return p;
}

Phones withEnding(Phones p, const Phones& ending) {
  p.insert(p.end(), ending.begin(), ending.end());
  return p;
}

/// -s of plurals, third persons and possessives: /ɪz/ after a sibilant, /s/ after another
/// voiceless consonant, /z/ elsewhere.
Phones withS(const Phones& p) {
  if (lastPhoneIn(p, {"S", "Z", "SH", "ZH", "CH", "JH"})) {
    return withEnding(p, {"IH0", "Z"});
  }
  if (lastPhoneIn(p, {"P", "T", "K", "F", "TH"})) {
    return withEnding(p, {"S"});
  }
  return withEnding(p, {"Z"});
}

/// -ed: /ɪd/ after t and d, /t/ after another voiceless consonant, /d/ elsewhere.
Phones withEd(const Phones& p) {
  if (lastPhoneIn(p, {"T", "D"})) {
    return withEnding(p, {"IH0", "D"});
  }
  if (lastPhoneIn(p, {"P", "K", "F", "TH", "S", "SH", "CH"})) {
    return withEnding(p, {"T"});
  }
  return withEnding(p, {"D"});
}

/// The stress digit of the last vowel, or '1' for a word of one vowel or none: doubling the final
/// consonant letter follows a stressed last syllable.
char lastSyllableStress(const Phones& p) {
  int vowels = 0;
  char last = '1';
  for (const std::string& phone : p) {
    if (isVowelSymbol(phone)) {
      ++vowels;
      last = phone.back();
    }
  }
  return vowels <= 1 ? '1' : last;
}

// ---- Spellings ----------------------------------------------------------------------------------

bool isVowelLetter(char c) {
  return c == 'a' || c == 'e' || c == 'i' || c == 'o' || c == 'u';
}

bool endsWith(std::string_view text, std::string_view end) {
  return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

bool endsInConsonantY(std::string_view b) {
  return b.size() >= 2 && b.back() == 'y' && !isVowelLetter(b[b.size() - 2]);
}

/// cle, ble, tle: the final syllable is a syllabic l that loses its vowel before a vowel suffix
/// (bottle, bottling).
bool endsInSyllabicL(std::string_view b, const Phones& p) {
  return endsWith(b, "le") && b.size() >= 3 && !isVowelLetter(b[b.size() - 3]) && p.size() >= 2 &&
         p.back() == "L" && p[p.size() - 2] == "AH0";
}

/// A vowel suffix after a base: the base's syllabic l drops its schwa when its e goes.
Phones withVowelSuffix(std::string_view b, Phones p, std::initializer_list<const char*> ending) {
  if (endsInSyllabicL(b, p)) {
    p.erase(p.end() - 2);
  }
  return withEnding(std::move(p), ending);
}

enum class Doubling { kNever, kOptional, kRequired };

/// Whether a vowel suffix doubles the final consonant letter (stop, stopped; begin, beginning;
/// but visit, visited), from the spelling and the stress of the last syllable.
Doubling doubling(std::string_view b, const Phones& p) {
  const std::size_t n = b.size();
  if (n < 2 || std::string_view("bdgklmnprtvz").find(b[n - 1]) == std::string_view::npos ||
      !isVowelLetter(b[n - 2])) {
    return Doubling::kNever;
  }
  // One vowel letter before the consonant; the u of qu is a consonant (quit, quitting).
  if (n >= 3 && isVowelLetter(b[n - 3]) && !(b[n - 3] == 'u' && n >= 4 && b[n - 4] == 'q')) {
    return Doubling::kNever;
  }
  switch (lastSyllableStress(p)) {
    case '1':
      return Doubling::kRequired;
    case '2':
      return Doubling::kOptional;
    default:
      return Doubling::kNever;
  }
}

void addUnique(std::vector<std::string>& list, std::string s) {
  if (std::find(list.begin(), list.end(), s) == list.end()) {
    list.push_back(std::move(s));
  }
}

/// The spellings of a base with a suffix that starts with a vowel, for the suffixes that keep a
/// final e's work to the suffix: -ed (hoped), -er (later), -est (latest), -eth (maketh).
/// `eSuffix` is the suffix after a final e ("d", "r", "st", "th"); `full` the suffix itself.
std::vector<std::string> vowelSuffixSpellings(std::string_view b, const Phones& p,
                                              std::string_view eSuffix, std::string_view full) {
  std::vector<std::string> out;
  std::string base(b);
  if (b.back() == 'e') {
    addUnique(out, base + std::string(eSuffix));
    return out;
  }
  if (endsInConsonantY(b)) {
    addUnique(out, base.substr(0, base.size() - 1) + "i" + std::string(full));
    return out;
  }
  if (b.size() >= 2 && b.back() == 'c' && isVowelLetter(b[b.size() - 2])) {
    addUnique(out, base + "k" + std::string(full));  // panicked, trafficking
  }
  const Doubling d = doubling(b, p);
  if (d != Doubling::kNever) {
    addUnique(out, base + b.back() + std::string(full));
  }
  if (d != Doubling::kRequired) {
    addUnique(out, base + std::string(full));
  }
  return out;
}

std::vector<std::string> ingSpellings(std::string_view b, const Phones& p) {
  std::vector<std::string> out;
  std::string base(b);
  if (endsWith(b, "ie")) {
    addUnique(out, base.substr(0, base.size() - 2) + "ying");  // dying
    return out;
  }
  if (b.back() == 'e') {
    if (!endsWith(b, "ee") && !endsWith(b, "oe") && !endsWith(b, "ye") && b.size() > 2) {
      addUnique(out, base.substr(0, base.size() - 1) + "ing");
    }
    addUnique(out, base + "ing");  // seeing, hoeing; ageing, singeing keep the e
    return out;
  }
  if (b.size() >= 2 && b.back() == 'c' && isVowelLetter(b[b.size() - 2])) {
    addUnique(out, base + "king");
  }
  const Doubling d = doubling(b, p);
  if (d != Doubling::kNever) {
    addUnique(out, base + b.back() + "ing");
  }
  if (d != Doubling::kRequired) {
    addUnique(out, base + "ing");
  }
  return out;
}

std::vector<std::string> sSpellings(std::string_view b) {
  std::vector<std::string> out;
  std::string base(b);
  addUnique(out, base + "s");
  const char last = b.back();
  if (last == 's' || last == 'x' || last == 'z' || last == 'o' || endsWith(b, "ch") ||
      endsWith(b, "sh")) {
    addUnique(out, base + "es");
  }
  if ((last == 's' || last == 'z') && b.size() >= 2 && isVowelLetter(b[b.size() - 2])) {
    addUnique(out, base + last + "es");  // quizzes
  }
  if (endsInConsonantY(b)) {
    addUnique(out, base.substr(0, base.size() - 1) + "ies");
  }
  if (last == 'f') {
    addUnique(out, base.substr(0, base.size() - 1) + "ves");  // wolves
  }
  if (endsWith(b, "fe")) {
    addUnique(out, base.substr(0, base.size() - 2) + "ves");  // knives
  }
  return out;
}

bool contains(const std::vector<std::string>& list, std::string_view s) {
  return std::find(list.begin(), list.end(), s) != list.end();
}

// ---- Data files ---------------------------------------------------------------------------------

struct IrregularForm {
  std::string base;
  Phones phones;
};

struct DataFiles {
  std::map<std::string, IrregularForm> archaicForms;
  std::set<std::string> irregularVerbs;
  std::map<std::string, std::string> britishSpellings;  // British -> American
};

/// Calls `onLine(lineNumber, fields)` for each line that holds more than a comment; stops with
/// its error.
template <typename OnLine>
std::string forEachDataLine(const DataText& data, OnLine onLine) {
  std::istringstream in(data.text);
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    line = line.substr(0, line.find('#'));
    std::istringstream words(line);
    std::vector<std::string> fields;
    for (std::string field; words >> field;) {
      fields.push_back(field);
    }
    if (fields.empty()) {
      continue;
    }
    std::string error = onLine(fields);
    if (!error.empty()) {
      return data.sourceName + ":" + std::to_string(number) + ": " + error;
    }
  }
  return {};
}

std::string checkWord(std::string_view word) {
  if (lookupKey(word) != word || word.find('\'') != std::string_view::npos) {
    return "\"" + std::string(word) + "\" is not a lower-case word of letters";
  }
  return {};
}

std::string checkBase(const Dictionary& dictionary, const std::string& base) {
  if (dictionary.find(base) == dictionary.end()) {
    return "the base \"" + base + "\" is not in the dictionary";
  }
  return {};
}

/// A base of the archaic list: a dictionary word, a form of an earlier line, or "-" for a word of
/// its own (verily, smote).
std::string checkArchaicBase(const Dictionary& dictionary, const DataFiles& files,
                             const std::string& base) {
  if (base == "-" || files.archaicForms.count(base) != 0) {
    return {};
  }
  return checkBase(dictionary, base);
}

std::string parseArchaicForms(const DataText& data, const Dictionary& dictionary,
                              DataFiles& files) {
  return forEachDataLine(data, [&](const std::vector<std::string>& f) -> std::string {
    if (f.size() == 1) {
      if (f[0] == "-") {
        return "a verb line names a word";
      }
      if (std::string error = checkArchaicBase(dictionary, files, f[0]); !error.empty()) {
        return error;
      }
      if (!files.irregularVerbs.insert(f[0]).second) {
        return "the verb \"" + f[0] + "\" is listed twice";
      }
      return {};
    }
    if (f.size() == 2) {
      return "expected a form, its base and its pronunciation, or a verb alone";
    }
    if (std::string error = checkWord(f[0]); !error.empty()) {
      return error;
    }
    if (std::string error = checkArchaicBase(dictionary, files, f[1]); !error.empty()) {
      return error;
    }
    Phones phones(f.begin() + 2, f.end());
    for (const std::string& phone : phones) {
      if (!isValidPhone(phone)) {
        return "\"" + phone + "\" is not an ARPAbet phoneme with its stress digit";
      }
    }
    if (!files.archaicForms.emplace(f[0], IrregularForm{f[1], std::move(phones)}).second) {
      return "the form \"" + f[0] + "\" is listed twice";
    }
    return {};
  });
}

std::string parseBritishSpellings(const DataText& data, const Dictionary& dictionary,
                                  DataFiles& files) {
  return forEachDataLine(data, [&](const std::vector<std::string>& f) -> std::string {
    if (f.size() != 2) {
      return "expected a British spelling and its American spelling";
    }
    if (std::string error = checkWord(f[0]); !error.empty()) {
      return error;
    }
    if (std::string error = checkBase(dictionary, f[1]); !error.empty()) {
      return error;
    }
    if (!files.britishSpellings.emplace(f[0], f[1]).second) {
      return "the British spelling \"" + f[0] + "\" is listed twice";
    }
    return {};
  });
}

// ---- Deriving a word from its base --------------------------------------------------------------

struct Derivation {
  std::vector<Phones> pronunciations;
  std::string base;
  std::string_view rule;
};

/// The deepest chain of rules a word is derived by (organisations: -s of British organisation).
constexpr int kMaxDepth = 3;

class Deriver {
 public:
  Deriver(const Dictionary& dictionary, const DataFiles& files,
          const std::set<std::string>& listWords, const std::set<std::string>& britishOnly)
      : dictionary_(dictionary),
        files_(files),
        listWords_(listWords),
        britishOnly_(britishOnly),
        memo_() {}

  /// The derivation with the shortest chain of rules, the rules tried in a fixed order.
  std::optional<Derivation> derive(const std::string& word) {
    if (const Derivation* d = derivation(word, kMaxDepth)) {
      return *d;
    }
    return std::nullopt;
  }

  /// Whether `word`'s derivation is one a larger list's word may have: every rule down to its
  /// dictionary entry an inflection, a suffix or a productive prefix (re-, sub-, non-), and one of
  /// them that prefix, -or or -ability, or the entry an -or noun (licensors). Inflections of
  /// other entries alone would add some 30,000 forms, too many for the database's size.
  bool derivedProductively(const std::string& word) {
    static const std::set<std::string_view> kSuffixRules = {
        kPluralRule,     kPastRule, kIngRule,   kComparativeRule, kSuperlativeRule,
        kPossessiveRule, kNessRule, kLyRule,    kLessRule,        kFulRule,
        kMentRule,       kAbleRule, kAgentRule, kAbilityRule};
    static const std::set<std::string, std::less<>> kPrefixes = {"non", "re", "sub"};
    std::string current = word;
    bool core = false;
    for (int step = 0; step <= kMaxDepth; ++step) {
      const Derivation* d = derivation(current, kMaxDepth);
      if (d == nullptr) {
        return false;
      }
      const bool productive =
          kSuffixRules.count(d->rule) != 0 ||
          (d->rule == kPrefixRule && kPrefixes.count(std::string_view(current).substr(
                                         0, current.size() - d->base.size())) != 0);
      if (!productive) {
        return false;
      }
      core = core || d->rule == kPrefixRule || d->rule == kAgentRule || d->rule == kAbilityRule;
      if (dictionary_.count(d->base) != 0) {
        return core || isAgentNoun(d->base);
      }
      current = d->base;
    }
    return false;
  }

  /// Whether `word` is the agentive -or of a verb in -e that the dictionary and the lists know
  /// (licensor: license, licensing), as the -or rule reads it.
  bool isAgentNoun(const std::string& word) const {
    if (!endsWith(word, "or") || word.size() <= 5) {
      return false;
    }
    const std::string verb = word.substr(0, word.size() - 2) + "e";
    const auto entry = dictionary_.find(verb);
    if (entry == dictionary_.end() || entry->second.empty() || listWords_.count(verb) == 0) {
      return false;
    }
    const std::vector<std::string> ings = ingSpellings(verb, entry->second.front());
    return std::any_of(ings.begin(), ings.end(), [&](const std::string& ing) {
      return dictionary_.count(ing) != 0 || listWords_.count(ing) != 0;
    });
  }

  /// The pronunciations of a dictionary word or of a word derived within `depth` rules.
  const std::vector<Phones>* pronunciations(const std::string& word, int depth) {
    if (auto it = dictionary_.find(word); it != dictionary_.end()) {
      return &it->second;
    }
    const Derivation* d = derivation(word, depth);
    return d != nullptr ? &d->pronunciations : nullptr;
  }

 private:
  /// The shortest derivation of `word` within `depth` rules. Each word is derived at rising
  /// depths until one succeeds, so the answer never depends on the order of the questions.
  const Derivation* derivation(const std::string& word, int depth) {
    Memo& memo = memo_[word];
    while (!memo.found && memo.triedDepth < depth) {
      const int next = memo.triedDepth + 1;
      memo.triedDepth = next;  // first, so a word that leads back to itself finds nothing
      // The map's elements stay where they are while compute() adds others.
      if (std::optional<Derivation> d = compute(word, next)) {
        memo.found = std::make_unique<Derivation>(std::move(*d));
        memo.foundDepth = next;
      }
    }
    return memo.found && memo.foundDepth <= depth ? memo.found.get() : nullptr;
  }

  std::optional<Derivation> compute(const std::string& w, int depth) {
    if (auto it = files_.britishSpellings.find(w); it != files_.britishSpellings.end()) {
      return Derivation{dictionary_.at(it->second), it->second, kBritishListRule};
    }
    if (depth == 0) {
      return std::nullopt;
    }
    const int below = depth - 1;
    // Inflections do not stack (dogses); a suffix goes on a dictionary word, a British spelling or
    // an -er noun (travellers, walkers).
    auto inflectable = [&](const std::string& base) {
      if (dictionary_.count(base) != 0) {
        return true;
      }
      const Derivation* d = derivation(base, below);
      return d != nullptr && (d->rule == kBritishRule || d->rule == kBritishListRule ||
                              d->rule == kComparativeRule || d->rule == kAgentRule);
    };
    // Possessive, then the suffixes from the base as spelled, then British spellings: a word
    // that is a regular form of a dictionary word (stilled) is never read as a British spelling.
    if (endsWith(w, "'s") && w.size() > 2) {
      const std::string base = w.substr(0, w.size() - 2);
      const Derivation* d = dictionary_.count(base) != 0 ? nullptr : derivation(base, below);
      const std::vector<Phones>* p = pronunciations(base, below);
      if (p != nullptr && (d == nullptr || d->rule != kPossessiveRule)) {
        return Derivation{map(*p, [](const Phones& x) { return withS(x); }), base, kPossessiveRule};
      }
    }
    if (w.find('\'') != std::string::npos) {
      return std::nullopt;
    }
    auto british = [&]() -> std::optional<Derivation> {
      for (const std::string& american : americanSpellings(w)) {
        if (auto* p = pronunciations(american, below)) {
          return Derivation{*p, american, kBritishRule};
        }
      }
      return std::nullopt;
    };
    if (britishOnly_.count(w) != 0) {
      if (auto d = british()) {
        return d;
      }
    }
    if (auto d = suffixed(w, below, inflectable)) {
      return d;
    }
    if (auto d = british()) {
      return d;
    }
    if (auto d = prefixed(w, below)) {
      return d;
    }
    return compound(w, below);
  }

  /// un-, re-, non-, sub- and the like before a word of at least three letters; the prefix
  /// takes secondary stress or none, as the dictionary's own prefixed entries do.
  std::optional<Derivation> prefixed(const std::string& w, int below) {
    struct Prefix {
      std::string_view spelling;
      Phones sound;
    };
    static const Prefix kPrefixes[] = {
        {"un", {"AH0", "N"}},
        {"non", {"N", "AA2", "N"}},
        {"re", {"R", "IY0"}},
        {"sub", {"S", "AH2", "B"}},
        {"dis", {"D", "IH0", "S"}},
        {"mis", {"M", "IH0", "S"}},
        {"pre", {"P", "R", "IY0"}},
        {"over", {"OW2", "V", "ER0"}},
        {"under", {"AH2", "N", "D", "ER0"}},
        {"out", {"AW2", "T"}},
        {"inter", {"IH2", "N", "T", "ER0"}},
        {"super", {"S", "UW2", "P", "ER0"}},
        {"counter", {"K", "AW2", "N", "T", "ER0"}},
    };
    for (const Prefix& prefix : kPrefixes) {
      if (w.size() < prefix.spelling.size() + 3 ||
          w.compare(0, prefix.spelling.size(), prefix.spelling) != 0) {
        continue;
      }
      const std::string rest = w.substr(prefix.spelling.size());
      if (listWords_.count(rest) == 0) {
        continue;  // the dictionary's names and abbreviations make poor stems (sub-orning)
      }
      if (const std::vector<Phones>* p = pronunciations(rest, below)) {
        return Derivation{map(*p, [&](const Phones& x) { return withEnding(prefix.sound, x); }),
                          rest, kPrefixRule};
      }
    }
    return std::nullopt;
  }

  /// Two words of the lists written as one (copyleft, housetop, blunderbuss): the first as long
  /// as it can be, both of at least four letters, since shorter pieces are mostly suffixes and
  /// syllables (bacchanal-ian, caliph-ate); the second keeps only secondary stress.
  std::optional<Derivation> compound(const std::string& w, int below) {
    constexpr std::size_t kShortest = 4;
    if (w.size() < 2 * kShortest) {
      return std::nullopt;
    }
    for (std::size_t split = w.size() - kShortest; split >= kShortest; --split) {
      const std::string first = w.substr(0, split);
      const std::string second = w.substr(split);
      auto head = dictionary_.find(first);
      // Tails that are words but mostly suffixes here (archaic-ally, manage-ability).
      static const std::set<std::string, std::less<>> kSuffixLikeTails = {
          "ability", "able", "ably", "ally", "ation", "ations", "less", "ness"};
      if (head == dictionary_.end() || listWords_.count(first) == 0 ||
          listWords_.count(second) == 0 || kSuffixLikeTails.count(second) != 0) {
        continue;
      }
      const std::vector<Phones>* tail = pronunciations(second, below);
      if (tail == nullptr || tail->empty()) {
        continue;
      }
      Phones rest = tail->front();
      for (std::string& phone : rest) {
        if (isVowelSymbol(phone) && phone.back() == '1') {
          phone.back() = '2';
        }
      }
      return Derivation{map(head->second, [&](const Phones& x) { return withEnding(x, rest); }),
                        second, kCompoundRule};
    }
    return std::nullopt;
  }

  template <typename F>
  static std::vector<Phones> map(const std::vector<Phones>& list, F f) {
    std::vector<Phones> out;
    for (const Phones& p : list) {
      Phones q = f(p);
      if (std::find(out.begin(), out.end(), q) == out.end()) {
        out.push_back(std::move(q));
      }
    }
    return out;
  }

  /// Tries the bases `w` could be a suffixed form of; a base counts when its own spelling rule
  /// gives back exactly `w`.
  template <typename Inflectable>
  std::optional<Derivation> suffixed(const std::string& w, int below, Inflectable inflectable) {
    const std::size_t n = w.size();
    auto stem = [&](std::size_t drop) { return w.substr(0, n - drop); };
    auto undoubled = [&](std::size_t drop) -> std::string {
      const std::string s = stem(drop);
      return s.size() >= 2 && s[s.size() - 1] == s[s.size() - 2] ? s.substr(0, s.size() - 1) : "";
    };
    auto tryBases = [&](std::initializer_list<std::string> bases, auto spellings, auto sound,
                        std::string_view rule) -> std::optional<Derivation> {
      for (const std::string& base : bases) {
        if (base.size() < 2 || !inflectable(base)) {
          continue;
        }
        const std::vector<Phones>* p = pronunciations(base, below);
        if (p == nullptr || p->empty() || !contains(spellings(base, p->front()), w)) {
          continue;
        }
        return Derivation{map(*p, [&](const Phones& x) { return sound(base, x); }), base, rule};
      }
      return std::nullopt;
    };

    if (endsWith(w, "s") && n > 3) {
      auto spell = [](const std::string& b, const Phones&) { return sSpellings(b); };
      auto sound = [&](const std::string& b, const Phones& p) {
        // wolves, knives: the f of the base is voiced before the ending.
        if (endsWith(w, "ves") && !endsWith(b, "ve") && !p.empty() && p.back() == "F") {
          Phones voiced = p;
          voiced.back() = "V";
          return withEnding(voiced, {"Z"});
        }
        return withS(p);
      };
      std::string yBase = endsWith(w, "ies") ? stem(3) + "y" : "";
      if (auto d = tryBases(
              {stem(1), stem(2), undoubled(2), yBase, endsWith(w, "ves") ? stem(3) + "f" : "",
               endsWith(w, "ves") ? stem(3) + "fe" : ""},
              spell, sound, kPluralRule)) {
        return d;
      }
    }
    if (endsWith(w, "ed") && n > 3) {
      auto spell = [](const std::string& b, const Phones& p) {
        return vowelSuffixSpellings(b, p, "d", "ed");
      };
      auto sound = [](const std::string&, const Phones& p) { return withEd(p); };
      std::string yBase = endsWith(w, "ied") ? stem(3) + "y" : "";
      std::string cBase = endsWith(w, "cked") ? stem(3) : "";
      if (auto d =
              tryBases({stem(1), stem(2), undoubled(2), yBase, cBase}, spell, sound, kPastRule)) {
        return d;
      }
    }
    if (endsWith(w, "ing") && n > 4) {
      auto spell = [](const std::string& b, const Phones& p) { return ingSpellings(b, p); };
      auto sound = [](const std::string& b, const Phones& p) {
        return withVowelSuffix(b, p, {"IH0", "NG"});
      };
      std::string ieBase = endsWith(w, "ying") ? stem(4) + "ie" : "";
      std::string cBase = endsWith(w, "cking") ? stem(4) : "";
      if (auto d = tryBases({stem(3), stem(3) + "e", undoubled(3), ieBase, cBase}, spell, sound,
                            kIngRule)) {
        return d;
      }
    }
    if (endsWith(w, "er") && n > 3) {
      auto spell = [](const std::string& b, const Phones& p) {
        return vowelSuffixSpellings(b, p, "r", "er");
      };
      auto sound = [](const std::string& b, const Phones& p) {
        return withVowelSuffix(b, p, {"ER0"});
      };
      std::string yBase = endsWith(w, "ier") ? stem(3) + "y" : "";
      if (auto d =
              tryBases({stem(2), stem(1), undoubled(2), yBase}, spell, sound, kComparativeRule)) {
        return d;
      }
    }
    // The agentive -or of a verb in -e (licensor, advisor): sounded as -er, and only where the
    // verb is a list word whose -ing form is known, so a noun that happens to end so is no agent
    // (parkour is no parke-or).
    if (endsWith(w, "or") && n > 5) {
      auto spell = [&](const std::string& b, const Phones& p) {
        std::vector<std::string> out;
        const std::vector<std::string> ings = ingSpellings(b, p);
        if (std::any_of(ings.begin(), ings.end(), [&](const std::string& ing) {
              return dictionary_.count(ing) != 0 || listWords_.count(ing) != 0;
            })) {
          out.push_back(b.substr(0, b.size() - 1) + "or");
        }
        return out;
      };
      auto sound = [](const std::string& b, const Phones& p) {
        return withVowelSuffix(b, p, {"ER0"});
      };
      const std::string verb = stem(2) + "e";
      if (auto d = listWords_.count(verb) != 0 ? tryBases({verb}, spell, sound, kAgentRule)
                                               : std::nullopt) {
        return d;
      }
    }
    // -ability from -able (merchantability): the stress moves to its "bil", the base's own
    // primary stress becomes secondary.
    if (endsWith(w, "ability") && n > 9) {
      const std::string base = stem(7) + "able";
      std::vector<Phones> able;
      if (const std::vector<Phones>* p = pronunciations(base, below)) {
        std::copy_if(p->begin(), p->end(), std::back_inserter(able), [](const Phones& x) {
          return x.size() >= 3 && x[x.size() - 3] == "B" && x[x.size() - 2] == "AH0" &&
                 x.back() == "L";
        });
      }
      if (!able.empty()) {
        auto sound = [](const Phones& x) {
          Phones q(x.begin(), x.end() - 2);
          for (std::string& phone : q) {
            if (isVowelSymbol(phone) && phone.back() == '1') {
              phone.back() = '2';
            }
          }
          return withEnding(q, {"IH1", "L", "AH0", "T", "IY0"});
        };
        return Derivation{map(able, sound), base, kAbilityRule};
      }
    }
    // -ness, -ly, -less, -ful, -ment: the base as it is, y as i (happiness), and for -ly a
    // syllabic le that becomes the l of the suffix (gently, simply).
    struct ConsonantSuffix {
      std::string_view spelling;
      Phones sound;
      std::string_view rule;
    };
    static const ConsonantSuffix kConsonantSuffixes[] = {
        {"ness", {"N", "AH0", "S"}, kNessRule},      {"ly", {"L", "IY0"}, kLyRule},
        {"less", {"L", "AH0", "S"}, kLessRule},      {"ful", {"F", "AH0", "L"}, kFulRule},
        {"ment", {"M", "AH0", "N", "T"}, kMentRule},
    };
    for (const ConsonantSuffix& suffix : kConsonantSuffixes) {
      const std::size_t k = suffix.spelling.size();
      if (!endsWith(w, suffix.spelling) || n < k + 3) {
        continue;
      }
      auto spell = [&](const std::string& b, const Phones&) {
        std::vector<std::string> out;
        if (suffix.spelling == "ly" && endsWith(b, "ic")) {
          out.push_back(b + "ally");  // basically; publicly is the rarer spelling
          out.push_back(b + "ly");
        } else if (endsInConsonantY(b)) {
          out.push_back(b.substr(0, b.size() - 1) + "i" + std::string(suffix.spelling));
        } else if (suffix.spelling == "ly" && endsWith(b, "le") && b.size() >= 3 &&
                   !isVowelLetter(b[b.size() - 3])) {
          out.push_back(b.substr(0, b.size() - 1) + "y");
        } else {
          out.push_back(b + std::string(suffix.spelling));
        }
        return out;
      };
      auto sound = [&](const std::string& b, const Phones& p) {
        if (suffix.spelling == "ly" && endsInSyllabicL(b, p)) {
          Phones q(p.begin(), p.end() - 2);
          return withEnding(q, {"L", "IY0"});
        }
        if (suffix.spelling == "ly" && !p.empty() && p.back() == "L") {
          return withEnding(p, {"IY0"});  // fully, dolefully: one l sound
        }
        return withEnding(p, suffix.sound);
      };
      const std::string s = stem(k);
      const std::string yBase =
          !s.empty() && s.back() == 'i' ? s.substr(0, s.size() - 1) + "y" : "";
      const std::string leBase = suffix.spelling == "ly" ? stem(1) + "e" : "";
      const std::string icBase = suffix.spelling == "ly" && endsWith(w, "ically") ? stem(4) : "";
      if (auto d = tryBases({s, yBase, leBase, icBase}, spell, sound, suffix.rule)) {
        return d;
      }
    }
    if (endsWith(w, "able") && n > 6) {
      auto spell = [](const std::string& b, const Phones& p) {
        std::vector<std::string> out;
        if (b.back() == 'e') {
          // The e stays after a soft c or g (noticeable, manageable), and often after others.
          addUnique(out, b.substr(0, b.size() - 1) + "able");
          addUnique(out, b + "able");
        } else if (endsInConsonantY(b)) {
          addUnique(out, b.substr(0, b.size() - 1) + "iable");
        } else {
          for (const std::string& ing : ingSpellings(b, p)) {
            addUnique(out, ing.substr(0, ing.size() - 3) + "able");
          }
        }
        return out;
      };
      auto sound = [](const std::string& b, const Phones& p) {
        return withVowelSuffix(b, p, {"AH0", "B", "AH0", "L"});
      };
      std::string yBase = endsWith(w, "iable") ? stem(5) + "y" : "";
      if (auto d =
              tryBases({stem(4), stem(4) + "e", undoubled(4), yBase}, spell, sound, kAbleRule)) {
        return d;
      }
    }
    if (endsWith(w, "est") && n > 4) {
      auto spell = [](const std::string& b, const Phones& p) {
        return vowelSuffixSpellings(b, p, "st", "est");
      };
      auto sound = [](const std::string& b, const Phones& p) {
        return withVowelSuffix(b, p, {"IH0", "S", "T"});
      };
      std::string yBase = endsWith(w, "iest") ? stem(4) + "y" : "";
      if (auto d =
              tryBases({stem(3), stem(2), undoubled(3), yBase}, spell, sound, kSuperlativeRule)) {
        return d;
      }
    }
    return std::nullopt;
  }

  const Dictionary& dictionary_;
  const DataFiles& files_;
  const std::set<std::string>& listWords_;
  const std::set<std::string>& britishOnly_;
  struct Memo {
    int triedDepth = -1;
    int foundDepth = 0;
    std::unique_ptr<Derivation> found;
  };
  std::unordered_map<std::string, Memo> memo_;
};

// ---- Generation ---------------------------------------------------------------------------------

class Generator {
 public:
  Generator(const Dictionary& dictionary, const DataFiles& files,
            const std::set<std::string>& listWords, const std::set<std::string>& britishOnly)
      : dictionary_(dictionary),
        files_(files),
        deriver_(dictionary, files, listWords, britishOnly) {}

  /// Adds `word` unless the dictionary or an earlier rule already has it.
  void add(const std::string& word, std::vector<Phones> pronunciations, std::string base,
           std::string_view rule) {
    if (dictionary_.count(word) != 0 || pronunciations.empty()) {
      return;
    }
    forms_.emplace(word, GeneratedForm{word, std::move(pronunciations), std::move(base), rule});
  }

  void addIrregularArchaicForms() {
    for (const auto& [form, irregular] : files_.archaicForms) {
      add(form, {irregular.phones}, irregular.base == "-" ? form : irregular.base,
          kArchaicListRule);
    }
  }

  void addBritishList() {
    for (const auto& [british, american] : files_.britishSpellings) {
      add(british, dictionary_.at(american), american, kBritishListRule);
    }
  }

  void addListWords(const std::set<std::string>& listWords) {
    for (const std::string& word : listWords) {
      if (dictionary_.count(word) != 0 || forms_.count(word) != 0) {
        continue;
      }
      if (auto d = deriver_.derive(word)) {
        add(word, std::move(d->pronunciations), std::move(d->base), d->rule);
      }
    }
  }

  /// The words only a larger list holds that the productive rules derive.
  void addLargeListWords(const std::set<std::string>& largeListWords) {
    // A productive derivation leaves its prefix at the start of the word and its -or or -ability
    // inside it, so the other words (seven in eight) need not be derived at all.
    auto mayBeProductive = [](const std::string& word) {
      return word.starts_with("re") || word.starts_with("sub") || word.starts_with("non") ||
             word.find("or") != std::string::npos || word.find("abilit") != std::string::npos;
    };
    for (const std::string& word : largeListWords) {
      if (dictionary_.count(word) != 0 || forms_.count(word) != 0 || !mayBeProductive(word)) {
        continue;
      }
      if (auto d = deriver_.derive(word); d && deriver_.derivedProductively(word)) {
        add(word, std::move(d->pronunciations), std::move(d->base), d->rule);
      }
    }
  }

  /// The -eth and -est forms of every verb, and the past -st form of the regular ones.
  void addArchaicVerbForms(const std::set<std::string>& listWords) {
    auto known = [&](const std::string& s) {
      return dictionary_.count(s) != 0 || listWords.count(s) != 0;
    };
    auto anyKnown = [&](const std::vector<std::string>& spellings) {
      return std::any_of(spellings.begin(), spellings.end(), known);
    };
    std::map<std::string, std::vector<Phones>> verbs;
    for (const std::string& verb : files_.irregularVerbs) {
      if (auto entry = dictionary_.find(verb); entry != dictionary_.end()) {
        verbs[verb] = entry->second;
      } else {
        verbs[verb] = {files_.archaicForms.at(verb).phones};
      }
    }
    std::map<std::string, std::string> regularPasts;
    for (const std::string& base : listWords) {
      auto entry = dictionary_.find(base);
      if (entry == dictionary_.end() || entry->second.empty() || base.size() < 2 ||
          base.find('\'') != std::string::npos || verbs.count(base) != 0) {
        continue;
      }
      const Phones& first = entry->second.front();
      const std::vector<std::string> pasts = vowelSuffixSpellings(base, first, "d", "ed");
      auto past = std::find_if(pasts.begin(), pasts.end(), known);
      if (!anyKnown(ingSpellings(base, first)) || past == pasts.end()) {
        continue;
      }
      verbs[base] = entry->second;
      regularPasts[base] = *past;
    }
    for (const auto& [base, sounds] : verbs) {
      const Phones& first = sounds.front();
      std::vector<Phones> ethSounds;
      std::vector<Phones> estSounds;
      std::vector<Phones> pastStSounds;
      for (const Phones& p : sounds) {
        ethSounds.push_back(withVowelSuffix(base, p, {"IH0", "TH"}));
        estSounds.push_back(withVowelSuffix(base, p, {"IH0", "S", "T"}));
        pastStSounds.push_back(withEnding(withEd(p), {"S", "T"}));
      }
      add(vowelSuffixSpellings(base, first, "th", "eth").front(), ethSounds, base, kArchaicEthRule);
      add(vowelSuffixSpellings(base, first, "st", "est").front(), estSounds, base, kArchaicEstRule);
      if (auto past = regularPasts.find(base); past != regularPasts.end()) {
        add(past->second + "st", pastStSounds, past->second, kArchaicPastStRule);
      }
    }
  }

  /// The list words still without a form, and their possessives, guessed from their letters.
  void addLetterToSound(const std::set<std::string>& listWords, const LetterToSound& rules) {
    for (const std::string& word : listWords) {
      if (dictionary_.count(word) != 0 || forms_.count(word) != 0) {
        continue;
      }
      const bool possessive = endsWith(word, "'s");
      const std::string stem = possessive ? word.substr(0, word.size() - 2) : word;
      if (stem.find('\'') != std::string::npos) {
        continue;
      }
      Phones phones = rules.pronounce(stem);
      if (std::none_of(phones.begin(), phones.end(),
                       [](const std::string& p) { return isVowelSymbol(p); })) {
        continue;
      }
      add(word, {possessive ? withS(phones) : phones}, stem, kLetterToSoundRule);
    }
  }

  /// 'tis, 'twas, 'bout: entries the program can only find without their edge apostrophes.
  void addLookupKeys() {
    for (const auto& [word, pronunciations] : dictionary_) {
      const std::string key = lookupKey(word);
      if (!key.empty() && key != word) {
        add(key, pronunciations, word, kLookupKeyRule);
      }
    }
  }

  std::vector<GeneratedForm> take() {
    std::vector<GeneratedForm> out;
    out.reserve(forms_.size());
    for (auto& [word, form] : forms_) {
      out.push_back(std::move(form));
    }
    return out;
  }

 private:
  const Dictionary& dictionary_;
  const DataFiles& files_;
  Deriver deriver_;
  std::map<std::string, GeneratedForm> forms_;
};

}  // namespace

std::string lookupKey(std::string_view word) {
  std::string key(word);
  if (!key.empty() && key.front() == '\'') {
    key.erase(0, 1);
  }
  if (key.size() > 1 && key.back() == '\'') {
    key.pop_back();
  }
  for (char& c : key) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (c != '\'' && !(u < 128 && std::isalpha(u))) {
      return {};
    }
    c = static_cast<char>(std::tolower(u));
  }
  return key;
}

namespace {

Generation generate(const Sources& sources) {
  static const Dictionary kEmpty;
  const Dictionary& dictionary = sources.dictionary != nullptr ? *sources.dictionary : kEmpty;
  DataFiles files;
  if (std::string error = parseArchaicForms(sources.archaicForms, dictionary, files);
      !error.empty()) {
    return {{}, error};
  }
  if (std::string error = parseBritishSpellings(sources.britishSpellings, dictionary, files);
      !error.empty()) {
    return {{}, error};
  }
  LetterToSound letterToSound;
  if (std::string error; !sources.letterToSoundRules.text.empty() &&
                         !letterToSound.parse(sources.letterToSoundRules.text,
                                              sources.letterToSoundRules.sourceName, error)) {
    return {{}, error};
  }
  auto keys = [](const std::vector<std::string>& words) {
    std::set<std::string> out;
    for (const std::string& word : words) {
      std::string key = lookupKey(word);
      if (!key.empty() && key.find_first_not_of('\'') != std::string::npos) {
        out.insert(std::move(key));
      }
    }
    return out;
  };
  std::set<std::string> listWords = keys(sources.listWords);
  std::set<std::string> britishOnly;
  for (std::string word : keys(sources.britishListWords)) {
    if (listWords.count(word) == 0) {
      britishOnly.insert(word);
      listWords.insert(std::move(word));
    }
  }
  std::set<std::string> largeListWords;
  for (std::string word : keys(sources.largeListWords)) {
    if (listWords.count(word) == 0) {
      largeListWords.insert(std::move(word));
    }
  }
  // Earlier sources win a word: the curated lists before the rules.
  Generator generator(dictionary, files, listWords, britishOnly);
  generator.addIrregularArchaicForms();
  generator.addBritishList();
  generator.addListWords(listWords);
  generator.addArchaicVerbForms(listWords);
  generator.addLookupKeys();
  generator.addLargeListWords(largeListWords);
  if (!letterToSound.empty()) {
    generator.addLetterToSound(listWords, letterToSound);
  }
  return {generator.take(), {}};
}

}  // namespace

Generation generateForms(const Sources& sources) {
  // The builder gets a value whatever happens, memory running out included.
  try {
    return generate(sources);
  } catch (const std::exception& e) {
    return {{}, std::string("generating word forms failed: ") + e.what()};
  }
}

}  // namespace zrv::words_tool::morphology
