#include "words_db_builder.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "files.h"
#include "words/accent_catalog.h"

namespace zrv::test {

namespace {

void exec(sqlite3* db, const std::string& sql) {
  char* error = nullptr;
  if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
    ADD_FAILURE() << "fixture SQL failed: " << sql << ": " << (error ? error : "");
  }
  sqlite3_free(error);
}

}  // namespace

WordsDbBuilder& WordsDbBuilder::word(std::string english, std::string zorvian, int isName,
                                     double weight, int version) {
  return row({kDefaultTable, std::move(english), std::move(zorvian), isName, weight, version});
}

WordsDbBuilder& WordsDbBuilder::row(WordRow row) {
  rows_.push_back(std::move(row));
  return *this;
}

WordsDbBuilder& WordsDbBuilder::withoutTable(std::string table) {
  missing_.insert(std::move(table));
  return *this;
}

WordsDbBuilder& WordsDbBuilder::withColumns(std::string table, std::string columns) {
  customColumns_.emplace_back(std::move(table), std::move(columns));
  return *this;
}

void WordsDbBuilder::write(const std::filesystem::path& file) const {
  std::filesystem::remove(file);
  sqlite3* db = nullptr;
  if (sqlite3_open(file.c_str(), &db) != SQLITE_OK) {
    ADD_FAILURE() << "cannot create " << file;
    sqlite3_close(db);
    return;
  }
  exec(db, "BEGIN;");
  std::set<std::string> custom;
  for (const auto& [table, columns] : customColumns_) {
    exec(db, "CREATE TABLE " + table + " (" + columns + ");");
    custom.insert(table);
  }
  for (const AccentTable& accent : accentCatalog) {
    const std::string table(accent.tableName);
    if (missing_.count(table) == 0 && custom.count(table) == 0) {
      exec(db, "CREATE TABLE " + table +
                   " (english_word TEXT, zorvian_word TEXT, is_name INTEGER, word_weight REAL,"
                   " word_version INTEGER);");
    }
  }
  for (const WordRow& row : rows_) {
    if (custom.count(row.table) != 0 || missing_.count(row.table) != 0) {
      continue;
    }
    sqlite3_stmt* insert = nullptr;
    const std::string sql = "INSERT INTO " + row.table + " VALUES (?, ?, ?, ?, ?);";
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &insert, nullptr) != SQLITE_OK) {
      ADD_FAILURE() << "cannot prepare " << sql;
      continue;
    }
    sqlite3_bind_text(insert, 1, row.englishWord.c_str(), -1, SQLITE_TRANSIENT);
    if (row.zorvianWord) {
      sqlite3_bind_text(insert, 2, row.zorvianWord->c_str(), -1, SQLITE_TRANSIENT);
    }
    if (row.isName) {
      sqlite3_bind_int(insert, 3, *row.isName);
    }
    sqlite3_bind_double(insert, 4, row.weight);
    sqlite3_bind_int(insert, 5, row.version);
    if (sqlite3_step(insert) != SQLITE_DONE) {
      ADD_FAILURE() << "cannot insert into " << row.table;
    }
    sqlite3_finalize(insert);
  }
  exec(db, "COMMIT;");
  sqlite3_close(db);
}

std::string WordsDbBuilder::bytes() const {
  TempDir scratch;
  write(scratch / "words.db");
  return readFile(scratch / "words.db");
}

}  // namespace zrv::test
