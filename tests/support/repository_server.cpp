#include "repository_server.h"

#include <gtest/gtest.h>
#include <httplib.h>
#include <sys/socket.h>

#include <algorithm>
#include <chrono>

#include "sync/repository_layout.h"
#include "sync/sha1/sha1wrapper.h"

namespace zrv::test {

int RepositoryServer::defaultPort() {
  return ZRV_TEST_PORT;
}

std::string RepositoryServer::resourcePath(std::string_view file) {
  return "/" + std::string(kRepositoryFolder) + "/" + std::string(file);
}

RepositoryServer::RepositoryServer(int port) : server_(std::make_unique<httplib::Server>()) {
  server_->Get(".*", [this](const httplib::Request& request, httplib::Response& response) {
    const Reply reply = nextReply(request);
    if (!reply.contentEncoding.empty()) {
      response.set_header("Content-Encoding", reply.contentEncoding);
    }
    switch (reply.kind) {
      case Reply::Kind::kBody:
        response.status = reply.status;
        response.set_content(reply.body, "application/octet-stream");
        break;
      case Reply::Kind::kRedirect:
        response.set_redirect(reply.location, reply.status);
        break;
      case Reply::Kind::kCutMidBody:
        response.set_content_provider(
            reply.body.size() + 1000, "application/octet-stream",
            [body = reply.body](size_t offset, size_t, httplib::DataSink& sink) {
              if (offset < body.size()) {
                sink.write(body.data() + offset, body.size() - offset);
                return true;
              }
              return false;  // the rest never comes: the connection is dropped
            });
        break;
      case Reply::Kind::kSilent:
        while (!stopping_) {
          std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        break;
      case Reply::Kind::kEndless:
        response.set_chunked_content_provider(
            "application/octet-stream",
            [this, block = reply.body](size_t, httplib::DataSink& sink) {
              // A false write means the client has gone: the body ends there.
              return !stopping_ && sink.write(block.data(), block.size());
            });
        break;
      case Reply::Kind::kTrickle:
        response.set_content_provider(
            reply.body.size(), "application/octet-stream",
            [this, reply](size_t offset, size_t, httplib::DataSink& sink) {
              const std::size_t length = std::min(reply.piece, reply.body.size() - offset);
              if (stopping_ || !sink.write(reply.body.data() + offset, length)) {
                return false;
              }
              for (auto waited = std::chrono::milliseconds(0); waited < reply.pause && !stopping_;
                   waited += std::chrono::milliseconds(10)) {
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
              }
              return true;
            });
        break;
    }
  });
  // Only SO_REUSEADDR: the library's default SO_REUSEPORT would let two servers share the port
  // without an error, and its connections' TIME_WAIT would keep other servers from binding it.
  server_->set_socket_options([](int socket) {
    int yes = 1;
    setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  });
  if (port == 0) {
    port_ = server_->bind_to_any_port("127.0.0.1");
  } else if (server_->bind_to_port("127.0.0.1", port)) {
    port_ = port;
  }
  if (port_ <= 0) {
    ADD_FAILURE() << "the repository server cannot listen on port " << port;
    return;
  }
  // bind_to_port also listens, so requests queue up until the thread accepts them.
  thread_ = std::thread([this] { server_->listen_after_bind(); });
  // stop() does nothing until the accept loop runs, so a server destroyed right after it was
  // made would otherwise keep its thread, and the destructor's join, waiting for ever.
  while (!server_->is_running()) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

RepositoryServer::~RepositoryServer() {
  stopping_ = true;
  server_->stop();
  if (thread_.joinable()) {
    thread_.join();
  }
}

std::string RepositoryServer::baseUrl() const {
  return "http://127.0.0.1:" + std::to_string(port_);
}

void RepositoryServer::script(const std::string& path, std::vector<Reply> first, Reply then) {
  std::lock_guard lock(mutex_);
  scripts_[path] = Script{std::move(first), std::move(then), 0};
}

void RepositoryServer::publish(const std::string& database, const std::string& toolVersion) {
  sha1wrapper sha1;
  always(resourcePath("db_hash.sha1"), Reply::ok(sha1.digestOfString(database) + "\n"));
  always(resourcePath("zrv_words.db"), Reply::ok(database));
  always(resourcePath("tool_version.txt"), Reply::ok(toolVersion));
}

int RepositoryServer::requests(const std::string& path) const {
  std::lock_guard lock(mutex_);
  auto found = requestCounts_.find(path);
  return found == requestCounts_.end() ? 0 : found->second;
}

std::string RepositoryServer::acceptEncoding(const std::string& path) const {
  std::lock_guard lock(mutex_);
  auto found = acceptEncodings_.find(path);
  return found == acceptEncodings_.end() ? std::string() : found->second;
}

Reply RepositoryServer::nextReply(const httplib::Request& request) {
  const std::string& path = request.path;
  std::lock_guard lock(mutex_);
  ++requestCounts_[path];
  acceptEncodings_[path] = request.get_header_value("Accept-Encoding");
  auto found = scripts_.find(path);
  if (found == scripts_.end()) {
    return Reply::withStatus(404, "not found");
  }
  Script& script = found->second;
  if (script.used < script.first.size()) {
    return script.first[script.used++];
  }
  return script.then;
}

}  // namespace zrv::test
