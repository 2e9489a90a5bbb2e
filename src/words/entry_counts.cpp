#include "words/entry_counts.h"

#include "app/run_state.h"
#include "words/accent_catalog.h"
#include "words/words_database.h"

namespace zrv {

PhaseResult countTableEntries(RunState& state) {
  auto& counts = state.dbTableNamesToWordCountsMap;
  counts.clear();
  for (const AccentTable& accent : accentCatalog) {
    counts.emplace(std::string(accent.tableName), "0");
  }
  // The map's byte order, not the menu order, decides which missing table is reported first.
  for (auto& [tableName, count] : counts) {
    state.stringSqlStatement = "SELECT COUNT(zorvian_word) FROM " + tableName + ";";
    const int prepareCode = sqlite3_prepare_v2(state.database, state.stringSqlStatement.c_str(), -1,
                                               &state.result, nullptr);
    if (prepareCode != SQLITE_OK) {
      return reportQueryError(state, prepareCode);
    }
    const int stepCode = sqlite3_step(state.result);
    if (stepCode != SQLITE_ROW && stepCode != SQLITE_DONE) {
      return reportRowError(state, stepCode);
    }
    // Without a row, or with a NULL count, the table keeps its "0".
    if (stepCode == SQLITE_ROW) {
      if (const char* text = columnTextOrNull(state, 0)) {
        state.currentTableWordCountString = text;
        count = state.currentTableWordCountString;
      }
    }
    finalizeStatement(state);
  }
  return PhaseResult::kGoOn;
}

}  // namespace zrv
