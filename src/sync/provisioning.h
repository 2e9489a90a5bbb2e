#pragma once

#include "app/phase_result.h"

namespace zrv {

struct RunState;

/// Brings zrv_words.db up to date from the words repository: fetches the published digest,
/// downloads and stores a verified copy when the local file is missing or differs, and sets
/// state.newerToolVersionAvailable from the published tool version. Falls back to the local file
/// when the repository cannot be reached. Returns kHalt, after its lines and with the curl handle
/// released, when no usable database is left or a download cannot be stored.
PhaseResult provisionWordsDatabase(RunState& state);

}  // namespace zrv
