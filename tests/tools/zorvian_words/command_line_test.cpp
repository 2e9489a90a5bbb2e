#include "command_line.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <httplib.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <map>
#include <optional>
#include <regex>

#include "files.h"
#include "program_runner.h"
#include "publisher.h"
#include "serve_process.h"
#include "small_sources.h"
#include "static_server.h"

namespace zrv::words_tool {
namespace {

const std::filesystem::path kTool = ZRV_WORDS_EXECUTABLE;

// The real executable with both of its output streams in `out`, as a user sees them.
zrv::test::ProgramResult runTool(const std::filesystem::path& folder,
                                 const std::string& arguments) {
  zrv::test::RunOptions options;
  options.executable = "/bin/sh";
  options.arguments = {"-c", "exec \"" + kTool.string() + "\" " + arguments + " 2>&1"};
  options.timeoutSeconds = 60;
  return zrv::test::runProgram(folder, "", options);
}

// The same with only its standard error in `out`, for what it says when it fails.
zrv::test::ProgramResult runToolForErrors(const std::filesystem::path& folder,
                                          const std::string& arguments) {
  zrv::test::RunOptions options;
  options.executable = "/bin/sh";
  options.arguments = {"-c", "exec \"" + kTool.string() + "\" " + arguments + " 2>&1 >/dev/null"};
  options.timeoutSeconds = 60;
  return zrv::test::runProgram(folder, "", options);
}

TEST(WordsToolCommandLine, HelpPrintsTheUsageAndSucceeds) {
  zrv::test::TempDir folder;
  for (const char* arguments : {"--help", "-h", "build --help", "serve --root x --help"}) {
    const auto result = runTool(folder.path(), arguments);
    EXPECT_EQ(result.status, 0) << arguments;
    EXPECT_EQ(result.out, helpText()) << arguments;
  }
}

TEST(WordsToolCommandLine, ACommandLineItDoesNotUnderstandIsAUsageError) {
  struct Case {
    std::string arguments;
    std::string firstLine;
  };
  const Case cases[] = {
      {"", "zorvian-words: no command given"},
      {"bogus", "zorvian-words: unknown command 'bogus'"},
      {"build --port 1", "zorvian-words: unknown option '--port' for build"},
      {"build --output", "zorvian-words: the option --output needs a value"},
      {"publish", "zorvian-words: publish needs --root DIR"},
      {"serve", "zorvian-words: serve needs --root DIR"},
      {"serve --root . --port 70000",
       "zorvian-words: --port needs a number from 0 to 65535, "
       "not '70000'"},
      {"serve --root . --port=x1",
       "zorvian-words: --port needs a number from 0 to 65535, "
       "not 'x1'"},
  };
  zrv::test::TempDir folder;
  for (const Case& c : cases) {
    const auto result = runTool(folder.path(), c.arguments);
    EXPECT_EQ(result.status, kStatusUsage) << c.arguments;
    EXPECT_EQ(result.out, c.firstLine + "\nTry 'zorvian-words --help'.\n") << c.arguments;
  }
}

TEST(WordsToolCommandLine, AFailedCommandSaysWhyAndExitsWithOne) {
  zrv::test::TempDir folder;
  struct Case {
    std::string arguments;
    std::string out;
  };
  const Case cases[] = {
      {"build --dictionary missing.dict",
       "zorvian-words: cannot read the pronouncing dictionary missing.dict\n"},
      {"publish --root repo --database missing.db",
       "zorvian-words: no database to publish at missing.db\n"},
      {"serve --root missing --port 0", "zorvian-words: no folder to serve at missing\n"},
  };
  for (const Case& c : cases) {
    const auto result = runTool(folder.path(), c.arguments);
    EXPECT_EQ(result.status, kStatusFailed) << c.arguments;
    EXPECT_EQ(result.out, c.out) << c.arguments;
  }
}

TEST(WordsToolCommandLine, BuildThenPublishMakeTheRepositoryFolder) {
  zrv::test::TempDir folder;
  zrv::test::writeFile(folder / "small.dict", "bath B AE1 TH\nread R EH1 D\nread(2) R IY1 D\n");
  zrv::test::writeFile(folder / "words", "bath\n");
  zrv::test::writeFile(folder / "more-words", "Read\n");
  zrv::test::writeDataFolder(folder / "data", {{"heteronyms.txt", "read 2 1\n"}});
  const auto built =
      runTool(folder.path(),
              "build --dictionary small.dict --word-lists words,more-words "
              "--data data --names-from-espeak none --large-word-list none --output out.db");
  ASSERT_EQ(built.status, 0) << built.out;
  EXPECT_TRUE(std::regex_search(built.out, std::regex("^Built out\\.db from 2 words in ")));
  EXPECT_NE(built.out.find("  zrv_words_uk_rp                        3 rows\n"), std::string::npos)
      << built.out;

  const auto published = runTool(folder.path(), "publish --database out.db --root repo");
  ASSERT_EQ(published.status, 0) << published.out;
  const std::filesystem::path master = folder / "repo" / kRepositoryFolder;
  EXPECT_EQ(zrv::test::readFile(master / "zrv_words.db"), zrv::test::readFile(folder / "out.db"));
  EXPECT_EQ(zrv::test::readFile(master / "tool_version.txt"), "1.3.0\n");
  const std::string digest = zrv::test::readFile(master / "db_hash.sha1");
  EXPECT_EQ(published.out, "Published out.db in repo/" + std::string(kRepositoryFolder) +
                               " (SHA-1 " + digest.substr(0, 40) + ").\n");
}

// A bad source stops the build before anything is written: the user reads which file and line,
// and the output folder holds neither a database nor a half-built one.
TEST(WordsToolCommandLine, ABuildFromABadSourceSaysWhereAndLeavesNoDatabase) {
  const std::string good = "bath B AE1 TH\nread R EH1 D\nread(2) R IY1 D\n";
  const std::string notAPhoneme =
      " is not a phoneme with its stress digit (vowels AA0 to UW2, consonants B to ZH)";
  struct Case {
    std::optional<std::string> dictionary;    // nothing: no such file
    std::map<std::string, std::string> data;  // the data files that are not empty
    std::string err;
  };
  const Case cases[] = {
      {std::nullopt, {}, "cannot read the pronouncing dictionary test.dict"},
      {"read R EH1 D\nbath B AE TH\n", {}, "test.dict:2: \"AE\"" + notAPhoneme},
      {good,
       {{"heteronyms.txt", "# heteronyms\nread 2 3\n"}},
       "heteronyms.txt:2: the dictionary has no reading 3 of \"read\""},
      {good,
       {{"bath.txt", "# BATH words\n\nbath au\nzorvia\n"}},
       "bath.txt:4: \"zorvia\" is not in the dictionary"},
      {good,
       {{"lot_before_r.txt", "bath NORTH\n"}},
       "lot_before_r.txt:1: expected a word and FORCE or LOT, not \"bath NORTH\""},
  };
  for (const Case& c : cases) {
    zrv::test::TempDir folder;
    if (c.dictionary) {
      zrv::test::writeFile(folder / "test.dict", *c.dictionary);
    }
    zrv::test::writeFile(folder / "words", "bath\nread\n");
    zrv::test::writeDataFolder(folder / "data", c.data);
    std::filesystem::create_directories(folder / "out");
    const auto result = runToolForErrors(folder.path(),
                                         "build --dictionary test.dict --word-lists words --data "
                                         "data --names-from-espeak none --large-word-list none "
                                         "--output out/zrv_words.db");
    EXPECT_EQ(result.status, kStatusFailed) << c.err;
    EXPECT_EQ(result.out, "zorvian-words: " + c.err + "\n");
    EXPECT_TRUE(std::filesystem::is_empty(folder / "out")) << c.err;
  }
}

TEST(WordsToolCommandLine, ABuildWithAnUnreadableDataFileSaysWhichAndLeavesNoDatabase) {
  zrv::test::TempDir folder;
  zrv::test::writeFile(folder / "good.dict", "bath B AE1 TH\n");
  zrv::test::writeFile(folder / "words", "bath\n");
  zrv::test::writeDataFolder(folder / "data");
  // A folder where the file should be: unreadable even to root, which the tests may run as.
  std::filesystem::remove(folder / "data" / "bath.txt");
  std::filesystem::create_directories(folder / "data" / "bath.txt");
  std::filesystem::create_directories(folder / "out");
  const auto result = runToolForErrors(folder.path(),
                                       "build --dictionary good.dict --word-lists words --data "
                                       "data --names-from-espeak none --large-word-list none "
                                       "--output out/zrv_words.db");
  EXPECT_EQ(result.status, kStatusFailed);
  EXPECT_EQ(result.out, "zorvian-words: cannot read the data file data/bath.txt\n");
  EXPECT_TRUE(std::filesystem::is_empty(folder / "out"));
}

TEST(WordsToolCommandLine, ServeAnswersOnLoopbackUntilSigintOrSigterm) {
  zrv::test::TempDir folder;
  zrv::test::writeFile(folder / "some.db", std::string("SQLite format 3\0 and more", 26));
  PublishReport report;
  std::string error;
  ASSERT_TRUE(publishWordsDatabase(folder / "some.db", folder / "repo", "1.3.0", report, error));

  for (int signal : {SIGTERM, SIGINT}) {
    ServeProcess serve(kTool, folder / "repo");
    const std::string announced = serve.readLine();
    std::smatch port;
    ASSERT_TRUE(std::regex_match(announced, port,
                                 std::regex("Serving .*/repo at http://127\\.0\\.0\\.1:([0-9]+)")))
        << announced;
    httplib::Client client(kLoopbackAddress, std::stoi(port[1]));
    std::string path = "/";  // built piecewise: GCC 12 warns falsely about "/" + std::string
    path.append(kRepositoryFolder).append("/zrv_words.db");
    auto response = client.Get(path);
    ASSERT_TRUE(response);
    EXPECT_EQ(response->body, zrv::test::readFile(folder / "some.db"));
    EXPECT_EQ(serve.stopWith(signal), 0) << signal;
    EXPECT_EQ(serve.readLine(), "Stopped.");
  }
}

}  // namespace
}  // namespace zrv::words_tool
