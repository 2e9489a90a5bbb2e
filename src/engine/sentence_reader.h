#pragma once

#include "app/phase_result.h"

namespace zrv {

struct RunState;

/// Reads state.textFileReader to its end, printing progress every five per cent, and hands each
/// sentence to the word scanner, which writes the output file. Returns kHalt when a lookup fails,
/// the input ends at a choice prompt, or the output file cannot take the whole text.
PhaseResult transliterateInput(RunState& state);

}  // namespace zrv
