#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace zrv::words_tool {

/// Exit statuses of the tool.
inline constexpr int kStatusDone = 0;
inline constexpr int kStatusFailed = 1;
inline constexpr int kStatusUsage = 2;

/// The help text that --help prints.
std::string helpText();

/// Runs one command of zorvian-words (`arguments` without the program name): build, publish or
/// serve, or the help. Reports go to `out`, errors to `err`. Returns kStatusDone, kStatusFailed
/// when the command failed, or kStatusUsage for a command line it does not understand.
int runWordsTool(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

}  // namespace zrv::words_tool
