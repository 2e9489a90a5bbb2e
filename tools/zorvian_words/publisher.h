#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "sync/atomic_file.h"
#include "sync/repository_layout.h"

namespace zrv::words_tool {

/// The folder under a repository root that holds the published files, and their names: the
/// program's own, so that its download addresses find them.
using zrv::kDigestFileName;
using zrv::kRepositoryFolder;
using zrv::kToolVersionFileName;
inline constexpr std::string_view kDatabaseFileName = zrv::kPublishedDatabaseFileName;

/// A precompressed copy of the database that publish lays beside it, as static web servers keep
/// them: "zrv_words.db<suffix>", served with "Content-Encoding: <encoding>" to a client that
/// accepts it.
struct PrecompressedFormat {
  std::string_view suffix;
  std::string_view encoding;
};
/// Every format publish writes, in the order in which the server prefers them: zstd first, which
/// on the full database is within 4% of brotli's size and decodes three times as fast, so the
/// copy arrives decoded sooner on any link faster than a few MB/s; then brotli, then gzip.
inline constexpr PrecompressedFormat kPrecompressedFormats[] = {
    {".zst", "zstd"}, {".br", "br"}, {".gz", "gzip"}};

/// `bytes` compressed in `format` (zstd, brotli, or gzip with its header and trailer). Returns
/// false when the compressor fails.
bool compressBytes(const PrecompressedFormat& format, std::string_view bytes,
                   std::string& compressed);

/// What a publication wrote.
struct PublishReport {
  std::filesystem::path folder;  // <root>/kRepositoryFolder
  std::string digest;            // 40 lower-case hex digits of the published database
  std::vector<std::uintmax_t> compressedSizes;  // of each of kPrecompressedFormats, in order
};

/// Replaces a file in one durable step; see zrv::AtomicFile.
using zrv::writeFileAtomically;

/// Publishes `database` under `root`: the folder kRepositoryFolder with a copy of the database,
/// its precompressed copies, db_hash.sha1 (its SHA-1 digest and a line end) and tool_version.txt
/// (`toolVersion` and a line end). Each file is replaced whole; the digest goes last, so it never
/// names a database that is not there yet. Returns false with `error` when a file cannot be read
/// or written.
bool publishWordsDatabase(const std::filesystem::path& database, const std::filesystem::path& root,
                          std::string_view toolVersion, PublishReport& report, std::string& error);

}  // namespace zrv::words_tool
