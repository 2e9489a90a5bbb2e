#include "app/run_tool.h"

#include "app/banner.h"
#include "app/platform.h"
#include "engine/run_report.h"
#include "engine/sentence_reader.h"
#include "setup/accent_choice.h"
#include "setup/input_file.h"
#include "setup/output_files.h"
#include "sync/provisioning.h"
#include "sync/sha1/sha1wrapper.h"
#include "words/entry_counts.h"
#include "words/words_database.h"

namespace zrv {

namespace {

/// The phases of a run, in their fixed order. Each returns kHalt after printing its own lines.
PhaseResult runPhases(RunState& state) {
  using Phase = PhaseResult (*)(RunState&);
  static constexpr Phase kPhases[] = {
      provisionWordsDatabase,   // zrv_words.db verified, downloaded or updated
      openWordsDatabase,        // the one connection of the run
      printNewerVersionNotice,  // only after a successful open
      selectInputFile,          // input.txt or a custom .txt file
      countTableEntries,        // the counts the accent menu shows
      chooseAccentAndNames,     // accent table and names policy
      prepareOutputAndStart,    // result files, character count, start prompt
      transliterateInput,       // the whole text, sentence by sentence
      writeRunReport,           // unknown-words file and summary
  };
  for (Phase phase : kPhases) {
    if (phase(state) == PhaseResult::kHalt) {
      return PhaseResult::kHalt;
    }
  }
  return PhaseResult::kGoOn;
}

}  // namespace

int runTool(Console& console, const RepositorySettings& repository) {
  prepareProcess();
  RunState state(console, repository);
  state.sha1Hasher = std::make_unique<sha1wrapper>();
  printBanner(console);

  const PhaseResult outcome = runPhases(state);

  // A completed run and a halt end alike: the text streams in this order, then the database.
  // Before the open there is no handle, and closing none does nothing.
  state.textFileReader.close();
  state.outputWriter.close();
  state.unknownWords.close();
  closeWordsDatabase(state);
  return outcome == PhaseResult::kGoOn ? 0 : 1;
}

}  // namespace zrv
