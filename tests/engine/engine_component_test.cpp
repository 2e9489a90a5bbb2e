// The engine's phases in-process: a RunState set up as the dialogs leave it (real words database,
// real files), then the reading loop and the report, against the scenarios' exact texts.

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <sstream>

#include "app/console.h"
#include "app/run_state.h"
#include "engine/run_report.h"
#include "engine/sentence_reader.h"
#include "engine_scenarios.h"
#include "files.h"
#include "words/words_database.h"

namespace zrv::test {
namespace {

struct EngineRun {
  PhaseResult result = PhaseResult::kHalt;
  std::string console;
  std::string output;
  std::string unknownWords;
};

EngineRun runEngine(const EngineScenario& scenario, const TempDir& dir) {
  WordsDbBuilder words;
  scenario.words(words);
  words.write(dir / "zrv_words.db");
  writeFile(dir / "input.txt", scenario.input);
  std::filesystem::create_directories(dir / "output");
  std::filesystem::create_directories(dir / "unknown_words");

  std::istringstream in(scenario.promptAnswers);
  std::ostringstream out;
  Console console{in, out};
  EngineRun run;
  {
    RunState state(console, RepositorySettings{});
    EXPECT_EQ(sqlite3_open((dir / "zrv_words.db").c_str(), &state.database), SQLITE_OK);
    state.sqlTableToUse = WordsDbBuilder::kDefaultTable;
    state.transliterateNames = scenario.names == 'y';
    state.customFileName = "input";
    state.textFileReader.open(dir / "input.txt", std::ios::in | std::ios::out);
    state.outputWriter.open(dir / "output/input_output.txt");
    state.unknownWords.open(dir / "unknown_words/input_unknown_words.txt");
    state.totalCharacters = scenario.input.size();
    state.startTime = std::chrono::steady_clock::now();

    run.result = transliterateInput(state);
    if (run.result == PhaseResult::kGoOn) {
      run.result = writeRunReport(state);
    }
    state.textFileReader.close();
    state.outputWriter.close();
    state.unknownWords.close();
    closeWordsDatabase(state);
  }
  run.console = out.str();
  run.output = readFile(dir / "output/input_output.txt");
  run.unknownWords = readFile(dir / "unknown_words/input_unknown_words.txt");
  return run;
}

class EngineInProcess : public ::testing::TestWithParam<EngineScenario> {};

TEST_P(EngineInProcess, PrintsAndWritesExactlyTheExpectedBytes) {
  const EngineScenario& scenario = GetParam();
  TempDir dir;
  const EngineRun run = runEngine(scenario, dir);
  EXPECT_EQ(withSecondsMasked(run.console), scenario.transcript);
  EXPECT_EQ(run.output, scenario.output);
  EXPECT_EQ(run.unknownWords, scenario.unknownWords);
  EXPECT_EQ(run.result, scenario.halts ? PhaseResult::kHalt : PhaseResult::kGoOn);
}

INSTANTIATE_TEST_SUITE_P(Engine, EngineInProcess, ::testing::ValuesIn(engineScenarios()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace zrv::test
