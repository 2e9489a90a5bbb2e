#pragma once

#include <filesystem>

namespace zrv {

/// An exclusive advisory lock (flock) on "<database>.lock" beside the database file (beside the
/// link's target when the database is a symbolic link), so that runs in one folder check and
/// store the database one after the other. The constructor waits for the lock; the lock file is
/// removed when the lock is released. Where no lock file can be made (a read-only folder, which
/// no run can store into either) the object holds nothing and the run goes on without it.
class DatabaseLock {
 public:
  explicit DatabaseLock(const std::filesystem::path& database);
  ~DatabaseLock() { release(); }
  DatabaseLock(const DatabaseLock&) = delete;
  DatabaseLock& operator=(const DatabaseLock&) = delete;

  bool held() const { return descriptor_ >= 0; }
  /// Removes the lock file and lets the next run go on; harmless when nothing is held.
  void release();

 private:
  std::filesystem::path path_;
  int descriptor_ = -1;
};

}  // namespace zrv
