#include "engine_scenarios.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <regex>
#include <utility>

#include "transcripts.h"

namespace zrv::test {

namespace {

using Options = std::vector<std::pair<std::string, std::string>>;

std::string progressLine(unsigned long long read, unsigned long long total,
                         const std::string& percentage) {
  return "[INFO] Current Progress: " + percentage + "% (" + std::to_string(read) + "/" +
         std::to_string(total) + ")\n";
}

/// Literal progress lines: pairs of characters read and the percentage as printed.
std::string progressLines(unsigned long long total,
                          const std::vector<std::pair<unsigned long long, std::string>>& lines) {
  std::string text;
  for (const auto& [read, percentage] : lines) {
    text += progressLine(read, total, percentage);
  }
  return text;
}

std::string nameNotice(const std::string& word) {
  return "[INFO] The name or title \"" + word +
         "\" has not been transliterated, \n"
         "since the user opted to not transliterate names and titles.\n";
}

std::string prompt(const std::string& word, const std::string& context, const Options& options) {
  const std::string separator(65, '-');
  std::string text = "\n[INFO] More than one transliteration option was found for the word: \n\"" +
                     word +
                     "\"\n\n"
                     "Here is the current sentence for context (current word is pointed to):\n\"" +
                     context + "\"\n\n" + separator + "\n";
  for (const auto& [number, candidate] : options) {
    text += number + ".) " + candidate + "\n";
  }
  return text + separator +
         "\n\n"
         "Please select which transliteration number you want to use. (#?): ";
}

const std::string kContinuing = "\nContinuing with the transliteration...\n";
const std::string kInvalid = "Invalid option. Please choose a valid option.\n(#?): ";
const std::string kInputEnded = inputEndedText();

std::string repeat(const std::string& text, int times) {
  std::string repeated;
  for (int i = 0; i < times; ++i) {
    repeated += text;
  }
  return repeated;
}

// Zorvian forms with special letters, spelled as UTF-8 bytes.
const std::string kNgAaT = "\xC5\x8B\xC4\x81t";  // ŋāt
const std::string kKaaT = "k\xC4\x81t";          // kāt
const std::string kPaaD =
    "p\xC4\x81"
    "d";                                              // pād
const std::string kSuu = "s\xC5\xAB";                 // sū
const std::string kSyuu = "sy\xC5\xAB";               // syū
const std::string kRooz = "r\xC5\x8Dz";               // rōz
const std::string kRoozSchwa = "r\xC5\x8Dz\xC9\x99";  // rōzə

void catCandidates(WordsDbBuilder& words) {
  words.word("cat", "kat", 0, 2.0).word("cat", kKaaT, 0, 1.0);
}

std::vector<EngineScenario> makeScenarios() {
  std::vector<EngineScenario> all;

  all.push_back({
      .name = "ProgressOfTwoCharacters",
      .words = [](WordsDbBuilder& w) { w.word("hi", "hai"); },
      .input = "Hi",
      .transcript = progressLines(2, {{1, "50"}, {2, "100"}}) + summary(0),
      .output = "Hai ",
  });

  all.push_back({
      .name = "ProgressOfTwentyOneCharactersStartsAtTheSecond",
      .words = [](WordsDbBuilder& w) { w.word("cat", "kat").word("a", "uh"); },
      .input = repeat("cat ", 5) + "a",
      .transcript =
          progressLines(21, {{2, "9.52381"},  {3, "14.2857"},  {4, "19.0476"},  {5, "23.8095"},
                             {6, "28.5714"},  {7, "33.3333"},  {8, "38.0952"},  {9, "42.8571"},
                             {10, "47.619"},  {11, "52.381"},  {12, "57.1429"}, {13, "61.9048"},
                             {14, "66.6667"}, {15, "71.4286"}, {16, "76.1905"}, {17, "80.9524"},
                             {18, "85.7143"}, {19, "90.4762"}, {20, "95.2381"}, {21, "100"}}) +
          summary(0),
      .output = repeat("kat ", 5) + "uh ",
  });

  {
    std::vector<std::pair<unsigned long long, std::string>> lines;
    for (int percent = 5; percent <= 100; percent += 5) {
      lines.emplace_back(percent * 40 / 100, std::to_string(percent));
    }
    all.push_back({
        .name = "ProgressOfFortyCharactersEveryOtherCharacter",
        .words = [](WordsDbBuilder& w) { w.word("cat", "kat"); },
        .input = repeat("cat ", 10),
        .transcript = progressLines(40, lines) + summary(0),
        .output = repeat("kat ", 10) + " ",
    });
  }

  all.push_back({
      .name = "ProgressOfTwelveHundredThirtyFourCharacters",
      .words = [](WordsDbBuilder& w) { w.word("cat", "kat").word("ab", "abb"); },
      .input = repeat("cat ", 308) + "ab",
      .transcript =
          progressLines(1234,
                        {{62, "5.02431"},   {124, "10.0486"},  {186, "15.0729"},  {247, "20.0162"},
                         {309, "25.0405"},  {371, "30.0648"},  {432, "35.0081"},  {494, "40.0324"},
                         {556, "45.0567"},  {618, "50.081"},   {679, "55.0243"},  {741, "60.0486"},
                         {803, "65.0729"},  {864, "70.0162"},  {926, "75.0405"},  {988, "80.0648"},
                         {1049, "85.0081"}, {1111, "90.0324"}, {1173, "95.0567"}, {1234, "100"}}) +
          summary(0),
      .output = repeat("kat ", 308) + "abb ",
  });

  all.push_back({
      .name = "EmptyInputPrintsOnlyTheShortSummary",
      .words = [](WordsDbBuilder& w) { w.word("cat", "kat"); },
      .input = "",
      .transcript = summary(0),
      .output = "",
  });

  // The progress line of a sentence's last character comes before that sentence's warnings.
  all.push_back({
      .name = "UnknownWordRepeatedIsWarnedAtEachOccurrence",
      .words = [](WordsDbBuilder& w) { w.word("cat", "kat"); },
      .input = "Zyx. Zyx, zyx!",
      .transcript = progress(14, 1, 4) + warning("Zyx") + progress(14, 5, 14) + warning("Zyx") +
                    warning("zyx") + summary(3),
      .output = "Zyx. Zyx, zyx! ",
      .unknownWords = "zyx\n",
  });

  {
    const std::string input = "Dont abc 'tis don't Abc";
    all.push_back({
        .name = "UnknownWordsFileIsSortedByByteValue",
        .words = [](WordsDbBuilder& w) { w.word("cat", "kat"); },
        .input = input,
        .transcript = progress(input) + warning("Dont") + warning("abc") + warning("tis") +
                      warning("don't") + warning("Abc") + summary(5),
        .output = input + " ",
        .unknownWords = "'tis\nabc\ndon't\ndont\n",
    });
  }

  {
    // é and ï are two delimiter bytes each; digits end words too.
    const std::string input = "--R2D2,, caf\xC3\xA9 na\xC3\xAFve";
    all.push_back({
        .name = "DigitsAndNonAsciiBytesAreDelimiters",
        .words =
            [](WordsDbBuilder& w) {
              w.word("r", "ar")
                  .word("d", "dee")
                  .word("caf", "kaf")
                  .word("na", "nah")
                  .word("ve", "vee");
            },
        .input = input,
        .transcript = progress(input) + summary(0),
        .output = "--AR2DEE2,, kaf\xC3\xA9 nah\xC3\xAFvee ",
    });
  }

  {
    // “It’s” ‘Zyxʼ rock＇n’roll: the curly double quotes stay, the four apostrophes fold.
    const std::string input =
        "\xE2\x80\x9CIt\xE2\x80\x99s\xE2\x80\x9D \xE2\x80\x98Zyx\xCA\xBC "
        "rock\xEF\xBC\x87n\xE2\x80\x99roll";
    all.push_back({
        .name = "TypographicApostrophesReachTheOutputAsAscii",
        .words = [](WordsDbBuilder& w) { w.word("it's", "its").word("rock'n'roll", "rokenrol"); },
        .input = input,
        .transcript = progress(input) + warning("Zyx") + summary(1),
        .output = "\xE2\x80\x9CIts\xE2\x80\x9D 'Zyx' rokenrol ",
        .unknownWords = "'zyx'\n",
    });
  }

  {
    const std::string input = "'Tis the dogs' 'hello' ' rock";
    all.push_back({
        .name = "EdgeApostrophesStayAroundTheForm",
        .words =
            [](WordsDbBuilder& w) {
              w.word("tis", "tiz").word("the", "thuh").word("dogs", "dogz").word("hello", "heloh");
              w.word("rock", "rok");
            },
        .input = input,
        // The lone apostrophe is a word with an empty key.
        .transcript = progress(input) + warning("") + summary(1),
        .output = "'Tiz thuh dogz' 'heloh' ' rok ",
        .unknownWords = "'\n",
    });
  }

  {
    const std::string input = "Cat CAT cat I A iPhone McDonald DON'T Church CHURCH The dog";
    all.push_back({
        .name = "CaseFlagsShapeTheWrittenForm",
        .words =
            [](WordsDbBuilder& w) {
              w.word("cat", kNgAaT).word("i", "a\xC4\xAB").word("a", "uh");
              w.word("iphone",
                     "\xC4\xAB"
                     "f\xC5\x8Dn")
                  .word("mcdonald", "m\xC4\x93kdonald");
              w.word("don't", "d\xC5\x8Dnt").word("church", "\xD1\x87ur\xD1\x87");
              w.word("the",
                     "\xC3\xB0"
                     "e");
              // Only the highest version counts, and a repeated candidate is one option.
              w.word("dog", "dawg", 0, 5.0, 1).word("dog", "d\xC3\xB4g", 0, 2.0, 2);
              w.word("dog", "d\xC3\xB4g", 0, 1.0, 2);
            },
        .input = input,
        .transcript = progress(input) + summary(0),
        .output = "\xC5\x8A\xC4\x81t \xC5\x8A\xC4\x80T \xC5\x8B\xC4\x81t A\xC4\xAA UH "
                  "\xC4\xAB"
                  "f\xC5\x8Dn M\xC4\x93kdonald D\xC5\x8CNT \xD0\xA7ur\xD1\x87 "
                  "\xD0\xA7UR\xD0\xA7 \xC3\xB0"
                  "e d\xC3\xB4g ",
    });
  }

  all.push_back({
      .name = "NamesKeptCapitalisedNameWithOtherCandidatesIsPromptedAndKept",
      .words =
          [](WordsDbBuilder& w) {
            w.word("bill", "bil", 1, 3.0).word("bill", "byl", 0, 2.0).word("bill", "bell", 0, 1.0);
            w.word("paid", kPaaD);
          },
      .names = 'n',
      .input = "Bill paid.",
      .promptAnswers = "2\n",
      .transcript = progress(10, 1, 10) + nameNotice("Bill") +
                    prompt("Bill", "==>Bill<== paid. ", {{"1", "byl"}, {"2", "bell"}}) +
                    kContinuing + summary(0),
      .output = "Bill " + kPaaD + ". ",
  });

  {
    const std::string input = "Rose rose Sue sue 'Sue 'Rose";
    all.push_back({
        .name = "NamesKeptEveryCase",
        .words =
            [](WordsDbBuilder& w) {
              w.word("rose", kRooz, 1, 2.0).word("rose", kRoozSchwa, 2, 1.0);
              w.word("sue", kSuu, 1, 2.0).word("sue", kSyuu, 0, 1.0);
            },
        .names = 'n',
        .input = input,
        // Rose: a notice per name row. Sue: a capitalised name is kept even with another
        // candidate. 'Sue does not begin with a capital for the names policy, yet is written in
        // the capitalised form.
        .transcript = progress(input) + nameNotice("Rose") + nameNotice("Rose") +
                      nameNotice("Sue") + summary(0),
        .output = "Rose rose Sue " + kSyuu + " 'Sy\xC5\xAB 'Rose ",
    });
  }

  {
    const std::string input = "Sue sue Rose";
    all.push_back({
        .name = "NamesTransliteratedAreOrdinaryCandidates",
        .words =
            [](WordsDbBuilder& w) {
              w.word("rose", kRooz, 1, 2.0).word("rose", kRoozSchwa, 1, 1.0);
              w.word("sue", kSuu, 1, 2.0).word("sue", kSyuu, 0, 1.0);
            },
        .names = 'y',
        .input = input,
        .promptAnswers = "1\n2\n2\n",
        .transcript =
            progress(input) + prompt("Sue", "==>Sue<== sue Rose ", {{"1", kSuu}, {"2", kSyuu}}) +
            kContinuing + prompt("sue", "Sue ==>sue<== Rose ", {{"1", kSuu}, {"2", kSyuu}}) +
            kContinuing + prompt("Rose", "Sue sue ==>Rose<== ", {{"1", kRooz}, {"2", kRoozSchwa}}) +
            kContinuing + summary(0),
        .output = "S\xC5\xAB " + kSyuu + " R\xC5\x8Dz\xC9\x99 ",
    });
  }

  {
    Options listed;
    for (const char* number : {"1", "10", "11", "12", "2", "3", "4", "5", "6", "7", "8", "9"}) {
      listed.emplace_back(number, std::string("c") + number);
    }
    all.push_back({
        .name = "TwelveCandidatesAreListedInTextOrderAndInvalidAnswersAskAgain",
        .words =
            [](WordsDbBuilder& w) {
              for (int i = 1; i <= 12; ++i) {
                w.word("set", "c" + std::to_string(i), 0, 13.0 - i);
              }
            },
        .input = "set",
        .promptAnswers = "02\n13\n10.\nc3\n0\n10\n",
        .transcript = progress(3, 1, 3) + prompt("set", "==>set<== ", listed) + kInvalid +
                      kInvalid + kInvalid + kInvalid + kInvalid + kContinuing + summary(0),
        .output = "c10 ",
    });
  }

  {
    // The second sentence begins with the line break and blanks after the first one's mark.
    const std::string input = "The cat sat.\n \tCat ran\nfar.";
    const Options cat = {{"1", "kat"}, {"2", kKaaT}};
    all.push_back({
        .name = "SeveralAnswersOnOneLineAnswerSeveralPrompts",
        .words =
            [](WordsDbBuilder& w) {
              catCandidates(w);
              w.word("the", "thuh").word("sat", "sat").word("ran", "ran").word("far", "far");
            },
        .input = input,
        .promptAnswers = "2 1\n",
        .transcript = progress(27, 1, 12) + prompt("cat", "The ==>cat<== sat.", cat) + kContinuing +
                      progress(27, 13, 27) + prompt("Cat", "==>Cat<== ran\nfar. ", cat) +
                      kContinuing + summary(0),
        .output = "Thuh " + kKaaT + " sat.\n \tKat ran\nfar. ",
    });
  }

  {
    const std::string input = "Say 'cat' now!";
    all.push_back({
        .name = "PromptMarksAWordWithEdgeApostrophesWhole",
        .words =
            [](WordsDbBuilder& w) {
              catCandidates(w);
              w.word("say", "s\xC4\x81").word("now", "nau");
            },
        .input = input,
        .promptAnswers = "2\n",
        .transcript = progress(input) +
                      prompt("'cat'", "Say ==>'cat'<== now! ", {{"1", "kat"}, {"2", kKaaT}}) +
                      kContinuing + summary(0),
        .output = "S\xC4\x81 '" + kKaaT + "' nau! ",
    });
  }

  {
    // Mr. | Cat. | . | . | the cat!
    const std::string input = "Mr. Cat... the cat!";
    const Options cat = {{"1", "kat"}, {"2", kKaaT}};
    all.push_back({
        .name = "EverySentenceMarkEndsASentence",
        .words =
            [](WordsDbBuilder& w) {
              catCandidates(w);
              w.word("mr", "mist\xC9\x99r").word("the", "thuh");
            },
        .input = input,
        .promptAnswers = "1\n2\n",
        .transcript = progress(19, 1, 8) + prompt("Cat", "==>Cat<==.", cat) + kContinuing +
                      progress(19, 9, 19) + prompt("cat", "the ==>cat<==! ", cat) + kContinuing +
                      summary(0),
        .output = "Mist\xC9\x99r. Kat... thuh " + kKaaT + "! ",
    });
  }

  {
    // Every word met again is settled as at its first occurrence: the name notice, the prompt
    // and the warning come back each time, in the word's own case.
    const std::string sentence = "Bill and bill met THE cat, The Cat and zyx!";
    const int times = 40;
    std::string input;
    std::string transcript;
    std::string output;
    std::string answers;
    const Options cat = {{"1", "kat"}, {"2", kKaaT}};
    for (int i = 0; i < times; ++i) {
      input += (i == 0 ? "" : " ") + sentence;
    }
    // The blank before each later sentence begins it, and the prompt's context drops it.
    for (int i = 0; i < times; ++i) {
      const std::size_t end = (i + 1) * (sentence.size() + 1) - 1;
      const std::string tail = i + 1 == times ? " " : "";
      transcript += progress(input.size(), i == 0 ? 1 : end - sentence.size(), end) +
                    nameNotice("Bill") +
                    prompt("cat", "Bill and bill met THE ==>cat<==, The Cat and zyx!" + tail, cat) +
                    kContinuing +
                    prompt("Cat", "Bill and bill met THE cat, The ==>Cat<== and zyx!" + tail, cat) +
                    kContinuing + warning("zyx");
      output += (i == 0 ? "" : " ") + std::string("Bill und byl met THUH ") + kKaaT +
                ", Thuh Kat und zyx!";
      answers += "2\n1\n";
    }
    all.push_back({
        .name = "RepeatedWordsAreSettledAsAtTheirFirstOccurrence",
        .words =
            [](WordsDbBuilder& w) {
              w.word("bill", "bil", 1, 3.0).word("bill", "byl", 0, 2.0);
              catCandidates(w);
              w.word("and", "und").word("met", "met").word("the", "thuh");
            },
        .names = 'n',
        .input = input,
        .promptAnswers = answers,
        .transcript = transcript + summary(times),
        .output = output + " ",
        .unknownWords = "zyx\n",
    });
  }

  all.push_back({
      .name = "InputEndingAtTheChoicePromptHalts",
      .words =
          [](WordsDbBuilder& w) {
            catCandidates(w);
            w.word("the", "thuh");
          },
      .input = "The cat sat.",
      .promptAnswers = "7\n",
      .transcript = progress(12, 1, 12) +
                    prompt("cat", "The ==>cat<== sat. ", {{"1", "kat"}, {"2", kKaaT}}) + kInvalid +
                    kInputEnded,
      .output = "Thuh ",
      .halts = true,
  });

  // The count of the accent menu still works on this table; the lookup cannot be prepared.
  all.push_back({
      .name = "LookupFailureHaltsWithTheStatementAndItsCode",
      .words =
          [](WordsDbBuilder& w) {
            w.withColumns(WordsDbBuilder::kDefaultTable, "english_word TEXT, zorvian_word TEXT");
          },
      .input = "... Don't stop.",
      .transcript =
          progress(15, 1, 15) +
          "[ERROR] SQLite encountered an error when performing a query: SELECT zorvian_word, "
          "is_name FROM zrv_words_us_midland WHERE english_word = 'don''t' AND word_version = "
          "(SELECT MAX(word_version) FROM zrv_words_us_midland WHERE english_word = 'don''t') "
          "ORDER BY word_weight DESC;\n"
          "Error code: 1\n",
      .output = "... ",
      .halts = true,
  });

  return all;
}

}  // namespace

std::string progress(unsigned long long total, unsigned long long first, unsigned long long last) {
  const double step = (static_cast<double>(total) / 100.0) * 5.0;
  std::string lines;
  for (unsigned long long read = first; read <= last; ++read) {
    if (std::fmod(static_cast<double>(read), step) < 1.0 || read == total) {
      char percentage[32];
      std::snprintf(percentage, sizeof percentage, "%g",
                    static_cast<double>(read) / static_cast<double>(total) * 100.0);
      lines += progressLine(read, total, percentage);
    }
  }
  return lines;
}

std::string progress(const std::string& input) {
  return progress(input.size(), 1, input.size());
}

std::string warning(const std::string& word) {
  return "[WARNING] Could not find a transliteration for the word: \"" + word + "\"\n";
}

std::string summary(unsigned long long warnings) {
  if (warnings == 0) {
    return "\n[INFO] Transliteration completed in <seconds>s, and written to input_output.txt in "
           "the output folder.\n\n";
  }
  return "\n[INFO] Transliteration completed in <seconds>s, with " + std::to_string(warnings) +
         " warning(s), and \n"
         "written to input_output.txt in the output folder. Please check \n"
         "input_unknown_words.txt in the unknown_words folder for a list of\n"
         "words that could not be transliterated.\n\n";
}

void PrintTo(const EngineScenario& scenario, std::ostream* out) {
  *out << scenario.name;
}

const std::vector<EngineScenario>& engineScenarios() {
  static const std::vector<EngineScenario> scenarios = makeScenarios();
  return scenarios;
}

std::string withSecondsMasked(const std::string& consoleText) {
  static const std::regex seconds("(completed in )([^s]*)(s, )");
  std::smatch match;
  if (std::regex_search(consoleText, match, seconds)) {
    static const std::regex defaultFloatForm("[0-9]+(\\.[0-9]+)?(e[+-][0-9]+)?");
    EXPECT_TRUE(std::regex_match(match[2].str(), defaultFloatForm))
        << "elapsed seconds: " << match[2].str();
  }
  return std::regex_replace(consoleText, seconds, "$1<seconds>$3");
}

}  // namespace zrv::test
