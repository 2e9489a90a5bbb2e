#include "engine/run_report.h"

#include "app/run_state.h"

namespace zrv {

// Placeholder until the phase is written.
PhaseResult writeRunReport(RunState&) {
  return PhaseResult::kGoOn;
}

}  // namespace zrv
