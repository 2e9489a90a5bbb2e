#pragma once

#include "app/phase_result.h"

namespace zrv {

struct RunState;

/// Creates the output and unknown-words files named after state.customFileName, counts the
/// input's characters into state.totalCharacters and rewinds it, waits for the start answer and
/// takes state.startTime. Returns kHalt when a result file cannot be created or the input ends.
PhaseResult prepareOutputAndStart(RunState& state);

}  // namespace zrv
