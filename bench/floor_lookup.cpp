// The lower bounds that the program's transliteration time is held against: the same text scanned
// into the same words, each looked up in the same accent table of the same database, and nothing
// else done with it (no output file, no case transfer, no prompt).
//
//   floor_lookup literal <database> <table> <text>   one statement prepared, stepped and
//                                                    finalized per word, the values written into
//                                                    its text as the program writes them
//   floor_lookup bound <database> <table> <text>     one statement prepared once, its key bound
//                                                    and the statement reset per word
//
// Prints one line "words=N found=F rows=R seconds=S": the words looked up, those with at least one
// row, the rows read, and the seconds of the lookup loop alone (the text is read and scanned into
// words before the clock starts).

#include <sqlite3.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "engine/word_bytes.h"
#include "words/words_database.h"

namespace {

// The program folds the typographic apostrophes of each sentence before it scans it.
std::string foldTypographicApostrophes(const std::string& text) {
  static constexpr std::string_view kApostrophes[] = {"\xCA\xBC", "\xE2\x80\x98", "\xE2\x80\x99",
                                                      "\xEF\xBC\x87"};
  std::string folded;
  folded.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    bool replaced = false;
    for (std::string_view apostrophe : kApostrophes) {
      if (std::string_view(text).substr(at, apostrophe.size()) == apostrophe) {
        folded.push_back('\'');
        at += apostrophe.size();
        replaced = true;
        break;
      }
    }
    if (!replaced) {
      folded.push_back(text[at++]);
    }
  }
  return folded;
}

// The lookup key of a scanned word: one leading and one trailing apostrophe removed, lower-cased.
std::string keyOf(std::string word) {
  if (!word.empty() && word.front() == '\'') {
    word.erase(0, 1);
  }
  if (word.size() > 1 && word.back() == '\'') {
    word.pop_back();
  }
  for (char& byte : word) {
    if (byte >= 'A' && byte <= 'Z') {
      byte = static_cast<char>(byte - 'A' + 'a');
    }
  }
  return word;
}

std::string escaped(const std::string& key) {
  std::string text;
  for (char byte : key) {
    text.push_back(byte);
    if (byte == '\'') {
      text.push_back('\'');
    }
  }
  return text;
}

std::vector<std::string> scanKeys(const std::string& text) {
  std::vector<std::string> keys;
  std::string word;
  for (char byte : text) {
    if (zrv::isWordByte(byte)) {
      word.push_back(byte);
    } else if (!word.empty()) {
      keys.push_back(keyOf(word));
      word.clear();
    }
  }
  // The program appends a space to the input, so a last word is looked up too.
  if (!word.empty()) {
    keys.push_back(keyOf(word));
  }
  return keys;
}

struct Tally {
  long long found = 0;
  long long rows = 0;
  long long nameRows = 0;
  long long formBytes = 0;
};

// Reads a row the way the program must (column 1 as an integer, then column 0 as text), so that
// the floor pays for what every lookup has to deliver; the text is measured, not copied.
void readRow(sqlite3_stmt* statement, Tally& tally) {
  tally.rows += 1;
  tally.nameRows += sqlite3_column_int(statement, 1) != 0;
  if (sqlite3_column_text(statement, 0) != nullptr) {
    tally.formBytes += sqlite3_column_bytes(statement, 0);
  }
}

bool stepAll(sqlite3_stmt* statement, Tally& tally) {
  int code = sqlite3_step(statement);
  if (code == SQLITE_ROW) {
    tally.found += 1;
  }
  while (code == SQLITE_ROW) {
    readRow(statement, tally);
    code = sqlite3_step(statement);
  }
  return code == SQLITE_DONE;
}

bool runLiteral(sqlite3* database, const std::string& table, const std::vector<std::string>& keys,
                Tally& tally) {
  std::vector<std::string> escapedKeys;
  escapedKeys.reserve(keys.size());
  for (const std::string& key : keys) {
    escapedKeys.push_back(escaped(key));
  }
  std::string statementText;
  for (const std::string& key : escapedKeys) {
    zrv::buildLookupStatement(statementText, table, key);
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(database, statementText.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
      std::fprintf(stderr, "prepare failed: %s\n", sqlite3_errmsg(database));
      return false;
    }
    const bool done = stepAll(statement, tally);
    sqlite3_finalize(statement);
    if (!done) {
      std::fprintf(stderr, "step failed: %s\n", sqlite3_errmsg(database));
      return false;
    }
  }
  return true;
}

bool runBound(sqlite3* database, const std::string& table, const std::vector<std::string>& keys,
              Tally& tally) {
  const std::string text = "SELECT zorvian_word, is_name FROM " + table +
                           " WHERE english_word = ?1 AND word_version = (SELECT MAX(word_version) "
                           "FROM " +
                           table + " WHERE english_word = ?1) ORDER BY word_weight DESC;";
  sqlite3_stmt* statement = nullptr;
  if (sqlite3_prepare_v2(database, text.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
    std::fprintf(stderr, "prepare failed: %s\n", sqlite3_errmsg(database));
    return false;
  }
  bool ok = true;
  for (const std::string& key : keys) {
    sqlite3_bind_text(statement, 1, key.data(), static_cast<int>(key.size()), SQLITE_STATIC);
    if (!stepAll(statement, tally)) {
      std::fprintf(stderr, "step failed: %s\n", sqlite3_errmsg(database));
      ok = false;
      break;
    }
    sqlite3_reset(statement);
  }
  sqlite3_finalize(statement);
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: %s literal|bound <database> <table> <text>\n", argv[0]);
    return 2;
  }
  const std::string mode = argv[1];
  if (mode != "literal" && mode != "bound") {
    std::fprintf(stderr, "unknown mode '%s'\n", argv[1]);
    return 2;
  }
  std::ifstream in(argv[4], std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "cannot read %s\n", argv[4]);
    return 1;
  }
  const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  const std::vector<std::string> keys = scanKeys(foldTypographicApostrophes(text));

  sqlite3* database = nullptr;
  if (sqlite3_open(argv[2], &database) != SQLITE_OK) {
    std::fprintf(stderr, "cannot open %s\n", argv[2]);
    sqlite3_close(database);
    return 1;
  }
  Tally tally;
  const auto start = std::chrono::steady_clock::now();
  const bool ok = mode == "literal" ? runLiteral(database, argv[3], keys, tally)
                                    : runBound(database, argv[3], keys, tally);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  sqlite3_close(database);
  if (!ok) {
    return 1;
  }
  std::printf("words=%zu found=%lld rows=%lld seconds=%.6f\n", keys.size(), tally.found, tally.rows,
              seconds);
  return 0;
}
