#pragma once

#include "app/console.h"
#include "app/run_state.h"

namespace zrv {

/// Runs the whole tool once on `console`, against the words repository `repository`, in the
/// current working directory. Returns the exit status: 0 after a completed run, 1 after a halt.
int runTool(Console& console, const RepositorySettings& repository);

}  // namespace zrv
