#include "static_server.h"

#include <httplib.h>
#include <pthread.h>
#include <signal.h>
#include <strings.h>
#include <sys/socket.h>

#include <atomic>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>
#include <thread>

#include "publisher.h"

namespace zrv::words_tool {

namespace {

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
    text.remove_prefix(1);
  }
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
    text.remove_suffix(1);
  }
  return text;
}

bool sameToken(std::string_view a, std::string_view b) {
  return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

/// The file below `root` that a request path names, or an empty path when it names none (a
/// path that climbs out with "..").
std::filesystem::path fileOfRequest(const std::filesystem::path& root, std::string_view path) {
  if (path.empty() || path.front() != '/') {
    return {};
  }
  std::filesystem::path file = root;
  while (!path.empty()) {
    path.remove_prefix(1);
    const std::size_t end = std::min(path.find('/'), path.size());
    const std::string_view segment = path.substr(0, end);
    if (segment == ".." || segment.find('\0') != std::string_view::npos) {
      return {};
    }
    if (!segment.empty() && segment != ".") {
      file /= std::string(segment);
    }
    path.remove_prefix(end);
  }
  return file;
}

/// Answers a GET or HEAD of a file that has a precompressed copy the request accepts with that
/// copy; leaves every other request to the mount point, which sends files as they are.
httplib::Server::HandlerResponse servePrecompressed(const std::filesystem::path& root,
                                                    const httplib::Request& request,
                                                    httplib::Response& response) {
  using Outcome = httplib::Server::HandlerResponse;
  const std::string accepted = request.get_header_value("Accept-Encoding");
  if ((request.method != "GET" && request.method != "HEAD") || accepted.empty()) {
    return Outcome::Unhandled;
  }
  const std::filesystem::path file = fileOfRequest(root, request.path);
  std::error_code ec;
  if (file.empty() || !std::filesystem::is_regular_file(file, ec)) {
    return Outcome::Unhandled;
  }
  for (const PrecompressedFormat& format : kPrecompressedFormats) {
    std::filesystem::path copy = file;
    copy += format.suffix;
    if (!acceptsEncoding(accepted, format.encoding) ||
        !std::filesystem::is_regular_file(copy, ec)) {
      continue;
    }
    std::ifstream in(copy, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (!in.good() && !in.eof()) {
      continue;
    }
    response.set_content(std::move(bytes).str(), "application/octet-stream");
    response.set_header("Content-Encoding", std::string(format.encoding));
    response.set_header("Vary", "Accept-Encoding");
    return Outcome::Handled;
  }
  return Outcome::Unhandled;
}

}  // namespace

bool acceptsEncoding(std::string_view acceptEncoding, std::string_view encoding) {
  double named = -1;
  double any = -1;
  while (!acceptEncoding.empty()) {
    const std::size_t comma = std::min(acceptEncoding.find(','), acceptEncoding.size());
    std::string_view item = acceptEncoding.substr(0, comma);
    acceptEncoding.remove_prefix(std::min(comma + 1, acceptEncoding.size()));
    const std::size_t semicolon = std::min(item.find(';'), item.size());
    const std::string_view name = trimmed(item.substr(0, semicolon));
    double quality = 1;
    std::string_view parameters = item.substr(semicolon);
    if (const std::size_t q = parameters.find("q="); q != std::string_view::npos) {
      quality = std::strtod(std::string(parameters.substr(q + 2)).c_str(), nullptr);
    }
    if (sameToken(name, encoding)) {
      named = quality;
    } else if (name == "*") {
      any = quality;
    }
  }
  return (named >= 0 ? named : any) > 0;
}

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
  server_->set_pre_routing_handler(
      [root](const httplib::Request& request, httplib::Response& response) {
        return servePrecompressed(root, request, response);
      });
  // Caches must keep the plain and the compressed answers of one address apart.
  server_->set_file_request_handler([](const httplib::Request&, httplib::Response& response) {
    response.set_header("Vary", "Accept-Encoding");
  });
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
