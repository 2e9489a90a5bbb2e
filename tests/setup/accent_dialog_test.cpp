// The accent menu and the names question, through the real executable.

#include <gmock/gmock.h>

#include "dialog_texts.h"
#include "tool_fixture.h"

namespace zrv::test {
namespace {

using ::testing::StartsWith;

class AccentDialog : public ToolFixture {};

TEST_F(AccentDialog, MenuListsTheCatalogInOrderWithEachTablesCount) {
  // Counts differ per table, so a count shown on the wrong line, or the map's byte order in
  // place of the catalog order (us_nyc after us_new_england and us_north_central), shows up.
  words.row({"zrv_words_au_standard", "cat", "kat"})
      .row({"zrv_words_au_standard", "dog", "dawg"})
      .row({"zrv_words_au_standard", "owl", std::nullopt})
      .row({"zrv_words_us_nyc", "cat", "kyat"})
      .row({"zrv_words_us_new_england", "cat", "kaat"})
      .row({"zrv_words_us_new_england", "dog", "dohg"})
      .row({"zrv_words_us_north_central", "cat", "ket"})
      .row({"zrv_words_us_north_central", "dog", "dag"})
      .row({"zrv_words_us_north_central", "owl", "aul"})
      .row({"zrv_words_za_standard", "cat", "kit"});
  for (int i = 0; i < 12; ++i) {
    words.word("word" + std::to_string(i), "wurd");
  }

  const ProgramResult result = runOn("Hi.", runStartAnswers());

  const std::string menu =
      "\n"
      "Select the number of the Zorvian accent you want\n"
      "to transliterate to (asterisks indicate a universal standard):\n"
      "1.) AU Standard* (2 dictionary entries)\n"
      "2.) CA Atlantic (0 dictionary entries)\n"
      "3.) CA Standard* (0 dictionary entries)\n"
      "4.) IN Standard* (0 dictionary entries)\n"
      "5.) NZ Standard* (0 dictionary entries)\n"
      "6.) UK Irish (0 dictionary entries)\n"
      "7.) UK London (0 dictionary entries)\n"
      "8.) UK Midland Northern (0 dictionary entries)\n"
      "9.) UK Midland Southern (0 dictionary entries)\n"
      "10.) UK RP* (0 dictionary entries)\n"
      "11.) UK Scottish (0 dictionary entries)\n"
      "12.) UK Southwestern (0 dictionary entries)\n"
      "13.) UK Wales (0 dictionary entries)\n"
      "14.) US Hawaiian (0 dictionary entries)\n"
      "15.) US Inland Northern (0 dictionary entries)\n"
      "16.) US Midland* (12 dictionary entries)\n"
      "17.) US NYC (1 dictionary entries)\n"
      "18.) US New England (2 dictionary entries)\n"
      "19.) US North Central (3 dictionary entries)\n"
      "20.) US Pitts (0 dictionary entries)\n"
      "21.) US South Florida (0 dictionary entries)\n"
      "22.) US Southern (0 dictionary entries)\n"
      "23.) US Western (0 dictionary entries)\n"
      "24.) ZA Standard* (1 dictionary entries)\n"
      "(#?): ";
  EXPECT_THAT(result.out,
              StartsWith(untilInputQuestion() + menu + accentChosenText("zrv_words_us_midland") +
                         countAndStartText(3)));
  EXPECT_EQ(result.status, 0);
}

TEST_F(AccentDialog, EachNumberSelectsItsCatalogTable) {
  const struct {
    const char* answer;
    const char* table;
  } cases[] = {
      {"1", "zrv_words_au_standard"},     {"7", "zrv_words_uk_london"},
      {"10", "zrv_words_uk_rp"},          {"17", "zrv_words_us_nyc"},
      {"18", "zrv_words_us_new_england"}, {"19", "zrv_words_us_north_central"},
      {"24", "zrv_words_za_standard"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.answer);
    const ProgramResult result = runOn("Hi.", "1\n" + std::string(c.answer) + "\nn\ns\n");

    EXPECT_THAT(result.out, StartsWith(untilInputQuestion() + accentMenuText() +
                                       accentChosenText(c.table) + countAndStartText(3)));
    EXPECT_EQ(result.status, 0);
  }
}

TEST_F(AccentDialog, AnswersThatAreNotAMenuNumberRepeatOnlyThePrompt) {
  // Only the plain decimal text of 1 to 24 is a menu number; blanks before a token are skipped.
  const struct {
    const char* answers;
    int rejected;
  } cases[] = {
      {"07\n", 1},         {"7.\n", 1},       {"+7\n", 1},     {"0\n", 1},   {"25\n", 1},
      {"seven\n", 1},      {"-7\n", 1},       {"7a\n", 1},     {"007\n", 1}, {"7,\n", 1},
      {"\n\n   \t7\n", 0}, {"0 25 100\n", 3}, {"x\n\ny\n", 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.answers);
    const std::string answers = std::string(c.answers);
    const ProgramResult result =
        runOn("Hi.", "1\n" + answers + (c.rejected == 0 ? "" : "7\n") + "y\ns\n");

    std::string expected = untilInputQuestion() + accentMenuText();
    for (int i = 0; i < c.rejected; ++i) {
      expected += kInvalidOption + kMenuPrompt;
    }
    EXPECT_THAT(result.out, StartsWith(expected + accentChosenText("zrv_words_uk_london") +
                                       countAndStartText(3)));
    EXPECT_EQ(result.status, 0);
  }
}

TEST_F(AccentDialog, AccentAndNamesAnswersOnOneLineNeedNoFurtherInput) {
  const ProgramResult result = runOn("Hi.", "1\n3 y\ns\n");

  EXPECT_THAT(result.out,
              StartsWith(untilInputQuestion() + accentMenuText() +
                         accentChosenText("zrv_words_ca_standard") + countAndStartText(3)));
  EXPECT_EQ(result.status, 0);
}

TEST_F(AccentDialog, NamesQuestionTakesOnlyYOrN) {
  // Rejected answers print the invalid-option line and "(y/n): "; the question is not repeated.
  const struct {
    const char* answers;
    int rejected;
  } cases[] = {
      {"y\n", 0},      {"Y\n", 0},     {"n\n", 0},        {"N\n", 0},
      {"yes\ny\n", 1}, {"no\nn\n", 1}, {"YES\nY\n", 1},   {"1\nN\n", 1},
      {"yn\ny\n", 1},  {"y.\nn\n", 1}, {"j ja 0 Y\n", 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.answers);
    const ProgramResult result = runOn("Hi.", "1\n16\n" + std::string(c.answers) + "s\n");

    std::string expected =
        untilInputQuestion() + accentMenuText() + accentChosenText("zrv_words_us_midland");
    for (int i = 0; i < c.rejected; ++i) {
      expected += kInvalidOption + kNamesPrompt;
    }
    EXPECT_THAT(result.out, StartsWith(expected + countAndStartText(3)));
    EXPECT_EQ(result.status, 0);
  }
}

}  // namespace
}  // namespace zrv::test
