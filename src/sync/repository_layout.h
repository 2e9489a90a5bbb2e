#pragma once

// Where the words repository keeps its files. The program's download addresses, the companion
// tool's publisher and the tests' repository server all name them from here.

#include <string_view>

namespace zrv {

/// The folder below the repository's base address that holds the published files.
inline constexpr std::string_view kRepositoryFolder =
    "2.0/repositories/zorvian/zrv-words-db/src/master";

/// The published files.
inline constexpr std::string_view kDigestFileName = "db_hash.sha1";
inline constexpr std::string_view kPublishedDatabaseFileName = "zrv_words.db";
inline constexpr std::string_view kToolVersionFileName = "tool_version.txt";

/// The tool's own version as a cleaned tool_version.txt reads ("130" for 1.3.0), made from the
/// project version by the build.
extern const std::string_view kCurrentToolVersion;

}  // namespace zrv
