#include "engine/run_report.h"

#include <chrono>
#include <ostream>

#include "app/messages.h"
#include "app/run_state.h"
#include "engine/engine_messages.h"

namespace zrv {

namespace {

/// Returns false as soon as the file has not taken an entry whole.
bool writeUnknownWordsFile(RunState& state) {
  // The set is ordered by byte value already; each entry is flushed as it is written.
  for (const std::string& entry : state.unknownWordsSet) {
    state.unknownWord = entry;
    if (!(state.unknownWords << state.unknownWord << std::endl)) {
      return false;
    }
  }
  return true;
}

void printSummary(RunState& state) {
  std::ostream& out = state.console.out;
  out << std::endl << kSummaryCompletedIn << state.secondsTaken;
  if (state.warningCount == 0) {
    out << kSummaryWrittenTo << state.customFileName << kSummaryOutputFolder << std::endl
        << std::endl;
    return;
  }
  out << kSummaryWith << state.warningCount << kSummaryWarningsAnd << std::endl
      << kSummaryWrittenToLine2 << state.customFileName << kSummaryPleaseCheck << std::endl
      << state.customFileName << kSummaryUnknownWordsFolder << std::endl
      << kSummaryLastLine << std::endl
      << std::endl;
}

}  // namespace

PhaseResult writeRunReport(RunState& state) {
  // A list cut short must not be announced as the words that could not be transliterated.
  if (!writeUnknownWordsFile(state)) {
    state.console.out << kHaltCannotWriteUnknownWords << std::endl;
    return PhaseResult::kHalt;
  }
  // The time covers the reading loop, the user's answers at choice prompts and the file above.
  state.endTime = std::chrono::steady_clock::now();
  state.secondsTaken = std::chrono::duration<double>(state.endTime - state.startTime).count();
  printSummary(state);
  return PhaseResult::kGoOn;
}

}  // namespace zrv
