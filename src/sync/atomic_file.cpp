#include "sync/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <system_error>
#include <vector>

namespace zrv {

namespace {

// mkstemp replaces the six X; removeLeftovers recognises the same shape.
constexpr std::string_view kTemporaryInfix = ".partial-";
constexpr std::string_view kUniquePart = "XXXXXX";

std::atomic<AtomicFile::SyncFunction> syncFunction = &::fsync;

std::string reason() {
  return std::strerror(errno);
}

std::filesystem::path folderOf(const std::filesystem::path& file) {
  return file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
}

mode_t modeForNewFile() {
  // umask can only be read by setting it; nothing else in the process creates files meanwhile.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

bool isLeftoverName(const std::string& name, const std::string& targetName) {
  const std::string prefix = targetName + std::string(kTemporaryInfix);
  if (name.size() != prefix.size() + kUniquePart.size() || name.compare(0, prefix.size(), prefix)) {
    return false;
  }
  for (std::size_t i = prefix.size(); i < name.size(); ++i) {
    const char c = name[i];
    const bool alphanumeric =
        (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    if (!alphanumeric) {
      return false;
    }
  }
  return true;
}

}  // namespace

std::filesystem::path followLinks(const std::filesystem::path& path) {
  std::filesystem::path current = path;
  // As many hops as the kernel itself follows before it calls a chain a loop.
  for (int hop = 0; hop < 40; ++hop) {
    std::error_code error;
    if (!std::filesystem::is_symlink(std::filesystem::symlink_status(current, error))) {
      return current;
    }
    const std::filesystem::path next = std::filesystem::read_symlink(current, error);
    if (error) {
      return current;
    }
    current = next.is_absolute() ? next : folderOf(current) / next;
  }
  return current;
}

AtomicFile::AtomicFile(const std::filesystem::path& target) : final_(followLinks(target)) {
  std::string pattern = final_.string() + std::string(kTemporaryInfix) + std::string(kUniquePart);
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  descriptor_ = ::mkostemp(name.data(), O_CLOEXEC);
  if (descriptor_ < 0) {
    error_ = "cannot create a temporary file beside " + final_.string() + ": " + reason();
    return;
  }
  temporary_ = name.data();
  struct stat old {};
  const mode_t mode = ::stat(final_.c_str(), &old) == 0 ? (old.st_mode & 07777) : modeForNewFile();
  if (::fchmod(descriptor_, mode) != 0) {
    fail("cannot set the permissions of " + temporary_.string());
  }
}

AtomicFile::~AtomicFile() {
  abandon();
}

bool AtomicFile::fail(const std::string& step) {
  error_ = step + ": " + reason();
  abandon();
  return false;
}

bool AtomicFile::write(std::string_view bytes) {
  if (!isOpen()) {
    return false;
  }
  while (!bytes.empty()) {
    const ssize_t put = ::write(descriptor_, bytes.data(), bytes.size());
    if (put < 0 && errno == EINTR) {
      continue;
    }
    if (put <= 0) {
      if (put == 0) {
        errno = ENOSPC;
      }
      return fail("cannot write " + temporary_.string());
    }
    bytes.remove_prefix(static_cast<std::size_t>(put));
  }
  return true;
}

bool AtomicFile::commit() {
  if (!isOpen()) {
    return false;
  }
  // Without the sync, a file system that delays allocation can put the rename on disk before
  // the bytes, and a power loss leaves an empty file under the old name.
  if (syncFunction.load()(descriptor_) != 0) {
    return fail("cannot sync " + temporary_.string());
  }
  const int descriptor = descriptor_;
  descriptor_ = -1;
  if (::close(descriptor) != 0) {
    descriptor_ = -1;
    error_ = "cannot close " + temporary_.string() + ": " + reason();
    abandon();
    return false;
  }
  if (::rename(temporary_.c_str(), final_.c_str()) != 0) {
    error_ = "cannot rename " + temporary_.string() + " to " + final_.string() + ": " + reason();
    abandon();
    return false;
  }
  committed_ = true;
  // The rename itself is only durable once the folder that holds the name is.
  const std::filesystem::path folder = folderOf(final_);
  const int folderDescriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  const bool synced = folderDescriptor >= 0 && syncFunction.load()(folderDescriptor) == 0;
  if (!synced) {
    error_ = "cannot sync the folder " + folder.string() + ": " + reason();
  }
  if (folderDescriptor >= 0) {
    ::close(folderDescriptor);
  }
  return synced;
}

void AtomicFile::abandon() {
  if (descriptor_ >= 0) {
    ::close(descriptor_);
    descriptor_ = -1;
  }
  if (!committed_ && !temporary_.empty()) {
    // The name was made by mkstemp for this object alone, so removing it removes nothing else.
    ::unlink(temporary_.c_str());
    temporary_.clear();
  }
}

void AtomicFile::removeLeftovers(const std::filesystem::path& target) {
  const std::filesystem::path final = followLinks(target);
  const std::string targetName = final.filename().string();
  std::error_code error;
  std::filesystem::directory_iterator entries(folderOf(final), error);
  for (; !error && entries != std::filesystem::directory_iterator(); entries.increment(error)) {
    const std::filesystem::directory_entry& entry = *entries;
    std::error_code ignored;
    // symlink_status: a link is left alone whatever it points at.
    if (std::filesystem::is_regular_file(entry.symlink_status(ignored)) &&
        isLeftoverName(entry.path().filename().string(), targetName)) {
      std::filesystem::remove(entry.path(), ignored);
    }
  }
}

AtomicFile::SyncFunction AtomicFile::replaceSyncFunction(SyncFunction sync) {
  return syncFunction.exchange(sync);
}

bool writeFileAtomically(const std::filesystem::path& file, std::string_view bytes,
                         std::string& error) {
  AtomicFile replacement(file);
  if (!replacement.write(bytes) || !replacement.commit()) {
    error = replacement.error();
    return false;
  }
  return true;
}

}  // namespace zrv
