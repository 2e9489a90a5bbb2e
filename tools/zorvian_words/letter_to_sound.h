#pragma once

// Pronunciations guessed from the spelling alone, by the decision trees that festival's CMU
// lexicon ships in cmu_lts_rules.scm (package festlex-cmu): one tree per letter, asking about
// the three letters on either side, each leaf giving the letter's phones with stress digits.
// The last resort for list words no rule derives from a dictionary entry, and a weak one: on
// the 5,119 wamerican words of CMUdict 0.7b the trees were not trained on, a quarter of the
// guesses match the dictionary with stress and half match its phones, so generation uses
// them only when the builder passes the rules in.

#include <string>
#include <string_view>
#include <vector>

namespace zrv::words_tool::morphology {

class LetterToSound {
 public:
  /// Reads the rules' text, the Scheme list "(set! cmu_lts_rules '((a TREE) (b TREE) ...))".
  /// Returns false, with `error` naming the source and line, for text that is not such a list.
  bool parse(std::string_view text, std::string_view sourceName, std::string& error);

  /// Whether rules have been read.
  bool empty() const { return nodes_.empty(); }

  /// The ARPAbet phones for a lower-case word of letters; empty when a letter has no tree or
  /// the word yields no phones.
  std::vector<std::string> pronounce(std::string_view word) const;

 private:
  struct Node {
    int offset = 0;     // the letter asked about, relative to the current one; 0 for a leaf
    std::string value;  // the letter it must be ("#" the word's edge, "0" beyond it)
    int yes = -1;
    int no = -1;
    std::vector<std::string> phones;  // a leaf's phones, none for _epsilon_
  };
  std::vector<Node> nodes_;
  std::vector<int> trees_ = std::vector<int>(26, -1);  // root node per letter a..z

  friend class LetterToSoundParser;
};

}  // namespace zrv::words_tool::morphology
