#pragma once

#include "app/console.h"
#include "app/phase_result.h"

namespace zrv {

struct RunState;

/// Prints the banner: an empty line, the title, the credits, the web address, the separator.
void printBanner(Console& console);

/// Prints the newer-version notice when provisioning found another published tool version.
/// Never halts.
PhaseResult printNewerVersionNotice(RunState& state);

}  // namespace zrv
