#pragma once

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace httplib {
class Server;
}

namespace zrv::test {

/// One answer of the repository server to a GET request.
struct Reply {
  enum class Kind {
    kBody,        // `status` with `body`
    kRedirect,    // 302 to `location`
    kCutMidBody,  // announces body.size() + 1000 bytes, sends `body`, then drops the line
    kSilent,      // accepts the request and sends nothing until the server stops
  };
  Kind kind = Kind::kBody;
  int status = 200;
  std::string body;
  std::string location;

  static Reply ok(std::string body) { return {Kind::kBody, 200, std::move(body), {}}; }
  static Reply withStatus(int status, std::string body) {
    return {Kind::kBody, status, std::move(body), {}};
  }
  static Reply redirect(std::string location) {
    return {Kind::kRedirect, 302, {}, std::move(location)};
  }
  static Reply cutMidBody(std::string body) {
    return {Kind::kCutMidBody, 200, std::move(body), {}};
  }
  static Reply silent() { return {Kind::kSilent, 200, {}, {}}; }
};

/// A real HTTP server on loopback, in a thread of the test process, whose answers each test
/// scripts per path. An unscripted path answers 404. It counts the requests per path.
class RepositoryServer {
 public:
  /// The port the loopback build of the program fetches from.
  static int defaultPort();
  /// The request path of a repository file, e.g. "/2.0/repositories/.../master/db_hash.sha1".
  static std::string resourcePath(std::string_view file);

  /// Starts listening on 127.0.0.1:`port` (0 picks a free port).
  explicit RepositoryServer(int port = defaultPort());
  ~RepositoryServer();
  RepositoryServer(const RepositoryServer&) = delete;
  RepositoryServer& operator=(const RepositoryServer&) = delete;

  int port() const { return port_; }
  /// "http://127.0.0.1:<port>".
  std::string baseUrl() const;

  /// Requests for `path` get `first` in turn, then `then` for ever.
  void script(const std::string& path, std::vector<Reply> first, Reply then);
  /// Requests for `path` always get `reply`.
  void always(const std::string& path, Reply reply) { script(path, {}, std::move(reply)); }
  /// Serves `database` with its true digest (40 hex digits and LF) and tool version "1.3.0\n".
  void publish(const std::string& database, const std::string& toolVersion = "1.3.0\n");

  /// Requests received for `path` so far.
  int requests(const std::string& path) const;
  /// Requests for the repository file `file` ("db_hash.sha1", "zrv_words.db", ...).
  int fileRequests(std::string_view file) const { return requests(resourcePath(file)); }

 private:
  struct Script {
    std::vector<Reply> first;
    Reply then;
    std::size_t used = 0;
  };
  Reply nextReply(const std::string& path);

  std::unique_ptr<httplib::Server> server_;
  std::thread thread_;
  int port_ = 0;
  std::atomic<bool> stopping_{false};
  mutable std::mutex mutex_;
  std::map<std::string, Script> scripts_;
  std::map<std::string, int> requestCounts_;
};

}  // namespace zrv::test
