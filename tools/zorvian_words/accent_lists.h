#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "cmu_dictionary.h"
#include "phonemes.h"

namespace zrv::words_tool {

/// A data file of the tool: its name ("bath.txt") and its text.
struct DataFile {
  std::string name;
  std::string text;
};

/// The tags of a BATH word: whether Australian English and Eastern New England also have the long
/// vowel in it.
struct BathTags {
  bool australian = false;
  bool newEngland = false;
};

/// The curated word lists of tools/zorvian_words/data/ that tell the builder what an American
/// dictionary cannot show. A listed word also covers its regular inflections and derivatives
/// (passes, passed, passing, passer) and the compounds and prefixed words it ends or starts
/// (bypass, overpass, grasshopper, afternoon).
class AccentLists {
 public:
  /// Reads bath.txt, square_before_vowel.txt, lot_before_r.txt, force_words.txt,
  /// british_forms.txt and given_names.txt from `files`. Every listed word must be a word of
  /// `dictionary`. Returns false, with `error` naming the file and line, for a missing file, a
  /// malformed line, an unknown word, a word listed twice or a reading the dictionary lacks.
  bool load(const std::vector<DataFile>& files, const std::vector<DictionaryWord>& dictionary,
            std::string& error);

  /// The tags of the BATH word that covers the letter at `letter` of `word`, if one does. A vowel
  /// with only a secondary stress counts only after a prefix ("overpass"), not after another word.
  std::optional<BathTags> bathAt(std::string_view word, std::size_t letter,
                                 bool secondaryStress = false) const;
  /// Whether the stressed a before r and a vowel of `word` is SQUARE (Mary, parent, various).
  bool squareBeforeVowel(std::string_view word) const;
  /// Whether the word is on the TRAP side of that list (marry-type words the spelling hides).
  bool trapBeforeVowel(std::string_view word) const { return trap_.contains(word); }
  /// Whether the word itself (not a form of it) is a BATH word ("contrast").
  bool isListedBathWord(std::string_view word) const { return bath_.contains(word); }
  /// FORCE (true) or LOT (false) for a listed o before r and a vowel, nothing when not listed.
  std::optional<bool> forceBeforeR(std::string_view word) const;
  /// Whether an "or" of `word` is FORCE rather than NORTH (port, force, story).
  bool forceSpelledOr(std::string_view word) const;
  /// The British-type pronunciation of `word` where it differs from the American one.
  const std::vector<Phone>* britishForm(std::string_view word) const;
  /// Whether `lowerCaseWord` is one of the given names that are also ordinary words (Bill, Rose).
  bool isGivenName(std::string_view lowerCaseWord) const;
  /// Whether `word` is an ordinary word: in the word lists' lower-case entries once they are set,
  /// in the dictionary before. Compounds and stems are made of such words ("hour" + "glass").
  bool isWord(std::string_view word) const {
    return (commonWords_ ? *commonWords_ : words_).contains(std::string(word));
  }
  /// The lower-case entries of the word lists, which must outlive the lists.
  void setCommonWords(const std::unordered_set<std::string>* words) { commonWords_ = words; }

 private:
  struct Match {
    std::string_view stem;
    std::size_t begin = 0;  // where the stem starts in the word
    std::size_t end = 0;
  };
  std::vector<Match> matches(const std::set<std::string, std::less<>>& stems,
                             std::string_view word) const;
  bool covers(const std::set<std::string, std::less<>>& stems, std::string_view word) const;

  std::unordered_set<std::string> words_;
  const std::unordered_set<std::string>* commonWords_ = nullptr;
  std::map<std::string, BathTags, std::less<>> bath_;
  std::set<std::string, std::less<>> bathStems_;
  std::set<std::string, std::less<>> square_;
  std::set<std::string, std::less<>> trap_;
  std::set<std::string, std::less<>> forceBeforeR_;
  std::set<std::string, std::less<>> lotBeforeR_;
  std::set<std::string, std::less<>> forceOr_;
  std::map<std::string, std::vector<Phone>, std::less<>> british_;
  std::set<std::string, std::less<>> givenNames_;
};

/// Reads a file of word forms, "word = N" (the dictionary's reading N) or "word : PHONEMES",
/// into `forms`. Returns false, with `error` naming the file and line, for a malformed line, a word
/// the dictionary lacks, a word listed twice or a reading the dictionary lacks.
bool parseForms(const DataFile& file, const std::vector<DictionaryWord>& dictionary,
                std::map<std::string, std::vector<Phone>, std::less<>>& forms, std::string& error);

/// Puts the readings of corrections.txt first in their words' entries: where the dictionary's
/// first reading is a rarer variant ("every" in three syllables) or a slip ("doth" with THOUGHT).
bool applyCorrections(const std::vector<DataFile>& files, std::vector<DictionaryWord>& dictionary,
                      std::string& error);

/// The data files compiled into the tool from tools/zorvian_words/data/.
const std::vector<DataFile>& builtInDataFiles();

/// The data files of a folder that holds the same file names, read whole; the built-in ones for
/// names the folder lacks. Returns false, with `error`, when a file cannot be read.
bool readDataFolder(const std::string& folder, std::vector<DataFile>& files, std::string& error);

/// Whether `rest` is an inflection or a common derivational ending ("ing", "s", "able", "y").
bool isWordEnding(std::string_view rest);

/// The text of the data file `name`, or nullptr.
const DataFile* findDataFile(const std::vector<DataFile>& files, std::string_view name);

/// The tokens of a data line with its "#" comment cut off.
std::vector<std::string_view> dataTokens(std::string_view line);

}  // namespace zrv::words_tool
