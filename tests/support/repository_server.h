#pragma once

#include <atomic>
#include <chrono>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace httplib {
class Server;
struct Request;
}  // namespace httplib

namespace zrv::test {

/// One answer of the repository server to a GET request.
struct Reply {
  enum class Kind {
    kBody,        // `status` with `body`
    kRedirect,    // 302 to `location`
    kCutMidBody,  // announces body.size() + 1000 bytes, sends `body`, then drops the line
    kSilent,      // accepts the request and sends nothing until the server stops
    kEndless,     // 200 with `body` repeated without end, until the client goes
    kTrickle,     // 200 with `body`, `piece` bytes at a time with `pause` after each
  };
  Kind kind = Kind::kBody;
  int status = 200;
  std::string body;
  std::string location;
  std::string contentEncoding;  // sent as Content-Encoding when not empty (the body as it is)
  std::size_t piece = 0;
  std::chrono::milliseconds pause{0};

  static Reply ok(std::string body) { return make(Kind::kBody, std::move(body)); }
  static Reply withStatus(int status, std::string body) {
    Reply reply = make(Kind::kBody, std::move(body));
    reply.status = status;
    return reply;
  }
  static Reply redirect(std::string location) {
    Reply reply = make(Kind::kRedirect, {});
    reply.status = 302;
    reply.location = std::move(location);
    return reply;
  }
  static Reply cutMidBody(std::string body) { return make(Kind::kCutMidBody, std::move(body)); }
  static Reply silent() { return make(Kind::kSilent, {}); }
  static Reply endless(std::string repeated) { return make(Kind::kEndless, std::move(repeated)); }
  static Reply trickle(std::string body, std::size_t piece, std::chrono::milliseconds pause) {
    Reply reply = make(Kind::kTrickle, std::move(body));
    reply.piece = piece;
    reply.pause = pause;
    return reply;
  }
  /// `body`, already encoded, sent with "Content-Encoding: `encoding`".
  static Reply encoded(std::string encoding, std::string body) {
    Reply reply = make(Kind::kBody, std::move(body));
    reply.contentEncoding = std::move(encoding);
    return reply;
  }

 private:
  static Reply make(Kind kind, std::string body) {
    Reply reply;
    reply.kind = kind;
    reply.body = std::move(body);
    return reply;
  }
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
  /// The Accept-Encoding header of the last request for `path` ("" when it had none).
  std::string acceptEncoding(const std::string& path) const;

 private:
  struct Script {
    std::vector<Reply> first;
    Reply then;
    std::size_t used = 0;
  };
  Reply nextReply(const httplib::Request& request);

  std::unique_ptr<httplib::Server> server_;
  std::thread thread_;
  int port_ = 0;
  std::atomic<bool> stopping_{false};
  mutable std::mutex mutex_;
  std::map<std::string, Script> scripts_;
  std::map<std::string, int> requestCounts_;
  std::map<std::string, std::string> acceptEncodings_;
};

}  // namespace zrv::test
