#include "engine/sentence_reader.h"

#include <cmath>
#include <ostream>
#include <streambuf>
#include <string>

#include "app/messages.h"
#include "app/run_state.h"
#include "app/stream_reading.h"
#include "app/text_filters.h"
#include "engine/engine_messages.h"
#include "engine/word_scanner.h"

namespace zrv {

namespace {

bool endsSentence(char character) {
  return character == '.' || character == '?' || character == '!';
}

void printProgressLineIfDue(RunState& state) {
  // The same double arithmetic as the count gives twenty lines for 20 characters or more: one at
  // the first character at or past each multiple of the step, and one at the last.
  const double read = static_cast<double>(state.charactersRead);
  if (std::fmod(read, state.progressStep) < 1.0 || state.charactersRead == state.totalCharacters) {
    const double percentage = read / static_cast<double>(state.totalCharacters) * 100.0;
    state.console.out << kProgressPrefix << percentage << "% (" << state.charactersRead << "/"
                      << state.totalCharacters << ")" << std::endl;
  }
}

PhaseResult haltOnOutputFailure(RunState& state) {
  state.console.out << kHaltCannotWriteOutput << std::endl;
  return PhaseResult::kHalt;
}

}  // namespace

PhaseResult transliterateInput(RunState& state) {
  state.progressStep = (static_cast<double>(state.totalCharacters) / 100.0) * 5.0;
  state.charactersRead = 0;
  state.currentSentence.clear();

  // Look at the next character, then take it: the way the character count read the file. A read
  // failure looks like the end of the input.
  std::streambuf& input = *state.textFileReader.rdbuf();
  constexpr auto kEnd = std::char_traits<char>::eof();
  while (peekCharacter(input) != kEnd) {
    state.currentCharacter = std::char_traits<char>::to_char_type(takeCharacter(input));
    state.charactersRead += 1;
    printProgressLineIfDue(state);

    state.currentSentence.push_back(state.currentCharacter);
    const bool inputEnds = peekCharacter(input) == kEnd;
    if (!endsSentence(state.currentCharacter) && !inputEnds) {
      continue;
    }
    // The space lets the scanner end the last word of the input; the output ends with it too.
    if (inputEnds) {
      state.currentSentence.push_back(' ');
    }
    state.currentSentence = normalizeApostrophes(std::move(state.currentSentence));
    if (transliterateSentence(state) == PhaseResult::kHalt) {
      return PhaseResult::kHalt;
    }
    state.currentSentence.clear();
    // A write that failed (a full disk, a file-size limit) has made the stream bad: the run stops
    // here, before it asks about words whose forms could no longer be written.
    if (!state.outputWriter) {
      return haltOnOutputFailure(state);
    }
  }
  // The final flush reports a write that fails only now.
  if (!state.outputWriter.flush()) {
    return haltOnOutputFailure(state);
  }
  return PhaseResult::kGoOn;
}

}  // namespace zrv
