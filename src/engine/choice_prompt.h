#pragma once

#include "app/phase_result.h"

namespace zrv {

struct RunState;

/// Shows state.currentWord in state.currentSentence (marked by arrows, written to
/// state.currentSentenceWithArrows) with the candidates of state.zrvWordOptionsMap, reads answers
/// into state.userTransliterationSelection until one is a key of the map, and sets
/// state.currentZrvWord to its candidate. state.positionInSentence is the 1-based position of the
/// delimiter right after the word. Returns kHalt when the input ends before a valid answer (the
/// reading helper has printed the halt line).
PhaseResult chooseTransliteration(RunState& state);

}  // namespace zrv
