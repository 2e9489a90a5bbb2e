// Arbitrary text through the whole transliteration loop, against a small words database made
// once per process. The first byte of an input picks the accent table, the names policy and the
// way the choice prompts are answered; the rest is the text.
//
// Whatever the text, the loop must finish, every delimiter must come through unchanged, and every
// word must be written either as it stands or as one of its forms in the case of the English
// word; the warnings and the unknown words must be exactly the words the table does not hold.

#include <sqlite3.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/run_state.h"
#include "app/text_filters.h"
#include "engine/case_transfer.h"
#include "engine/sentence_reader.h"
#include "fuzz_checks.h"

namespace zrv::fuzz {
namespace {

struct FixtureRow {
  const char* english;
  const char* zorvian;  // nullptr: NULL
  int isName;           // -1: NULL
  double weight;
  int version;
};

// Forms of ASCII letters only: with them, removing the words from the input and from the output
// must leave the very same bytes.
const FixtureRow kPlainRows[] = {
    {"cat", "kat", 0, 1, 1},      {"the", "thuh", 0, 1, 1},   {"don't", "dohnt", 0, 1, 1},
    {"i", "ai", 0, 1, 1},         {"a", "uh", 0, 1, 1},       {"tis", "tiz", 0, 1, 1},
    {"dogs", "dawgz", 0, 1, 1},   {"bill", "bil", 1, 3, 1},   {"bill", "bel", 0, 1, 1},
    {"smith", "smith", 2, 1, 1},  {"read", "reed", 0, 2, 1},  {"read", "red", 0, 1, 1},
    {"read", "reed", 0, 0, 1},    {"wind", "wynd", 0, 5, 1},  {"wind", "wihnd", 0, 1, 2},
    {"wind", "waind", 0, 2, 2},   {"x", "eks", -1, 1, 1},     {"gap", nullptr, 0, 1, 1},
    {"odd", "od", 0, 1, 1},       {"odd", nullptr, 0, 1, 2},  {"nil", "", 0, 1, 1},
    {"lead", "leed", 0, 3, 1},    {"lead", "led", 1, 2, 1},   {"lead", "lid", 0, 1, 1},
    {"twelve", "ta", 0, 12, 1},   {"twelve", "tb", 0, 11, 1}, {"twelve", "tc", 0, 10, 1},
    {"twelve", "td", 0, 9, 1},    {"twelve", "te", 0, 8, 1},  {"twelve", "tf", 0, 7, 1},
    {"twelve", "tg", 0, 6, 1},    {"twelve", "th", 0, 5, 1},  {"twelve", "ti", 0, 4, 1},
    {"twelve", "tj", 0, 3, 1},    {"twelve", "tk", 0, 2, 1},  {"twelve", "tl", 0, 1, 1},
    {"o'clock", "oklok", 0, 1, 1}};

// Forms with special letters and other UTF-8, for the case transfer.
const FixtureRow kLetteredRows[] = {{"cat", "k\xC4\x81t", 0, 1, 1},                    // kāt
                                    {"the", "\xC3\xB0\xC9\x99", 0, 1, 1},              // ðə
                                    {"ate", "\xC4\x81t", 0, 1, 1},                     // āt
                                    {"church", "\xD1\x87\xC9\x99r\xD1\x87", 0, 1, 1},  // чərч
                                    {"eye", "\xC3\xA9", 0, 1, 1},                      // é
                                    {"read",
                                     "r\xC4\x93"
                                     "d",
                                     0, 2, 1},  // rēd
                                    {"read",
                                     "r\xC4\x95"
                                     "d",
                                     0, 1, 1},                        // rĕd
                                    {"bill", "b\xC3\xA9l", 1, 1, 1},  // bél
                                    {"", "\xC9\x99", 0, 1, 1},  // ə, the form of a lone apostrophe
                                    {"o'clock", "\xC5\x8D'kl\xC5\x8Dk", 0, 1, 1},  // ō'klōk
                                    {"nil", "", 0, 1, 1}};

constexpr const char* kPlainTable = "zrv_words_us_midland";
constexpr const char* kLetteredTable = "zrv_words_au_standard";

/// The forms a lookup of each key yields: the non-null forms of the key's highest version.
using FormsByKey = std::map<std::string, std::vector<std::string>>;

template <std::size_t N>
FormsByKey formsOf(const FixtureRow (&rows)[N]) {
  std::map<std::string, int> highest;
  for (const FixtureRow& row : rows) {
    auto [entry, added] = highest.emplace(row.english, row.version);
    if (!added && row.version > entry->second) {
      entry->second = row.version;
    }
  }
  FormsByKey forms;
  for (const FixtureRow& row : rows) {
    if (row.version == highest[row.english] && row.zorvian != nullptr) {
      forms[row.english].push_back(row.zorvian);
    }
  }
  return forms;
}

void exec(sqlite3* db, const std::string& sql) {
  check(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK, sql.c_str());
}

template <std::size_t N>
void createTable(sqlite3* db, const char* table, const FixtureRow (&rows)[N]) {
  exec(db, std::string("CREATE TABLE ") + table +
               " (english_word TEXT, zorvian_word TEXT, is_name INTEGER, word_weight REAL,"
               " word_version INTEGER);");
  sqlite3_stmt* insert = nullptr;
  const std::string sql = std::string("INSERT INTO ") + table + " VALUES (?, ?, ?, ?, ?);";
  check(sqlite3_prepare_v2(db, sql.c_str(), -1, &insert, nullptr) == SQLITE_OK, "insert");
  for (const FixtureRow& row : rows) {
    sqlite3_bind_text(insert, 1, row.english, -1, SQLITE_STATIC);
    if (row.zorvian != nullptr) {
      sqlite3_bind_text(insert, 2, row.zorvian, -1, SQLITE_STATIC);
    } else {
      sqlite3_bind_null(insert, 2);
    }
    if (row.isName >= 0) {
      sqlite3_bind_int(insert, 3, row.isName);
    } else {
      sqlite3_bind_null(insert, 3);
    }
    sqlite3_bind_double(insert, 4, row.weight);
    sqlite3_bind_int(insert, 5, row.version);
    check(sqlite3_step(insert) == SQLITE_DONE, "insert row");
    sqlite3_reset(insert);
  }
  sqlite3_finalize(insert);
}

/// The process's scratch folder with its words database; removed when the process exits.
struct Fixture {
  std::filesystem::path folder;
  sqlite3* database = nullptr;
  FormsByKey plainForms = formsOf(kPlainRows);
  FormsByKey letteredForms = formsOf(kLetteredRows);

  Fixture() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "zrv-transliterate-fuzz-XXXXXX").string();
    check(mkdtemp(pattern.data()) != nullptr, "mkdtemp");
    folder = pattern;
    check(sqlite3_open((folder / "zrv_words.db").c_str(), &database) == SQLITE_OK, "open");
    createTable(database, kPlainTable, kPlainRows);
    createTable(database, kLetteredTable, kLetteredRows);
  }
  ~Fixture() {
    sqlite3_close(database);
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  }
};

Fixture& fixture() {
  static Fixture instance;
  return instance;
}

/// The form of `form` that an English word written as `word` gets: the case of the word's first
/// and last letters (edge apostrophes aside), with the word's edge apostrophes around it.
std::string rendering(const std::string& word, const std::string& form) {
  const std::string basis = removeSingleEdgeQuotes(word);
  std::string cased = form;
  if (!basis.empty() && isAsciiUpper(static_cast<unsigned char>(basis.front()))) {
    cased = isAsciiUpper(static_cast<unsigned char>(basis.back())) ? toUpperCase(form)
                                                                   : capitalizeFirstLetter(form);
  }
  return (word.front() == '\'' ? "'" : "") + cased + (word.back() == '\'' ? "'" : "");
}

struct Token {
  bool isWord;
  std::string text;
};

/// The text as the loop scans it, in words and single delimiter bytes.
std::vector<Token> tokensOf(const std::string& text) {
  std::vector<Token> tokens;
  for (char byte : text) {
    if (isWordByte(static_cast<unsigned char>(byte))) {
      if (tokens.empty() || !tokens.back().isWord) {
        tokens.push_back({true, ""});
      }
      tokens.back().text.push_back(byte);
    } else {
      tokens.push_back({false, std::string(1, byte)});
    }
  }
  return tokens;
}

/// True when `output` can be read as the tokens in turn, each word as itself or as one of its
/// forms. The positions that the tokens read so far can end at are followed together.
bool outputMatches(const std::vector<Token>& tokens, const std::string& output,
                   const FormsByKey& forms) {
  std::set<std::size_t> ends{0};
  for (const Token& token : tokens) {
    std::vector<std::string> readings{token.text};
    if (token.isWord) {
      auto found = forms.find(toLowerCase(removeSingleEdgeQuotes(token.text)));
      if (found != forms.end()) {
        for (const std::string& form : found->second) {
          readings.push_back(rendering(token.text, form));
        }
      }
    }
    std::set<std::size_t> next;
    for (std::size_t at : ends) {
      for (const std::string& reading : readings) {
        if (output.compare(at, reading.size(), reading) == 0) {
          next.insert(at + reading.size());
        }
      }
    }
    if (next.empty()) {
      return false;
    }
    ends = std::move(next);
  }
  return ends.count(output.size()) == 1;
}

std::string readWhole(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

}  // namespace
}  // namespace zrv::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace zrv;
  using namespace zrv::fuzz;
  if (size == 0) {
    return 0;
  }
  Fixture& fix = fixture();
  const std::uint8_t flags = data[0];
  const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
  const bool lettered = (flags & 1) != 0;
  const FormsByKey& forms = lettered ? fix.letteredForms : fix.plainForms;

  // What the loop scans: the text with its apostrophes folded and, at its end, one space.
  const std::string scanned = text.empty() ? "" : foldApostrophes(text) + " ";
  const std::vector<Token> tokens = tokensOf(scanned);
  std::uint64_t unknownCount = 0;
  std::set<std::string> unknown;
  std::size_t words = 0;
  for (const Token& token : tokens) {
    if (token.isWord) {
      ++words;
      if (forms.count(toLowerCase(removeSingleEdgeQuotes(token.text))) == 0) {
        ++unknownCount;
        unknown.insert(toLowerCase(token.text));
      }
    }
  }

  // Each prompt takes at most one answer pattern; some patterns start with rejected answers.
  const char* kAnswerPatterns[] = {"1\n", "0 2\n", "02 2. x\t2\n", "10 1\n"};
  std::string answers;
  for (std::size_t i = 0; i <= words; ++i) {
    answers += kAnswerPatterns[(flags >> 2) & 3];
  }
  std::istringstream in(answers);
  std::ostringstream out;
  Console console{in, out};
  RunState state(console, {});
  state.database = fix.database;
  state.sqlTableToUse = lettered ? kLetteredTable : kPlainTable;
  state.transliterateNames = (flags & 2) != 0;
  state.totalCharacters = text.size();

  const std::filesystem::path inputFile = fix.folder / "input.txt";
  const std::filesystem::path outputFile = fix.folder / "output.txt";
  {
    std::ofstream write(inputFile, std::ios::binary | std::ios::trunc);
    write << text;
  }
  state.textFileReader.open(inputFile, std::ios::in | std::ios::out);
  state.outputWriter.open(outputFile, std::ios::trunc);
  check(state.textFileReader.is_open() && state.outputWriter.is_open(), "scratch files");

  const PhaseResult outcome = transliterateInput(state);
  state.textFileReader.close();
  state.outputWriter.close();
  state.database = nullptr;
  check(outcome == PhaseResult::kGoOn, "the loop halted");
  check(state.result == nullptr, "a lookup statement was left unfinalized");
  check(state.charactersRead == text.size(), "the loop did not read every character");

  const std::string output = readWhole(outputFile);
  if (!lettered) {
    check(delimitersOf(output) == delimitersOf(scanned), "a delimiter did not come through");
  }
  check(outputMatches(tokens, output, forms), "the output is not the text word for word");
  check(state.warningCount == unknownCount, "warnings differ from the unknown word occurrences");
  check(state.unknownWordsSet == unknown, "the unknown words differ");
  return 0;
}
