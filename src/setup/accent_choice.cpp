#include "setup/accent_choice.h"

#include <string>

#include "app/answers.h"
#include "app/messages.h"
#include "app/run_state.h"
#include "setup/setup_messages.h"
#include "words/accent_catalog.h"

namespace zrv {

namespace {

void printAccentMenu(RunState& state) {
  std::ostream& out = state.console.out;
  out << std::endl;
  for (std::string_view line : kAccentMenuHeadingLines) {
    out << line << std::endl;
  }
  // The menu follows the catalog, not the byte order of the count map.
  for (const AccentTable& accent : accentCatalog) {
    const auto count = state.dbTableNamesToWordCountsMap.find(std::string(accent.tableName));
    out << accent.number << kAccentNumberEnd << accent.label
        << (accent.isUniversalStandard ? kUniversalStandardMark : "") << kAccentCountStart
        << (count == state.dbTableNamesToWordCountsMap.end() ? "0" : count->second)
        << kAccentCountEnd << std::endl;
  }
  out << menuPrompt;
}

/// The catalog entry whose number is exactly `answer` as decimal text ("7", never "07" or "+7"),
/// or nullptr.
const AccentTable* accentForAnswer(const std::string& answer) {
  for (const AccentTable& accent : accentCatalog) {
    if (answer == std::to_string(accent.number)) {
      return &accent;
    }
  }
  return nullptr;
}

}  // namespace

PhaseResult chooseAccentAndNames(RunState& state) {
  std::ostream& out = state.console.out;
  printAccentMenu(state);
  const AccentTable* chosen = nullptr;
  while (true) {
    if (!readAnswer(state.console, state.accentNumberChoice)) {
      return PhaseResult::kHalt;
    }
    chosen = accentForAnswer(state.accentNumberChoice);
    if (chosen != nullptr) {
      break;
    }
    out << invalidOptionMessage << std::endl << menuPrompt;
  }
  state.sqlTableToUse = chosen->tableName;
  out << kAccentChosenStart << state.sqlTableToUse << kAccentChosenEnd << std::endl << std::endl;

  out << kNamesQuestion;
  while (true) {
    if (!readAnswer(state.console, state.transliterateNamesChoice)) {
      return PhaseResult::kHalt;
    }
    const std::string& answer = state.transliterateNamesChoice;
    if (answer == "y" || answer == "Y" || answer == "n" || answer == "N") {
      state.transliterateNames = answer == "y" || answer == "Y";
      return PhaseResult::kGoOn;
    }
    out << invalidOptionMessage << std::endl << kNamesPrompt;
  }
}

}  // namespace zrv
