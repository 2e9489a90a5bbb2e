#pragma once

#include "app/phase_result.h"

namespace zrv {

struct RunState;

/// Counts the Zorvian forms of each of the 24 accent tables into
/// state.dbTableNamesToWordCountsMap (table name to decimal text), in the map's key order. The
/// first table whose count cannot be prepared or stepped is reported, and kHalt returned.
PhaseResult countTableEntries(RunState& state);

}  // namespace zrv
