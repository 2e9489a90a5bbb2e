#pragma once

#include "app/phase_result.h"

namespace zrv {

struct RunState;

/// Shows the accent menu with the counts of state.dbTableNamesToWordCountsMap and asks for the
/// names policy; sets state.sqlTableToUse and state.transliterateNames. Returns kHalt only when
/// the input ends.
PhaseResult chooseAccentAndNames(RunState& state);

}  // namespace zrv
