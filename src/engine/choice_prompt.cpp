#include "engine/choice_prompt.h"

#include <ostream>
#include <string>

#include "app/answers.h"
#include "app/messages.h"
#include "app/run_state.h"
#include "engine/engine_messages.h"

namespace zrv {

namespace {

// The "C" locale's white space; bytes of 80 hexadecimal and above never count.
constexpr const char* kLeadingWhitespace = " \t\n\v\f\r";

void markCurrentWord(RunState& state) {
  std::string& marked = state.currentSentenceWithArrows;
  marked = state.currentSentence;
  // The word's bytes lie right before its delimiter.
  const std::size_t wordStart = state.positionInSentence - state.currentWord.size() - 1;
  marked.insert(wordStart, kWordStartArrow);
  // positionInSentence - 1 is the delimiter's offset; the start arrow moved it on by three.
  marked.insert(state.positionInSentence + 2, kWordEndArrow);
  // The text holds the arrows, so some byte is not white space.
  marked.erase(0, marked.find_first_not_of(kLeadingWhitespace));
}

/// Writes a candidate from the database with its control bytes (below 20 hexadecimal, tab
/// excepted) as visible escapes such as \x1b, so that no form can drive the terminal.
void writeVisibly(std::ostream& out, const std::string& candidate) {
  static constexpr char kHexDigits[] = "0123456789abcdef";
  for (const char byte : candidate) {
    const auto value = static_cast<unsigned char>(byte);
    if (value < 0x20 && byte != '\t') {
      const char escape[] = {'\\', 'x', kHexDigits[value >> 4], kHexDigits[value & 0xF]};
      out.write(escape, sizeof escape);
    } else {
      out.put(byte);
    }
  }
}

void printPrompt(RunState& state) {
  std::ostream& out = state.console.out;
  out << std::endl;
  out << kChoiceHeading << std::endl;
  out << '"' << state.currentWord << '"' << std::endl << std::endl;
  out << kChoiceContextHeading << std::endl;
  out << '"' << state.currentSentenceWithArrows << '"' << std::endl << std::endl;
  out << separatorLine << std::endl;
  for (const auto& [option, candidate] : state.zrvWordOptionsMap) {
    out << option << kChoiceOptionSeparator;
    writeVisibly(out, candidate);
    out << std::endl;
  }
  out << separatorLine << std::endl;
  out << std::endl;
  out << kChoicePrompt << std::flush;
}

}  // namespace

PhaseResult chooseTransliteration(RunState& state) {
  markCurrentWord(state);
  printPrompt(state);

  std::ostream& out = state.console.out;
  if (!readAnswer(state.console, state.userTransliterationSelection)) {
    return PhaseResult::kHalt;
  }
  auto mapResult = state.zrvWordOptionsMap.find(state.userTransliterationSelection);
  while (mapResult == state.zrvWordOptionsMap.end()) {
    out << invalidOptionMessage << std::endl << menuPrompt << std::flush;
    if (!readAnswer(state.console, state.userTransliterationSelection)) {
      return PhaseResult::kHalt;
    }
    mapResult = state.zrvWordOptionsMap.find(state.userTransliterationSelection);
  }
  state.currentZrvWord = mapResult->second;

  out << std::endl << kChoiceContinuing << std::endl;
  return PhaseResult::kGoOn;
}

}  // namespace zrv
