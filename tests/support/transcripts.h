#pragma once

// Expected console texts of a run, written out literally (not taken from the program's constants)
// so that a changed message shows up as a failing transcript.

#include <map>
#include <string>

namespace zrv::test {

/// The banner, from its empty first line to the 65 hyphens.
std::string bannerText();
/// Provisioning when the local database equals the published one.
std::string upToDateText();
/// The input-file question up to its prompt.
std::string inputFileQuestionText();
/// The accent menu up to its prompt, with every table counting `count` (or as given in `counts`).
std::string accentMenuText(const std::map<std::string, std::string>& counts = {},
                           const std::string& count = "0");
/// The confirmation of `table` and the names question's prompt.
std::string accentChosenText(const std::string& table);
/// The counting lines, the start prompt and the starting line, for an input of `characters`.
std::string countAndStartText(unsigned long long characters);
/// Everything a run prints before the first progress line, when the input is input.txt, the
/// accent is 16 (US Midland) and the names question is answered: banner, up to date, questions.
std::string runStartText(unsigned long long characters, const std::string& count = "0",
                         const std::map<std::string, std::string>& counts = {});
/// What an ended input prints while a prompt waits for its answer: a line end, then the halt line.
std::string inputEndedText();
/// The standard answers that lead to runStartText: "1\n16\n<names>\ns\n".
std::string runStartAnswers(char names = 'y');

}  // namespace zrv::test
