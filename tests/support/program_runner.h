#pragma once

#include <sys/resource.h>

#include <filesystem>
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

}  // namespace zrv::test
