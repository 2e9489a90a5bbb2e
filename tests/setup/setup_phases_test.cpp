// The three setup phases called on a RunState over string streams, in a temporary working folder,
// for what a transcript cannot show: the fields they set and the state of the input stream.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>

#include "app/run_state.h"
#include "files.h"
#include "setup/accent_choice.h"
#include "setup/input_file.h"
#include "setup/output_files.h"

namespace zrv {
namespace {

using test::readFile;
using test::TempDir;
using test::writeFile;

/// A RunState whose dialog reads `answers`, run with a fresh temporary working folder.
class SetupPhases : public ::testing::Test {
 protected:
  SetupPhases() {
    std::filesystem::create_directory("output");
    std::filesystem::create_directory("unknown_words");
  }

  void answer(const std::string& text) {
    in.str(text);
    in.clear();
  }

  TempDir dir;
  test::ScopedWorkingDirectory inDir{dir.path()};
  std::istringstream in;
  std::ostringstream out;
  Console console{in, out};
  RunState state{console, RepositorySettings{}};
};

TEST_F(SetupPhases, InputTxtIsOpenedForReadingAndWritingUnderTheNameInput) {
  writeFile("input.txt", "Hi.");
  answer("1\n");

  ASSERT_EQ(selectInputFile(state), PhaseResult::kGoOn);

  EXPECT_EQ(state.customFileName, "input");
  EXPECT_EQ(state.inputFileChoice, "1");
  ASSERT_TRUE(state.textFileReader.is_open());
  EXPECT_EQ(state.textFileReader.get(), 'H');
  EXPECT_EQ(readFile("input.txt"), "Hi.");
}

TEST_F(SetupPhases, FailedOpensLeaveTheStreamUsableForTheAcceptedPath) {
  writeFile("story.txt", "Story.");
  std::filesystem::create_directory("folder.txt");
  answer("2\nmissing.txt\nfolder.txt\nstory.txt\n");

  ASSERT_EQ(selectInputFile(state), PhaseResult::kGoOn);

  EXPECT_EQ(state.inputFilePath, "story.txt");
  EXPECT_EQ(state.customFileName, "story");
  EXPECT_TRUE(state.textFileReader.good());
  EXPECT_EQ(state.textFileReader.get(), 'S');
  EXPECT_FALSE(std::filesystem::exists("missing.txt"));
}

TEST_F(SetupPhases, PathWithANulByteIsNotCutShortToAnotherFile) {
  // Opened as a C string, "story\0.txt" would name the file "story".
  writeFile("story", "Not the input.");
  writeFile("story.txt", "Story.");
  answer(std::string("2\nstory\0.txt\nstory.txt\n", 23));

  ASSERT_EQ(selectInputFile(state), PhaseResult::kGoOn);

  EXPECT_EQ(state.inputFilePath, "story.txt");
  EXPECT_NE(out.str().find("[ERROR] The path entered is invalid, contains unsupported UTF8"),
            std::string::npos);
  EXPECT_EQ(state.textFileReader.get(), 'S');
}

TEST_F(SetupPhases, AccentAndNamesAnswersSetTheTableAndTheNamesPolicy) {
  const struct {
    const char* answers;
    const char* table;
    bool transliterateNames;
  } cases[] = {
      {"16 y", "zrv_words_us_midland", true},
      {"1 Y", "zrv_words_au_standard", true},
      {"17 n", "zrv_words_us_nyc", false},
      {"18 N", "zrv_words_us_new_england", false},
      {"x 19 yes y", "zrv_words_us_north_central", true},
      {"24 no n", "zrv_words_za_standard", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.answers);
    state.transliterateNames = !c.transliterateNames;
    answer(c.answers);

    ASSERT_EQ(chooseAccentAndNames(state), PhaseResult::kGoOn);

    EXPECT_EQ(state.sqlTableToUse, c.table);
    EXPECT_EQ(state.transliterateNames, c.transliterateNames);
  }
}

TEST_F(SetupPhases, CountMatchesWhatPeekAndGetDeliverAndTheInputIsRewound) {
  const std::string text = "First line.\r\nCaf\xC3\xA9.\n" + std::string(70000, 'z') + "\nEnd";
  writeFile("input.txt", text);
  answer("1 s");
  ASSERT_EQ(selectInputFile(state), PhaseResult::kGoOn);

  ASSERT_EQ(prepareOutputAndStart(state), PhaseResult::kGoOn);

  EXPECT_EQ(state.totalCharacters, text.size());
  EXPECT_EQ(state.finalOutputFileName, "output/input_output.txt");
  EXPECT_EQ(state.finalUnknownWordsFileName, "unknown_words/input_unknown_words.txt");
  EXPECT_TRUE(state.outputWriter.is_open());
  EXPECT_TRUE(state.unknownWords.is_open());
  EXPECT_EQ(state.keyPressed, "s");
  EXPECT_NE(state.startTime, std::chrono::steady_clock::time_point{});
  // The sentence reader takes the input with peek and get from its first character.
  std::fstream& input = state.textFileReader;
  ASSERT_TRUE(input.good());
  EXPECT_EQ(input.tellg(), 0);
  std::string readBack;
  while (input.peek() != std::char_traits<char>::eof()) {
    readBack += static_cast<char>(input.get());
  }
  EXPECT_EQ(readBack.size(), state.totalCharacters);
  EXPECT_EQ(readBack, text);
}

TEST_F(SetupPhases, EndedInputHaltsEveryPhase) {
  writeFile("input.txt", "Hi.");
  answer("");
  EXPECT_EQ(selectInputFile(state), PhaseResult::kHalt);
  answer("");
  EXPECT_EQ(chooseAccentAndNames(state), PhaseResult::kHalt);
  answer("7");
  EXPECT_EQ(chooseAccentAndNames(state), PhaseResult::kHalt);
  answer("1");
  ASSERT_EQ(selectInputFile(state), PhaseResult::kGoOn);
  answer("");
  EXPECT_EQ(prepareOutputAndStart(state), PhaseResult::kHalt);
}

}  // namespace
}  // namespace zrv
