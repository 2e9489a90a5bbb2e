#include "setup/input_file.h"

#include <filesystem>
#include <string>
#include <system_error>

#include "app/answers.h"
#include "app/messages.h"
#include "app/run_state.h"
#include "setup/input_path.h"
#include "setup/setup_messages.h"

namespace zrv {

namespace {

/// Opens `path` for reading and writing in text mode, neither creating nor truncating it, so a
/// missing file, anything but a regular file, or a file that may not be written is refused.
/// Returns false then.
bool openInputFile(std::fstream& stream, const std::string& path) {
  // A name with a NUL byte would be cut short at it and could open another file.
  if (path.find('\0') != std::string::npos) {
    return false;
  }
  // Only a regular file has an end: a FIFO opened for reading and writing would make the
  // character count wait for ever on the writer the program itself holds.
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) {
    return false;
  }
  stream.open(path, std::ios::in | std::ios::out);
  if (!stream.is_open()) {
    // The failed attempt must not leave its failbit on the stream for a later open.
    stream.clear();
    return false;
  }
  stream.clear();
  return true;
}

/// Asks for a path until one ends in ".txt" and can be opened; there is no way back to the
/// question. Returns kHalt only when the input ends.
PhaseResult askForCustomPath(RunState& state) {
  std::ostream& out = state.console.out;
  while (true) {
    out << std::endl << kPathRequest << std::endl << kPathPrompt;
    if (!readAnswer(state.console, state.inputFilePath)) {
      return PhaseResult::kHalt;
    }
    // A path too long to be kept whole is one that cannot be opened, whatever it ends with.
    if (isCutShort(state.inputFilePath)) {
      out << kPathCannotBeOpened << std::endl;
      continue;
    }
    if (!hasTextFileExtension(state.inputFilePath)) {
      out << kPathNotTxtFile << std::endl;
      continue;
    }
    if (!openInputFile(state.textFileReader, state.inputFilePath)) {
      out << kPathCannotBeOpened << std::endl;
      continue;
    }
    state.customFileName = baseNameOfFileName(fileNameOfPath(state.inputFilePath));
    return PhaseResult::kGoOn;
  }
}

}  // namespace

PhaseResult selectInputFile(RunState& state) {
  std::ostream& out = state.console.out;
  for (std::string_view line : kInputFileQuestionLines) {
    out << line << std::endl;
  }
  out << menuPrompt;
  while (true) {
    if (!readAnswer(state.console, state.inputFileChoice)) {
      return PhaseResult::kHalt;
    }
    if (state.inputFileChoice == kUseInputTxtAnswer) {
      if (!openInputFile(state.textFileReader, kDefaultInputFile)) {
        out << kHaltCannotOpenInputTxt << std::endl;
        return PhaseResult::kHalt;
      }
      state.customFileName = kDefaultBaseName;
      return PhaseResult::kGoOn;
    }
    if (state.inputFileChoice == kCustomFileAnswer) {
      return askForCustomPath(state);
    }
    // The question's three lines are not repeated, only the prompt.
    out << invalidOptionMessage << std::endl << menuPrompt;
  }
}

}  // namespace zrv
