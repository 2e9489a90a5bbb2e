#pragma once

#include <string>
#include <vector>

#include "accents.h"
#include "cmu_dictionary.h"
#include "heteronyms.h"
#include "word_list.h"

namespace zrv::words_tool {

/// The weight of a word's first candidate; each further distinct pronunciation weighs
/// kVariantWeightStep less, and the name row of a word that is also common weighs kNameWeightStep
/// less than its common row, so the common reading comes first.
inline constexpr int kFirstWeight = 100;
inline constexpr int kVariantWeightStep = 10;
inline constexpr int kNameWeightStep = 5;

/// The version of every row this tool writes.
inline constexpr int kWordVersion = 1;

/// One row of an accent table, without the English word and the version.
struct WordRow {
  std::string zorvianWord;
  bool isName = false;
  int weight = kFirstWeight;
};

/// A dictionary word made ready for all accents at once: its kept pronunciations paired with their
/// letters, and how the word list holds it. Points into `entry`, which must outlive it.
struct PreparedWord {
  const DictionaryWord* entry = nullptr;
  NameUse nameUse = NameUse::Common;
  std::vector<WordSounds> pronunciations;
};

/// Prepares a word: keeps the pronunciations the heteronym list allows and pairs their vowels with
/// the word's letters.
PreparedWord prepareWord(const DictionaryWord& entry, const WordList& words,
                         const HeteronymList& heteronyms);

/// Fills `rows` with the word's rows in one accent table: per distinct spelling (the first
/// pronunciation first) a common row, a name row, or both, after the word's NameUse. Never empty.
void rowsInAccent(const PreparedWord& word, const AccentTable& accent, std::vector<WordRow>& rows);

}  // namespace zrv::words_tool
