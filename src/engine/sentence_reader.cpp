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
#include "words/words_database.h"

namespace zrv {

namespace {

bool endsSentence(char character) {
  return character == '.' || character == '?' || character == '!';
}

bool isProgressCount(std::uint64_t count, double step) {
  return std::fmod(static_cast<double>(count), step) < 1.0;
}

void printProgressLineIfDue(RunState& state) {
  // Twenty lines for 20 characters or more: one at the first character at or past each multiple
  // of the step, and one at the last.
  const bool stepReached = state.charactersRead == state.nextProgressLineAt;
  if (stepReached) {
    state.nextProgressLineAt = nextProgressLineAt(state.charactersRead, state.progressStep);
  }
  if (stepReached || state.charactersRead == state.totalCharacters) {
    const double read = static_cast<double>(state.charactersRead);
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

std::uint64_t nextProgressLineAt(std::uint64_t after, double step) {
  // Below a step of one character every count is due; a step of zero or NaN has none.
  if (!(step > 1.0)) {
    return step > 0.0 ? after + 1 : UINT64_MAX;
  }
  // fmod is exact: within each step's span [k * step, (k + 1) * step) the one due count is the
  // least integer at or past k * step. The double product only says where to look; fmod itself
  // settles the count, one character back or on.
  double span = std::floor(static_cast<double>(after) / step);
  double start = std::ceil(span * step);
  if (start <= static_cast<double>(after)) {
    start = std::ceil((span + 1.0) * step);
  }
  std::uint64_t count = after + 1;
  if (start > static_cast<double>(count) && start < 0x1p63) {
    count = static_cast<std::uint64_t>(start);
  }
  while (count - 1 > after && isProgressCount(count - 1, step)) {
    count -= 1;
  }
  while (!isProgressCount(count, step)) {
    count += 1;
  }
  return count;
}

PhaseResult transliterateInput(RunState& state) {
  prepareForLookups(state);
  state.progressStep = (static_cast<double>(state.totalCharacters) / 100.0) * 5.0;
  state.charactersRead = 0;
  state.nextProgressLineAt = nextProgressLineAt(0, state.progressStep);
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
