#include "idle_listener.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace zrv::test {

namespace {

sockaddr_in loopback(int port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return address;
}

}  // namespace

IdleListener::IdleListener(int port, bool fullBacklog) {
  // Non-blocking, so that takeConnections ends when the queue is empty.
  socket_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  int yes = 1;
  ::setsockopt(socket_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  sockaddr_in address = loopback(port);
  socklen_t length = sizeof address;
  if (::bind(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(socket_, 0) != 0 ||
      ::getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    ADD_FAILURE() << "the idle listener cannot listen on port " << port;
    return;
  }
  port_ = ntohs(address.sin_port);
  // Once the accept queue is full, Linux drops new connection requests instead of answering
  // them, so a connect then waits until its own time-out.
  for (int i = 0; fullBacklog && i < 16; ++i) {
    const int client = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    ownConnections_.push_back(client);
    const sockaddr_in target = loopback(port_);
    if (::connect(client, reinterpret_cast<const sockaddr*>(&target), sizeof target) == 0) {
      continue;
    }
    pollfd wait{client, POLLOUT, 0};
    if (::poll(&wait, 1, 200) == 0) {
      return;  // this one was not answered: the queue is full
    }
  }
  if (fullBacklog) {
    ADD_FAILURE() << "the idle listener's queue never filled";
  }
}

IdleListener::~IdleListener() {
  for (int client : ownConnections_) {
    ::close(client);
  }
  if (socket_ >= 0) {
    ::close(socket_);
  }
}

int IdleListener::takeConnections() {
  int count = 0;
  for (;;) {
    const int connection = ::accept4(socket_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (connection < 0) {
      return count;
    }
    ::close(connection);
    ++count;
  }
}

}  // namespace zrv::test
