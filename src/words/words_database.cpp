#include "words/words_database.h"

#include <algorithm>
#include <string>

#include "app/messages.h"
#include "app/run_state.h"

namespace zrv {

namespace {

// The progress handler is called every this many instructions.
constexpr int kInstructionsPerCall = 1'000;

int chargeWork(void* work) {
  auto& spent = *static_cast<StatementWork*>(work);
  spent.instructions += kInstructionsPerCall;
  // Non-zero interrupts the statement: its step (or prepare) returns SQLITE_INTERRUPT.
  return spent.instructions > kStatementInstructionBudget ||
                 std::chrono::steady_clock::now() - spent.started > kStatementTimeBudget
             ? 1
             : 0;
}

/// The defences for a file that came from elsewhere. None of them reads the file, so a file that
/// is no database still opens and fails at its first statement.
void defendConnection(RunState& state) {
  sqlite3* db = state.database;
  sqlite3_db_config(db, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
  sqlite3_db_config(db, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
  sqlite3_db_config(db, SQLITE_DBCONFIG_ENABLE_VIEW, 0, nullptr);
  sqlite3_db_config(db, SQLITE_DBCONFIG_ENABLE_TRIGGER, 0, nullptr);
  sqlite3_limit(db, SQLITE_LIMIT_LENGTH, kValueByteLimit);
  sqlite3_exec(db, "PRAGMA cell_size_check = ON;", nullptr, nullptr, nullptr);
  sqlite3_progress_handler(db, kInstructionsPerCall, chargeWork, &state.statementWork);
}

/// A fresh budget for the statement about to run.
void restartStatementWork(RunState& state) {
  state.statementWork = {0, std::chrono::steady_clock::now()};
}

/// The length of the value a key (with its apostrophes doubled) stands for in the statement.
std::size_t valueLength(std::string_view key) {
  return key.size() - static_cast<std::size_t>(std::count(key.begin(), key.end(), '\'')) / 2;
}

}  // namespace

void buildLookupStatement(std::string& statement, std::string_view table, std::string_view key) {
  statement.clear();
  statement.reserve(160 + 2 * (table.size() + key.size()));
  statement.append("SELECT zorvian_word, is_name FROM ")
      .append(table)
      .append(" WHERE english_word = '")
      .append(key)
      .append("' AND word_version = ")
      .append("(SELECT MAX(word_version) FROM ")
      .append(table)
      .append(" WHERE english_word = '")
      .append(key)
      .append("') ORDER BY word_weight DESC;");
}

PhaseResult openWordsDatabase(RunState& state) {
  // No memory statistics: the run never reads them, and keeping them takes a mutex at every
  // allocation of every statement. This holds only before SQLite's first use in the process,
  // and a later call changes nothing.
  sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);
  const int code = sqlite3_open(kWordsDatabaseFile, &state.database);
  if (code != SQLITE_OK) {
    state.console.out << kHaltCannotOpenDatabase << code << kHaltCannotOpenDatabaseEnd << std::endl;
    return PhaseResult::kHalt;
  }
  defendConnection(state);
  return PhaseResult::kGoOn;
}

void prepareForLookups(RunState& state) {
  // The cache size needs the schema, which the counts have read by now; set at the open, it
  // would read a crafted schema before any statement's budget applied.
  restartStatementWork(state);
  const std::string cacheSize = "PRAGMA cache_size = -" + std::to_string(kPageCacheKiB) + ";";
  sqlite3_exec(state.database, cacheSize.c_str(), nullptr, nullptr, nullptr);
  restartStatementWork(state);
  sqlite3_exec(state.database, "BEGIN;", nullptr, nullptr, nullptr);
}

void closeWordsDatabase(RunState& state) {
  // An unfinalized statement would keep the connection open (SQLITE_BUSY).
  state.result.reset();
  sqlite3_close(state.database);
  state.database = nullptr;
}

PhaseResult prepareStatement(RunState& state) {
  state.result.reset();
  restartStatementWork(state);
  sqlite3_stmt* prepared = nullptr;
  const int code =
      sqlite3_prepare_v2(state.database, state.stringSqlStatement.c_str(), -1, &prepared, nullptr);
  state.result.reset(prepared);
  if (code != SQLITE_OK) {
    return reportQueryError(state, code);
  }
  return PhaseResult::kGoOn;
}

const char* columnTextOrNull(RunState& state, int column) {
  return reinterpret_cast<const char*>(sqlite3_column_text(state.result.get(), column));
}

PhaseResult lookupWord(RunState& state, std::string_view table, std::string_view key,
                       std::span<const LookupRow>& rows) {
  if (const std::vector<LookupRow>* kept = state.lookupCache.find(table, key)) {
    rows = *kept;
    return PhaseResult::kGoOn;
  }
  std::vector<LookupRow>& read = state.lookupRows;
  read.clear();
  rows = read;
  if (valueLength(key) > static_cast<std::size_t>(kValueByteLimit)) {
    // No value that long can be read from the table, so no row can match it.
    return PhaseResult::kGoOn;
  }
  buildLookupStatement(state.stringSqlStatement, table, key);
  if (prepareStatement(state) == PhaseResult::kHalt) {
    return PhaseResult::kHalt;
  }
  sqlite3_stmt* statement = state.result.get();
  int stepCode = sqlite3_step(statement);
  while (stepCode == SQLITE_ROW) {
    const bool isName = sqlite3_column_int(statement, 1) != 0;
    if (const char* zorvianWord = columnTextOrNull(state, 0)) {
      read.push_back(LookupRow{zorvianWord, isName});
    }
    stepCode = sqlite3_step(statement);
  }
  if (stepCode != SQLITE_DONE) {
    // Also after some rows: a word half read is neither settled nor kept with what happened to
    // arrive.
    return reportRowError(state, stepCode);
  }
  state.lookupCache.keep(table, key, read);
  rows = read;
  return PhaseResult::kGoOn;
}

PhaseResult reportQueryError(RunState& state, int code) {
  state.console.out << kHaltQueryError << state.stringSqlStatement << std::endl
                    << kHaltErrorCode << code << std::endl;
  return PhaseResult::kHalt;
}

PhaseResult reportRowError(RunState& state, int code) {
  state.console.out << kHaltRowError << std::endl << kHaltErrorCode << code << std::endl;
  return PhaseResult::kHalt;
}

}  // namespace zrv
