#include "engine/sentence_reader.h"

#include <cmath>
#include <ostream>
#include <streambuf>
#include <string>
#include <vector>

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

}  // namespace

PhaseResult transliterateInput(RunState& state) {
  state.progressStep = (static_cast<double>(state.totalCharacters) / 100.0) * 5.0;
  state.charactersRead = 0;
  state.currentSentence.clear();
  // One buffer for the rows of every lookup of the run.
  std::vector<LookupRow> rows;

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
    if (transliterateSentence(state, rows) == PhaseResult::kHalt) {
      return PhaseResult::kHalt;
    }
    state.currentSentence.clear();
  }
  // A write that failed has made the stream bad, and the final flush reports any that fails
  // now: the output file then lacks part of the text.
  if (!state.outputWriter.flush()) {
    state.console.out << kHaltCannotWriteOutput << std::endl;
    return PhaseResult::kHalt;
  }
  return PhaseResult::kGoOn;
}

}  // namespace zrv
