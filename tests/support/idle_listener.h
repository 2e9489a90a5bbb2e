#pragma once

#include <vector>

namespace zrv::test {

/// A TCP socket on 127.0.0.1 that listens but never accepts. Connections wait in the kernel's
/// queue, where takeConnections() counts them; with `fullBacklog` the queue is filled first by
/// connections of the listener's own, so that a further connect is never answered.
class IdleListener {
 public:
  /// Listens on `port` (0 picks a free one).
  explicit IdleListener(int port = 0, bool fullBacklog = false);
  ~IdleListener();
  IdleListener(const IdleListener&) = delete;
  IdleListener& operator=(const IdleListener&) = delete;

  int port() const { return port_; }
  /// Takes the connections waiting in the queue (not the listener's own) and returns how many
  /// there were.
  int takeConnections();

 private:
  int socket_ = -1;
  int port_ = 0;
  std::vector<int> ownConnections_;
};

}  // namespace zrv::test
