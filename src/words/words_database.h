#pragma once

#include <chrono>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "app/phase_result.h"
#include "words/lookup_cache.h"

namespace zrv {

struct RunState;

/// The database file, in the working directory; provisioning hashes, downloads and replaces it.
inline constexpr const char* kWordsDatabaseFile = "zrv_words.db";

/// The longest text the connection reads from a value: an English word or a Zorvian form is a
/// few dozen bytes, and a database that holds a longer value fails the step that meets it.
inline constexpr int kValueByteLimit = 8192;

/// The virtual-machine instructions one statement may run, its schema reading included, before
/// it is interrupted: about 13 times what a count over every row of a full 24-table database of
/// 5 million rows takes, and far more than any lookup in an indexed table.
inline constexpr std::uint64_t kStatementInstructionBudget = 200'000'000;

/// The time one statement may run before it is interrupted. Reading a schema of hundreds of
/// thousands of entries costs SQLite far more time than its instruction count shows, so the count
/// alone would not bound it; a count over a full table takes some 25 ms.
inline constexpr std::chrono::seconds kStatementTimeBudget{10};

/// The connection's page cache: one accent table of the full database (about 6 MB) stays in it
/// for the whole text, where SQLite's default 2 MB would read its pages again and again.
inline constexpr int kPageCacheKiB = 16 * 1024;

/// Opens zrv_words.db into state.database (created empty if absent), as an untrusted file:
/// SQLite's defensive mode, no trusted schema, views and triggers switched off (a view named like
/// an accent table fails its prepare as a missing table does), cell size checks, values of at
/// most kValueByteLimit bytes, and every statement bounded by
/// kStatementInstructionBudget and kStatementTimeBudget (an interrupted statement fails with
/// SQLITE_INTERRUPT). On failure prints the open line with SQLite's code and returns kHalt; the
/// driver still closes the handle.
PhaseResult openWordsDatabase(RunState& state);

/// Readies state.database for the lookups of the text: a page cache of kPageCacheKiB, and one
/// read transaction, so that SQLite takes its file lock and checks the file's change counter once
/// instead of at every statement; the close ends it. Each step is bounded like a statement, and
/// one that fails leaves the lookups to run as they would without it.
void prepareForLookups(RunState& state);

/// Releases the statement still in state.result, then closes state.database. Null handles do
/// nothing; the close's result is not examined.
void closeWordsDatabase(RunState& state);

/// Sets `statement` to the lookup's text for `table` and `key` (already escaped): the literal
/// statement, with the table and the key each written in twice.
void buildLookupStatement(std::string& statement, std::string_view table, std::string_view key);

/// Prepares state.stringSqlStatement into state.result, with a fresh instruction budget. On
/// failure prints the query report and returns kHalt.
PhaseResult prepareStatement(RunState& state);

/// Looks up `key` (already lower-cased and escaped) in `table`: `rows` shows the rows of the
/// word's highest version, highest weight first; a row without a Zorvian form offers nothing and
/// is left out. The first lookup of a key runs the literal statement, which stays in state.result
/// until the caller releases it; its rows are then kept in state.lookupCache, and a later lookup
/// of the same key is answered from there without a statement. A key longer than a value can be
/// has no row and needs no statement. `rows` stays valid until the next lookup. On a SQLite
/// failure prints the report and returns kHalt, and nothing of the key is kept.
PhaseResult lookupWord(RunState& state, std::string_view table, std::string_view key,
                       std::span<const LookupRow>& rows);

/// Prints the prepare-failure report (the statement text and the code); returns kHalt.
PhaseResult reportQueryError(RunState& state, int code);

/// Prints the step-failure report (the code); returns kHalt.
PhaseResult reportRowError(RunState& state, int code);

/// The text of SQLite column `column` of the current row, or nullptr for NULL. Copy it at once.
const char* columnTextOrNull(RunState& state, int column);

}  // namespace zrv
