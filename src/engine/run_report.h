#pragma once

#include "app/phase_result.h"

namespace zrv {

struct RunState;

/// Writes state.unknownWordsSet to the unknown-words file, takes state.endTime and prints the
/// summary. Never halts.
PhaseResult writeRunReport(RunState& state);

}  // namespace zrv
