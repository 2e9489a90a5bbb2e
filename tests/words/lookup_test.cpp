// The words database access against real SQLite files: the lookup's rows, the entry counts and
// the failure reports, on a RunState whose console is a pair of string streams.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <sstream>

#include "app/run_state.h"
#include "files.h"
#include "words/entry_counts.h"
#include "words/words_database.h"
#include "words_db_builder.h"

namespace zrv {
namespace {

using test::WordRow;
using test::WordsDbBuilder;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

MATCHER_P2(Row, zorvian, isName, "") {
  return arg.zorvianWord == zorvian && arg.isName == isName;
}

class WordsDatabaseTest : public ::testing::Test {
 protected:
  WordsDatabaseTest() : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(dir_.path());
  }
  ~WordsDatabaseTest() override {
    closeWordsDatabase(state_);
    std::filesystem::current_path(previous_);
  }

  /// Writes the database and opens it the way the run does.
  void open(const WordsDbBuilder& words) {
    words.write(dir_ / "zrv_words.db");
    ASSERT_EQ(openWordsDatabase(state_), PhaseResult::kGoOn);
  }

  /// The rows of `key` in the default accent table; fails the test on a halt.
  std::vector<LookupRow> lookup(const std::string& key) {
    std::vector<LookupRow> rows;
    EXPECT_EQ(lookupWord(state_, WordsDbBuilder::kDefaultTable, key, rows), PhaseResult::kGoOn);
    finalizeStatement(state_);
    return rows;
  }

  test::TempDir dir_;
  std::filesystem::path previous_;
  std::istringstream in_;
  std::ostringstream out_;
  Console console_{in_, out_};
  RunState state_{console_, {}};
};

TEST_F(WordsDatabaseTest, LookupStatementIsTheLiteralTextWithTableAndKeyTwice) {
  open(WordsDbBuilder().word("don't", "dōnt"));
  std::vector<LookupRow> rows;
  ASSERT_EQ(lookupWord(state_, "zrv_words_us_midland", "don''t", rows), PhaseResult::kGoOn);
  finalizeStatement(state_);
  EXPECT_EQ(state_.stringSqlStatement,
            "SELECT zorvian_word, is_name FROM zrv_words_us_midland WHERE english_word = 'don''t' "
            "AND word_version = (SELECT MAX(word_version) FROM zrv_words_us_midland WHERE "
            "english_word = 'don''t') ORDER BY word_weight DESC;");
  EXPECT_THAT(rows, ElementsAre(Row("dōnt", false)));
}

TEST_F(WordsDatabaseTest, OnlyTheHighestVersionComesBackHighestWeightFirst) {
  open(WordsDbBuilder()
           .word("read", "rēd", 0, 9.0, 1)
           .word("read", "red", 0, 0.5, 2)
           .word("read", "rīd", 0, 2.0, 2)
           .word("read", "rēd", 0, 1.0, 2));
  EXPECT_THAT(lookup("read"), ElementsAre(Row("rīd", false), Row("rēd", false), Row("red", false)));
}

TEST_F(WordsDatabaseTest, RepeatedFormsComeBackOncePerRow) {
  open(WordsDbBuilder().word("the", "ðə", 0, 2.0).word("the", "ðə", 0, 1.0));
  EXPECT_THAT(lookup("the"), ElementsAre(Row("ðə", false), Row("ðə", false)));
}

TEST_F(WordsDatabaseTest, NameFlagIsAnyNonZeroIntegerAndNullIsNoName) {
  WordsDbBuilder words;
  words.word("bill", "bil", 2, 3.0);
  words.row(WordRow{WordsDbBuilder::kDefaultTable, "bill", "byl", std::nullopt, 2.0});
  words.word("bill", "bél", 0, 1.0);
  open(words);
  EXPECT_THAT(lookup("bill"), ElementsAre(Row("bil", true), Row("byl", false), Row("bél", false)));
}

TEST_F(WordsDatabaseTest, RowWithoutAZorvianFormOffersNothing) {
  WordsDbBuilder words;
  words.row(WordRow{WordsDbBuilder::kDefaultTable, "odd", std::nullopt, 0, 5.0});
  words.word("odd", "od", 0, 1.0);
  words.row(WordRow{WordsDbBuilder::kDefaultTable, "gap", std::nullopt});
  open(words);
  EXPECT_THAT(lookup("odd"), ElementsAre(Row("od", false)));
  EXPECT_THAT(lookup("gap"), IsEmpty());
}

TEST_F(WordsDatabaseTest, AbsentWordsAndTheEmptyKeyHaveNoRows) {
  open(WordsDbBuilder().word("cat", "kat"));
  EXPECT_THAT(lookup("dog"), IsEmpty());
  EXPECT_THAT(lookup(""), IsEmpty());
  EXPECT_THAT(lookup("CAT"), IsEmpty());  // keys are lower case; the caller lowers the word
  EXPECT_EQ(out_.str(), "");
}

TEST_F(WordsDatabaseTest, LookupThatCannotBePreparedReportsTheWholeStatement) {
  WordsDbBuilder words;
  words.withColumns("zrv_words_us_midland", "english_word TEXT, zorvian_word TEXT, is_name INT");
  open(words);
  std::vector<LookupRow> rows;
  EXPECT_EQ(lookupWord(state_, "zrv_words_us_midland", "cat", rows), PhaseResult::kHalt);
  EXPECT_EQ(out_.str(), "[ERROR] SQLite encountered an error when performing a query: " +
                            state_.stringSqlStatement + "\nError code: 1\n");
}

TEST_F(WordsDatabaseTest, CountsEveryTableAndSkipsRowsWithoutAForm) {
  WordsDbBuilder words;
  words.word("a", "ə").word("b", "bē").word("c", "sē");
  words.row(WordRow{WordsDbBuilder::kDefaultTable, "d", std::nullopt});
  words.row(WordRow{"zrv_words_za_standard", "a", "a"});
  open(words);
  ASSERT_EQ(countTableEntries(state_), PhaseResult::kGoOn);
  EXPECT_EQ(state_.dbTableNamesToWordCountsMap.size(), 24u);
  EXPECT_EQ(state_.dbTableNamesToWordCountsMap.at("zrv_words_us_midland"), "3");
  EXPECT_EQ(state_.dbTableNamesToWordCountsMap.at("zrv_words_za_standard"), "1");
  EXPECT_EQ(state_.dbTableNamesToWordCountsMap.at("zrv_words_au_standard"), "0");
  EXPECT_EQ(state_.result, nullptr);
  EXPECT_EQ(out_.str(), "");
}

TEST_F(WordsDatabaseTest, AbsentFileIsCreatedEmptyAndHasNoTables) {
  ASSERT_EQ(openWordsDatabase(state_), PhaseResult::kGoOn);
  EXPECT_TRUE(std::filesystem::exists(dir_ / "zrv_words.db"));
  EXPECT_EQ(countTableEntries(state_), PhaseResult::kHalt);
  EXPECT_EQ(out_.str(),
            "[ERROR] SQLite encountered an error when performing a query: SELECT "
            "COUNT(zorvian_word) FROM zrv_words_au_standard;\nError code: 1\n");
}

TEST_F(WordsDatabaseTest, LockedDatabaseFailsTheStepWithBusy) {
  open(WordsDbBuilder().word("cat", "kat"));
  lookup("cat");  // the schema is read now, so the next prepare needs no lock
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open((dir_ / "zrv_words.db").c_str(), &other), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE;", nullptr, nullptr, nullptr), SQLITE_OK);
  std::vector<LookupRow> rows;
  EXPECT_EQ(lookupWord(state_, WordsDbBuilder::kDefaultTable, "cat", rows), PhaseResult::kHalt);
  EXPECT_EQ(out_.str(), "[ERROR] SQLite encountered an error when parsing a row:\nError code: 5\n");
  closeWordsDatabase(state_);  // finalizes the failed statement before closing
  EXPECT_EQ(state_.result, nullptr);
  EXPECT_EQ(state_.database, nullptr);
  sqlite3_exec(other, "ROLLBACK;", nullptr, nullptr, nullptr);
  sqlite3_close(other);
}

}  // namespace
}  // namespace zrv
