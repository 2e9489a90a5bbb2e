#pragma once

#include <array>
#include <string>
#include <vector>

#include "accent_lists.h"
#include "accents.h"
#include "cmu_dictionary.h"
#include "heteronyms.h"
#include "word_list.h"

namespace zrv::words_tool {

/// The weight of a word's first candidate; each further distinct reading weighs kVariantWeightStep
/// less, and the name row of a word that is also common weighs kNameWeightStep less than its
/// common row, so the common reading comes first.
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

/// A word's readings as the builder uses them: the American ones (from the dictionary, or the
/// curated heteronym readings) and their British-type counterparts.
struct WordReadings {
  std::vector<std::vector<Phone>> american;
  std::vector<std::vector<Phone>> british;
  std::vector<bool> britishIsCurated;  // a form of british_forms.txt, or its inflection
};

/// Everything the builder knows to make a dictionary word's rows.
class WordPreparer {
 public:
  WordPreparer(const std::vector<DictionaryWord>& dictionary, const WordList& words,
               const HeteronymList& heteronyms, const AccentLists& lists);

  /// The readings of `entry`: the heteronym list's, or the base reading (the dictionary's first,
  /// or the variant that only differs from it by keeping THOUGHT where the first has LOT:
  /// "caught", "coffee"); the British-type form of each. Returns false with `error` when the
  /// heteronym list names a reading the dictionary lacks.
  bool readingsOf(const DictionaryWord& entry, WordReadings& readings, std::string& error) const;

  /// How the word's rows are split between common and name rows.
  NameUse nameUseOf(std::string_view word) const;

  const AccentLists& lists() const { return lists_; }

 private:
  const std::vector<Phone>* firstReading(std::string_view word) const;

  const std::vector<DictionaryWord>& dictionary_;
  const WordList& words_;
  const HeteronymList& heteronyms_;
  const AccentLists& lists_;
};

/// The base words of a word's readings in both kinds, made once for all 24 accents. Points into
/// `spelling`, which must outlive it.
struct WordBases {
  std::vector<BaseWord> american;
  std::vector<BaseWord> british;
};

WordBases basesOf(std::string_view spelling, const WordReadings& readings,
                  const AccentLists& lists);

/// Fills `rows` with the word's rows in one accent: per distinct spelling (the most common reading
/// first) a common row, a name row, or both, after `nameUse`. Never empty.
void rowsInAccent(const WordBases& bases, NameUse nameUse, const AccentProfile& accent,
                  std::vector<WordRow>& rows);

}  // namespace zrv::words_tool
