#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "app/phase_result.h"

namespace zrv {

struct RunState;

/// The database file, in the working directory; provisioning hashes, downloads and replaces it.
inline constexpr const char* kWordsDatabaseFile = "zrv_words.db";

/// One row of a word lookup, copied out of the statement before the next step.
struct LookupRow {
  std::string zorvianWord;
  bool isName = false;
};

/// Opens zrv_words.db into state.database (created empty if absent). On failure prints the open
/// line with SQLite's code and returns kHalt; the driver still closes the handle.
PhaseResult openWordsDatabase(RunState& state);

/// Finalizes a statement still in state.result, then closes state.database. Null handles do
/// nothing; the close's result is not examined.
void closeWordsDatabase(RunState& state);

/// Sets `statement` to the lookup's text for `table` and `key` (already escaped): the literal
/// statement, with the table and the key each written in twice.
void buildLookupStatement(std::string& statement, std::string_view table, std::string_view key);

/// Looks up `key` (already lower-cased and escaped) in `table`, filling `rows` with the rows of the
/// word's highest version, highest weight first; a row without a Zorvian form offers nothing and is
/// left out. The statement stays in state.result until finalizeStatement. On a SQLite failure
/// prints the report and returns kHalt.
PhaseResult lookupWord(RunState& state, std::string_view table, std::string_view key,
                       std::vector<LookupRow>& rows);

/// Finalizes the statement in state.result (a lookup once its word is written, or a count).
void finalizeStatement(RunState& state);

/// Prints the prepare-failure report (the statement text and the code); returns kHalt.
PhaseResult reportQueryError(RunState& state, int code);

/// Prints the step-failure report (the code); returns kHalt.
PhaseResult reportRowError(RunState& state, int code);

/// The text of SQLite column `column` of the current row, or nullptr for NULL. Copy it at once.
const char* columnTextOrNull(RunState& state, int column);

}  // namespace zrv
