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
    if (prepareStatement(state) == PhaseResult::kHalt) {
      return PhaseResult::kHalt;
    }
    const int stepCode = sqlite3_step(state.result.get());
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
    state.result.reset();
  }
  return PhaseResult::kGoOn;
}

}  // namespace zrv
