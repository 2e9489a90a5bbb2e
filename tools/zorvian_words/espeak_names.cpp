#include "espeak_names.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdio>
#include <fstream>
#include <mutex>
#include <thread>
#include <unordered_set>

#include "app/text_filters.h"

namespace zrv::words_tool {
namespace {

using enum Phoneme;

// One mnemonic of espeak-ng's English phoneme set. A vowel's stress goes on its first phone.
struct Mnemonic {
  std::string_view text;
  std::vector<Phoneme> phones;
  // Said before an r, which it then takes up: e@ r is EH R, 3 r is ER, i@ r is IH R.
  std::optional<std::vector<Phoneme>> beforeR = std::nullopt;
};

// Longest first, so that "aI@" is read before "aI" and "@".
const std::vector<Mnemonic>& mnemonicTable() {
  static const std::vector<Mnemonic> table = [] {
    std::vector<Mnemonic> t = {
        {"@", {AH}},
        {"@2", {AH}},
        {"@5", {AH}},
        {"@L", {AH, L}},
        {"3", {ER}, {{ER}}},
        {"3:", {ER}, {{ER}}},
        {"a", {AE}},
        {"aa", {AE}},
        {"a#", {AH}},
        {"A:", {AA}},
        {"A~", {AA}},
        {"A@", {AA, R}, {{AA, R}}},
        {"0", {AA}},
        {"O", {AO}},
        {"O:", {AO}},
        {"O2", {AO}},
        {"O@", {AO, R}, {{AO, R}}},
        {"o@", {AO, R}, {{AO, R}}},
        {"E", {EH}},
        {"e@", {EH, R}, {{EH, R}}},
        {"eI", {EY}},
        {"I", {IH}},
        {"I2", {IH}},
        {"I#", {IH}},
        {"i", {IY}},
        {"i:", {IY}},
        {"i@", {IY, AH}, {{IH, R}}},
        {"i@3", {IH, R}, {{IH, R}}},
        {"U", {UH}},
        {"U@", {UH, R}, {{UH, R}}},
        {"u", {UW}},
        {"u:", {UW}},
        {"V", {AH}},
        {"VR", {ER}, {{ER}}},
        {"aI", {AY}},
        {"aI@", {AY, AH}},
        {"aI3", {AY, ER}, {{AY, ER}}},
        {"aU", {AW}},
        {"aU@", {AW, AH}},
        {"aU3", {AW, ER}, {{AW, ER}}},
        {"o", {OW}},
        {"oU", {OW}},
        {"@U", {OW}},
        {"oU3", {OW, ER}, {{OW, ER}}},
        {"OI", {OY}},
        {"p", {P}},
        {"b", {B}},
        {"t", {T}},
        {"t#", {T}},
        {"t2", {T}},
        {"d", {D}},
        {"d#", {D}},
        {"k", {K}},
        {"g", {G}},
        {"f", {F}},
        {"v", {V}},
        {"T", {TH}},
        {"D", {DH}},
        {"s", {S}},
        {"z", {Z}},
        {"S", {SH}},
        {"Z", {ZH}},
        {"h", {HH}},
        {"x", {K}},
        {"C", {K}},
        {"m", {M}},
        {"n", {N}},
        {"N", {NG}},
        {"l", {L}},
        {"l#", {L}},
        {"L", {L}},
        {"r", {R}},
        {"w", {W}},
        {"j", {Y}},
        {"tS", {CH}},
        {"dZ", {JH}},
        {"?", {T}},
    };
    std::stable_sort(t.begin(), t.end(), [](const Mnemonic& a, const Mnemonic& b) {
      return a.text.size() > b.text.size();
    });
    return t;
  }();
  return table;
}

constexpr std::string_view kSilentMarks = ";-_|";

// A mnemonic read from the text, with the stress mark before it (-1 for none).
struct Token {
  const Mnemonic* mnemonic;
  int stress;
};

bool startsWithVowel(const Token& token) {
  return isVowel(token.mnemonic->phones.front());
}

}  // namespace

std::optional<std::vector<Phone>> phonesFromEspeak(std::string_view mnemonics,
                                                   std::string* unknown) {
  std::vector<Token> tokens;
  int stress = -1;
  for (std::size_t at = 0; at < mnemonics.size();) {
    const char c = mnemonics[at];
    if (c == '\'' || c == ',') {
      stress = c == '\'' ? 1 : 2;
      ++at;
      continue;
    }
    if (kSilentMarks.find(c) != std::string_view::npos) {
      ++at;
      continue;
    }
    const Mnemonic* found = nullptr;
    for (const Mnemonic& mnemonic : mnemonicTable()) {
      if (mnemonics.substr(at, mnemonic.text.size()) == mnemonic.text) {
        found = &mnemonic;
        break;
      }
    }
    if (!found) {
      if (unknown) {
        *unknown = std::string(mnemonics.substr(at, 1));
      }
      return std::nullopt;
    }
    const bool vowel = startsWithVowel({found, -1});
    tokens.push_back({found, vowel ? std::max(stress, 0) : -1});
    if (vowel) {
      stress = -1;
    }
    at += found->text.size();
  }
  std::vector<Phone> phones;
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    const Mnemonic& mnemonic = *tokens[i].mnemonic;
    const bool rFollows = i + 1 < tokens.size() && tokens[i + 1].mnemonic->text == "r";
    const std::vector<Phoneme>& said =
        rFollows && mnemonic.beforeR ? *mnemonic.beforeR : mnemonic.phones;
    for (std::size_t p = 0; p < said.size(); ++p) {
      const bool vowel = isVowel(said[p]);
      const int digit = p == 0 && vowel ? tokens[i].stress : 0;
      phones.push_back({said[p], static_cast<std::int8_t>(vowel ? digit : Phone::kNoStress)});
    }
    if (rFollows && mnemonic.beforeR) {
      ++i;
    }
    // h'V?n-: the n after a glottal stop with no vowel after it is syllabic.
    if (mnemonic.text == "?" && i + 1 < tokens.size() && tokens[i + 1].mnemonic->text == "n" &&
        (i + 2 == tokens.size() || !startsWithVowel(tokens[i + 2]))) {
      phones.push_back({AH, 0});
    }
  }
  const auto stressed = [&](int digit) {
    return std::find_if(phones.begin(), phones.end(), [digit](const Phone& phone) {
      return isVowel(phone.phoneme) && (digit < 0 || phone.stress == digit);
    });
  };
  if (stressed(-1) == phones.end()) {
    if (unknown) {
      unknown->clear();
    }
    return std::nullopt;
  }
  if (stressed(1) == phones.end()) {
    auto first = stressed(2);
    if (first == phones.end()) {
      first = stressed(-1);
    }
    first->stress = 1;
  }
  return phones;
}

namespace {

constexpr std::size_t kBatchSize = 2000;
constexpr unsigned kProcesses = 2;

// Runs one espeak-ng over `words`, one word a line ending with a full stop, so every word is a
// clause of its own and comes back on a line of its own.
bool runEspeak(const std::vector<std::string>& words, std::size_t from, std::size_t to,
               const std::filesystem::path& input, std::vector<std::string>& lines,
               std::string& error) {
  {
    std::ofstream out(input, std::ios::binary | std::ios::trunc);
    for (std::size_t w = from; w < to; ++w) {
      out << words[w] << ".\n";
    }
    if (!out.flush()) {
      error = "cannot write " + input.string();
      return false;
    }
  }
  const std::string command = "espeak-ng -q -x -v en-us -f '" + input.string() + "' 2>/dev/null";
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) {
    error = "cannot run espeak-ng";
    return false;
  }
  std::string text;
  std::array<char, 65536> buffer{};
  std::size_t got = 0;
  while ((got = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) {
    text.append(buffer.data(), got);
  }
  const int status = pclose(pipe);
  if (status == -1 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    error = WIFEXITED(status) && WEXITSTATUS(status) == 127
                ? "cannot run espeak-ng: is it installed?"
                : "espeak-ng failed on the names from \"" + words[from] + "\"";
    return false;
  }
  lines.clear();
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    std::string line = text.substr(start, end - start);
    // espeak-ng indents each clause with a space.
    line.erase(0, line.find_first_not_of(' '));
    while (!line.empty() && (line.back() == ' ' || line.back() == '\r')) {
      line.pop_back();
    }
    lines.push_back(std::move(line));
    start = end + 1;
  }
  if (lines.size() != to - from) {
    error = "espeak-ng gave " + std::to_string(lines.size()) + " lines for " +
            std::to_string(to - from) + " names from \"" + words[from] + "\"";
    return false;
  }
  return true;
}

}  // namespace

bool espeakMnemonics(const std::vector<std::string>& words, std::vector<std::string>& mnemonics,
                     std::string& error) {
  mnemonics.assign(words.size(), {});
  const std::size_t batches = (words.size() + kBatchSize - 1) / kBatchSize;
  std::atomic<std::size_t> next = 0;
  std::mutex failure;
  std::string firstError;
  const std::filesystem::path folder = std::filesystem::temp_directory_path();
  const auto work = [&](unsigned process) {
    const std::filesystem::path input =
        folder / ("zorvian-words-espeak-" + std::to_string(getpid()) + "-" +
                  std::to_string(process) + ".txt");
    std::vector<std::string> lines;
    std::string batchError;
    for (std::size_t b = next++; b < batches; b = next++) {
      const std::size_t from = b * kBatchSize;
      const std::size_t to = std::min(from + kBatchSize, words.size());
      if (!runEspeak(words, from, to, input, lines, batchError)) {
        const std::lock_guard lock(failure);
        if (firstError.empty()) {
          firstError = batchError;
        }
        next = batches;
        break;
      }
      std::move(lines.begin(), lines.end(), mnemonics.begin() + static_cast<std::ptrdiff_t>(from));
    }
    std::error_code ec;
    std::filesystem::remove(input, ec);
  };
  std::vector<std::thread> processes;
  for (unsigned p = 0; p < std::min<std::size_t>(kProcesses, batches); ++p) {
    processes.emplace_back(work, p);
  }
  for (std::thread& process : processes) {
    process.join();
  }
  if (!firstError.empty()) {
    error = std::move(firstError);
    return false;
  }
  return true;
}

namespace {

bool isNameSpelling(std::string_view word) {
  if (word.size() < 3 || word.front() < 'A' || word.front() > 'Z' ||
      !std::all_of(word.begin() + 1, word.end(), [](char c) { return c >= 'a' && c <= 'z'; })) {
    return false;
  }
  return word.find_first_of("aeiouyAEIOUY") != std::string_view::npos;
}

// The possessive 's sounds as the plural does: IH0 Z after a sibilant, S after another voiceless
// sound, Z elsewhere.
std::vector<Phone> possessiveOf(std::vector<Phone> phones) {
  switch (phones.back().phoneme) {
    case S:
    case Z:
    case SH:
    case ZH:
    case CH:
    case JH:
      phones.push_back({IH, 0});
      phones.push_back({Z, Phone::kNoStress});
      break;
    case P:
    case T:
    case K:
    case F:
    case TH:
      phones.push_back({S, Phone::kNoStress});
      break;
    default:
      phones.push_back({Z, Phone::kNoStress});
  }
  return phones;
}

}  // namespace

bool addEspeakNames(const std::filesystem::path& namesList, std::vector<DictionaryWord>& dictionary,
                    WordList& words, EspeakNames& report, std::string& error) {
  std::ifstream in(namesList, std::ios::binary);
  if (!in) {
    error = "cannot read the names list " + namesList.string();
    return false;
  }
  std::vector<std::string> capitalised;
  std::unordered_set<std::string> possessives;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') {
      line.pop_back();
    }
    if (line.ends_with("'s") && isNameSpelling(std::string_view(line).substr(0, line.size() - 2))) {
      possessives.insert(toLowerCase(std::string(line)));
    } else if (isNameSpelling(line)) {
      capitalised.push_back(line);
    }
  }
  if (in.bad()) {
    error = "read error in the names list " + namesList.string();
    return false;
  }
  const auto inDictionary = [&dictionary](std::string_view word) {
    return std::binary_search(
        dictionary.begin(), dictionary.end(), word, [](const auto& a, const auto& b) {
          if constexpr (std::is_same_v<std::decay_t<decltype(a)>, DictionaryWord>) {
            return a.word < b;
          } else {
            return a < b.word;
          }
        });
  };
  std::vector<std::string> names;
  for (const std::string& word : capitalised) {
    const std::string lower = toLowerCase(std::string(word));
    if (!words.hasLowerCase(lower) && !inDictionary(lower)) {
      names.push_back(word);
    }
  }
  std::sort(names.begin(), names.end());
  names.erase(std::unique(names.begin(), names.end()), names.end());
  report.asked = names.size();
  std::vector<std::string> mnemonics;
  if (!espeakMnemonics(names, mnemonics, error)) {
    return false;
  }
  std::vector<DictionaryWord> added;
  for (std::size_t n = 0; n < names.size(); ++n) {
    // A space would mean espeak-ng read the name as more than one word.
    const auto phones =
        mnemonics[n].find(' ') == std::string::npos ? phonesFromEspeak(mnemonics[n]) : std::nullopt;
    if (!phones) {
      ++report.unmappable;
      continue;
    }
    const std::string lower = toLowerCase(std::string(names[n]));
    const std::string possessive = lower + "'s";
    if (possessives.contains(possessive) && !inDictionary(possessive)) {
      added.push_back({possessive, {{1, possessiveOf(*phones)}}});
      words.add(names[n] + "'s");
    }
    added.push_back({lower, {{1, *phones}}});
    words.add(names[n]);
  }
  report.added = added.size();
  std::move(added.begin(), added.end(), std::back_inserter(dictionary));
  std::sort(dictionary.begin(), dictionary.end(),
            [](const DictionaryWord& a, const DictionaryWord& b) { return a.word < b.word; });
  return true;
}

}  // namespace zrv::words_tool
