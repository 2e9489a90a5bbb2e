#include "engine/sentence_reader.h"

#include "app/run_state.h"

namespace zrv {

// Placeholder until the phase is written.
PhaseResult transliterateInput(RunState&) {
  return PhaseResult::kGoOn;
}

}  // namespace zrv
