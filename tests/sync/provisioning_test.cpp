#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "files.h"
#include "provisioning_run.h"
#include "provisioning_texts.h"
#include "publisher.h"
#include "repository_server.h"
#include "sync/atomic_file.h"
#include "sync/transfer_limits.h"

namespace zrv::test {
namespace {

// Bytes no text routine would keep whole: zero bytes, CR LF, bytes above 7F; long enough to
// arrive in many pieces.
std::string databaseBytes(int seed, std::size_t size) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) {
    bytes[i] = static_cast<char>((i * 131 + static_cast<std::size_t>(seed)) % 256);
  }
  bytes.replace(0, 6, std::string("SQL\0\r\n", 6));
  return bytes;
}

const std::string kPublished = databaseBytes(1, 300000);
const std::string kOld = databaseBytes(2, 5000);
const std::string kOther = databaseBytes(3, 300000);
const std::string kPublishedDigest = sha1Of(kPublished) + "\n";

std::string upperCase(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return text;
}

/// The files a phase should leave in its folder: zrv_words.db with `database`, or nothing.
std::map<std::string, std::string> onlyDatabase(const std::optional<std::string>& database) {
  if (!database) {
    return {};
  }
  return {{"zrv_words.db", *database}};
}

/// A port on loopback where nothing listens.
int closedPort() {
  RepositoryServer probe(0);
  return probe.port();
}

struct Script {
  std::vector<Reply> first;
  Reply then;
};

struct ScriptedCase {
  const char* name;
  std::optional<std::string> localFile;  // nullopt: there is no zrv_words.db
  Script digest;
  Script database;
  std::string expectedOut;
  PhaseResult expectedResult;
  std::optional<std::string> expectedFile;  // nullopt: no zrv_words.db afterwards
  int databaseRequests;
  int toolVersionRequests;
};

TEST(Provisioning, FollowsEveryScriptedRepositoryToItsTranscriptAndFile) {
  const Script published{{}, Reply::ok(kPublishedDigest)};
  const Script servesPublished{{}, Reply::ok(kPublished)};
  const Reply cutDigest = Reply::cutMidBody(kPublishedDigest);
  const Reply cutDatabase = Reply::cutMidBody(kPublished.substr(0, 20000));
  const std::string retriedUpdate = kOutOfDateText + updateRetryLines(3);
  const ScriptedCase cases[] = {
      {"digest and LF equal to the local file", kPublished, published, servesPublished,
       kCheckingText + kUpToDateText, PhaseResult::kGoOn, kPublished, 0, 1},
      {"digest and CR LF equal to the local file",
       kPublished,
       {{}, Reply::ok(sha1Of(kPublished) + "\r\n")},
       servesPublished,
       kCheckingText + kUpToDateText,
       PhaseResult::kGoOn,
       kPublished,
       0,
       1},
      {"no local file: first download keeps every byte, zero bytes too", std::nullopt, published,
       servesPublished, kCheckingText + kNoLocalText + kDownloadCompleteText, PhaseResult::kGoOn,
       kPublished, 1, 1},
      {"local file differs: update", kOld, published, servesPublished,
       kCheckingText + kOutOfDateText + kUpdateCompleteText, PhaseResult::kGoOn, kPublished, 1, 1},
      {"empty local file is out of date", "", published, servesPublished,
       kCheckingText + kOutOfDateText + kUpdateCompleteText, PhaseResult::kGoOn, kPublished, 1, 1},
      {"update whose bytes never match gives up and keeps the local file",
       kOld,
       published,
       {{}, Reply::ok(kOther)},
       kCheckingText + retriedUpdate + kUpdatesGaveUpText + kDefaultingText,
       PhaseResult::kGoOn,
       kOld,
       4,
       1},
      {"update whose transfers always fail gives up and keeps the local file",
       kOld,
       published,
       {{}, cutDatabase},
       kCheckingText + retriedUpdate + kUpdatesGaveUpText + kDefaultingText,
       PhaseResult::kGoOn,
       kOld,
       4,
       1},
      {"update failing three times succeeds on the fourth",
       kOld,
       published,
       {{cutDatabase, cutDatabase, cutDatabase}, Reply::ok(kPublished)},
       kCheckingText + retriedUpdate + kUpdateCompleteText,
       PhaseResult::kGoOn,
       kPublished,
       4,
       1},
      {"first download that mismatches once is fetched again",
       std::nullopt,
       published,
       {{Reply::ok(kOther)}, Reply::ok(kPublished)},
       kCheckingText + kNoLocalText + updateRetryLines(1) + kDownloadCompleteText,
       PhaseResult::kGoOn,
       kPublished,
       2,
       1},
      {"first download that never matches halts",
       std::nullopt,
       published,
       {{}, Reply::ok(kOther)},
       kCheckingText + kNoLocalText + updateRetryLines(3) + kUpdatesGaveUpText + kNoDatabaseText,
       PhaseResult::kHalt,
       std::nullopt,
       4,
       0},
      {"digest failing three times succeeds on the fourth",
       kPublished,
       {{cutDigest, cutDigest, cutDigest}, Reply::ok(kPublishedDigest)},
       servesPublished,
       kCheckingText + metadataRetryLines(3) + kUpToDateText,
       PhaseResult::kGoOn,
       kPublished,
       0,
       1},
      {"digest failing four times falls back to the local file",
       kOld,
       {{}, cutDigest},
       servesPublished,
       kCheckingText + metadataRetryLines(3) + kMetadataGaveUpText + kDefaultingText,
       PhaseResult::kGoOn,
       kOld,
       0,
       0},
      {"digest failing four times without a local file halts",
       std::nullopt,
       {{}, cutDigest},
       servesPublished,
       kCheckingText + metadataRetryLines(3) + kMetadataGaveUpText + kNoDatabaseText,
       PhaseResult::kHalt,
       std::nullopt,
       0,
       0},
      {"a 404 page is taken as the digest and never matches",
       kOld,
       {{}, Reply::withStatus(404, "<h1>404 Not Found</h1>\n")},
       servesPublished,
       kCheckingText + retriedUpdate + kUpdatesGaveUpText + kDefaultingText,
       PhaseResult::kGoOn,
       kOld,
       4,
       1},
      {"an upper-case digest never equals the local file's",
       kPublished,
       {{}, Reply::ok(upperCase(kPublishedDigest))},
       servesPublished,
       kCheckingText + retriedUpdate + kUpdatesGaveUpText + kDefaultingText,
       PhaseResult::kGoOn,
       kPublished,
       4,
       1},
      {"an upper-case digest never equals a first download's",
       std::nullopt,
       {{}, Reply::ok(upperCase(kPublishedDigest))},
       servesPublished,
       kCheckingText + kNoLocalText + updateRetryLines(3) + kUpdatesGaveUpText + kNoDatabaseText,
       PhaseResult::kHalt,
       std::nullopt,
       4,
       0},
  };
  for (const ScriptedCase& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    if (c.localFile) {
      writeFile(dir / "zrv_words.db", *c.localFile);
    }
    RepositoryServer server(0);
    server.script(RepositoryServer::resourcePath("db_hash.sha1"), c.digest.first, c.digest.then);
    server.script(RepositoryServer::resourcePath("zrv_words.db"), c.database.first,
                  c.database.then);
    server.always(RepositoryServer::resourcePath("tool_version.txt"), Reply::ok("1.3.0\n"));

    const Provisioned provisioned = provisionIn(dir.path(), server.baseUrl());

    EXPECT_EQ(maskCurlError(provisioned.out), c.expectedOut);
    EXPECT_EQ(provisioned.result, c.expectedResult);
    EXPECT_TRUE(provisioned.handleReleased);
    EXPECT_FALSE(provisioned.newerToolVersionAvailable);
    // Byte for byte, and no temporary file left behind.
    EXPECT_EQ(filesUnder(dir.path()), onlyDatabase(c.expectedFile));
    EXPECT_EQ(server.fileRequests("zrv_words.db"), c.databaseRequests);
    EXPECT_EQ(server.fileRequests("tool_version.txt"), c.toolVersionRequests);
  }
}

TEST(Provisioning, FallsBackOrHaltsWhenNoServerListens) {
  struct Case {
    const char* name;
    std::optional<std::string> localFile;
    std::string tail;
    PhaseResult expectedResult;
  };
  const Case cases[] = {
      {"local file present", kOld, kDefaultingText, PhaseResult::kGoOn},
      {"no local file", std::nullopt, kNoDatabaseText, PhaseResult::kHalt},
  };
  const std::string baseUrl = "http://127.0.0.1:" + std::to_string(closedPort());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    if (c.localFile) {
      writeFile(dir / "zrv_words.db", *c.localFile);
    }
    const Provisioned provisioned = provisionIn(dir.path(), baseUrl);
    EXPECT_EQ(maskCurlError(provisioned.out),
              kCheckingText + metadataRetryLines(3) + kMetadataGaveUpText + c.tail);
    EXPECT_EQ(provisioned.result, c.expectedResult);
    EXPECT_EQ(provisioned.defaultingToLocalDb, c.localFile.has_value());
    EXPECT_FALSE(provisioned.newerToolVersionAvailable);
    EXPECT_TRUE(provisioned.handleReleased);
    EXPECT_EQ(filesUnder(dir.path()), onlyDatabase(c.localFile));
  }
}

TEST(Provisioning, SetsTheNewerVersionFlagOnAnyOtherPublishedVersion) {
  struct Case {
    const char* name;
    Reply toolVersion;
    bool expectedNotice;
  };
  const Case cases[] = {
      {"1.3.0 and LF", Reply::ok("1.3.0\n"), false},
      {"1.3.0 and CR LF", Reply::ok("1.3.0\r\n"), false},
      {"a higher version", Reply::ok("1.4.0\n"), true},
      {"a lower version", Reply::ok("1.2.9\n"), true},
      {"an empty body", Reply::ok(""), true},
      {"a 404 page, which is a completed transfer", Reply::withStatus(404, "Not Found"), true},
      {"a failed transfer of another version", Reply::cutMidBody("1.4.0\n"), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    writeFile(dir / "zrv_words.db", kPublished);
    RepositoryServer server(0);
    server.publish(kPublished);
    server.always(RepositoryServer::resourcePath("tool_version.txt"), c.toolVersion);

    const Provisioned provisioned = provisionIn(dir.path(), server.baseUrl());

    EXPECT_EQ(provisioned.out, kCheckingText + kUpToDateText);
    EXPECT_EQ(provisioned.newerToolVersionAvailable, c.expectedNotice);
    // One attempt only, and no message either way.
    EXPECT_EQ(server.fileRequests("tool_version.txt"), 1);
  }
}

TEST(Provisioning, CleansDigestAndVersionBodiesOfNearlyAMebibyte) {
  // Whatever a server sends goes through the cleaning: blanks, line ends, zero bytes and bytes
  // above 7F around the digest and the version leave just their letters and digits.
  std::string noise(256 << 10, ' ');
  for (std::size_t i = 0; i < noise.size(); i += 7) {
    noise[i] = static_cast<char>(0x80 + i % 128);
  }
  noise += std::string(128 << 10, '\0') + "\r\n" + std::string(100 << 10, '\t');
  TempDir dir;
  writeFile(dir / "zrv_words.db", kPublished);
  RepositoryServer server(0);
  server.publish(kPublished);
  server.always(RepositoryServer::resourcePath("db_hash.sha1"),
                Reply::ok(noise + sha1Of(kPublished) + noise));
  server.always(RepositoryServer::resourcePath("tool_version.txt"),
                Reply::ok(noise + "1.3.0" + noise));

  const Provisioned provisioned = provisionIn(dir.path(), server.baseUrl());

  EXPECT_EQ(provisioned.result, PhaseResult::kGoOn);
  EXPECT_EQ(provisioned.out, kCheckingText + kUpToDateText);
  EXPECT_FALSE(provisioned.newerToolVersionAvailable);
  EXPECT_EQ(server.fileRequests("zrv_words.db"), 0);
}

TEST(Provisioning, FailsADigestOrVersionBodyLongerThanAMebibyte) {
  struct Case {
    const char* name;
    std::size_t digestBytes;
    std::size_t versionBytes;
    std::string expectedOut;
    bool expectedNotice;
  };
  const std::size_t atTheBound = kMaxSmallFileBytes;
  const Case cases[] = {
      {"both at the bound", atTheBound, atTheBound, kCheckingText + kUpToDateText, true},
      {"the digest one byte longer", atTheBound + 1, atTheBound,
       kCheckingText + metadataRetryLines(3) + kMetadataGaveUpText + kDefaultingText, false},
      // A failed version transfer is no notice, though its text would differ.
      {"the version one byte longer", atTheBound, atTheBound + 1, kCheckingText + kUpToDateText,
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    writeFile(dir / "zrv_words.db", kPublished);
    RepositoryServer server(0);
    server.publish(kPublished);
    const std::string digest = sha1Of(kPublished);
    server.always(RepositoryServer::resourcePath("db_hash.sha1"),
                  Reply::ok(digest + std::string(c.digestBytes - digest.size(), '\n')));
    server.always(RepositoryServer::resourcePath("tool_version.txt"),
                  Reply::ok("1.4.0" + std::string(c.versionBytes - 5, ' ')));

    const Provisioned provisioned = provisionIn(dir.path(), server.baseUrl());

    EXPECT_EQ(maskCurlError(provisioned.out), c.expectedOut);
    EXPECT_EQ(provisioned.result, PhaseResult::kGoOn);
    EXPECT_EQ(provisioned.newerToolVersionAvailable, c.expectedNotice);
    EXPECT_EQ(filesUnder(dir.path()), onlyDatabase(kPublished));
  }
}

TEST(Provisioning, FollowsRedirectsForEveryResource) {
  TempDir dir;
  RepositoryServer server(0);
  const std::map<std::string, std::string> mirrored = {
      {"db_hash.sha1", kPublishedDigest},
      {"zrv_words.db", kPublished},
      {"tool_version.txt", "1.4.0\n"},
  };
  for (const auto& [file, body] : mirrored) {
    server.always(RepositoryServer::resourcePath(file),
                  Reply::redirect(server.baseUrl() + "/mirror/" + file));
    server.always("/mirror/" + file, Reply::ok(body));
  }

  const Provisioned provisioned = provisionIn(dir.path(), server.baseUrl());

  EXPECT_EQ(provisioned.out, kCheckingText + kNoLocalText + kDownloadCompleteText);
  EXPECT_EQ(provisioned.result, PhaseResult::kGoOn);
  EXPECT_TRUE(provisioned.newerToolVersionAvailable);
  EXPECT_EQ(filesUnder(dir.path()), onlyDatabase(kPublished));
  for (const auto& [file, body] : mirrored) {
    EXPECT_EQ(server.requests("/mirror/" + file), 1) << file;
  }
}

TEST(Provisioning, EndsARedirectLoopAsAFailedTransfer) {
  TempDir dir;
  writeFile(dir / "zrv_words.db", kOld);
  RepositoryServer server(0);
  const std::string digestPath = RepositoryServer::resourcePath("db_hash.sha1");
  server.always(digestPath, Reply::redirect(server.baseUrl() + digestPath));

  const Provisioned provisioned = provisionIn(dir.path(), server.baseUrl());

  EXPECT_EQ(maskCurlError(provisioned.out),
            kCheckingText + metadataRetryLines(3) + kMetadataGaveUpText + kDefaultingText);
  EXPECT_EQ(provisioned.result, PhaseResult::kGoOn);
  EXPECT_EQ(filesUnder(dir.path()), onlyDatabase(kOld));
  // Each attempt is the request and its 30 followed redirects.
  EXPECT_EQ(server.requests(digestPath), 4 * 31);
}

TEST(Provisioning, RetriesAServerThatStaysSilentPastTheStallBound) {
  TempDir dir;
  writeFile(dir / "zrv_words.db", kPublished);
  RepositoryServer server(0);
  server.publish(kPublished);
  server.script(RepositoryServer::resourcePath("db_hash.sha1"), {Reply::silent()},
                Reply::ok(kPublishedDigest));

  const Provisioned provisioned = provisionIn(dir.path(), server.baseUrl(), 1);

  EXPECT_EQ(provisioned.out, kCheckingText + metadataRetryLines(1) + kUpToDateText);
  EXPECT_EQ(provisioned.result, PhaseResult::kGoOn);
  EXPECT_EQ(server.fileRequests("db_hash.sha1"), 2);
}

TEST(Provisioning, ReadsALocalFileThatCannotBeReadAsEmpty) {
  TempDir dir;
  // A folder opens like a file but yields a read error at once.
  std::filesystem::create_directory(dir / "zrv_words.db");
  RepositoryServer server(0);
  server.publish("");

  const Provisioned provisioned = provisionIn(dir.path(), server.baseUrl());

  EXPECT_EQ(provisioned.out, kCheckingText + kUpToDateText);
  EXPECT_EQ(provisioned.result, PhaseResult::kGoOn);
  EXPECT_TRUE(std::filesystem::is_directory(dir / "zrv_words.db"));
}

/// Makes every sync of a file or folder fail while it lives, as a failing disk would.
class FailingSync {
 public:
  FailingSync()
      : previous_(AtomicFile::replaceSyncFunction([](int) {
          errno = EIO;
          return -1;
        })) {}
  ~FailingSync() { AtomicFile::replaceSyncFunction(previous_); }
  FailingSync(const FailingSync&) = delete;
  FailingSync& operator=(const FailingSync&) = delete;

 private:
  AtomicFile::SyncFunction previous_;
};

TEST(Provisioning, HaltsWithoutTouchingThePreviousFileWhenADownloadCannotBeMadeDurable) {
  for (const StoringCase& c : storingCases(kOld)) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    if (c.localFile) {
      writeFile(dir / "zrv_words.db", *c.localFile);
    }
    RepositoryServer server(0);
    server.publish(kPublished);
    const FailingSync failingSync;

    const Provisioned provisioned = provisionIn(dir.path(), server.baseUrl());

    EXPECT_EQ(provisioned.out, kCheckingText + c.announcement + kCannotWriteText);
    EXPECT_EQ(provisioned.result, PhaseResult::kHalt);
    EXPECT_TRUE(provisioned.handleReleased);
    // The old file byte for byte, and neither the temporary file nor the lock file left.
    EXPECT_EQ(filesUnder(dir.path()), onlyDatabase(c.localFile));
    EXPECT_EQ(server.fileRequests("tool_version.txt"), 0);
  }
}

std::string compressed(std::string_view encoding, const std::string& bytes) {
  for (const words_tool::PrecompressedFormat& format : words_tool::kPrecompressedFormats) {
    if (format.encoding == encoding) {
      std::string result;
      EXPECT_TRUE(words_tool::compressBytes(format, bytes, result));
      return result;
    }
  }
  ADD_FAILURE() << "no compressor for " << encoding;
  return {};
}

TEST(Provisioning, TakesEveryResourceCompressedAsTheServerChoosesAndRetriesACorruptOne) {
  struct Case {
    const char* name;
    Script digest;
    Script database;
    Reply toolVersion;
    std::string expectedOut;
    bool expectedNotice;
  };
  const std::string gzipped = compressed("gzip", kPublished);
  const std::string brotlied = compressed("br", kPublished);
  const std::string zstded = compressed("zstd", kPublished);
  // Valid headers with a body cut in the middle, and bytes that are no compressed stream at all.
  const Reply corruptGzip =
      Reply::encoded("gzip", gzipped.substr(0, gzipped.size() / 2) + std::string(64, '\xA5'));
  const Reply corruptBrotli = Reply::encoded("br", "this is not brotli");
  const Reply corruptZstd = Reply::encoded("zstd", zstded.substr(0, zstded.size() - 7));
  const Script published{{}, Reply::ok(kPublishedDigest)};
  const std::string downloaded = kCheckingText + kNoLocalText;
  const Case cases[] = {
      {"database in gzip",
       published,
       {{}, Reply::encoded("gzip", gzipped)},
       Reply::ok("1.3.0\n"),
       downloaded + kDownloadCompleteText,
       false},
      {"database in brotli",
       published,
       {{}, Reply::encoded("br", brotlied)},
       Reply::ok("1.3.0\n"),
       downloaded + kDownloadCompleteText,
       false},
      {"database in zstd",
       published,
       {{}, Reply::encoded("zstd", zstded)},
       Reply::ok("1.3.0\n"),
       downloaded + kDownloadCompleteText,
       false},
      {"digest and version compressed too",
       {{}, Reply::encoded("gzip", compressed("gzip", kPublishedDigest))},
       {{}, Reply::encoded("br", brotlied)},
       Reply::encoded("br", compressed("br", "1.4.0\n")),
       downloaded + kDownloadCompleteText,
       true},
      {"a server that sends the plain file",
       published,
       {{}, Reply::ok(kPublished)},
       Reply::ok("1.3.0\n"),
       downloaded + kDownloadCompleteText,
       false},
      {"a corrupt gzip body is fetched again",
       published,
       {{corruptGzip}, Reply::encoded("gzip", gzipped)},
       Reply::ok("1.3.0\n"),
       downloaded + updateRetryLines(1) + kDownloadCompleteText,
       false},
      {"a zstd body cut short is fetched again",
       published,
       {{corruptZstd}, Reply::encoded("zstd", zstded)},
       Reply::ok("1.3.0\n"),
       downloaded + updateRetryLines(1) + kDownloadCompleteText,
       false},
      {"a corrupt brotli body is fetched again",
       published,
       {{corruptBrotli, corruptBrotli}, Reply::encoded("br", brotlied)},
       Reply::ok("1.3.0\n"),
       downloaded + updateRetryLines(2) + kDownloadCompleteText,
       false},
      {"a corrupt digest body is fetched again",
       {{Reply::encoded("gzip", "\x1f\x8b garbage")}, Reply::ok(kPublishedDigest)},
       {{}, Reply::ok(kPublished)},
       Reply::ok("1.3.0\n"),
       kCheckingText + metadataRetryLines(1) + kNoLocalText + kDownloadCompleteText,
       false},
      {"a corrupt version body is no notice",
       published,
       {{}, Reply::ok(kPublished)},
       Reply::encoded("gzip", "1.4.0\n"),
       downloaded + kDownloadCompleteText,
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    RepositoryServer server(0);
    server.script(RepositoryServer::resourcePath("db_hash.sha1"), c.digest.first, c.digest.then);
    server.script(RepositoryServer::resourcePath("zrv_words.db"), c.database.first,
                  c.database.then);
    server.always(RepositoryServer::resourcePath("tool_version.txt"), c.toolVersion);

    const Provisioned provisioned = provisionIn(dir.path(), server.baseUrl());

    EXPECT_EQ(provisioned.out, c.expectedOut);
    EXPECT_EQ(provisioned.result, PhaseResult::kGoOn);
    EXPECT_EQ(provisioned.newerToolVersionAvailable, c.expectedNotice);
    EXPECT_EQ(filesUnder(dir.path()), onlyDatabase(kPublished));
    // Every request offers the encodings this libcurl decodes.
    for (const char* file : {"db_hash.sha1", "zrv_words.db", "tool_version.txt"}) {
      const std::string offered = server.acceptEncoding(RepositoryServer::resourcePath(file));
      EXPECT_NE(offered.find("gzip"), std::string::npos) << file << ": " << offered;
      EXPECT_NE(offered.find("br"), std::string::npos) << file << ": " << offered;
      EXPECT_NE(offered.find("zstd"), std::string::npos) << file << ": " << offered;
    }
  }
}

}  // namespace
}  // namespace zrv::test
