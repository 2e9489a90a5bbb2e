// The run flow through the real executable: the banner, the database open, the newer-version
// notice, the entry counts, and the halts of the words database.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "tool_fixture.h"

namespace zrv::test {
namespace {

using ::testing::StartsWith;

const std::string kInputEnded = inputEndedText();

std::string queryError(const std::string& table, int code) {
  return "[ERROR] SQLite encountered an error when performing a query: SELECT COUNT(zorvian_word) "
         "FROM " +
         table + ";\nError code: " + std::to_string(code) + "\n";
}

class RunFlow : public ToolFixture {};

TEST_F(RunFlow, BannerComesFirstAndTheCountsReachTheAccentMenu) {
  words.word("cat", "kat").word("dog", "dôg").word("dog", "dag", 0, 0.5);
  words.row({"zrv_words_au_standard", "cat", "kæt"});
  words.row({"zrv_words_au_standard", "broken", std::nullopt});  // not an entry: not counted
  const ProgramResult result = runOn("", "1\n");
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.out,
            bannerText() + upToDateText() + inputFileQuestionText() +
                accentMenuText({{"zrv_words_us_midland", "3"}, {"zrv_words_au_standard", "1"}}) +
                kInputEnded);
}

TEST_F(RunFlow, CommandLineArgumentsChangeNothing) {
  words.word("cat", "kat");
  const ProgramResult plain = runOn("", "1\n");
  RunOptions options;
  options.arguments = {"--help", "2", "input.txt", "-v"};
  const ProgramResult withArguments = runOn("", "1\n", options);
  EXPECT_EQ(withArguments.status, plain.status);
  EXPECT_EQ(withArguments.out, plain.out);
}

TEST_F(RunFlow, NewerToolVersionIsAnnouncedAfterTheOpenAndBeforeTheFirstQuestion) {
  publishDatabase = false;
  server.publish(words.bytes(), "1.4.0\n");
  const ProgramResult result = runOn("", "");
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.out, bannerText() + upToDateText() +
                            "[INFO] A newer version of The Zorvian Transliteration Tool\n"
                            "is available. It can be downloaded from "
                            "https://www.zorvian.org/download\n"
                            "\n" +
                            inputFileQuestionText() + kInputEnded);
}

TEST_F(RunFlow, DatabaseThatCannotBeOpenedHaltsWithSqliteCode14) {
  // A folder in place of the file: provisioning cannot read or replace it and falls back to it.
  server.always(RepositoryServer::resourcePath("db_hash.sha1"), Reply::ok(std::string(40, 'a')));
  server.always(RepositoryServer::resourcePath("tool_version.txt"), Reply::ok("1.3.0\n"));
  publishDatabase = false;
  std::filesystem::create_directories(dir / "output");
  std::filesystem::create_directories(dir / "zrv_words.db");
  const ProgramResult result = runProgram(dir.path(), "1\n");
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.out,
            bannerText() +
                "\n[INFO] Checking for Words Database updates...\n"
                "[INFO] Words Database is out of date. Downloading the latest version...\n"
                "[ERROR] Could not download Words Database update. Trying again (1/3).\n"
                "[ERROR] Could not download Words Database update. Trying again (2/3).\n"
                "[ERROR] Could not download Words Database update. Trying again (3/3).\n"
                "[WARNING] Failed to check for Words Database updates after 3 total retries.\n"
                "[INFO] Defaulting to the local Words Database.\n"
                "\n"
                "[ERROR] Cannot open zrv_words.db. SQLite error code: 14 Halting the program.\n");
  EXPECT_TRUE(std::filesystem::is_directory(dir / "zrv_words.db"));
}

TEST_F(RunFlow, FileThatIsNotADatabaseFailsAtTheFirstCountWithCode26) {
  publishDatabase = false;
  const std::string junk(4096, 'x');
  server.publish(junk);
  writeFile(dir / "input.txt", "");
  writeFile(dir / "zrv_words.db", junk);
  const ProgramResult result = runProgram(dir.path(), "1\n");
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.out, bannerText() + upToDateText() + inputFileQuestionText() +
                            queryError("zrv_words_au_standard", 26));
  EXPECT_EQ(readFile(dir / "zrv_words.db"), junk);
}

TEST_F(RunFlow, EmptyDatabaseFileHasNoTablesAndFailsWithCode1) {
  publishDatabase = false;
  server.publish("");  // the published database is an empty file: downloaded, then opened
  writeFile(dir / "input.txt", "");
  const ProgramResult result = runProgram(dir.path(), "1\n");
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.out,
            bannerText() +
                "\n[INFO] Checking for Words Database updates...\n"
                "[INFO] No Words Database found locally. Downloading the latest version...\n"
                "[INFO] Words Database download complete.\n"
                "\n" +
                inputFileQuestionText() + queryError("zrv_words_au_standard", 1));
  EXPECT_EQ(std::filesystem::file_size(dir / "zrv_words.db"), 0u);
}

TEST_F(RunFlow, MissingTablesAreReportedInByteOrderNotMenuOrder) {
  words.withoutTable("zrv_words_us_nyc").withoutTable("zrv_words_us_new_england");
  const ProgramResult result = runOn("", "1\n");
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.out, bannerText() + upToDateText() + inputFileQuestionText() +
                            queryError("zrv_words_us_new_england", 1));
}

TEST_F(RunFlow, EveryAnswerTypedOnOneLineRunsToTheEnd) {
  words.word("hi", "hī");
  const ProgramResult result = runOn("Hi", runStartAnswers('y'));
  EXPECT_EQ(result.status, 0);
  EXPECT_THAT(result.out, StartsWith(runStartText(2, "0", {{"zrv_words_us_midland", "1"}})));
}

}  // namespace
}  // namespace zrv::test
