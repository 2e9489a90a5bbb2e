#include "static_server.h"

#include <httplib.h>
#include <pthread.h>
#include <signal.h>
#include <sys/socket.h>

#include <atomic>
#include <ctime>
#include <thread>

namespace zrv::words_tool {

StaticServer::StaticServer() : server_(std::make_unique<httplib::Server>()) {}

StaticServer::~StaticServer() = default;

bool StaticServer::bind(const std::filesystem::path& root, int port, std::string& error) {
  std::error_code ec;
  if (!std::filesystem::is_directory(root, ec)) {
    error = "no folder to serve at " + root.string();
    return false;
  }
  if (!server_->set_mount_point("/", root.string())) {
    error = "cannot serve " + root.string();
    return false;
  }
  // The server compresses text types for clients that accept it; as octet streams the published
  // files go out exactly as they lie on disk, whatever the client asks for.
  for (const char* extension : {"db", "sha1", "txt"}) {
    server_->set_file_extension_and_mimetype_mapping(extension, "application/octet-stream");
  }
  // The library's default also sets SO_REUSEPORT, which would let a second server share the port
  // with a stale one; only SO_REUSEADDR is kept, so a restart need not wait out TIME_WAIT.
  server_->set_socket_options([](socket_t socket) {
    int yes = 1;
    setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  });
  if (port == 0) {
    port_ = server_->bind_to_any_port(kLoopbackAddress);
  } else if (server_->bind_to_port(kLoopbackAddress, port)) {
    port_ = port;
  }
  if (port_ <= 0) {
    port_ = 0;
    error = "cannot bind " + std::string(kLoopbackAddress) + ":" + std::to_string(port);
    return false;
  }
  return true;
}

bool StaticServer::serve() {
  serving_ = true;
  const bool served = port_ > 0 && !stopRequested_ && server_->listen_after_bind();
  serving_ = false;
  return served;
}

void StaticServer::stop() {
  stopRequested_ = true;
  // The library ignores a stop that comes before its listener runs, and must not be stopped twice:
  // wait for it to run, stop it once, wait for serve() to return.
  const timespec pollInterval{0, 5'000'000};
  bool stopped = false;
  while (serving_) {
    if (!stopped && server_->is_running()) {
      server_->stop();
      stopped = true;
    }
    nanosleep(&pollInterval, nullptr);
  }
}

int serveUntilSignalled(const std::filesystem::path& root, int port, std::ostream& out,
                        std::ostream& err) {
  // The signals are taken by sigtimedwait below; blocked before the server starts its threads, so
  // none of them receives one.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  sigset_t previous;
  pthread_sigmask(SIG_BLOCK, &stopSignals, &previous);

  StaticServer server;
  std::string error;
  if (!server.bind(root, port, error)) {
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    err << "zorvian-words: " << error << std::endl;
    return 1;
  }
  out << "Serving " << root.string() << " at http://" << kLoopbackAddress << ":" << server.port()
      << std::endl;
  std::atomic<bool> ended = false;
  bool served = true;
  std::thread listener([&] {
    served = server.serve();
    ended = true;
  });
  bool signalled = false;
  const timespec pollInterval{0, 200'000'000};
  while (!signalled && !ended) {
    const int got = sigtimedwait(&stopSignals, nullptr, &pollInterval);
    signalled = got == SIGINT || got == SIGTERM;
  }
  server.stop();
  listener.join();
  pthread_sigmask(SIG_SETMASK, &previous, nullptr);
  if (!signalled && !served) {
    err << "zorvian-words: the server stopped unexpectedly" << std::endl;
    return 1;
  }
  out << "Stopped." << std::endl;
  return 0;
}

}  // namespace zrv::words_tool
