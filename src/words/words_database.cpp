#include "words/words_database.h"

#include "app/messages.h"
#include "app/run_state.h"

namespace zrv {

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
  const int code = sqlite3_open(kWordsDatabaseFile, &state.database);
  if (code != SQLITE_OK) {
    state.console.out << kHaltCannotOpenDatabase << code << kHaltCannotOpenDatabaseEnd << std::endl;
    return PhaseResult::kHalt;
  }
  return PhaseResult::kGoOn;
}

void closeWordsDatabase(RunState& state) {
  // An unfinalized statement would keep the connection open (SQLITE_BUSY).
  finalizeStatement(state);
  sqlite3_close(state.database);
  state.database = nullptr;
}

const char* columnTextOrNull(RunState& state, int column) {
  return reinterpret_cast<const char*>(sqlite3_column_text(state.result, column));
}

PhaseResult lookupWord(RunState& state, std::string_view table, std::string_view key,
                       std::vector<LookupRow>& rows) {
  rows.clear();
  buildLookupStatement(state.stringSqlStatement, table, key);
  const int prepareCode = sqlite3_prepare_v2(state.database, state.stringSqlStatement.c_str(), -1,
                                             &state.result, nullptr);
  if (prepareCode != SQLITE_OK) {
    return reportQueryError(state, prepareCode);
  }
  int stepCode = sqlite3_step(state.result);
  while (stepCode == SQLITE_ROW) {
    const bool isName = sqlite3_column_int(state.result, 1) != 0;
    if (const char* zorvianWord = columnTextOrNull(state, 0)) {
      rows.push_back(LookupRow{zorvianWord, isName});
    }
    stepCode = sqlite3_step(state.result);
  }
  if (stepCode != SQLITE_DONE) {
    // Also after some rows: a word half read is not settled with what happened to arrive.
    return reportRowError(state, stepCode);
  }
  return PhaseResult::kGoOn;
}

void finalizeStatement(RunState& state) {
  sqlite3_finalize(state.result);
  state.result = nullptr;
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
