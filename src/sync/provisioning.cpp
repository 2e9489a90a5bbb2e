#include "sync/provisioning.h"

#include "app/run_state.h"

namespace zrv {

// Placeholder until the phase is written.
PhaseResult provisionWordsDatabase(RunState&) {
  return PhaseResult::kGoOn;
}

}  // namespace zrv
