#pragma once

// Replacing a file in one step, so that readers and a crash see the old bytes or the new ones,
// never a part of either, and a power loss after a successful commit keeps the new ones.

#include <filesystem>
#include <string>
#include <string_view>

namespace zrv {

/// The path that a write through `path` reaches: `path` with its symbolic links followed (also
/// a link whose target does not exist yet). A loop of links gives the last link tried.
std::filesystem::path followLinks(const std::filesystem::path& path);

/// One replacement of a target file. The constructor creates a temporary file beside the
/// target (beside the link's target when the target is a symbolic link), under a name no other
/// file has (mkstemp: O_CREAT|O_EXCL, so it never opens through a link), with the permission
/// bits of the file it will replace (or 0666 less the umask for a new file). The new bytes go
/// into it through write(), or through temporaryPath() by a library that writes files by path
/// (SQLite: open the path, write, close the connection, then commit). commit() makes the bytes
/// durable and puts them in place; abandon(), or the destructor of an uncommitted replacement,
/// removes the temporary file and nothing else.
class AtomicFile {
 public:
  explicit AtomicFile(const std::filesystem::path& target);
  ~AtomicFile();
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  /// Whether the temporary file exists and takes bytes; false after a failed step.
  bool isOpen() const { return descriptor_ >= 0; }
  /// The temporary file; empty when it could not be created.
  const std::filesystem::path& temporaryPath() const { return temporary_; }
  /// The file the commit replaces: the target with its links followed.
  const std::filesystem::path& finalPath() const { return final_; }

  /// Appends `bytes` to the temporary file. False, with error(), when they cannot all be
  /// written; the replacement is then abandoned.
  bool write(std::string_view bytes);
  /// fsync of the temporary file, rename over finalPath(), fsync of its folder. False, with
  /// error(), when a step fails: before the rename the old file is untouched and the temporary
  /// file removed; a failed sync of the folder comes after the rename, so the new bytes are in
  /// place but may not survive a power loss.
  bool commit();
  /// Removes the temporary file, if it is still there and not committed.
  void abandon();
  /// What the last failed step was, with the system's reason.
  const std::string& error() const { return error_; }

  /// Removes what interrupted replacements of `target` left behind: regular files beside it
  /// named as this class names its temporary files (never a link or a folder). Only safe where
  /// no other replacement of the same target can be under way, as under a lock.
  static void removeLeftovers(const std::filesystem::path& target);

  /// The function that makes a file or a folder durable; ::fsync unless a test replaces it.
  using SyncFunction = int (*)(int descriptor);
  /// Makes `sync` the function every later commit uses and returns the one used before: the seam
  /// through which a test makes a sync fail.
  static SyncFunction replaceSyncFunction(SyncFunction sync);

 private:
  bool fail(const std::string& step);

  std::filesystem::path final_;
  std::filesystem::path temporary_;
  int descriptor_ = -1;
  bool committed_ = false;
  std::string error_;
};

/// Replaces `file` with `bytes` through an AtomicFile. Returns false with `error` when a step
/// fails.
bool writeFileAtomically(const std::filesystem::path& file, std::string_view bytes,
                         std::string& error);

}  // namespace zrv
