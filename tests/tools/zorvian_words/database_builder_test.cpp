#include "database_builder.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "files.h"
#include "real_sources.h"
#include "small_sources.h"
#include "words/accent_catalog.h"

namespace zrv::words_tool {
namespace {

using test::accentLabelled;

// With stress digits, as CMUdict 0.7b has them. The variants of "the" and "a" are no heteronyms;
// "caught" and "on" have LOT first, as the dictionary lists them; "'tis" is looked up as "tis";
// "3d" and "a.m." can never be looked up.
constexpr const char* kDictionary =
    "the DH AH0\n"
    "the(2) DH IY1\n"
    "a AH0\n"
    "a(2) EY1\n"
    "read R EH1 D\n"
    "read(2) R IY1 D\n"
    "does D AH1 Z\n"
    "bill B IH1 L\n"
    "carter K AA1 R T ER0\n"
    "nice N AY1 S\n"
    "caught K AA1 T\n"
    "caught(2) K AO1 T\n"
    "on AA1 N\n"
    "on(2) AO1 N\n"
    "'tis T IH1 Z\n"
    "don't D OW1 N T\n"
    "3d TH R IY1 D IY1\n"
    "a.m. EY2 EH1 M\n"
    "water W AO1 T ER0\n"
    "aaron EH1 R AH0 N\n";
constexpr std::size_t kLookedUpWords = 13;
constexpr const char* kWordList = "A\na\nBill\nbill\nCarter\nNice\nnice\nAaron\nwater\n";
// The present tense of "read" first; "does" also as the plural of "doe", which the dictionary
// lacks.
constexpr const char* kHeteronyms = "# the test's own list\nread 2 1\ndoes 1 [D OW1 Z]\n";

struct Row {
  std::string zorvian;
  int isName;
  int weight;
  bool operator==(const Row&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Row& row) {
  return out << "{" << row.zorvian << ", " << row.isName << ", " << row.weight << "}";
}

BuildSources smallSources(const std::filesystem::path& folder) {
  zrv::test::writeFile(folder / "test.dict", kDictionary);
  zrv::test::writeFile(folder / "words", kWordList);
  zrv::test::writeDataFolder(folder / "data",
                             {{"heteronyms.txt", kHeteronyms}, {"given_names.txt", "Bill\n"}});
  BuildSources sources;
  sources.dictionary = folder / "test.dict";
  sources.wordLists = {folder / "words"};
  sources.dataFolder = folder / "data";
  sources.espeakNames.reset();  // the small word list holds all the names
  sources.largeWordList.reset();
  return sources;
}

// One small database for the whole suite: a build is the expensive part, the checks only read.
class WordsDatabaseBuild : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    folder_ = new zrv::test::TempDir();
    std::string error;
    built_ = buildWordsDatabase(smallSources(folder_->path()), *folder_ / "zrv_words.db", report_,
                                error);
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

TEST_F(WordsDatabaseBuild, EveryWordTheProgramCanLookUpIsInEveryTableAtVersionOne) {
  EXPECT_EQ(report_.words, kLookedUpWords);
  const std::vector<std::vector<std::string>> keys = {
      {"a"},    {"aaron"}, {"bill"}, {"carter"}, {"caught"}, {"does"},  {"don't"},
      {"nice"}, {"on"},    {"read"}, {"the"},    {"tis"},    {"water"},
  };
  for (std::size_t t = 0; t < accentCatalog.size(); ++t) {
    const std::string table(accentCatalog[t].tableName);
    EXPECT_EQ(query("SELECT DISTINCT english_word FROM " + table + " ORDER BY english_word;"), keys)
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
      // a heteronym: its readings in the listed order, not the dictionary's
      {"US Midland", "read", {{"rīd", 0, 100}, {"red", 0, 90}}},
      {"UK RP", "read", {{"rīd", 0, 100}, {"red", 0, 90}}},
      // a reading in brackets, which the dictionary lacks, comes where it is listed
      {"US Midland", "does", {{"duz", 0, 100}, {"dōz", 0, 90}}},
      {"UK Scottish", "does", {{"duz", 0, 100}, {"dóz", 0, 90}}},
      // a curated given name that the word list also holds in lower case: both rows
      {"US Midland", "bill", {{"bil", 0, 100}, {"bil", 1, 95}}},
      // held in lower case too and not a curated name: common only
      {"US Midland", "nice", {{"nais", 0, 100}}},
      // held only capitalised: a name row only
      {"US Midland", "carter", {{"kārɾur", 1, 100}}},
      {"UK RP", "carter", {{"kātu", 1, 100}}},
      {"US Midland", "aaron", {{"erun", 1, 100}}},
      // LOT first in the dictionary, THOUGHT second: THOUGHT is the base, and the accents that
      // merge the two say it with their one vowel
      {"US Midland", "caught", {{"kåt", 0, 100}}},
      {"US NYC", "caught", {{"kåt", 0, 100}}},
      {"US Western", "caught", {{"kāt", 0, 100}}},
      {"UK RP", "caught", {{"kåt", 0, 100}}},
      // a THOUGHT variant of a word the spelling writes with LOT is no base
      {"US Midland", "on", {{"ān", 0, 100}}},
      {"US NYC", "on", {{"on", 0, 100}}},
      // not in the word list at all: common
      {"US Midland", "water", {{"wåɾur", 0, 100}}},
      {"UK London", "water", {{"wåʔu", 0, 100}}},
      {"UK Scottish", "don't", {{"dónt", 0, 100}}},
      {"US Midland", "tis", {{"tiz", 0, 100}}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(rowsOf(accentLabelled(c.accent).tableName, c.word), c.rows)
        << c.accent << ": " << c.word;
  }
}

TEST_F(WordsDatabaseBuild, TheProgramsLookupFindsTheKeysItMakes) {
  EXPECT_EQ(query(lookupStatement("zrv_words_us_midland", "don''t")),
            (std::vector<std::vector<std::string>>{{"dōnt", "0"}}));
  EXPECT_EQ(query(lookupStatement("zrv_words_us_midland", "tis")),
            (std::vector<std::vector<std::string>>{{"tiz", "0"}}));
  EXPECT_EQ(query(lookupStatement("zrv_words_us_midland", "read")),
            (std::vector<std::vector<std::string>>{{"rīd", "0"}, {"red", "0"}}));
  for (const char* never : {"''tis", "3d", "a.m.", "am", ""}) {
    EXPECT_TRUE(query(lookupStatement("zrv_words_us_midland", never)).empty()) << never;
  }
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

TEST_F(WordsDatabaseBuild, AFinishedBuildLeavesOnlyTheDatabase) {
  EXPECT_FALSE(std::filesystem::exists(*folder_ / "zrv_words.db.building"));
  EXPECT_EQ(report_.bytes, std::filesystem::file_size(*folder_ / "zrv_words.db"));
}

TEST_F(WordsDatabaseBuild, TheSameSourcesGiveTheSameBytes) {
  BuildReport report;
  std::string error;
  ASSERT_TRUE(
      buildWordsDatabase(smallSources(folder_->path()), *folder_ / "again.db", report, error))
      << error;
  EXPECT_TRUE(zrv::test::readFile(*folder_ / "again.db") ==
              zrv::test::readFile(*folder_ / "zrv_words.db"));
}

// A list with no entries yet, such as a data folder's placeholder, is an empty file.
TEST(WordsDatabaseBuildFromEmptyLists, AnEmptyDataFileIsAnEmptyList) {
  zrv::test::TempDir folder;
  BuildSources sources = smallSources(folder.path());
  for (const DataFile& file : builtInDataFiles()) {
    zrv::test::writeFile(folder / "data" / file.name, "");
  }
  BuildReport report;
  std::string error;
  EXPECT_TRUE(buildWordsDatabase(sources, folder / "zrv_words.db", report, error)) << error;
  EXPECT_EQ(report.words, kLookedUpWords);
}

TEST(WordsDatabaseBuildFailure, AFailedBuildLeavesThePreviousDatabaseInPlace) {
  zrv::test::TempDir folder;
  BuildSources good = smallSources(folder.path());
  zrv::test::writeFile(folder / "zrv_words.db", "the previous database");
  zrv::test::writeFile(folder / "bad.dict", "word W XX\n");
  struct Case {
    BuildSources sources;
    std::string error;
  };
  Case cases[] = {{good, ""}, {good, ""}, {good, ""}, {good, ""}};
  cases[0].sources.dictionary = folder / "missing.dict";
  cases[0].error = "cannot read the pronouncing dictionary " + (folder / "missing.dict").string();
  cases[1].sources.dictionary = folder / "bad.dict";
  cases[1].error = (folder / "bad.dict").string() +
                   ":1: \"XX\" is not a phoneme with its stress digit (vowels AA0 to UW2, "
                   "consonants B to ZH)";
  cases[2].sources.wordLists.push_back(folder / "missing-words");
  cases[2].error = "cannot read the word list " + (folder / "missing-words").string();
  cases[3].sources.largeWordList = folder / "missing-large-list";
  cases[3].error = "cannot read the word list " + (folder / "missing-large-list").string();
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
