#pragma once

#include "app/phase_result.h"

namespace zrv {

struct RunState;

/// Writes state.unknownWordsSet to the unknown-words file, takes state.endTime and prints the
/// summary. When the file does not take every entry, prints the unknown-words write halt line
/// instead of the summary and returns kHalt.
PhaseResult writeRunReport(RunState& state);

}  // namespace zrv
