// The provisioning phase through the real executable, against the repository server on the
// loopback port the test build of the program fetches from.

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "files.h"
#include "program_runner.h"
#include "provisioning_texts.h"
#include "repository_server.h"
#include "transcripts.h"
#include "words_db_builder.h"

namespace zrv::test {
namespace {

const std::string kPublished = WordsDbBuilder().word("cat", "kat").word("dog", "dog").bytes();
const std::string kOld = WordsDbBuilder().word("cat", "kaat").bytes();

// With no answers on standard input the run ends at the first question, right after
// provisioning and the database open.
const std::string kFirstQuestionAndEnd = inputFileQuestionText() + kInputEndedText;

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
  struct Case {
    const char* name;
    std::optional<std::string> localFile;
    std::string announcement;
  };
  const Case cases[] = {
      {"first download", std::nullopt, kNoLocalText},
      {"update", kOld, kOutOfDateText},
  };
  ASSERT_GT(kPublished.size(), 4096u);
  for (const Case& c : cases) {
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

}  // namespace
}  // namespace zrv::test
