// Broken words databases through the real executable: cut files, random bytes, accent tables
// without a column the program names or with columns it does not know, and a database that
// another process holds locked. A broken file ends in the report of the statement that met it and
// the halt; a file with more than the program needs works as usual.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <chrono>
#include <cstdio>
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

/// `database` with `sql` run on a connection that may write the schema table itself, the way a
/// crafted file is made: faster than creating hundreds of thousands of objects one by one.
std::string withSchemaRows(const WordsDbBuilder& database, const std::string& sql) {
  return afterSql(database,
                  "PRAGMA writable_schema = ON; " + sql + " PRAGMA writable_schema = OFF;");
}

// Files that hold the right tables but were made to hurt whoever opens them. Each ends in the
// report of the statement that met it and the halt, within a bounded time and memory, or runs as
// usual with what the terminal is sent made harmless.
TEST_F(BadDatabase, CraftedFilesEndInAReportAndAHaltInBoundedTimeAndMemory) {
  const std::string recursiveView =
      "DROP TABLE zrv_words_au_standard; CREATE VIEW zrv_words_au_standard AS WITH RECURSIVE "
      "endless(english_word, zorvian_word, is_name, word_weight, word_version) AS (SELECT 'a', "
      "'a', 0, 1, 1 UNION ALL SELECT * FROM endless) SELECT * FROM endless;";
  const std::string hugeForm =
      "INSERT INTO " + kTable + " VALUES ('hi', printf('%.*c', 100000000, 'x'), 0, 1.0, 1);";
  const std::string manyViews =
      "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 300000) INSERT "
      "INTO sqlite_schema (type, name, tbl_name, rootpage, sql) SELECT 'view', 'v' || i, 'v' || "
      "i, 0, 'CREATE VIEW v' || i || ' AS SELECT ' || i FROM n;";
  const struct {
    const char* name;
    std::string database;
    std::string report;
  } cases[] = {
      // Views are switched off: the view is reported as a missing table is.
      {"a recursive view named like an accent table", afterSql(WordsDbBuilder(), recursiveView),
       countQueryError("zrv_words_au_standard", 1)},
      // No value longer than a few kilobytes is read: the count meets it first.
      {"a form of 100 MB", afterSql(WordsDbBuilder(), hugeForm),
       "[ERROR] SQLite encountered an error when parsing a row:\nError code: 18\n"},
      // Reading so large a schema takes SQLite minutes; the first statement is interrupted.
      {"300,000 views", withSchemaRows(WordsDbBuilder(), manyViews),
       countQueryError("zrv_words_au_standard", 9)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto started = std::chrono::steady_clock::now();
    const ProgramResult result = runWith(c.database, "Hi.", runStartAnswers());
    const auto seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();

    EXPECT_EQ(result.out, untilCounts() + c.report);
    EXPECT_EQ(result.status, 1);
    EXPECT_FALSE(result.timedOut);
    // Generous bounds that only catch a hang or a value held whole, a sanitizer build included
    // (its allocator takes several times what SQLite's 300,000 schema objects take, 58 MB): the
    // program keeps the file's bytes for its digest, and nothing near the 1.3 GB of two copies.
    EXPECT_LT(seconds, 60.0);
    EXPECT_LT(result.peakResidentKiB * 1024.0, c.database.size() * 1.5 + 600e6);
    RecordProperty(std::string("seconds ") + c.name, std::to_string(seconds));
    RecordProperty(std::string("peak KiB ") + c.name, std::to_string(result.peakResidentKiB));
    std::printf("%s: %.2f s, peak %ld KiB\n", c.name, seconds, result.peakResidentKiB);
  }
}

TEST_F(BadDatabase, FormsWithControlBytesAreEscapedInThePromptAndWrittenAsStored) {
  const std::string red =
      "\x1b[31mk\x07"
      "at\x1b[0m";                                   // colour, bell, reset
  const std::string clear = "\x1b[2J\x1b[Hk\tat\r";  // clear screen, home; tab, CR
  const std::string database = WordsDbBuilder()
                                   .word("cat", red, 0, 2.0)
                                   .word("cat", clear, 0, 1.0)
                                   .word("hi",
                                         "h\x1b"
                                         "ai")
                                   .bytes();

  const ProgramResult result = runWith(database, "Hi cat.", runStartAnswers() + "2\n");

  static const std::regex seconds("completed in [0-9.e+-]+s, ");
  const std::string separator(65, '-');
  EXPECT_EQ(std::regex_replace(result.out, seconds, "completed in <seconds>s, "),
            runStartText(7, "0", {{kTable, "3"}}) +
                "[INFO] Current Progress: 14.2857% (1/7)\n"
                "[INFO] Current Progress: 28.5714% (2/7)\n"
                "[INFO] Current Progress: 42.8571% (3/7)\n"
                "[INFO] Current Progress: 57.1429% (4/7)\n"
                "[INFO] Current Progress: 71.4286% (5/7)\n"
                "[INFO] Current Progress: 85.7143% (6/7)\n"
                "[INFO] Current Progress: 100% (7/7)\n"
                "\n[INFO] More than one transliteration option was found for the word: \n"
                "\"cat\"\n\n"
                "Here is the current sentence for context (current word is pointed to):\n"
                "\"Hi ==>cat<==. \"\n\n" +
                separator + "\n1.) \\x1b[31mk\\x07at\\x1b[0m\n2.) \\x1b[2J\\x1b[Hk\tat\\x0d\n" +
                separator +
                "\n\nPlease select which transliteration number you want to use. (#?): "
                "\nContinuing with the transliteration...\n"
                "\n[INFO] Transliteration completed in <seconds>s, and written to input_output.txt "
                "in the output folder.\n\n");
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(outputFile(),
            "H\x1b"
            "ai " +
                clear + ". ");
}

}  // namespace
}  // namespace zrv::test
