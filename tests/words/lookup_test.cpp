// The words database access against real SQLite files: the lookup's rows, the entry counts and
// the failure reports, on a RunState whose console is a pair of string streams.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <span>
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
  ~WordsDatabaseTest() override { closeWordsDatabase(state_); }

  /// Writes the database and opens it the way the run does.
  void open(const WordsDbBuilder& words) {
    words.write(dir_ / "zrv_words.db");
    ASSERT_EQ(openWordsDatabase(state_), PhaseResult::kGoOn);
  }

  /// The rows of `key` in the default accent table; fails the test on a halt.
  std::vector<LookupRow> lookup(const std::string& key) {
    std::span<const LookupRow> rows;
    EXPECT_EQ(lookupWord(state_, WordsDbBuilder::kDefaultTable, key, rows), PhaseResult::kGoOn);
    state_.result.reset();
    return {rows.begin(), rows.end()};
  }

  test::TempDir dir_;
  test::ScopedWorkingDirectory inDir_{dir_.path()};
  std::istringstream in_;
  std::ostringstream out_;
  Console console_{in_, out_};
  RunState state_{console_, {}};
};

TEST_F(WordsDatabaseTest, LookupStatementIsTheLiteralTextWithTableAndKeyTwice) {
  open(WordsDbBuilder().word("don't", "dōnt"));
  std::span<const LookupRow> rows;
  ASSERT_EQ(lookupWord(state_, "zrv_words_us_midland", "don''t", rows), PhaseResult::kGoOn);
  state_.result.reset();
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
  std::span<const LookupRow> rows;
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

TEST_F(WordsDatabaseTest, LockedDatabaseFailsTheStepWithBusyAndKeepsNothingOfTheKey) {
  open(WordsDbBuilder().word("cat", "kat").word("dog", "dôg"));
  lookup("cat");  // the schema is read now, so the next prepare needs no lock
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open((dir_ / "zrv_words.db").c_str(), &other), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE;", nullptr, nullptr, nullptr), SQLITE_OK);
  std::span<const LookupRow> rows;
  EXPECT_EQ(lookupWord(state_, WordsDbBuilder::kDefaultTable, "dog", rows), PhaseResult::kHalt);
  EXPECT_EQ(out_.str(), "[ERROR] SQLite encountered an error when parsing a row:\nError code: 5\n");
  // A key already kept needs no statement, so the lock does not reach it.
  EXPECT_THAT(lookup("cat"), ElementsAre(Row("kat", false)));
  sqlite3_exec(other, "ROLLBACK;", nullptr, nullptr, nullptr);
  sqlite3_close(other);
  // The failed key runs its statement again once the lock is gone.
  EXPECT_THAT(lookup("dog"), ElementsAre(Row("dôg", false)));
  closeWordsDatabase(state_);
  EXPECT_EQ(state_.result, nullptr);
  EXPECT_EQ(state_.database, nullptr);
}

TEST_F(WordsDatabaseTest, StatementFailingAfterItsFirstRowHaltsWithoutTheRowsReadBefore) {
  // The index hands the rows over by weight without a sort, so the first step delivers "kat"
  // and the second meets an is_name too long to be read.
  WordsDbBuilder()
      .word("cat", "kat", 0, 2.0)
      .word("cat", "kət", 0, 1.0)
      .write(dir_ / "zrv_words.db");
  sqlite3* writer = nullptr;
  ASSERT_EQ(sqlite3_open((dir_ / "zrv_words.db").c_str(), &writer), SQLITE_OK);
  EXPECT_EQ(sqlite3_exec(writer,
                         "CREATE INDEX by_weight ON zrv_words_us_midland (english_word, "
                         "word_weight); UPDATE zrv_words_us_midland SET is_name = "
                         "printf('%.*c', 10000, 'x') WHERE word_weight = 1.0;",
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
  sqlite3_close(writer);
  ASSERT_EQ(openWordsDatabase(state_), PhaseResult::kGoOn);
  for (int attempt = 1; attempt <= 2; ++attempt) {
    SCOPED_TRACE(attempt);
    out_.str("");
    std::span<const LookupRow> rows;
    EXPECT_EQ(lookupWord(state_, WordsDbBuilder::kDefaultTable, "cat", rows), PhaseResult::kHalt);
    EXPECT_EQ(out_.str(),
              "[ERROR] SQLite encountered an error when parsing a row:\nError code: 18\n");
    EXPECT_EQ(state_.lookupCache.find(WordsDbBuilder::kDefaultTable, "cat"), nullptr);
  }
}

/// The statements the connection runs, by their text, as SQLite's trace reports them.
int recordStatement(unsigned, void* statements, void* statement, void*) {
  static_cast<std::vector<std::string>*>(statements)
      ->push_back(sqlite3_sql(static_cast<sqlite3_stmt*>(statement)));
  return 0;
}

TEST_F(WordsDatabaseTest, KeyLookedUpOnceIsAnsweredAgainWithoutAStatement) {
  open(WordsDbBuilder()
           .word("read", "rēd", 0, 2.0)
           .word("read", "red", 0, 1.0)
           .word("bill", "bil", 1));
  std::vector<std::string> statements;
  sqlite3_trace_v2(state_.database, SQLITE_TRACE_STMT, recordStatement, &statements);
  for (int round = 0; round < 3; ++round) {
    SCOPED_TRACE(round);
    EXPECT_THAT(lookup("read"), ElementsAre(Row("rēd", false), Row("red", false)));
    EXPECT_THAT(lookup("bill"), ElementsAre(Row("bil", true)));
    EXPECT_THAT(lookup("zyx"), IsEmpty());  // an unknown word is kept too
  }
  std::string read, bill, zyx;
  buildLookupStatement(read, WordsDbBuilder::kDefaultTable, "read");
  buildLookupStatement(bill, WordsDbBuilder::kDefaultTable, "bill");
  buildLookupStatement(zyx, WordsDbBuilder::kDefaultTable, "zyx");
  EXPECT_THAT(statements, ElementsAre(read, bill, zyx));
  EXPECT_EQ(state_.lookupCache.size(), 3u);
  EXPECT_EQ(out_.str(), "");
}

TEST_F(WordsDatabaseTest, PastTheCapKeysAreLookedUpWithAStatementEachTime) {
  open(WordsDbBuilder().word("cat", "kat").word("dog", "dôg"));
  std::vector<std::string> statements;
  sqlite3_trace_v2(state_.database, SQLITE_TRACE_STMT, recordStatement, &statements);
  lookup("cat");
  // Fill the cache to its cap with keys of no real word: big entries first, then small ones
  // until not even a key without rows fits.
  const std::vector<LookupRow> bulky = {LookupRow{std::string(60000, 'x'), false}};
  for (const std::vector<LookupRow>& filler : {bulky, std::vector<LookupRow>{}}) {
    for (std::size_t before = 0; before != state_.lookupCache.size();) {
      before = state_.lookupCache.size();
      char key[24];
      std::snprintf(key, sizeof key, "filler-%06zu", before);
      state_.lookupCache.keep(WordsDbBuilder::kDefaultTable, key, filler);
    }
  }
  EXPECT_LE(state_.lookupCache.bytes(), LookupCache::kByteCap);
  const std::size_t kept = state_.lookupCache.size();
  for (int round = 0; round < 2; ++round) {
    EXPECT_THAT(lookup("dog"), ElementsAre(Row("dôg", false)));
    EXPECT_THAT(lookup("cat"), ElementsAre(Row("kat", false)));
  }
  EXPECT_EQ(state_.lookupCache.size(), kept);
  std::string cat, dog;
  buildLookupStatement(cat, WordsDbBuilder::kDefaultTable, "cat");
  buildLookupStatement(dog, WordsDbBuilder::kDefaultTable, "dog");
  EXPECT_THAT(statements, ElementsAre(cat, dog, dog));
}

TEST_F(WordsDatabaseTest, KeyLongerThanAnyValueHasNoRowsWithoutAStatement) {
  open(WordsDbBuilder().word("cat", "kat"));
  std::vector<std::string> statements;
  sqlite3_trace_v2(state_.database, SQLITE_TRACE_STMT, recordStatement, &statements);
  // Each doubled apostrophe stands for one byte of the value: this key is a value of exactly
  // kValueByteLimit bytes, which a statement still compares.
  const std::string longest = std::string(kValueByteLimit - 2, 'a') + "''''";
  EXPECT_THAT(lookup(longest), IsEmpty());
  EXPECT_THAT(lookup(longest + "a"), IsEmpty());
  EXPECT_THAT(lookup(std::string(3 << 20, 'a')), IsEmpty());
  EXPECT_EQ(statements.size(), 1u);
  EXPECT_EQ(out_.str(), "");
}

}  // namespace
}  // namespace zrv
