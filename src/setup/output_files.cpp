#include "setup/output_files.h"

#include <streambuf>
#include <string>

#include "app/answers.h"
#include "app/messages.h"
#include "app/run_state.h"
#include "app/stream_reading.h"
#include "setup/setup_messages.h"

namespace zrv {

namespace {

/// Creates or empties both result files; the folders are never created. Returns kHalt after
/// printing the line of the file that could not be opened.
PhaseResult createResultFiles(RunState& state) {
  std::ostream& out = state.console.out;
  state.finalOutputFileName =
      std::string(kOutputFilePrefix) + state.customFileName + std::string(kOutputFileSuffix);
  state.outputWriter.open(state.finalOutputFileName, std::ios::out | std::ios::trunc);
  if (!state.outputWriter.is_open()) {
    out << kHaltCannotCreateOutput << std::endl;
    return PhaseResult::kHalt;
  }
  state.finalUnknownWordsFileName = std::string(kUnknownWordsFilePrefix) + state.customFileName +
                                    std::string(kUnknownWordsFileSuffix);
  state.unknownWords.open(state.finalUnknownWordsFileName, std::ios::out | std::ios::trunc);
  if (!state.unknownWords.is_open()) {
    // The output file just created stays on disk, empty.
    out << kHaltCannotCreateUnknownWords << std::endl;
    return PhaseResult::kHalt;
  }
  return PhaseResult::kGoOn;
}

/// Counts the characters the sentence reader will take from the input, then puts the stream
/// back at the first one. The count goes through the stream's buffer in blocks, so it sees
/// exactly what peek and get would deliver; a read error ends it like the end of the file.
void countAndRewindInput(RunState& state) {
  std::fstream& input = state.textFileReader;
  std::streambuf* buffer = input.rdbuf();
  char block[1 << 16];
  state.totalCharacters = 0;
  std::streamsize got = 0;
  while ((got = takeBlock(*buffer, block, sizeof block)) > 0) {
    state.totalCharacters += static_cast<std::uint64_t>(got);
  }
  input.clear();
  input.seekg(0, std::ios::beg);
}

}  // namespace

PhaseResult prepareOutputAndStart(RunState& state) {
  std::ostream& out = state.console.out;
  if (createResultFiles(state) == PhaseResult::kHalt) {
    return PhaseResult::kHalt;
  }

  out << kCountingCharacters << std::endl;
  countAndRewindInput(state);
  out << kTotalCharacters << state.totalCharacters << std::endl << std::endl;

  // Any other answer prints the whole prompt again, without an invalid-option line.
  state.keyPressed.clear();
  while (state.keyPressed != "s" && state.keyPressed != "S") {
    out << kStartPrompt;
    state.keyPressed.clear();
    if (!readAnswer(state.console, state.keyPressed)) {
      return PhaseResult::kHalt;
    }
  }
  out << std::endl << kStartingTransliteration << std::endl;
  // The dialogs and the count are not part of the measured time.
  state.startTime = std::chrono::steady_clock::now();
  return PhaseResult::kGoOn;
}

}  // namespace zrv
