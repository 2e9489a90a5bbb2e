// Texts no one would write on purpose, through the real executable: control and broken bytes,
// line ends of another system, words that are only apostrophes, a huge sentence, a huge word,
// and a huge custom path. Each run ends the way the dialog and the engine say, never in a fault.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/mount.h>

#include <cctype>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "../setup/dialog_texts.h"
#include "engine_scenarios.h"
#include "tool_fixture.h"

namespace zrv::test {
namespace {

using namespace std::string_literals;
using ::testing::StartsWith;

/// A long text as a failure message shows it: its size and its first bytes.
std::string described(const std::string& text) {
  return std::to_string(text.size()) + " bytes starting \"" + text.substr(0, 40) + "\"";
}

/// Room for a run that reads and writes tens of megabytes, also in a sanitizer build.
RunOptions longRun() {
  RunOptions options;
  options.timeoutSeconds = 300;
  return options;
}

class BadInput : public ToolFixture {
 protected:
  BadInput() { words.word("cat", "kat").word("the", "th\xC9\x99"); }  // thə

  /// What the accent menu shows: the default table holds the two words.
  std::string startText(unsigned long long characters) {
    return runStartText(characters, "0", {{WordsDbBuilder::kDefaultTable, "2"}});
  }
};

TEST_F(BadInput, OddBytesComeThroughAndOnlyWordsAreLookedUp) {
  // Control bytes, broken UTF-8 and foreign line ends are delimiters like any other byte: each is
  // written as it stands, and the letters between them are words of their own.
  const struct {
    const char* name;
    std::string input;
    std::string output;
    // The warnings, each with the characters read when its sentence ended and it was printed.
    std::vector<std::pair<std::size_t, std::string>> warnings;
    std::string unknownWordsFile;
  } cases[] = {
      {"NUL bytes", "cat\0zyx\0\0the.\0"s, "kat\0zyx\0\0th\xC9\x99.\0 "s, {{13, "zyx"}}, "zyx\n"},
      {"invalid UTF-8",
       "caf\xC3 \xFF\xFE"
       "cat\xC3\xA9\x80the\xE2\x80 \xF0\x9F\x98"s,
       "caf\xC3 \xFF\xFEkat\xC3\xA9\x80th\xC9\x99\xE2\x80 \xF0\x9F\x98 "s,
       {{22, "caf"}},
       "caf\n"},
      {"CR LF line ends",
       "The cat.\r\nThe dog!\r\n"s,
       "Th\xC9\x99 kat.\r\nTh\xC9\x99 dog!\r\n "s,
       {{18, "dog"}},
       "dog\n"},
      {"lone CRs", "cat\rthe\r"s, "kat\rth\xC9\x99\r "s, {}, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const ProgramResult result = runOn(c.input, runStartAnswers());

    std::string transcript = startText(c.input.size());
    std::size_t read = 0;
    for (const auto& [sentenceEnd, word] : c.warnings) {
      transcript += progress(c.input.size(), read + 1, sentenceEnd) + warning(word);
      read = sentenceEnd;
    }
    transcript += progress(c.input.size(), read + 1, c.input.size()) + summary(c.warnings.size());
    EXPECT_EQ(withSecondsMasked(result.out), transcript);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(outputFile(), c.output);
    EXPECT_EQ(unknownWordsFile(), c.unknownWordsFile);
  }
}

TEST_F(BadInput, WordsOfApostrophesOnlyAreUnknownWithTheirEdgesTakenOff) {
  // A lone apostrophe leaves an empty key and shows as "". Of a longer run one apostrophe goes at
  // each end for the key and the warning, while the unknown-words file keeps the word whole.
  const struct {
    const char* name;
    std::string input;
    std::string output;
    std::vector<std::string> warnings;
    std::string unknownWordsFile;
  } cases[] = {
      {"one", "'", "' ", {""}, "'\n"},
      {"two", "''", "'' ", {"'"}, "''\n"},
      {"five", "'''''", "''''' ", {"'''"}, "'''''\n"},
      {"three lone ones", "' ' '", "' ' ' ", {"", "", ""}, "'\n"},
      {"typographic", "\xE2\x80\x99\xCA\xBC", "'' ", {"'"}, "''\n"},
      {"mixed runs", "'\n''", "'\n'' ", {"", "'"}, "'\n''\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const ProgramResult result = runOn(c.input, runStartAnswers());

    std::string warnings;
    for (const std::string& word : c.warnings) {
      warnings += warning(word);
    }
    EXPECT_EQ(withSecondsMasked(result.out), startText(c.input.size()) +
                                                 progress(c.input.size(), 1, c.input.size()) +
                                                 warnings + summary(c.warnings.size()));
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(outputFile(), c.output);
    EXPECT_EQ(unknownWordsFile(), c.unknownWordsFile);
  }
}

TEST_F(BadInput, FiftyMegabytesWithoutASentenceMarkAreOneSentence) {
  // Mostly digits and blanks, with a known word every kilobyte: the one sentence is held whole and
  // written once the input ends.
  std::string block = "cat ";
  while (block.size() < 1024) {
    block += "0123456789 ";
  }
  block.resize(1024);
  std::string input;
  input.reserve(50u << 20);
  while (input.size() < (50u << 20)) {
    input += block;
  }
  std::string output;
  output.reserve(input.size() + 1);
  for (std::size_t at = 0; at < input.size(); at += block.size()) {
    output += "kat" + block.substr(3);
  }
  output += ' ';

  const ProgramResult result = runOn(input, runStartAnswers(), longRun());

  EXPECT_FALSE(result.timedOut);
  EXPECT_EQ(withSecondsMasked(result.out),
            startText(input.size()) + progress(input.size(), 1, input.size()) + summary(0));
  EXPECT_EQ(result.status, 0);
  const std::string written = outputFile();
  EXPECT_TRUE(written == output) << "output file: " << described(written);
  EXPECT_EQ(unknownWordsFile(), "");
}

TEST_F(BadInput, OutputFileThatCannotTakeTheWholeTextHaltsInsteadOfReportingSuccess) {
  // A file-size limit stands for a full disk: the writes past it fail, and the run must not end
  // with "written to input_output.txt".
  const std::string input(100000, '7');
  RunOptions options;
  options.fileSizeLimit = 4096;

  const ProgramResult result = runOn(input, runStartAnswers(), options);

  EXPECT_EQ(result.signal, 0);
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.out, startText(input.size()) + progress(input.size(), 1, input.size()) +
                            "[ERROR] Cannot write the whole output file. This might be because "
                            "the disk is full, or because the file is too large. Halting the "
                            "program.\n");
  EXPECT_LE(outputFile().size(), 4096u);
  EXPECT_EQ(unknownWordsFile(), "");
}

TEST_F(BadInput, OneMegabyteWordIsLookedUpOnceAndWarnedAboutWhole) {
  // Apostrophes inside the word double in its key, which makes a statement of over two megabytes.
  std::string word;
  while (word.size() < (1u << 20)) {
    word += "Don'tXyz";
  }
  std::string lowered = word;
  for (char& byte : lowered) {
    byte = static_cast<char>(std::tolower(static_cast<unsigned char>(byte)));
  }

  const ProgramResult result = runOn(word, runStartAnswers());

  const std::string expected =
      startText(word.size()) + progress(word.size(), 1, word.size()) + warning(word) + summary(1);
  const std::string transcript = withSecondsMasked(result.out);
  EXPECT_TRUE(transcript == expected) << "transcript: " << described(transcript);
  EXPECT_EQ(result.status, 0);
  const std::string written = outputFile();
  EXPECT_TRUE(written == word + " ") << "output file: " << described(written);
  const std::string unknown = unknownWordsFile();
  EXPECT_TRUE(unknown == lowered + "\n") << "unknown words file: " << described(unknown);
}

TEST_F(BadInput, CustomPathOfFourKilobytesIsAskedForAgainOrUsed) {
  // A path the system cannot take (4096 bytes reach its limit) is one that cannot be opened; a
  // path just under the limit to a real file works like any other.
  std::string nested;
  while (nested.size() < 3900) {
    nested += std::string(200, 'd') + "/";
  }
  std::filesystem::create_directories(dir / nested);
  writeFile(dir / (nested + "story.txt"), "Hi.");
  std::string tooLong = nested;
  while (tooLong.size() < 4096 - 9) {
    tooLong += "x";
  }
  tooLong += "story.txt";
  ASSERT_EQ(tooLong.size(), 4096u);

  const struct {
    const char* name;
    std::string path;
    bool opens;
  } cases[] = {
      {"missing file of 4096 bytes", std::string(4092, 'a') + ".txt", false},
      {"4096 bytes through real folders", tooLong, false},
      {"nearly 4 KB to a real file", nested + "story.txt", true},
  };
  writeFile(dir / "other.txt", "Hi.");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove_all(dir / "output");
    std::filesystem::remove_all(dir / "unknown_words");
    const ProgramResult result =
        run("2\n" + c.path + "\n" + (c.opens ? "" : "other.txt\n") + "16\ny\ns\n");

    std::string expected = untilInputQuestion() + pathRequestText();
    if (!c.opens) {
      expected += kPathCannotBeOpened + pathRequestText();
    }
    expected += accentMenuText({{WordsDbBuilder::kDefaultTable, "2"}}) +
                accentChosenText(WordsDbBuilder::kDefaultTable) + countAndStartText(3);
    EXPECT_THAT(result.out, StartsWith(expected));
    EXPECT_EQ(result.status, 0);
    const std::string base = c.opens ? "story" : "other";
    EXPECT_TRUE(std::filesystem::is_regular_file(dir / ("output/" + base + "_output.txt")));
    EXPECT_EQ(filesUnder(dir / "output").size(), 1u);
    EXPECT_EQ(readFile(dir / (nested + "story.txt")), "Hi.");
  }
}

std::string repeated(const std::string& text, int times) {
  std::string all;
  for (int i = 0; i < times; ++i) {
    all += text;
  }
  return all;
}

/// A tmpfs of `bytes` over `folder` while it lives, where the test process may mount one.
class SmallDisk {
 public:
  SmallDisk(const std::filesystem::path& folder, std::size_t bytes) : folder_(folder) {
    std::filesystem::create_directories(folder);
    const std::string size = "size=" + std::to_string(bytes);
    mounted_ = mount("tmpfs", folder.c_str(), "tmpfs", 0, size.c_str()) == 0;
  }
  ~SmallDisk() {
    if (mounted_) {
      umount2(folder_.c_str(), MNT_DETACH);
    }
  }
  SmallDisk(const SmallDisk&) = delete;
  SmallDisk& operator=(const SmallDisk&) = delete;

  bool mounted() const { return mounted_; }

 private:
  std::filesystem::path folder_;
  bool mounted_ = false;
};

TEST_F(BadInput, OutputFileOnAFullDiskHaltsAtTheSentenceThatFoundIt) {
  // A kilobyte per sentence, then words that would each ask the user: none of them may be asked
  // once the disk has refused the text before them.
  SmallDisk disk(dir / "output", 64 * 1024);
  if (!disk.mounted()) {
    GTEST_SKIP() << "no tmpfs can be mounted here";
  }
  words.word("dog", "dog", 0, 2.0).word("dog", "dawg", 0, 1.0);
  std::string input;
  for (int sentence = 0; sentence < 200; ++sentence) {
    input += std::string(1023, '7') + ".";
  }
  for (int ask = 0; ask < 20; ++ask) {
    input += " dog.";
  }

  const ProgramResult result = runOn(input, runStartAnswers() + repeated("1\n", 40));

  const std::string halt =
      "[ERROR] Cannot write the whole output file. This might be because the disk is full, or "
      "because the file is too large. Halting the program.\n";
  EXPECT_EQ(result.status, 1);
  // The default table holds the two dogs beside the two words of the fixture.
  EXPECT_THAT(result.out,
              StartsWith(runStartText(input.size(), "0", {{WordsDbBuilder::kDefaultTable, "4"}})));
  ASSERT_GE(result.out.size(), halt.size());
  EXPECT_EQ(result.out.substr(result.out.size() - halt.size()), halt);
  EXPECT_EQ(result.out.find("More than one transliteration"), std::string::npos);
  // The halt comes within a buffer's worth of text after the disk was full, long before the end.
  EXPECT_EQ(result.out.find("(" + std::to_string(input.size()) + "/"), std::string::npos);
  EXPECT_LE(outputFile().size(), 64u * 1024);
}

TEST_F(BadInput, UnknownWordsFileOnAFullDiskHaltsWithoutTheSummary) {
  SmallDisk disk(dir / "unknown_words", 64 * 1024);
  if (!disk.mounted()) {
    GTEST_SKIP() << "no tmpfs can be mounted here";
  }
  // Ten thousand distinct unknown words of ten letters: 110,000 bytes of list.
  std::string input;
  std::string warnings;
  for (int number = 0; number < 10000; ++number) {
    std::string word = "zq";
    for (int digit = 0, rest = number; digit < 8; ++digit, rest /= 26) {
      word += static_cast<char>('a' + rest % 26);
    }
    input += word + " ";
    warnings += warning(word);
  }

  const ProgramResult result = runOn(input, runStartAnswers(), longRun());

  EXPECT_EQ(result.out, startText(input.size()) + progress(input) + warnings +
                            "[ERROR] Cannot write the whole unknown words file. Halting the "
                            "program.\n");
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(outputFile(), input + " ");
  EXPECT_LE(unknownWordsFile().size(), 64u * 1024);
}

TEST_F(BadInput, EndlessAnswerTokensAreReadToTheirEndWithoutGrowing) {
  // 200 MiB without a blank, as the first answer and as a custom path that ends in ".txt": no
  // option, and a path that cannot be opened. Held whole, either would take over 200 MB.
  const std::string endless(200u << 20, 'x');
  writeFile(dir / "other.txt", "Hi.");
  const struct {
    const char* name;
    std::string answers;
    std::string dialog;
  } cases[] = {
      {"at the menu", endless + "\n1\n16\ny\ns\n",
       inputFileQuestionText() + kInvalidOption + kMenuPrompt},
      {"as a custom path", "2\n" + endless + ".txt\nother.txt\n16\ny\ns\n",
       inputFileQuestionText() + pathRequestText() + kPathCannotBeOpened + pathRequestText()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    writeFile(dir / "input.txt", "Hi.");
    const ProgramResult result = run(c.answers, longRun());

    EXPECT_THAT(result.out, StartsWith(bannerText() + upToDateText() + c.dialog +
                                       accentMenuText({{WordsDbBuilder::kDefaultTable, "2"}})));
    EXPECT_EQ(result.status, 0);
    EXPECT_LT(result.peakResidentKiB, 100 * 1024);
    std::printf("%s: peak %ld KiB\n", c.name, result.peakResidentKiB);
  }
}

}  // namespace
}  // namespace zrv::test
