#include "program_runner.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fstream>

namespace zrv::test {

namespace {

/// The high-water mark of the resident set of a running process, in KiB, or 0.
long residentHighWaterKb(pid_t process) {
  std::ifstream status("/proc/" + std::to_string(process) + "/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmHWM:", 0) == 0) {
      return std::atol(line.c_str() + 6);
    }
  }
  return 0;
}

}  // namespace

std::filesystem::path loopbackExecutable() {
  return ZRV_LOOPBACK_EXECUTABLE;
}

ProgramResult runProgram(const std::filesystem::path& folder, const std::string& input,
                         const RunOptions& options) {
  return runProgramInStages(folder, {InputStage{"", {}, input}}, options);
}

ProgramResult runProgramInStages(const std::filesystem::path& folder,
                                 const std::vector<InputStage>& stages, const RunOptions& options) {
  // A child that exits before reading all its input must not kill the test with SIGPIPE.
  std::signal(SIGPIPE, SIG_IGN);
  const std::filesystem::path executable =
      options.executable.empty() ? loopbackExecutable() : options.executable;
  int toChild[2];
  int fromChild[2];
  if (pipe2(toChild, O_CLOEXEC) != 0 || pipe2(fromChild, O_CLOEXEC) != 0) {
    ADD_FAILURE() << "pipe: " << std::strerror(errno);
    return {};
  }
  std::vector<std::string> argv{executable.string()};
  argv.insert(argv.end(), options.arguments.begin(), options.arguments.end());

  const pid_t child = fork();
  if (child == 0) {
    dup2(toChild[0], STDIN_FILENO);
    dup2(fromChild[1], STDOUT_FILENO);
    if (options.fileSizeLimit) {
      rlimit limit{*options.fileSizeLimit, *options.fileSizeLimit};
      setrlimit(RLIMIT_FSIZE, &limit);
    }
    if (chdir(folder.c_str()) != 0) {
      _exit(126);
    }
    std::vector<char*> args;
    for (std::string& arg : argv) {
      args.push_back(arg.data());
    }
    args.push_back(nullptr);
    execv(args[0], args.data());
    _exit(127);
  }
  close(toChild[0]);
  close(fromChild[1]);

  ProgramResult result;
  int inFd = toChild[1];
  fcntl(inFd, F_SETFL, O_NONBLOCK);
  std::size_t nextStage = 0;
  std::size_t cueSearchFrom = 0;
  const std::string* pending = nullptr;  // the input of the stage being written
  std::size_t written = 0;
  // Starts every stage whose cue the output already holds, as long as nothing is left to write;
  // after the last stage standard input is closed.
  auto startStages = [&] {
    while (inFd >= 0 && (pending == nullptr || written == pending->size())) {
      if (nextStage == stages.size()) {
        close(inFd);
        inFd = -1;
        return;
      }
      const InputStage& stage = stages[nextStage];
      const std::size_t at = result.out.find(stage.cue, cueSearchFrom);
      if (at == std::string::npos) {
        return;
      }
      cueSearchFrom = at + stage.cue.size();
      if (stage.then) {
        stage.then();
      }
      pending = &stage.input;
      written = 0;
      ++nextStage;
    }
  };
  startStages();

  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::seconds(options.timeoutSeconds);
  bool outOpen = true;
  while (outOpen) {
    const bool writing = inFd >= 0 && pending != nullptr && written < pending->size();
    pollfd fds[2] = {{fromChild[0], POLLIN, 0}, {inFd, POLLOUT, 0}};
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) {
      kill(child, SIGKILL);
      result.timedOut = true;
      break;
    }
    // Woken often enough to follow the child's memory: the mark only grows, so the last reading
    // before it ends is its peak. Before its first output the child may not have replaced the
    // copy of this process yet, whose size is not its own.
    if (poll(fds, writing ? 2 : 1, static_cast<int>(std::min<long>(left.count(), 20))) < 0 &&
        errno != EINTR) {
      break;
    }
    if (!result.out.empty()) {
      result.peakResidentKiB = std::max(result.peakResidentKiB, residentHighWaterKb(child));
    }
    if (fds[0].revents & (POLLIN | POLLHUP | POLLERR)) {
      char buffer[65536];
      const ssize_t got = read(fromChild[0], buffer, sizeof buffer);
      if (got > 0) {
        result.out.append(buffer, static_cast<std::size_t>(got));
      } else if (got == 0 || errno != EINTR) {
        outOpen = false;
      }
    }
    if (writing && (fds[1].revents & (POLLOUT | POLLERR | POLLHUP))) {
      const ssize_t put = write(inFd, pending->data() + written, pending->size() - written);
      if (put > 0) {
        written += static_cast<std::size_t>(put);
      }
      if (put < 0 && errno != EAGAIN) {
        close(inFd);
        inFd = -1;
      }
    }
    startStages();
  }
  if (inFd >= 0) {
    close(inFd);
  }
  close(fromChild[0]);
  int status = 0;
  waitpid(child, &status, 0);
  if (WIFEXITED(status)) {
    result.status = WEXITSTATUS(status);
  } else if (WIFSIGNALED(status)) {
    result.signal = WTERMSIG(status);
  }
  return result;
}

}  // namespace zrv::test
