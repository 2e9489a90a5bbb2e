#include "setup/input_file.h"

#include "app/run_state.h"

namespace zrv {

// Placeholder until the phase is written.
PhaseResult selectInputFile(RunState&) {
  return PhaseResult::kGoOn;
}

}  // namespace zrv
