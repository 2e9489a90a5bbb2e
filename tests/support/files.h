#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace zrv::test {

/// A fresh folder for one test, removed with everything in it when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::filesystem::path& relative) const {
    return path_ / relative;
  }

 private:
  std::filesystem::path path_;
};

/// Makes `folder` the working directory of the test process while it lives, for code that opens
/// fixed relative paths as the program does; the previous one comes back when it goes.
class ScopedWorkingDirectory {
 public:
  explicit ScopedWorkingDirectory(const std::filesystem::path& folder);
  ~ScopedWorkingDirectory();
  ScopedWorkingDirectory(const ScopedWorkingDirectory&) = delete;
  ScopedWorkingDirectory& operator=(const ScopedWorkingDirectory&) = delete;

 private:
  std::filesystem::path previous_;
};

/// The bytes of a file; fails the test (and returns "") when it cannot be read.
std::string readFile(const std::filesystem::path& file);

/// Writes `bytes` to `file`, creating or emptying it.
void writeFile(const std::filesystem::path& file, const std::string& bytes);

/// The permission bits of `file` (its link's target, for a link).
unsigned modeOf(const std::filesystem::path& file);

/// The name of every entry of `folder`, links and folders included, sorted.
std::vector<std::string> namesIn(const std::filesystem::path& folder);

/// Every regular file under `folder`, by relative path, with its bytes.
std::map<std::string, std::string> filesUnder(const std::filesystem::path& folder);

}  // namespace zrv::test
