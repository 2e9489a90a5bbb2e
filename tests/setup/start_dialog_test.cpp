// The result files, the character count and the start prompt, through the real executable.

#include <gmock/gmock.h>

#include <filesystem>

#include "dialog_texts.h"
#include "tool_fixture.h"

namespace zrv::test {
namespace {

using ::testing::StartsWith;

/// The whole dialog on input.txt with accent 16, up to the names prompt.
std::string untilNamesPrompt() {
  return untilInputQuestion() + accentMenuText() + accentChosenText("zrv_words_us_midland");
}

class StartDialog : public ToolFixture {};

TEST_F(StartDialog, ResultFilesAreCreatedEmptyBeforeTheStartPrompt) {
  // The run stops at the start prompt: both files exist by then, old contents gone.
  std::filesystem::create_directories(dir / "output");
  std::filesystem::create_directories(dir / "unknown_words");
  writeFile(dir / "output/input_output.txt", "an earlier run's output\n");
  writeFile(dir / "unknown_words/input_unknown_words.txt", "earlier\nwords\n");

  const ProgramResult result = runOn("Hello there.", "1\n16\ny\n");

  EXPECT_EQ(result.out, untilNamesPrompt() + countText(12) + kStartPrompt + kInputEnded);
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(filesUnder(dir / "output"),
            (std::map<std::string, std::string>{{"input_output.txt", ""}}));
  EXPECT_EQ(filesUnder(dir / "unknown_words"),
            (std::map<std::string, std::string>{{"input_unknown_words.txt", ""}}));
}

TEST_F(StartDialog, CountIsTheNumberOfBytesInTheInput) {
  const struct {
    const char* name;
    std::string text;
    unsigned long long characters;
  } cases[] = {
      {"empty", "", 0},
      {"one sentence", "Hello there.", 12},
      // Ten letters, two of them two-byte letters.
      {"utf-8", "Caf\xC3\xA9 na\xC3\xAFve", 12},
      {"utf-8 ten letters",
       "abcd\xC3\xA9\xC3\xA9"
       "efgh",
       12},
      {"line ends", "One.\r\nTwo.\nThree.\r\n", 19},
      {"nul and high bytes", std::string("a\0b\xFF\x80", 5), 5},
      // More than the count reads in one block.
      {"large", std::string(200003, 'x'), 200003},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const ProgramResult result = runOn(c.text, "1\n16\ny\n");

    EXPECT_EQ(result.out,
              untilNamesPrompt() + countText(c.characters) + kStartPrompt + kInputEnded);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(readFile(dir / "input.txt"), c.text);
  }
}

TEST_F(StartDialog, OnlySOrUpperCaseSStartsAndOtherAnswersRepeatTheWholePrompt) {
  const struct {
    const char* answers;
    int rejected;
  } cases[] = {
      {"s\n", 0},     {"S\n", 0},     {"start\ns\n", 1},  {"y\nS\n", 1},    {"ss\ns\n", 1},
      {"sS\nS\n", 1}, {"s.\ns\n", 1}, {"go GO 1 s\n", 3}, {"\n\n  s\n", 0}, {"Start\n\n\nS\n", 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.answers);
    const ProgramResult result = runOn("Hello there.", "1\n16\ny\n" + std::string(c.answers));

    std::string expected = untilNamesPrompt() + countText(12);
    for (int i = 0; i < c.rejected; ++i) {
      expected += kStartPrompt;
    }
    EXPECT_THAT(result.out, StartsWith(expected + kStartPrompt + kStarting));
    EXPECT_EQ(result.status, 0);
  }
}

TEST_F(StartDialog, EmptyLinesBetweenAnswersAreNoAnswers) {
  const ProgramResult result = runOn("Hello there.", "\n\n1\n\n \t\n16\n\ny\n\n\ns\n");

  EXPECT_THAT(result.out, StartsWith(runStartText(12)));
  EXPECT_EQ(result.status, 0);
}

TEST_F(StartDialog, EmptyInputFileStillWaitsForTheStartAnswer) {
  const ProgramResult result = runOn("", "1\n16\ny\nstart\ns\n");

  EXPECT_THAT(result.out, StartsWith(untilNamesPrompt() + countText(0) + kStartPrompt +
                                     kStartPrompt + kStarting));
  EXPECT_EQ(result.status, 0);
}

TEST_F(StartDialog, MissingOutputFolderHaltsBeforeAnyFileIsCreated) {
  makeResultFolders = false;
  std::filesystem::create_directory(dir / "unknown_words");

  const ProgramResult result = runOn("Hello there.", "1\n16\ny\ns\n");

  EXPECT_EQ(result.out, untilNamesPrompt() + kCannotCreateOutput);
  EXPECT_EQ(result.status, 1);
  EXPECT_FALSE(std::filesystem::exists(dir / "output"));
  EXPECT_TRUE(filesUnder(dir / "unknown_words").empty());
}

TEST_F(StartDialog, OutputFileThatCannotBeReplacedHalts) {
  std::filesystem::create_directories(dir / "output/input_output.txt");

  const ProgramResult result = runOn("Hello there.", "1\n16\ny\ns\n");

  EXPECT_EQ(result.out, untilNamesPrompt() + kCannotCreateOutput);
  EXPECT_EQ(result.status, 1);
  EXPECT_TRUE(filesUnder(dir / "unknown_words").empty());
}

TEST_F(StartDialog, MissingUnknownWordsFolderHaltsAndLeavesTheEmptyOutputFile) {
  makeResultFolders = false;
  std::filesystem::create_directory(dir / "output");

  const ProgramResult result = runOn("Hello there.", "1\n16\ny\ns\n");

  EXPECT_EQ(result.out, untilNamesPrompt() + kCannotCreateUnknownWords);
  EXPECT_EQ(result.status, 1);
  EXPECT_FALSE(std::filesystem::exists(dir / "unknown_words"));
  EXPECT_EQ(filesUnder(dir / "output"),
            (std::map<std::string, std::string>{{"input_output.txt", ""}}));
}

TEST_F(StartDialog, MissingBothFoldersHaltsOnTheOutputFile) {
  makeResultFolders = false;

  const ProgramResult result = runOn("Hello there.", "1\n16\ny\ns\n");

  EXPECT_EQ(result.out, untilNamesPrompt() + kCannotCreateOutput);
  EXPECT_EQ(result.status, 1);
  EXPECT_FALSE(std::filesystem::exists(dir / "output"));
  EXPECT_FALSE(std::filesystem::exists(dir / "unknown_words"));
}

TEST_F(StartDialog, CustomFileNamesBothResultFiles) {
  writeFile(dir / "chapter.txt", "Hello there.");

  const ProgramResult result = run("2\nchapter.txt\n16\ny\n");

  EXPECT_EQ(result.out, untilInputQuestion() + pathRequestText() + accentMenuText() +
                            accentChosenText("zrv_words_us_midland") + countText(12) +
                            kStartPrompt + kInputEnded);
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(filesUnder(dir / "output"),
            (std::map<std::string, std::string>{{"chapter_output.txt", ""}}));
  EXPECT_EQ(filesUnder(dir / "unknown_words"),
            (std::map<std::string, std::string>{{"chapter_unknown_words.txt", ""}}));
}

}  // namespace
}  // namespace zrv::test
