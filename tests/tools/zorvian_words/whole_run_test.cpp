// The program against a repository that zorvian-words built, published and serves: the first run
// downloads and verifies the database and transliterates with it; the next finds it up to date.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>

#include "files.h"
#include "program_runner.h"
#include "repository_server.h"
#include "serve_process.h"
#include "small_sources.h"
#include "transcripts.h"

namespace zrv::words_tool {
namespace {

using test::writeDataFolder;
using ::testing::HasSubstr;
using ::testing::StartsWith;

const std::filesystem::path kTool = ZRV_WORDS_EXECUTABLE;

/// The first Zorvian form of `word` in the US Midland table of `database`.
std::string firstForm(const std::filesystem::path& database, const std::string& word) {
  sqlite3* db = nullptr;
  sqlite3_open(database.c_str(), &db);
  sqlite3_stmt* statement = nullptr;
  sqlite3_prepare_v2(db,
                     "SELECT zorvian_word FROM zrv_words_us_midland WHERE english_word = ? "
                     "ORDER BY word_weight DESC;",
                     -1, &statement, nullptr);
  sqlite3_bind_text(statement, 1, word.c_str(), -1, SQLITE_TRANSIENT);
  std::string form;
  if (sqlite3_step(statement) == SQLITE_ROW) {
    form = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
  }
  sqlite3_finalize(statement);
  sqlite3_close(db);
  return form;
}

TEST(WholeRunAgainstServedRepository, FirstRunDownloadsAndUsesTheDatabaseSecondFindsItCurrent) {
  test::TempDir folder;
  test::writeFile(folder / "small.dict",
                  "bath B AE1 TH\ncat K AE1 T\nsat S AE1 T\nthe DH AH0\nthe(2) DH IY1\n");
  test::writeFile(folder / "words", "bath\ncat\nsat\nthe\n");
  writeDataFolder(folder / "data");
  test::RunOptions toolOptions;
  toolOptions.executable = kTool;
  toolOptions.arguments = {
      "build",   "--dictionary",        "small.dict", "--word-lists",      "words", "--data",
      "data",    "--names-from-espeak", "none",       "--large-word-list", "none",  "--output",
      "built.db"};
  ASSERT_EQ(test::runProgram(folder.path(), "", toolOptions).status, 0);
  toolOptions.arguments = {"publish", "--database", "built.db", "--root", "repo"};
  ASSERT_EQ(test::runProgram(folder.path(), "", toolOptions).status, 0);

  ServeProcess serve(kTool, folder / "repo", test::RepositoryServer::defaultPort());
  ASSERT_THAT(serve.readLine(), StartsWith("Serving "));

  const std::filesystem::path work = folder / "work";
  std::filesystem::create_directories(work / "output");
  std::filesystem::create_directories(work / "unknown_words");
  test::writeFile(work / "input.txt", "The cat sat.");
  const test::ProgramResult first = test::runProgram(work, test::runStartAnswers('y'));
  EXPECT_EQ(first.status, 0) << first.out;
  EXPECT_THAT(first.out,
              StartsWith(test::bannerText() +
                         "\n[INFO] Checking for Words Database updates...\n"
                         "[INFO] No Words Database found locally. Downloading the latest "
                         "version...\n"
                         "[INFO] Words Database download complete.\n"
                         "\n" +
                         test::inputFileQuestionText()));
  EXPECT_THAT(first.out, HasSubstr("16.) US Midland* (4 dictionary entries)\n"));
  EXPECT_EQ(test::readFile(work / "zrv_words.db"), test::readFile(folder / "built.db"));

  const std::filesystem::path db = folder / "built.db";
  std::string capitalisedThe = firstForm(db, "the");
  capitalisedThe[0] =
      static_cast<char>(std::toupper(static_cast<unsigned char>(capitalisedThe[0])));
  EXPECT_EQ(test::readFile(work / "output/input_output.txt"),
            capitalisedThe + " " + firstForm(db, "cat") + " " + firstForm(db, "sat") + ". ");
  EXPECT_EQ(test::readFile(work / "unknown_words/input_unknown_words.txt"), "");

  const test::ProgramResult second = test::runProgram(work, "");
  EXPECT_THAT(second.out, StartsWith(test::bannerText() + test::upToDateText()));
  EXPECT_EQ(serve.stopWith(SIGTERM), 0);
}

}  // namespace
}  // namespace zrv::words_tool
