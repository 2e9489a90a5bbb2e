#pragma once

#include <cstdint>

#include "app/phase_result.h"

namespace zrv {

struct RunState;

/// Reads state.textFileReader to its end, printing progress every five per cent, and hands each
/// sentence to the word scanner, which writes the output file. Returns kHalt when a lookup fails,
/// the input ends at a choice prompt, or the output file cannot take the whole text.
PhaseResult transliterateInput(RunState& state);

/// The least character count past `after` at which a progress line is due: one for which
/// std::fmod(count, step) < 1, the first count at or past each multiple of the step. Worked out
/// once per line instead of a division at every character, with the same result for every count.
std::uint64_t nextProgressLineAt(std::uint64_t after, double step);

}  // namespace zrv
