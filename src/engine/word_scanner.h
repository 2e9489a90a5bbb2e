#pragma once

#include "app/phase_result.h"

namespace zrv {

struct RunState;

/// Splits state.currentSentence into words (A-Z, a-z and "'") and delimiters (every other byte),
/// looks each word up in state.sqlTableToUse and writes its Zorvian form or the word itself,
/// followed by its delimiter, to state.outputWriter. Unknown words are warned about, counted in
/// state.warningCount and collected lower-cased in state.unknownWordsSet; state.transliterateNames
/// decides whether name rows are used; a word with several candidates goes to the choice prompt.
/// Returns kHalt at once when a lookup fails (its report printed, its statement left for the
/// close) or the input ends at a choice prompt; the rest of the sentence is then not written.
PhaseResult transliterateSentence(RunState& state);

}  // namespace zrv
