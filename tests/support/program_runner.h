#pragma once

#include <sys/resource.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace zrv::test {

/// How one run of the real executable went.
struct ProgramResult {
  int status = -1;        // exit status, or -1 when it did not exit normally
  int signal = 0;         // the signal that ended it, if any
  bool timedOut = false;  // killed after the time limit
  std::string out;        // every byte it wrote to standard output
  // The child's resident set high-water mark (VmHWM) sampled while it runs, in KiB: the
  // program's own, not the forked copy of the test process that wait4 would count in.
  long peakResidentKiB = 0;
};

struct RunOptions {
  std::vector<std::string> arguments;   // command-line arguments (the program ignores them)
  std::optional<rlim_t> fileSizeLimit;  // RLIMIT_FSIZE for the child, in bytes
  int timeoutSeconds = 120;             // the child is killed after this long
  std::filesystem::path executable;     // defaults to the loopback build of the program
};

/// The program built against the test repository server on loopback.
std::filesystem::path loopbackExecutable();

/// Runs the program in `folder` with `input` as the whole of standard input (closed after it),
/// and returns its status and standard output.
ProgramResult runProgram(const std::filesystem::path& folder, const std::string& input,
                         const RunOptions& options = {});

/// One piece of a dialog typed in turn: once standard output holds `cue` (searched after the
/// previous stage's cue; an empty cue is met at once), `then` runs in the test process, if given,
/// and `input` is written.
struct InputStage {
  std::string cue;
  std::function<void()> then = {};
  std::string input = {};
};

/// Like runProgram, but writes standard input stage by stage, so that a test can change the
/// program's surroundings while it waits for an answer. Standard input is closed after the last
/// stage; a stage whose cue never comes is not run.
ProgramResult runProgramInStages(const std::filesystem::path& folder,
                                 const std::vector<InputStage>& stages,
                                 const RunOptions& options = {});

}  // namespace zrv::test
