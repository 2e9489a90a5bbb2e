#include "database_builder.h"

#include <sqlite3.h>

#include <chrono>
#include <memory>
#include <system_error>

#include "word_rows.h"
#include "words/accent_catalog.h"

namespace zrv::words_tool {
namespace {

struct CloseDatabase {
  void operator()(sqlite3* db) const { sqlite3_close(db); }
};
struct FinalizeStatement {
  void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Database = std::unique_ptr<sqlite3, CloseDatabase>;
using Statement = std::unique_ptr<sqlite3_stmt, FinalizeStatement>;

bool execute(sqlite3* db, const std::string& sql, std::string& error) {
  if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) {
    error = "SQLite failed on \"" + sql + "\": " + sqlite3_errmsg(db);
    return false;
  }
  return true;
}

bool insertRows(sqlite3* db, sqlite3_stmt* insert, const std::string& englishWord,
                const std::vector<WordRow>& rows, std::string& error) {
  for (const WordRow& row : rows) {
    sqlite3_bind_text(insert, 1, englishWord.data(), static_cast<int>(englishWord.size()),
                      SQLITE_STATIC);
    sqlite3_bind_text(insert, 2, row.zorvianWord.data(), static_cast<int>(row.zorvianWord.size()),
                      SQLITE_STATIC);
    sqlite3_bind_int(insert, 3, row.isName ? 1 : 0);
    sqlite3_bind_int(insert, 4, row.weight);
    sqlite3_bind_int(insert, 5, kWordVersion);
    const int code = sqlite3_step(insert);
    sqlite3_reset(insert);
    if (code != SQLITE_DONE) {
      error = "SQLite failed to insert \"" + englishWord + "\": " + sqlite3_errmsg(db);
      return false;
    }
  }
  return true;
}

}  // namespace

std::string createTableStatement(std::string_view tableName) {
  // WITHOUT ROWID clusters the rows on the key, so the lookup and its MAX(word_version) are
  // searches of the table itself, already in weight order, and the file holds each row once.
  return "CREATE TABLE " + std::string(tableName) +
         " (english_word TEXT NOT NULL, zorvian_word TEXT NOT NULL, is_name INTEGER NOT NULL, "
         "word_weight INTEGER NOT NULL, word_version INTEGER NOT NULL, PRIMARY KEY (english_word, "
         "word_version, word_weight, zorvian_word, is_name)) WITHOUT ROWID;";
}

bool writeWordsDatabase(const std::filesystem::path& file,
                        const std::vector<DictionaryWord>& dictionary, const WordList& words,
                        const HeteronymList& heteronyms, BuildReport& report, std::string& error) {
  sqlite3* raw = nullptr;
  const int openCode =
      sqlite3_open_v2(file.c_str(), &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  Database db(raw);
  if (openCode != SQLITE_OK) {
    error = "cannot create " + file.string() + ": " + (raw ? sqlite3_errmsg(raw) : "out of memory");
    return false;
  }
  // The file is renamed into place only once it is complete, so a crash needs no journal.
  if (!execute(db.get(), "PRAGMA journal_mode=OFF;", error) ||
      !execute(db.get(), "PRAGMA synchronous=OFF;", error) || !execute(db.get(), "BEGIN;", error)) {
    return false;
  }
  std::vector<PreparedWord> prepared;
  prepared.reserve(dictionary.size());
  for (const DictionaryWord& entry : dictionary) {
    prepared.push_back(prepareWord(entry, words, heteronyms));
  }
  report.words = dictionary.size();
  std::vector<WordRow> rows;
  for (std::size_t t = 0; t < accentCatalog.size(); ++t) {
    const AccentTable& accent = accentCatalog[t];
    const std::string table(accent.tableName);
    if (!execute(db.get(), createTableStatement(table), error)) {
      return false;
    }
    const std::string sql = "INSERT INTO " + table +
                            " (english_word, zorvian_word, is_name, word_weight, word_version) "
                            "VALUES (?1, ?2, ?3, ?4, ?5);";
    sqlite3_stmt* rawInsert = nullptr;
    if (sqlite3_prepare_v2(db.get(), sql.c_str(), -1, &rawInsert, nullptr) != SQLITE_OK) {
      error = "SQLite cannot prepare \"" + sql + "\": " + sqlite3_errmsg(db.get());
      return false;
    }
    Statement insert(rawInsert);
    std::size_t count = 0;
    for (const PreparedWord& word : prepared) {
      rowsInAccent(word, accent, rows);
      if (!insertRows(db.get(), insert.get(), word.entry->word, rows, error)) {
        return false;
      }
      count += rows.size();
    }
    report.rowsPerTable[t] = count;
  }
  if (!execute(db.get(), "COMMIT;", error)) {
    return false;
  }
  if (sqlite3_close(db.release()) != SQLITE_OK) {
    error = "SQLite could not close " + file.string();
    return false;
  }
  return true;
}

bool buildWordsDatabase(const BuildSources& sources, const std::filesystem::path& output,
                        BuildReport& report, std::string& error) {
  const auto start = std::chrono::steady_clock::now();
  std::vector<DictionaryWord> dictionary;
  WordList words;
  HeteronymList heteronyms;
  if (!readPronouncingDictionary(sources.dictionary, dictionary, error) ||
      !readWordList(sources.wordList, words, error)) {
    return false;
  }
  const bool listRead = sources.heteronymList
                            ? readHeteronymList(*sources.heteronymList, heteronyms, error)
                            : parseHeteronymList(builtInHeteronymText(), "built-in heteronym list",
                                                 heteronyms, error);
  if (!listRead) {
    return false;
  }
  std::filesystem::path building = output;
  building += ".building";
  std::error_code ec;
  std::filesystem::remove(building, ec);  // left by an interrupted build
  if (!writeWordsDatabase(building, dictionary, words, heteronyms, report, error)) {
    std::filesystem::remove(building, ec);
    return false;
  }
  std::filesystem::rename(building, output, ec);
  if (ec) {
    error = "cannot rename " + building.string() + " to " + output.string() + ": " + ec.message();
    std::filesystem::remove(building, ec);
    return false;
  }
  report.bytes = std::filesystem::file_size(output, ec);
  report.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return true;
}

}  // namespace zrv::words_tool
