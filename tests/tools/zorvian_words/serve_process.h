#pragma once

#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>

namespace zrv::words_tool {

// `zorvian-words serve` as a child process whose standard output the test reads line by line.
class ServeProcess {
 public:
  ServeProcess(const std::filesystem::path& tool, const std::filesystem::path& root, int port = 0) {
    const std::string portText = std::to_string(port);
    int pipeEnds[2];
    EXPECT_EQ(pipe(pipeEnds), 0);
    pid_ = fork();
    if (pid_ == 0) {
      dup2(pipeEnds[1], STDOUT_FILENO);
      close(pipeEnds[0]);
      close(pipeEnds[1]);
      execl(tool.c_str(), tool.c_str(), "serve", "--root", root.c_str(), "--port", portText.c_str(),
            static_cast<char*>(nullptr));
      _exit(127);
    }
    close(pipeEnds[1]);
    out_ = pipeEnds[0];
  }
  ~ServeProcess() {
    if (pid_ > 0 && !waited_) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
    close(out_);
  }

  // The next line of its output, without the line end; "" when none comes within a minute.
  std::string readLine() {
    std::string line;
    char c = 0;
    pollfd ready{out_, POLLIN, 0};
    while (poll(&ready, 1, 60'000) == 1 && read(out_, &c, 1) == 1) {
      if (c == '\n') {
        return line;
      }
      line += c;
    }
    return line;
  }

  // Sends the signal and returns the exit status, or -1 when it did not exit by itself.
  int stopWith(int signal) {
    kill(pid_, signal);
    int status = 0;
    waitpid(pid_, &status, 0);
    waited_ = true;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

 private:
  pid_t pid_ = -1;
  int out_ = -1;
  bool waited_ = false;
};

}  // namespace zrv::words_tool
