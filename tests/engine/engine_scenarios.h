#pragma once

// Whole transliterations, from the first progress line to the summary, that the engine must
// reproduce byte for byte: once in-process against the engine's phases, once through the real
// executable after the setup dialog.

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "words_db_builder.h"

namespace zrv::test {

struct EngineScenario {
  std::string name = {};                            // a test name: letters and digits only
  std::function<void(WordsDbBuilder&)> words = {};  // the rows of the words database
  char names = 'y';                                 // the answer to the names question
  std::string input = {};                           // the bytes of input.txt
  std::string promptAnswers = {};                   // standard input after the start answer
  std::string transcript = {};                      // standard output after the starting line
  std::string output = {};                          // the output file
  std::string unknownWords = {};                    // the unknown-words file
  bool halts = false;                               // the run ends with the halt
};

/// Names the scenario in test messages.
void PrintTo(const EngineScenario& scenario, std::ostream* out);

/// The progress lines of characters first..last of an input of `total` characters, by the rule
/// itself; the progress scenarios pin the rule down with literal lines.
std::string progress(unsigned long long total, unsigned long long first, unsigned long long last);
/// Every progress line of `input`.
std::string progress(const std::string& input);
/// The could-not-find warning for `word`.
std::string warning(const std::string& word);
/// The summary of a run with `warnings` warnings, its seconds written "<seconds>".
std::string summary(unsigned long long warnings);

/// Every scenario; the elapsed seconds of a summary stand as "<seconds>".
const std::vector<EngineScenario>& engineScenarios();

/// `consoleText` with the elapsed seconds of its summary replaced by "<seconds>"; fails the test
/// when the seconds are not a number in the stream's default form.
std::string withSecondsMasked(const std::string& consoleText);

}  // namespace zrv::test
