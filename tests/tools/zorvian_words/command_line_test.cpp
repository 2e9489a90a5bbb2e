#include "command_line.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <httplib.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <regex>

#include "files.h"
#include "program_runner.h"
#include "publisher.h"
#include "serve_process.h"
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
  zrv::test::writeFile(folder / "small.dict", "bath B AE TH\nread R EH D\nread(2) R IY D\n");
  zrv::test::writeFile(folder / "words", "bath\n");
  const auto built =
      runTool(folder.path(), "build --dictionary small.dict --word-list words --output out.db");
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
