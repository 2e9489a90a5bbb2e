#include "engine/word_scanner.h"

#include <ostream>
#include <span>
#include <string>
#include <vector>

#include "app/run_state.h"
#include "app/text_filters.h"
#include "engine/case_transfer.h"
#include "engine/choice_prompt.h"
#include "engine/engine_messages.h"
#include "engine/word_bytes.h"
#include "words/words_database.h"

namespace zrv {

namespace {

// Through the stream, not its buffer: once a write has failed the stream is bad and writes
// nothing more, where the file buffer itself would go on storing past its end.
void put(std::ostream& out, const std::string& text) {
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

void warnUnknownWord(RunState& state) {
  state.transliterationFound = false;
  state.warningCount += 1;
  state.unknownWordsSet.insert(toLowerCase(state.currentWord));
  state.console.out << kCouldNotFindPrefix << state.currentWordWithoutSingleEdgeQuotes << '"'
                    << std::endl;
}

/// Empties `container` into `spare`, node by node.
template <typename Container, typename Node>
void clearKeepingNodes(Container& container, std::vector<Node>& spare) {
  while (!container.empty()) {
    spare.push_back(container.extract(container.begin()));
  }
}

/// Empties the word's options, their nodes kept for the next ones.
void startOptions(RunState& state) {
  clearKeepingNodes(state.zrvWordOptionsMap, state.spareOptionNodes);
  clearKeepingNodes(state.zrvTransliterationsFoundForCurrentWord, state.spareFoundNodes);
}

/// Adds `form` to the word's options unless it is one already: a form that two rows share is
/// offered once.
void addOption(RunState& state, const std::string& form) {
  auto& found = state.zrvTransliterationsFoundForCurrentWord;
  if (found.contains(form)) {
    return;
  }
  auto& spareFound = state.spareFoundNodes;
  auto& spareOptions = state.spareOptionNodes;
  if (spareFound.empty() || spareOptions.empty()) {
    found.insert(form);
    state.zrvWordOptionsMap.emplace(std::to_string(state.optionNumber), form);
  } else {
    auto foundNode = std::move(spareFound.back());
    spareFound.pop_back();
    foundNode.value() = form;
    found.insert(std::move(foundNode));
    auto optionNode = std::move(spareOptions.back());
    spareOptions.pop_back();
    optionNode.key() = std::to_string(state.optionNumber);
    optionNode.mapped() = form;
    state.zrvWordOptionsMap.insert(std::move(optionNode));
  }
  state.optionNumber += 1;
}

/// Most words have one common row, and the word before them one option: that option is rewritten
/// in place, which leaves the same options as emptying them and adding the row's form would.
/// Returns false, changing nothing, for any other word.
bool rewriteOnlyOption(RunState& state, std::span<const LookupRow> rows) {
  auto& options = state.zrvWordOptionsMap;
  auto& found = state.zrvTransliterationsFoundForCurrentWord;
  if (rows.size() != 1 || rows.front().isName || options.size() != 1 || found.size() != 1 ||
      options.begin()->first != "1") {
    return false;
  }
  state.currentZrvWord = rows.front().zorvianWord;
  options.begin()->second = state.currentZrvWord;
  if (*found.begin() != state.currentZrvWord) {
    auto node = found.extract(found.begin());
    node.value() = state.currentZrvWord;
    found.insert(std::move(node));
  }
  state.optionNumber = 2;
  return true;
}

/// Fills the option map from the lookup rows under the names policy and settles whether the word
/// is written in a Zorvian form. Returns kHalt when the input ends at the choice prompt.
PhaseResult gatherCandidates(RunState& state, std::span<const LookupRow> rows) {
  state.nameFound = false;
  state.optionNumber = 1;
  state.userTransliterationSelection.clear();
  state.transliterationFound = true;
  if (rewriteOnlyOption(state, rows)) {
    return PhaseResult::kGoOn;
  }
  startOptions(state);

  // The names policy looks at the word as scanned: "'Bill" does not begin with a capital.
  const bool beginsWithCapital = isUpperCaseLetter(state.currentWord.front());
  for (const LookupRow& row : rows) {
    if (!row.isName || state.transliterateNames) {
      state.currentZrvWord = row.zorvianWord;
      addOption(state, state.currentZrvWord);
    }
    if (row.isName) {
      state.nameFound = true;
      if (!state.transliterateNames && beginsWithCapital) {
        state.console.out << kNameKeptPrefix << state.currentWord << kNameKeptLine1End << std::endl
                          << kNameKeptLine2 << std::endl;
      }
    }
  }

  if (state.zrvWordOptionsMap.empty()) {
    state.transliterationFound = false;
  } else if (state.nameFound && !state.transliterateNames && beginsWithCapital) {
    state.transliterationFound = false;
  }
  // The prompt runs even for a word already settled as kept; its answer then changes nothing.
  if (state.zrvWordOptionsMap.size() > 1) {
    return chooseTransliteration(state);
  }
  return PhaseResult::kGoOn;
}

void writeWord(RunState& state) {
  std::ostream& out = state.outputWriter;
  if (!state.transliterationFound) {
    put(out, state.currentWord);
  } else {
    if (state.hasLeadingApostrophe) {
      out.put('\'');
    }
    // Only the English word's first and last letters decide the case of the whole form.
    if (!state.firstLetterIsUpperCase) {
      put(out, state.currentZrvWord);
    } else if (!state.lastLetterIsUpperCase) {
      put(out, capitalizeFirstLetter(state.currentZrvWord));
    } else {
      put(out, toUpperCase(state.currentZrvWord));
    }
    if (state.hasTrailingApostrophe) {
      out.put('\'');
    }
  }
  out.put(state.sentenceCharacter);
}

/// Looks the non-empty state.currentWord up, settles it and writes it with its delimiter.
PhaseResult lookUpAndWriteWord(RunState& state) {
  state.hasLeadingApostrophe = state.currentWord.front() == '\'';
  state.hasTrailingApostrophe = state.currentWord.back() == '\'';
  state.currentWordLowerCaseAndEscaped =
      escapeSingleQuotes(toLowerCase(state.currentWordWithoutSingleEdgeQuotes));
  std::span<const LookupRow> rows;
  if (lookupWord(state, state.sqlTableToUse, state.currentWordLowerCaseAndEscaped, rows) ==
      PhaseResult::kHalt) {
    return PhaseResult::kHalt;
  }
  if (rows.empty()) {
    warnUnknownWord(state);
  } else if (gatherCandidates(state, rows) == PhaseResult::kHalt) {
    return PhaseResult::kHalt;
  }
  writeWord(state);
  // The first lookup of a key leaves its statement until the word is written.
  state.result.reset();
  return PhaseResult::kGoOn;
}

/// Ends the word collected so far at the delimiter state.sentenceCharacter.
PhaseResult endWord(RunState& state) {
  state.currentWordWithoutSingleEdgeQuotes = removeSingleEdgeQuotes(state.currentWord);
  const std::string& caseBasis = state.currentWordWithoutSingleEdgeQuotes;
  if (!caseBasis.empty() && isUpperCaseLetter(caseBasis.front())) {
    state.firstLetterIsUpperCase = true;
    // A one-letter word (I, A) has the same first and last byte: it takes the all-capitals form.
    if (isUpperCaseLetter(caseBasis.back())) {
      state.lastLetterIsUpperCase = true;
    }
  }

  if (state.currentWord.empty()) {
    state.outputWriter.put(state.sentenceCharacter);
  } else if (lookUpAndWriteWord(state) == PhaseResult::kHalt) {
    return PhaseResult::kHalt;
  }

  state.currentWord.clear();
  state.firstLetterIsUpperCase = false;
  state.lastLetterIsUpperCase = false;
  return PhaseResult::kGoOn;
}

}  // namespace

PhaseResult transliterateSentence(RunState& state) {
  state.currentWord.clear();
  state.currentZrvWord.clear();
  state.transliterationFound = false;
  state.firstLetterIsUpperCase = false;
  state.lastLetterIsUpperCase = false;
  state.positionInSentence = 0;

  // By index over the sentence itself: a word costs nothing that grows with the sentence.
  const std::string& sentence = state.currentSentence;
  for (std::size_t at = 0; at < sentence.size(); ++at) {
    state.positionInSentence += 1;
    state.sentenceCharacter = sentence[at];
    if (isWordByte(state.sentenceCharacter)) {
      state.currentWord.push_back(state.sentenceCharacter);
    } else if (endWord(state) == PhaseResult::kHalt) {
      return PhaseResult::kHalt;
    }
  }
  // Every sentence ends with a delimiter (its mark, or the space added at the end of the input),
  // so no word is left over here.
  return PhaseResult::kGoOn;
}

}  // namespace zrv
