#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace zrv::words_tool {

/// The folder under a repository root that holds the published files, as the program's download
/// addresses name it after the repository base address.
inline constexpr std::string_view kRepositoryFolder =
    "2.0/repositories/zorvian/zrv-words-db/src/master";

/// The file names the program downloads from that folder.
inline constexpr std::string_view kDatabaseFileName = "zrv_words.db";
inline constexpr std::string_view kDigestFileName = "db_hash.sha1";
inline constexpr std::string_view kToolVersionFileName = "tool_version.txt";

/// What a publication wrote.
struct PublishReport {
  std::filesystem::path folder;  // <root>/kRepositoryFolder
  std::string digest;            // 40 lower-case hex digits of the published database
};

/// Writes `bytes` to `file` through "<file>.publishing" renamed over it, so a reader sees the old
/// file or the new one, never a part. Returns false with `error` on any failed write.
bool writeFileAtomically(const std::filesystem::path& file, std::string_view bytes,
                         std::string& error);

/// Publishes `database` under `root`: the folder kRepositoryFolder with a copy of the database,
/// db_hash.sha1 (its SHA-1 digest and a line end) and tool_version.txt (`toolVersion` and a line
/// end). Each file is replaced whole; the digest goes last, so it never names a database that is
/// not there yet. Returns false with `error` when a file cannot be read or written.
bool publishWordsDatabase(const std::filesystem::path& database, const std::filesystem::path& root,
                          std::string_view toolVersion, PublishReport& report, std::string& error);

}  // namespace zrv::words_tool
