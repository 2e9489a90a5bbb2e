#include "database_builder.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <memory>

#include "files.h"
#include "spelling_helpers.h"
#include "words/accent_catalog.h"

namespace zrv::words_tool {
namespace {

using test::accentLabelled;
using test::offendingLetter;

constexpr const char* kDictionary =
    "the DH AH\n"
    "the(2) DH IY\n"
    "a AH\n"
    "a(2) EY\n"
    "read R EH D\n"
    "read(2) R IY D\n"
    "bill B IH L\n"
    "carter K AA R T ER\n"
    "nice N AY S\n"
    "nice(2) N IY S\n"
    "polish P AA L IH SH\n"
    "polish(2) P OW L IH SH\n"
    "caught K AA T\n"
    "caught(2) K AO T\n"
    "don't D OW N T\n"
    "bath B AE TH\n"
    "water W AO T ER\n";
constexpr std::size_t kDictionaryWords = 11;
constexpr const char* kWordList = "A\na\nBill\nbill\nCarter\nNice\nnice\nPolish\npolish\nbath\n";
constexpr const char* kHeteronyms = "# the test's own list\nread\npolish\ncaught\n";

struct Row {
  std::string zorvian;
  int isName;
  int weight;
  bool operator==(const Row&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Row& row) {
  return out << "{" << row.zorvian << ", " << row.isName << ", " << row.weight << "}";
}

// One small database for the whole suite: a build is the expensive part, the checks only read.
class WordsDatabaseBuild : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    folder_ = new zrv::test::TempDir();
    zrv::test::writeFile(*folder_ / "test.dict", kDictionary);
    zrv::test::writeFile(*folder_ / "words", kWordList);
    zrv::test::writeFile(*folder_ / "heteronyms.txt", kHeteronyms);
    BuildSources sources{*folder_ / "test.dict", *folder_ / "words", *folder_ / "heteronyms.txt"};
    std::string error;
    built_ = buildWordsDatabase(sources, *folder_ / "zrv_words.db", report_, error);
    ASSERT_TRUE(built_) << error;
    ASSERT_EQ(
        sqlite3_open_v2((*folder_ / "zrv_words.db").c_str(), &db_, SQLITE_OPEN_READONLY, nullptr),
        SQLITE_OK);
  }
  static void TearDownTestSuite() {
    sqlite3_close(db_);
    delete folder_;
  }
  void SetUp() override { ASSERT_TRUE(built_); }

  // Every row of the query, each column as text ("" for NULL).
  static std::vector<std::vector<std::string>> query(const std::string& sql) {
    sqlite3_stmt* statement = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(db_, sql.c_str(), -1, &statement, nullptr), SQLITE_OK) << sql;
    std::vector<std::vector<std::string>> rows;
    while (statement != nullptr && sqlite3_step(statement) == SQLITE_ROW) {
      std::vector<std::string> row;
      for (int c = 0; c < sqlite3_column_count(statement); ++c) {
        const unsigned char* text = sqlite3_column_text(statement, c);
        row.emplace_back(text == nullptr ? "" : reinterpret_cast<const char*>(text));
      }
      rows.push_back(std::move(row));
    }
    sqlite3_finalize(statement);
    return rows;
  }

  static std::vector<Row> rowsOf(std::string_view table, std::string_view word) {
    std::string key;
    for (char c : word) {
      key += c;
      if (c == '\'') {
        key += c;
      }
    }
    std::vector<Row> rows;
    for (const auto& r :
         query("SELECT zorvian_word, is_name, word_weight FROM " + std::string(table) +
               " WHERE english_word = '" + key + "' ORDER BY word_weight DESC, is_name")) {
      rows.push_back({r[0], std::stoi(r[1]), std::stoi(r[2])});
    }
    return rows;
  }

  // The program's lookup statement, word for word, with the key escaped as the program does.
  static std::string lookupStatement(std::string_view table, std::string_view key) {
    const std::string t(table);
    const std::string k(key);
    return "SELECT zorvian_word, is_name FROM " + t + " WHERE english_word = '" + k +
           "' AND word_version = (SELECT MAX(word_version) FROM " + t + " WHERE english_word = '" +
           k + "') ORDER BY word_weight DESC;";
  }

  static inline zrv::test::TempDir* folder_ = nullptr;
  static inline BuildReport report_;
  static inline bool built_ = false;
  static inline sqlite3* db_ = nullptr;
};

TEST_F(WordsDatabaseBuild, EveryCatalogTableHasTheFiveColumnsNoneOfThemNull) {
  const std::vector<std::vector<std::string>> expected = {
      {"english_word", "TEXT", "1"},    {"zorvian_word", "TEXT", "1"},
      {"is_name", "INTEGER", "1"},      {"word_weight", "INTEGER", "1"},
      {"word_version", "INTEGER", "1"},
  };
  for (const AccentTable& accent : accentCatalog) {
    std::vector<std::vector<std::string>> columns;
    for (const auto& c : query("PRAGMA table_info(" + std::string(accent.tableName) + ");")) {
      columns.push_back({c[1], c[2], c[3]});
    }
    EXPECT_EQ(columns, expected) << accent.tableName;
  }
  EXPECT_EQ(query("SELECT COUNT(*) FROM sqlite_schema WHERE type = 'table';")[0][0], "24");
}

TEST_F(WordsDatabaseBuild, EveryDictionaryWordIsInEveryTableAtVersionOne) {
  EXPECT_EQ(report_.words, kDictionaryWords);
  for (std::size_t t = 0; t < accentCatalog.size(); ++t) {
    const std::string table(accentCatalog[t].tableName);
    EXPECT_EQ(query("SELECT COUNT(DISTINCT english_word) FROM " + table + ";")[0][0],
              std::to_string(kDictionaryWords))
        << table;
    EXPECT_EQ(query("SELECT COUNT(zorvian_word) FROM " + table + ";")[0][0],
              std::to_string(report_.rowsPerTable[t]))
        << table;
    EXPECT_EQ(query("SELECT DISTINCT word_version FROM " + table + ";"),
              (std::vector<std::vector<std::string>>{{"1"}}))
        << table;
  }
}

TEST_F(WordsDatabaseBuild, RowsCarryTheNamesHeteronymsAndWeightsOfEachWord) {
  struct Case {
    std::string_view accent;
    std::string_view word;
    std::vector<Row> rows;
  };
  const Case cases[] = {
      // not a heteronym: the second pronunciation is dropped, so "the" needs no question
      {"US Midland", "the", {{"ðu", 0, 100}}},
      // a single letter is no name, though the word list holds "A"
      {"US Midland", "a", {{"u", 0, 100}}},
      // a heteronym: both readings, the dictionary's first one heaviest
      {"US Midland", "read", {{"red", 0, 100}, {"rīd", 0, 90}}},
      {"UK RP", "read", {{"red", 0, 100}, {"rīd", 0, 90}}},
      // in the word list both ways: a common row and a lighter name row
      {"US Midland", "bill", {{"bil", 0, 100}, {"bil", 1, 95}}},
      {"US Midland", "nice", {{"nais", 0, 100}, {"nais", 1, 95}}},
      // only capitalised: a name row only
      {"US Midland", "carter", {{"kārԏur", 1, 100}}},
      {"UK RP", "carter", {{"kātu", 1, 100}}},
      // a heteronym that is also a name: both rows for each reading
      {"US Midland",
       "polish",
       {{"pāliћ", 0, 100}, {"pāliћ", 1, 95}, {"pōliћ", 0, 90}, {"pōliћ", 1, 85}}},
      {"UK RP",
       "polish",
       {{"poliћ", 0, 100}, {"poliћ", 1, 95}, {"pōliћ", 0, 90}, {"pōliћ", 1, 85}}},
      // readings that an accent merges become one candidate there
      {"US Midland", "caught", {{"kāt", 0, 100}, {"kåt", 0, 90}}},
      {"US Western", "caught", {{"kāt", 0, 100}}},
      {"UK RP", "caught", {{"kåt", 0, 100}}},
      // not in the word list at all: common
      {"US Midland", "water", {{"wåԏur", 0, 100}}},
      {"UK London", "water", {{"wåҁu", 0, 100}}},
      {"UK RP", "bath", {{"bāþ", 0, 100}}},
      {"US Midland", "bath", {{"baþ", 0, 100}}},
      {"UK Scottish", "don't", {{"dónt", 0, 100}}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(rowsOf(accentLabelled(c.accent).tableName, c.word), c.rows)
        << c.accent << ": " << c.word;
  }
}

TEST_F(WordsDatabaseBuild, TheProgramsLookupFindsAWordWithAnApostrophe) {
  EXPECT_EQ(query(lookupStatement("zrv_words_us_midland", "don''t")),
            (std::vector<std::vector<std::string>>{{"dōnt", "0"}}));
  EXPECT_EQ(query(lookupStatement("zrv_words_us_midland", "read")),
            (std::vector<std::vector<std::string>>{{"red", "0"}, {"rīd", "0"}}));
  EXPECT_TRUE(query(lookupStatement("zrv_words_us_midland", "")).empty());
}

TEST_F(WordsDatabaseBuild, TheProgramsLookupSearchesTheKeyAndNeedsNoSort) {
  for (const AccentTable& accent : accentCatalog) {
    const auto plan = query("EXPLAIN QUERY PLAN " + lookupStatement(accent.tableName, "read"));
    ASSERT_FALSE(plan.empty());
    std::size_t searches = 0;
    for (const auto& step : plan) {
      const std::string& detail = step[3];
      EXPECT_EQ(detail.find("SCAN"), std::string::npos) << accent.tableName << ": " << detail;
      EXPECT_EQ(detail.find("TEMP B-TREE"), std::string::npos)
          << accent.tableName << ": " << detail;
      searches += detail.starts_with("SEARCH " + std::string(accent.tableName) +
                                     " USING PRIMARY KEY (english_word=?");
    }
    EXPECT_EQ(searches, 2u) << accent.tableName;  // the rows and their MAX(word_version)
  }
}

TEST_F(WordsDatabaseBuild, EveryZorvianWordKeepsToTheOrthography) {
  for (const AccentTable& accent : accentCatalog) {
    for (const auto& row :
         query("SELECT english_word, zorvian_word FROM " + std::string(accent.tableName) + ";")) {
      EXPECT_FALSE(row[1].empty()) << row[0];
      EXPECT_EQ(offendingLetter(row[1]), "") << accent.tableName << ": " << row[0];
    }
  }
}

TEST_F(WordsDatabaseBuild, AFinishedBuildLeavesOnlyTheDatabase) {
  EXPECT_FALSE(std::filesystem::exists(*folder_ / "zrv_words.db.building"));
  EXPECT_EQ(report_.bytes, std::filesystem::file_size(*folder_ / "zrv_words.db"));
}

TEST(WordsDatabaseBuildFailure, AFailedBuildLeavesThePreviousDatabaseInPlace) {
  zrv::test::TempDir folder;
  zrv::test::writeFile(folder / "zrv_words.db", "the previous database");
  zrv::test::writeFile(folder / "bad.dict", "word W XX\n");
  zrv::test::writeFile(folder / "good.dict", "word W ER D\n");
  zrv::test::writeFile(folder / "words", "word\n");
  struct Case {
    BuildSources sources;
    std::string error;
  };
  const Case cases[] = {
      {{folder / "missing.dict", folder / "words", std::nullopt},
       "cannot read the pronouncing dictionary " + (folder / "missing.dict").string()},
      {{folder / "bad.dict", folder / "words", std::nullopt},
       (folder / "bad.dict").string() + ":1: unknown phoneme \"XX\""},
      {{folder / "good.dict", folder / "missing-words", std::nullopt},
       "cannot read the word list " + (folder / "missing-words").string()},
      {{folder / "good.dict", folder / "words", folder / "missing.txt"},
       "cannot read the heteronym list " + (folder / "missing.txt").string()},
  };
  for (const Case& c : cases) {
    BuildReport report;
    std::string error;
    EXPECT_FALSE(buildWordsDatabase(c.sources, folder / "zrv_words.db", report, error));
    EXPECT_EQ(error, c.error);
    EXPECT_EQ(zrv::test::readFile(folder / "zrv_words.db"), "the previous database");
    EXPECT_FALSE(std::filesystem::exists(folder / "zrv_words.db.building"));
  }
}

}  // namespace
}  // namespace zrv::words_tool
