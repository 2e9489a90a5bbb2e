#pragma once

#include "words/words_database.h"

namespace zrv {

struct RunState;

/// The local words database file, relative to the working directory: the file the run opens.
inline constexpr const char* kDatabaseFileName = kWordsDatabaseFile;

/// Appends every byte of the file open in state.dbFileReader to state.dbContents, then closes
/// the reader.
void readLocalDatabase(RunState& state);

/// Replaces kDatabaseFileName (through the link, when it is one) with the bytes of
/// state.curlResultDb in one durable step (AtomicFile), keeping its permission bits. A file
/// without any write permission bit, or one the user may not write, is not replaced. Returns
/// false, with the previous file untouched and no temporary file left, when it is not replaced or
/// a step fails.
bool storeDownloadedDatabase(RunState& state);

/// Removes the temporary files of stores that were interrupted. Call only under the
/// DatabaseLock, where no other run can be storing.
void removeInterruptedStores();

}  // namespace zrv
