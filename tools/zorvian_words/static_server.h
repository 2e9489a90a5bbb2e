#pragma once

#include <atomic>
#include <filesystem>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>

namespace httplib {
class Server;
}

namespace zrv::words_tool {

/// The address the server binds: loopback only, so nothing outside this machine can reach it.
inline constexpr const char* kLoopbackAddress = "127.0.0.1";

/// Whether an Accept-Encoding header value accepts the content coding `encoding` ("gzip", "br"):
/// named, or matched by "*", with a quality above 0. Names are compared without regard to case.
bool acceptsEncoding(std::string_view acceptEncoding, std::string_view encoding);

/// A static HTTP server for a repository folder: GET and HEAD of any file below the root return
/// its bytes unchanged, or, when the request accepts it, the bytes of a precompressed copy beside
/// it (kPrecompressedFormats: "<file>.zst", "<file>.br", "<file>.gz") with its Content-Encoding;
/// anything else is 404. One object serves once.
class StaticServer {
 public:
  StaticServer();
  ~StaticServer();
  StaticServer(const StaticServer&) = delete;
  StaticServer& operator=(const StaticServer&) = delete;

  /// Binds kLoopbackAddress:`port` (0 picks a free port) for the files under `root`. Returns false
  /// with `error` when the root is no folder or the port cannot be bound.
  bool bind(const std::filesystem::path& root, int port, std::string& error);
  /// The bound port; 0 before a successful bind.
  int port() const { return port_; }
  /// Answers requests until stop(); blocks. Returns false when the server could not run or was
  /// stopped before it started.
  bool serve();
  /// Ends serve() from another thread and returns once it has ended; a later serve() returns at
  /// once. Harmless when the server is not running.
  void stop();

 private:
  std::unique_ptr<httplib::Server> server_;
  int port_ = 0;
  std::atomic<bool> serving_ = false;
  std::atomic<bool> stopRequested_ = false;
};

/// The serve command: binds, prints "Serving <root> at http://127.0.0.1:<port>" to `out` and
/// answers until SIGINT or SIGTERM arrives, then prints "Stopped." and returns 0. Returns 1, with
/// the reason on `err`, when the server cannot bind or run.
int serveUntilSignalled(const std::filesystem::path& root, int port, std::ostream& out,
                        std::ostream& err);

}  // namespace zrv::words_tool
