#pragma once

#include "words/words_database.h"

namespace zrv {

struct RunState;

/// The local words database file, relative to the working directory: the file the run opens.
inline constexpr const char* kDatabaseFileName = kWordsDatabaseFile;
/// Where a download is written before it replaces kDatabaseFileName.
inline constexpr const char* kDownloadFileName = "zrv_words.db.download";

/// Appends every byte of the file open in state.dbFileReader to state.dbContents, then closes
/// the reader.
void readLocalDatabase(RunState& state);

/// Replaces kDatabaseFileName with the bytes of state.curlResultDb: writes them to
/// kDownloadFileName through state.dbFileWriter, then renames that over the database file.
/// Returns false, with the temporary file removed and any previous database file untouched,
/// when a step fails (open, write, flush, close or rename).
bool storeDownloadedDatabase(RunState& state);

}  // namespace zrv
