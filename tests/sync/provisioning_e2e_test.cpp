// The provisioning phase through the real executable, against the repository server on the
// loopback port the test build of the program fetches from.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <future>
#include <iostream>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "files.h"
#include "idle_listener.h"
#include "program_runner.h"
#include "provisioning_texts.h"
#include "repository_server.h"
#include "sync/transfer_limits.h"
#include "transcripts.h"
#include "words_db_builder.h"

namespace zrv::test {
namespace {

const std::string kPublished = WordsDbBuilder().word("cat", "kat").word("dog", "dog").bytes();
const std::string kOld = WordsDbBuilder().word("cat", "kaat").bytes();

// With no answers on standard input the run ends at the first question, right after
// provisioning and the database open.
const std::string kFirstQuestionAndEnd = inputFileQuestionText() + inputEndedText();

TEST(ProvisioningProgram, FindsAnUpToDateDatabaseAndGoesOnToTheFirstQuestion) {
  TempDir dir;
  writeFile(dir / "zrv_words.db", kPublished);
  RepositoryServer server;
  server.publish(kPublished);

  const ProgramResult result = runProgram(dir.path(), "");

  EXPECT_EQ(result.out, bannerText() + upToDateText() + kFirstQuestionAndEnd);
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(readFile(dir / "zrv_words.db"), kPublished);
  EXPECT_EQ(server.fileRequests("zrv_words.db"), 0);
}

TEST(ProvisioningProgram, DownloadsAMissingDatabaseAndOpensIt) {
  TempDir dir;
  RepositoryServer server;
  server.publish(kPublished);

  const ProgramResult result = runProgram(dir.path(), "");

  EXPECT_EQ(result.out, bannerText() + kCheckingText + kNoLocalText + kDownloadCompleteText +
                            kFirstQuestionAndEnd);
  EXPECT_EQ(filesUnder(dir.path()),
            (std::map<std::string, std::string>{{"zrv_words.db", kPublished}}));
}

TEST(ProvisioningProgram, PrintsTheNewerVersionNoticeAfterOpeningTheDatabase) {
  TempDir dir;
  writeFile(dir / "zrv_words.db", kPublished);
  RepositoryServer server;
  server.publish(kPublished, "1.4.0\n");

  const ProgramResult result = runProgram(dir.path(), "");

  EXPECT_EQ(result.out, bannerText() + upToDateText() + kNewerVersionText + kFirstQuestionAndEnd);
}

TEST(ProvisioningProgram, FallsBackToTheLocalFileOrHaltsWhenNoServerListens) {
  struct Case {
    const char* name;
    std::optional<std::string> localFile;
    std::string tail;
    int status;
  };
  const Case cases[] = {
      {"local file present", kOld, kDefaultingText + kFirstQuestionAndEnd, 1},
      {"no local file", std::nullopt, kNoDatabaseText, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    if (c.localFile) {
      writeFile(dir / "zrv_words.db", *c.localFile);
    }

    const ProgramResult result = runProgram(dir.path(), "");

    EXPECT_EQ(maskCurlError(result.out),
              bannerText() + kCheckingText + metadataRetryLines(3) + kMetadataGaveUpText + c.tail);
    EXPECT_EQ(result.status, c.status);
    std::map<std::string, std::string> expected;
    if (c.localFile) {
      expected["zrv_words.db"] = *c.localFile;
    }
    EXPECT_EQ(filesUnder(dir.path()), expected);
  }
}

TEST(ProvisioningProgram, HaltsOnAFileSizeLimitAndKeepsThePreviousFile) {
  ASSERT_GT(kPublished.size(), 4096u);
  for (const StoringCase& c : storingCases(kOld)) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    if (c.localFile) {
      writeFile(dir / "zrv_words.db", *c.localFile);
    }
    RepositoryServer server;
    server.publish(kPublished);
    RunOptions options;
    options.fileSizeLimit = 4096;

    const ProgramResult result = runProgram(dir.path(), "", options);

    EXPECT_EQ(result.out, bannerText() + kCheckingText + c.announcement + kCannotWriteText);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.signal, 0);
    // The old file byte for byte, and no partial download beside it.
    std::map<std::string, std::string> expected;
    if (c.localFile) {
      expected["zrv_words.db"] = *c.localFile;
    }
    EXPECT_EQ(filesUnder(dir.path()), expected);
  }
}

TEST(ProvisioningProgram, TwoRunsStartedTogetherBothEndWithThePublishedDatabase) {
  for (const StoringCase& c : storingCases(kOld)) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    TempDir elsewhere;
    if (c.localFile) {
      writeFile(dir / "zrv_words.db", *c.localFile);
    }
    // What a run killed while storing left, and a link where a temporary file might be made.
    writeFile(dir / "zrv_words.db.partial-KILLED", "the first part of an earlier download");
    writeFile(elsewhere / "victim", "not to be overwritten");
    std::filesystem::create_symlink(elsewhere / "victim", dir / "zrv_words.db.partial-LINKED");
    RepositoryServer server;
    server.publish(kPublished);
    // About a second per download, so that the second run starts while the first one fetches.
    server.always(
        RepositoryServer::resourcePath("zrv_words.db"),
        Reply::trickle(kPublished, kPublished.size() / 10 + 1, std::chrono::milliseconds(100)));

    auto first = std::async(std::launch::async, [&] { return runProgram(dir.path(), ""); });
    auto second = std::async(std::launch::async, [&] { return runProgram(dir.path(), ""); });
    const ProgramResult results[] = {first.get(), second.get()};

    // One run stores the database; the other waits for it and then finds it current.
    const std::string stored = bannerText() + kCheckingText + c.announcement +
                               (c.localFile ? kUpdateCompleteText : kDownloadCompleteText) +
                               kFirstQuestionAndEnd;
    const std::string current = bannerText() + upToDateText() + kFirstQuestionAndEnd;
    EXPECT_EQ((std::multiset<std::string>{results[0].out, results[1].out}),
              (std::multiset<std::string>{stored, current}));
    for (const ProgramResult& result : results) {
      EXPECT_EQ(result.status, 1);  // the empty input ends the run at the first question
    }
    EXPECT_EQ(server.fileRequests("zrv_words.db"), 1);
    EXPECT_EQ(readFile(dir / "zrv_words.db"), kPublished);
    // No temporary or lock file is left; the link and the file it points at are as they were.
    EXPECT_EQ(namesIn(dir.path()),
              (std::vector<std::string>{"zrv_words.db", "zrv_words.db.partial-LINKED"}));
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "zrv_words.db.partial-LINKED"));
    EXPECT_EQ(readFile(elsewhere / "victim"), "not to be overwritten");
  }
}

TEST(ProvisioningProgram, KeepsThePermissionBitsAndNeverReplacesAReadOnlyDatabase) {
  struct Case {
    const char* name;
    mode_t mode;
    bool replaced;
  };
  const Case cases[] = {
      {"read and write for the owner, read for the group", 0640, true},
      {"executable bits and all", 0755, true},
      {"read-only for everyone", 0444, false},
      {"no write bit, executable", 0555, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    writeFile(dir / "zrv_words.db", kOld);
    ASSERT_EQ(::chmod((dir / "zrv_words.db").c_str(), c.mode), 0);
    RepositoryServer server;
    server.publish(kPublished);

    const ProgramResult result = runProgram(dir.path(), "");

    EXPECT_EQ(result.out,
              bannerText() + kCheckingText + kOutOfDateText +
                  (c.replaced ? kUpdateCompleteText + kFirstQuestionAndEnd : kCannotWriteText));
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(
        filesUnder(dir.path()),
        (std::map<std::string, std::string>{{"zrv_words.db", c.replaced ? kPublished : kOld}}));
    EXPECT_EQ(modeOf(dir / "zrv_words.db"), c.mode);
  }
}

TEST(ProvisioningProgram, UpdatesADatabaseThatIsALinkThroughTheLink) {
  TempDir dir;
  std::filesystem::create_directory(dir / "store");
  writeFile(dir / "store" / "real.db", kOld);
  ASSERT_EQ(::chmod((dir / "store" / "real.db").c_str(), 0604), 0);
  std::filesystem::create_symlink("store/real.db", dir / "zrv_words.db");
  RepositoryServer server;
  server.publish(kPublished);

  const ProgramResult result = runProgram(dir.path(), "");

  EXPECT_EQ(result.out, bannerText() + kCheckingText + kOutOfDateText + kUpdateCompleteText +
                            kFirstQuestionAndEnd);
  ASSERT_TRUE(std::filesystem::is_symlink(dir / "zrv_words.db"));
  EXPECT_EQ(std::filesystem::read_symlink(dir / "zrv_words.db"), "store/real.db");
  EXPECT_EQ(readFile(dir / "store" / "real.db"), kPublished);
  EXPECT_EQ(modeOf(dir / "store" / "real.db"), 0604u);
  EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"store", "zrv_words.db"}));
  EXPECT_EQ(namesIn(dir / "store"), std::vector<std::string>{"real.db"});
}

// AddressSanitizer holds freed memory back and adds its own, so a sanitized child's peak says
// nothing about the program's.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kMemoryIsMeasurable = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kMemoryIsMeasurable = false;
#else
constexpr bool kMemoryIsMeasurable = true;
#endif
#else
constexpr bool kMemoryIsMeasurable = true;
#endif

/// What one bounded run cost, printed so that the figures can be read off a test log.
void reportCost(const std::string& name, double seconds, long peakResidentKiB) {
  std::cout << "[ cost     ] " << name << ": " << seconds << " s, peak resident "
            << peakResidentKiB / 1024 << " MiB" << std::endl;
}

TEST(ProvisioningProgram, EndsEveryEndlessSlowOrMisdirectedTransferWithinItsBound) {
  IdleListener ftpListener;
  const std::string ftpBase = "ftp://127.0.0.1:" + std::to_string(ftpListener.port());
  const std::string digest = sha1Of(kPublished) + "\n";
  const std::string block(64 << 10, 'z');
  const Reply publishedDigest = Reply::ok(digest);
  const Reply publishedDatabase = Reply::ok(kPublished);
  const Reply version = Reply::ok("1.3.0\n");
  const std::string digestGaveUp =
      kCheckingText + metadataRetryLines(3) + kMetadataGaveUpText + kDefaultingText;
  const std::string updateGaveUp =
      kCheckingText + kOutOfDateText + updateRetryLines(3) + kUpdatesGaveUpText + kDefaultingText;
  // The database bound of the test build, and what a run holds besides the body.
  const long databaseBoundKiB = static_cast<long>(builtTransferLimits().maxDatabaseBytes / 1024);
  const long overheadKiB = 40 << 10;
  struct Case {
    const char* name;
    std::string localFile;
    Reply digest;
    Reply database;
    Reply toolVersion;
    std::string provisioningOut;
    long maxPeakKiB;
  };
  const Case cases[] = {
      {"an endless digest", kOld, Reply::endless(block), publishedDatabase, version, digestGaveUp,
       overheadKiB},
      // The body grows by doubling up to the bound, and the allocator keeps some of the smaller
      // buffers it outgrew: about three times the bound at the peak, never more.
      {"an endless database", kOld, publishedDigest, Reply::endless(block), version, updateGaveUp,
       3 * databaseBoundKiB + overheadKiB},
      {"an endless tool version", kPublished, publishedDigest, publishedDatabase,
       Reply::endless(block), upToDateText(), overheadKiB},
      {"a digest of 4 bytes a second", kOld,
       Reply::trickle(digest, 4, std::chrono::milliseconds(1000)), publishedDatabase, version,
       digestGaveUp, overheadKiB},
      {"a database of 4 bytes a second", kOld, publishedDigest,
       Reply::trickle(kPublished, 4, std::chrono::milliseconds(1000)), version, updateGaveUp,
       overheadKiB},
      {"a tool version of 4 bytes a second", kPublished, publishedDigest, publishedDatabase,
       Reply::trickle("1.4.0\n" + std::string(64, ' '), 4, std::chrono::milliseconds(1000)),
       upToDateText(), overheadKiB},
      {"a digest redirected to ftp", kOld, Reply::redirect(ftpBase + "/db_hash.sha1"),
       publishedDatabase, version, digestGaveUp, overheadKiB},
      {"a database redirected to ftp", kOld, publishedDigest,
       Reply::redirect(ftpBase + "/zrv_words.db"), version, updateGaveUp, overheadKiB},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    writeFile(dir / "zrv_words.db", c.localFile);
    RepositoryServer server;
    server.always(RepositoryServer::resourcePath("db_hash.sha1"), c.digest);
    server.always(RepositoryServer::resourcePath("zrv_words.db"), c.database);
    server.always(RepositoryServer::resourcePath("tool_version.txt"), c.toolVersion);

    const auto start = std::chrono::steady_clock::now();
    const ProgramResult result = runProgram(dir.path(), "");
    const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
    reportCost(c.name, seconds.count(), result.peakResidentKiB);

    EXPECT_FALSE(result.timedOut);
    EXPECT_EQ(maskCurlError(result.out), bannerText() + c.provisioningOut + kFirstQuestionAndEnd);
    EXPECT_EQ(filesUnder(dir.path()),
              (std::map<std::string, std::string>{{"zrv_words.db", c.localFile}}));
    if (kMemoryIsMeasurable) {
      EXPECT_LT(result.peakResidentKiB, c.maxPeakKiB);
    }
  }
  EXPECT_EQ(ftpListener.takeConnections(), 0);
}

TEST(ProvisioningProgram, GivesUpOnARepositoryWhoseConnectionNeverOpens) {
  TempDir dir;
  writeFile(dir / "zrv_words.db", kOld);
  // Listens on the repository's port, but its queue is full, so no connection is ever answered.
  IdleListener listener(RepositoryServer::defaultPort(), true);

  const auto start = std::chrono::steady_clock::now();
  const ProgramResult result = runProgram(dir.path(), "");
  const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
  reportCost("a connection that never opens", seconds.count(), result.peakResidentKiB);

  EXPECT_EQ(maskCurlError(result.out), bannerText() + kCheckingText + metadataRetryLines(3) +
                                           kMetadataGaveUpText + kDefaultingText +
                                           kFirstQuestionAndEnd);
  EXPECT_EQ(filesUnder(dir.path()), (std::map<std::string, std::string>{{"zrv_words.db", kOld}}));
}

}  // namespace
}  // namespace zrv::test
