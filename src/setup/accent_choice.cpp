#include "setup/accent_choice.h"

#include "app/run_state.h"

namespace zrv {

// Placeholder until the phase is written.
PhaseResult chooseAccentAndNames(RunState&) {
  return PhaseResult::kGoOn;
}

}  // namespace zrv
