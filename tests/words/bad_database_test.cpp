// Broken words databases through the real executable: cut files, random bytes, accent tables
// without a column the program names or with columns it does not know, and a database that
// another process holds locked. A broken file ends in the report of the statement that met it and
// the halt; a file with more than the program needs works as usual.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <random>
#include <regex>
#include <string>

#include "tool_fixture.h"

namespace zrv::test {
namespace {

const std::string kTable = WordsDbBuilder::kDefaultTable;

std::string progressOfThree() {
  return "[INFO] Current Progress: 33.3333% (1/3)\n"
         "[INFO] Current Progress: 66.6667% (2/3)\n"
         "[INFO] Current Progress: 100% (3/3)\n";
}

std::string countQueryError(const std::string& table, int code) {
  return "[ERROR] SQLite encountered an error when performing a query: SELECT "
         "COUNT(zorvian_word) FROM " +
         table + ";\nError code: " + std::to_string(code) + "\n";
}

std::string lookupQueryError(const std::string& key, int code) {
  return "[ERROR] SQLite encountered an error when performing a query: SELECT zorvian_word, "
         "is_name FROM " +
         kTable + " WHERE english_word = '" + key + "' AND word_version = (SELECT " +
         "MAX(word_version) FROM " + kTable + " WHERE english_word = '" + key +
         "') ORDER BY word_weight DESC;\nError code: " + std::to_string(code) + "\n";
}

/// Everything up to the input-file question, then nothing more until the counts have run.
std::string untilCounts() {
  return bannerText() + upToDateText() + inputFileQuestionText();
}

/// `database` after `sql` has been run on it: a way to make a file the builder does not.
std::string afterSql(const WordsDbBuilder& database, const std::string& sql) {
  TempDir scratch;
  const std::filesystem::path file = scratch / "words.db";
  database.write(file);
  sqlite3* db = nullptr;
  EXPECT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
  char* error = nullptr;
  EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error), SQLITE_OK)
      << sql << ": " << (error ? error : "");
  sqlite3_free(error);
  sqlite3_close(db);
  return readFile(file);
}

class BadDatabase : public ToolFixture {
 protected:
  BadDatabase() { publishDatabase = false; }

  /// Runs the program on input.txt `input` with `database` as zrv_words.db, published as it is
  /// so that provisioning keeps it.
  ProgramResult runWith(const std::string& database, const std::string& input,
                        const std::string& answers) {
    writeFile(dir / "zrv_words.db", database);
    server.publish(database);
    std::filesystem::create_directories(dir / "output");
    std::filesystem::create_directories(dir / "unknown_words");
    writeFile(dir / "input.txt", input);
    return runProgram(dir.path(), answers);
  }
};

TEST_F(BadDatabase, CutFileHaltsAtTheFirstCount) {
  // The file opens whatever is left of it; the first statement that reads it reports the damage.
  const std::string whole = WordsDbBuilder().word("cat", "kat").bytes();
  const struct {
    const char* name;
    std::size_t length;
    std::string report;
  } cases[] = {
      {"to nothing: an empty database", 0, countQueryError("zrv_words_au_standard", 1)},
      {"inside the header", 50, countQueryError("zrv_words_au_standard", 11)},
      {"after the first page", 4096, countQueryError("zrv_words_au_standard", 11)},
      {"in half", whole.size() / 2, countQueryError("zrv_words_au_standard", 11)},
      {"by its last page", whole.size() - 4096, countQueryError("zrv_words_au_standard", 11)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_LT(c.length, whole.size());
    const ProgramResult result = runWith(whole.substr(0, c.length), "Hi.", runStartAnswers());

    EXPECT_EQ(result.out, untilCounts() + c.report);
    EXPECT_EQ(result.status, 1);
    EXPECT_TRUE(filesUnder(dir / "output").empty());
  }
}

TEST_F(BadDatabase, RandomBytesAreNoDatabase) {
  std::mt19937 random(20240611);
  std::string bytes(64 * 1024, '\0');
  for (char& byte : bytes) {
    byte = static_cast<char>(random() & 0xFF);
  }

  const ProgramResult result = runWith(bytes, "Hi.", runStartAnswers());

  EXPECT_EQ(result.out, untilCounts() + countQueryError("zrv_words_au_standard", 26));
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(readFile(dir / "zrv_words.db"), bytes);
}

TEST_F(BadDatabase, TableWithoutAColumnOfTheCountHaltsAtItsCount) {
  // The tables are counted in menu order, so the ones before the broken table are counted first.
  const struct {
    const char* name;
    WordsDbBuilder database;
    std::string report;
  } cases[] = {
      {"no zorvian_word",
       WordsDbBuilder().withColumns(kTable,
                                    "english_word TEXT, is_name INTEGER, "
                                    "word_weight REAL, word_version INTEGER"),
       countQueryError(kTable, 1)},
      {"no table at all", WordsDbBuilder().withoutTable("zrv_words_uk_rp"),
       countQueryError("zrv_words_uk_rp", 1)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const ProgramResult result = runWith(c.database.bytes(), "Hi.", runStartAnswers());

    EXPECT_EQ(result.out, untilCounts() + c.report);
    EXPECT_EQ(result.status, 1);
  }
}

TEST_F(BadDatabase, TableWithoutAColumnOfTheLookupHaltsAtTheFirstWord) {
  // The count only needs zorvian_word; the lookup names four more columns. What was written
  // before the first word stays in the output file.
  const char* kColumns[] = {"english_word TEXT", "zorvian_word TEXT", "is_name INTEGER",
                            "word_weight REAL", "word_version INTEGER"};
  for (const char* left : {"english_word", "is_name", "word_weight", "word_version"}) {
    SCOPED_TRACE(left);
    std::string columns;
    for (const char* column : kColumns) {
      if (std::string(column).rfind(left, 0) != 0) {
        columns += (columns.empty() ? "" : ", ") + std::string(column);
      }
    }
    const std::string database =
        afterSql(WordsDbBuilder().withColumns(kTable, columns),
                 "INSERT INTO " + kTable + " (zorvian_word) VALUES ('kat');");

    const ProgramResult result = runWith(database, "1 Cat.", runStartAnswers());

    std::string progress;
    for (int read = 1; read <= 6; ++read) {
      char line[64];
      std::snprintf(line, sizeof line, "[INFO] Current Progress: %g%% (%d/6)\n", read / 6.0 * 100.0,
                    read);
      progress += line;
    }
    EXPECT_EQ(result.out,
              runStartText(6, "0", {{kTable, "1"}}) + progress + lookupQueryError("cat", 1));
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(outputFile(), "1 ");
  }
}

TEST_F(BadDatabase, ColumnsTheProgramDoesNotNameChangeNothing) {
  // Extra columns anywhere, and the known ones in another order: the statements name theirs.
  const std::string database = afterSql(
      WordsDbBuilder().withColumns(kTable,
                                   "id INTEGER PRIMARY KEY, word_version INTEGER, note TEXT, "
                                   "zorvian_word TEXT, english_word TEXT, word_weight REAL, "
                                   "is_name INTEGER, extra BLOB"),
      "INSERT INTO " + kTable +
          " (english_word, zorvian_word, is_name, word_weight, word_version, note, extra) VALUES "
          "('hi', 'hai', 0, 1.0, 1, 'a note', x'00FF');");

  const ProgramResult result = runWith(database, "Hi.", runStartAnswers());

  static const std::regex seconds("completed in [0-9.e+-]+s, ");
  EXPECT_EQ(std::regex_replace(result.out, seconds, "completed in <seconds>s, "),
            runStartText(3, "0", {{kTable, "1"}}) + progressOfThree() +
                "\n[INFO] Transliteration completed in <seconds>s, and written to "
                "input_output.txt in the output folder.\n\n");
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(outputFile(), "Hai. ");
}

TEST_F(BadDatabase, DatabaseLockedByAnotherProcessFailsTheLookupStep) {
  // The lock is taken while the program waits at the start prompt: the counts have read the
  // schema by then, so the lookup's statement is prepared and its first step finds the lock.
  words.word("hi", "hai");
  const std::string database = words.bytes();
  writeFile(dir / "zrv_words.db", database);
  server.publish(database);
  std::filesystem::create_directories(dir / "output");
  std::filesystem::create_directories(dir / "unknown_words");
  writeFile(dir / "input.txt", "Hi.");
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open((dir / "zrv_words.db").c_str(), &other), SQLITE_OK);
  bool locked = false;
  auto lock = [&] {
    locked = sqlite3_exec(other, "BEGIN EXCLUSIVE;", nullptr, nullptr, nullptr) == SQLITE_OK;
  };

  const ProgramResult result = runProgramInStages(
      dir.path(), {{"", {}, "1\n16\ny\n"}, {"Press s and then enter to start: ", lock, "s\n"}});

  sqlite3_exec(other, "ROLLBACK;", nullptr, nullptr, nullptr);
  sqlite3_close(other);
  EXPECT_TRUE(locked);
  EXPECT_EQ(result.out, runStartText(3, "0", {{kTable, "1"}}) + progressOfThree() +
                            "[ERROR] SQLite encountered an error when parsing a row:\n"
                            "Error code: 5\n");
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(outputFile(), "");
  EXPECT_EQ(readFile(dir / "zrv_words.db"), database);
}

}  // namespace
}  // namespace zrv::test
