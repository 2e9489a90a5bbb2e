#pragma once

#include "app/phase_result.h"

namespace zrv {

struct RunState;

/// Asks for the input file (input.txt or a typed .txt path) and opens state.textFileReader on it
/// for reading and writing; sets state.customFileName to its base name. Returns kHalt when
/// input.txt cannot be opened or the input ends.
PhaseResult selectInputFile(RunState& state);

}  // namespace zrv
