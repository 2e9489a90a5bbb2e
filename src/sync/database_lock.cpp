#include "sync/database_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "sync/atomic_file.h"

namespace zrv {

DatabaseLock::DatabaseLock(const std::filesystem::path& database) {
  path_ = followLinks(database);
  path_ += ".lock";
  for (;;) {
    const int descriptor = ::open(path_.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (descriptor < 0) {
      return;
    }
    int locked;
    do {
      locked = ::flock(descriptor, LOCK_EX);
    } while (locked != 0 && errno == EINTR);
    // The run that held the lock removes the file as it lets go; a waiter that then gets the lock
    // of the removed file must start over on the file now under the name, or two runs would each
    // hold a lock of their own.
    struct stat opened {};
    struct stat named {};
    if (locked == 0 && ::fstat(descriptor, &opened) == 0 && ::stat(path_.c_str(), &named) == 0 &&
        opened.st_dev == named.st_dev && opened.st_ino == named.st_ino) {
      descriptor_ = descriptor;
      return;
    }
    ::close(descriptor);
    if (locked != 0) {
      return;
    }
  }
}

void DatabaseLock::release() {
  if (descriptor_ >= 0) {
    ::unlink(path_.c_str());
    ::close(descriptor_);
    descriptor_ = -1;
  }
}

}  // namespace zrv
