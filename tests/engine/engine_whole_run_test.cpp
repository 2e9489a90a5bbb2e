// Whole runs of the real executable, from the banner to the summary, with the engine's scenarios
// after the standard setup dialog.

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "engine_scenarios.h"
#include "tool_fixture.h"

namespace zrv::test {
namespace {

/// What the accent menu shows for the default table of the database file.
std::string entryCount(const std::filesystem::path& database) {
  sqlite3* db = nullptr;
  sqlite3_stmt* count = nullptr;
  std::string text = "0";
  sqlite3_open(database.c_str(), &db);
  const std::string sql =
      std::string("SELECT COUNT(zorvian_word) FROM ") + WordsDbBuilder::kDefaultTable + ";";
  if (sqlite3_prepare_v2(db, sql.c_str(), -1, &count, nullptr) == SQLITE_OK &&
      sqlite3_step(count) == SQLITE_ROW) {
    text = reinterpret_cast<const char*>(sqlite3_column_text(count, 0));
  } else {
    ADD_FAILURE() << "cannot count the entries of " << database;
  }
  sqlite3_finalize(count);
  sqlite3_close(db);
  return text;
}

class WholeRun : public ToolFixture, public ::testing::WithParamInterface<EngineScenario> {};

TEST_P(WholeRun, RunsFromTheBannerToTheSummary) {
  const EngineScenario& scenario = GetParam();
  scenario.words(words);
  const ProgramResult result =
      runOn(scenario.input, runStartAnswers(scenario.names) + scenario.promptAnswers);

  const std::string count = entryCount(dir / "zrv_words.db");
  EXPECT_EQ(withSecondsMasked(result.out),
            runStartText(scenario.input.size(), "0", {{WordsDbBuilder::kDefaultTable, count}}) +
                scenario.transcript);
  EXPECT_EQ(result.status, scenario.halts ? 1 : 0);
  EXPECT_EQ(outputFile(), scenario.output);
  EXPECT_EQ(unknownWordsFile(), scenario.unknownWords);
}

INSTANTIATE_TEST_SUITE_P(Engine, WholeRun, ::testing::ValuesIn(engineScenarios()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace zrv::test
