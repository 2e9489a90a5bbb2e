#include "setup/output_files.h"

#include "app/run_state.h"

namespace zrv {

// Placeholder until the phase is written.
PhaseResult prepareOutputAndStart(RunState&) {
  return PhaseResult::kGoOn;
}

}  // namespace zrv
