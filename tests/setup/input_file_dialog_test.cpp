// The input-file question and the custom path dialog, through the real executable.

#include <fcntl.h>
#include <gmock/gmock.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "dialog_texts.h"
#include "tool_fixture.h"

namespace zrv::test {
namespace {

using ::testing::StartsWith;

/// Makes a file read-only in a way that holds for root too: its mode loses the write bits, and,
/// when the process may ignore them, the file system's immutable flag is set (and taken away
/// again, so the folder can be removed).
class WriteProtection {
 public:
  explicit WriteProtection(const std::filesystem::path& file) : file_(file) {
    std::filesystem::permissions(file, std::filesystem::perms::owner_read |
                                           std::filesystem::perms::group_read |
                                           std::filesystem::perms::others_read);
    if (geteuid() != 0) {
      holds_ = true;
      return;
    }
    immutable_ = setImmutable(true);
    holds_ = immutable_;
  }
  ~WriteProtection() {
    if (immutable_) {
      setImmutable(false);
    }
  }
  WriteProtection(const WriteProtection&) = delete;
  WriteProtection& operator=(const WriteProtection&) = delete;

  /// False when nothing stops this process from writing the file.
  bool holds() const { return holds_; }

 private:
  bool setImmutable(bool on) {
    const int fd = open(file_.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
      return false;
    }
    int flags = 0;
    bool done = ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (done) {
      flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
      done = ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    close(fd);
    return done;
  }

  std::filesystem::path file_;
  bool immutable_ = false;
  bool holds_ = false;
};

/// The dialog after the input file: menu, accent 16, names answered, count and start.
std::string afterInputFile(unsigned long long characters) {
  return accentMenuText() + accentChosenText("zrv_words_us_midland") +
         countAndStartText(characters);
}

class InputFileDialog : public ToolFixture {};

TEST_F(InputFileDialog, AnswerOneUsesInputTxtAndNamesTheResultsAfterIt) {
  const ProgramResult result = runOn("Hello there.", runStartAnswers());

  EXPECT_THAT(result.out, StartsWith(runStartText(12)));
  EXPECT_EQ(result.status, 0);
  EXPECT_TRUE(std::filesystem::is_regular_file(dir / "output/input_output.txt"));
  EXPECT_TRUE(std::filesystem::is_regular_file(dir / "unknown_words/input_unknown_words.txt"));
}

TEST_F(InputFileDialog, AllAnswersOnOneLineAnswerTheQuestionsInTurn) {
  const ProgramResult result = runOn("Hello there.", "1 16 y s\n");

  EXPECT_THAT(result.out, StartsWith(runStartText(12)));
  EXPECT_EQ(result.status, 0);
}

TEST_F(InputFileDialog, OtherAnswersRepeatOnlyThePromptAfterTheInvalidOptionLine) {
  // Each rejected answer prints the invalid-option line and the bare prompt; the three lines of
  // the question stay printed once. Several rejected answers on one line are read one by one.
  const struct {
    const char* answers;
    int rejected;
  } cases[] = {
      {"0\n", 1},         {"3\n", 1},  {"01\n", 1}, {"1.\n", 1},    {"one\n", 1},
      {"input.txt\n", 1}, {"-1\n", 1}, {"2x\n", 1}, {"x y z\n", 3}, {"12 21\n", 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.answers);
    const ProgramResult result = runOn("Hello there.", std::string(c.answers) + runStartAnswers());

    std::string expected = untilInputQuestion();
    for (int i = 0; i < c.rejected; ++i) {
      expected += kInvalidOption + kMenuPrompt;
    }
    EXPECT_THAT(result.out, StartsWith(expected + afterInputFile(12)));
    EXPECT_EQ(result.status, 0);
  }
}

TEST_F(InputFileDialog, MissingInputTxtHaltsWithoutCreatingIt) {
  const ProgramResult result = run("1\n16\ny\ns\n");

  EXPECT_EQ(result.out, untilInputQuestion() + kCannotOpenInputTxt);
  EXPECT_EQ(result.status, 1);
  EXPECT_FALSE(std::filesystem::exists(dir / "input.txt"));
  EXPECT_TRUE(filesUnder(dir / "output").empty());
  EXPECT_TRUE(filesUnder(dir / "unknown_words").empty());
}

TEST_F(InputFileDialog, InputTxtThatCannotBeOpenedForWritingHalts) {
  // A folder named input.txt can be read as a directory but never opened for writing.
  std::filesystem::create_directory(dir / "input.txt");

  const ProgramResult result = run("1\n16\ny\ns\n");

  EXPECT_EQ(result.out, untilInputQuestion() + kCannotOpenInputTxt);
  EXPECT_EQ(result.status, 1);
}

TEST_F(InputFileDialog, InputTxtThatIsNoRegularFileHalts) {
  // A FIFO opens for reading and writing, but the program would hold its only writer and wait
  // for ever for the end of the text.
  ASSERT_EQ(mkfifo((dir / "input.txt").c_str(), 0644), 0);

  RunOptions options;
  options.timeoutSeconds = 30;
  const ProgramResult result = run("1\n16\ny\ns\n", options);

  EXPECT_FALSE(result.timedOut);
  EXPECT_EQ(result.out, untilInputQuestion() + kCannotOpenInputTxt);
  EXPECT_EQ(result.status, 1);
}

TEST_F(InputFileDialog, CustomPathThatIsNoRegularFileIsAskedAgain) {
  writeFile(dir / "story.txt", "Hi.");
  ASSERT_EQ(mkfifo((dir / "pipe.txt").c_str(), 0644), 0);

  RunOptions options;
  options.timeoutSeconds = 30;
  const ProgramResult result = run("2\npipe.txt\nstory.txt\n16\ny\ns\n", options);

  EXPECT_FALSE(result.timedOut);
  EXPECT_THAT(result.out, StartsWith(untilInputQuestion() + pathRequestText() +
                                     kPathCannotBeOpened + pathRequestText() + afterInputFile(3)));
  EXPECT_EQ(result.status, 0);
}

TEST_F(InputFileDialog, ReadOnlyInputTxtHalts) {
  writeFile(dir / "input.txt", "Hello there.");
  WriteProtection protection(dir / "input.txt");
  if (!protection.holds()) {
    GTEST_SKIP() << "this file system cannot make a file read-only for root";
  }

  const ProgramResult result = run("1\n16\ny\ns\n");

  EXPECT_EQ(result.out, untilInputQuestion() + kCannotOpenInputTxt);
  EXPECT_EQ(result.status, 1);
}

TEST_F(InputFileDialog, OpeningInputTxtLeavesItsBytesAsTheyAre) {
  // The run ends at the start prompt, after the count has read the whole file.
  const std::string text = "Line one.\r\nLine two.\n";

  const ProgramResult result = runOn(text, "1\n16\ny\n");

  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(readFile(dir / "input.txt"), text);
}

TEST_F(InputFileDialog, CustomFileGivesItsBaseNameToTheResultFiles) {
  // Both separators count and the last one wins; only one trailing ".txt" is taken off.
  const struct {
    const char* file;   // created under the working folder
    const char* typed;  // "@" stands for the working folder's absolute path
    const char* baseName;
  } cases[] = {
      {"story.txt", "story.txt", "story"},
      {"texts/story.txt", "texts/story.txt", "story"},
      {"texts/story.txt", "@/texts/story.txt", "story"},
      {"texts\\story.txt", "texts\\story.txt", "story"},
      {"a\\b/story.txt", "a\\b/story.txt", "story"},
      {"a/b\\story.txt", "a/b\\story.txt", "story"},
      {"texts/story.txt", "./texts/../texts/story.txt", "story"},
      {"mytxtfile.txt", "mytxtfile.txt", "mytxtfile"},
      {"notes.txt.txt", "notes.txt.txt", "notes.txt"},
      {"txt.txt", "txt.txt", "txt"},
      {"a.txtb.txt", "a.txtb.txt", "a.txtb"},
      {".txt", ".txt", ""},
      {"texts/.txt", "texts/.txt", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    TempDir folder;
    std::filesystem::create_directories((folder / c.file).parent_path());
    writeFile(folder / c.file, "Hi.");
    std::filesystem::create_directory(folder / "output");
    std::filesystem::create_directory(folder / "unknown_words");
    const std::string database = words.bytes();
    writeFile(folder / "zrv_words.db", database);
    server.publish(database);
    std::string typed = c.typed;
    if (typed[0] == '@') {
      typed = folder.path().string() + typed.substr(1);
    }

    const ProgramResult result = runProgram(folder.path(), "2\n" + typed + "\n16\ny\ns\n");

    EXPECT_THAT(result.out,
                StartsWith(untilInputQuestion() + pathRequestText() + afterInputFile(3)));
    EXPECT_EQ(result.status, 0);
    const std::string base = c.baseName;
    EXPECT_TRUE(std::filesystem::is_regular_file(folder / ("output/" + base + "_output.txt")));
    EXPECT_TRUE(std::filesystem::is_regular_file(folder /
                                                 ("unknown_words/" + base + "_unknown_words.txt")));
    EXPECT_EQ(readFile(folder / c.file), "Hi.");
  }
}

TEST_F(InputFileDialog, PathWithoutTheExactTxtEndingIsAskedAgain) {
  writeFile(dir / "story.txt", "Hi.");
  writeFile(dir / "story.TXT", "Hi.");
  // Each rejected path prints the first path message, then the request again from its empty line.
  const char* rejected[] = {"story.TXT", "story.Txt", "story.tx", "story",      "txt",
                            ".tx",       "a",         "storytxt", "story.txt.", "story.txt/"};
  std::string answers = "2\n";
  std::string expected = untilInputQuestion() + pathRequestText();
  for (const char* path : rejected) {
    answers += std::string(path) + "\n";
    expected += kPathNotTxt + pathRequestText();
  }

  const ProgramResult result = run(answers + "story.txt\n16\ny\ns\n");

  EXPECT_THAT(result.out, StartsWith(expected + afterInputFile(3)));
  EXPECT_EQ(result.status, 0);
  EXPECT_TRUE(std::filesystem::is_regular_file(dir / "output/story_output.txt"));
}

TEST_F(InputFileDialog, TxtPathThatCannotBeOpenedIsAskedAgain) {
  writeFile(dir / "story.txt", "Hi.");
  std::filesystem::create_directory(dir / "folder.txt");
  // Missing files, folders and names the file system refuses print the second path message;
  // a later path that opens is used as if nothing had failed before it.
  const std::string rejected[] = {"missing.txt", "folder.txt", "nowhere/story.txt",
                                  "story.txt/x.txt", std::string(300, 'a') + ".txt"};
  std::string answers = "2\n";
  std::string expected = untilInputQuestion() + pathRequestText();
  for (const std::string& path : rejected) {
    answers += path + "\n";
    expected += kPathCannotBeOpened + pathRequestText();
  }

  const ProgramResult result = run(answers + "story.txt\n16\ny\ns\n");

  EXPECT_THAT(result.out, StartsWith(expected + afterInputFile(3)));
  EXPECT_EQ(result.status, 0);
  EXPECT_FALSE(std::filesystem::exists(dir / "missing.txt"));
  EXPECT_TRUE(std::filesystem::is_directory(dir / "folder.txt"));
}

TEST_F(InputFileDialog, ReadOnlyCustomFileIsAskedAgain) {
  writeFile(dir / "story.txt", "Hi.");
  writeFile(dir / "locked.txt", "Locked.");
  WriteProtection protection(dir / "locked.txt");
  if (!protection.holds()) {
    GTEST_SKIP() << "this file system cannot make a file read-only for root";
  }

  const ProgramResult result = run("2\nlocked.txt\nstory.txt\n16\ny\ns\n");

  EXPECT_THAT(result.out, StartsWith(untilInputQuestion() + pathRequestText() +
                                     kPathCannotBeOpened + pathRequestText() + afterInputFile(3)));
  EXPECT_EQ(result.status, 0);
}

TEST_F(InputFileDialog, PathWithABlankIsReadAsTwoAnswers) {
  // "my" is no .txt path; "story.txt", the rest of the line, answers the next path prompt.
  writeFile(dir / "my story.txt", "Not this one.");
  writeFile(dir / "story.txt", "Hi.");

  const ProgramResult result = run("2\nmy story.txt\n16\ny\ns\n");

  EXPECT_THAT(result.out, StartsWith(untilInputQuestion() + pathRequestText() + kPathNotTxt +
                                     pathRequestText() + afterInputFile(3)));
  EXPECT_EQ(result.status, 0);
  EXPECT_TRUE(std::filesystem::is_regular_file(dir / "output/story_output.txt"));
}

TEST_F(InputFileDialog, AnswerOneNeverAsksForAPathWhateverTheFolderHolds) {
  writeFile(dir / "other.txt", "Another file.");

  const ProgramResult result = runOn("Hi.", "1\n16\ny\ns\n");

  EXPECT_THAT(result.out, StartsWith(untilInputQuestion() + afterInputFile(3)));
  EXPECT_TRUE(std::filesystem::is_regular_file(dir / "output/input_output.txt"));
  EXPECT_FALSE(std::filesystem::exists(dir / "output/other_output.txt"));
}

}  // namespace
}  // namespace zrv::test
