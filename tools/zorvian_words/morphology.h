#pragma once

// Word forms the pronouncing dictionary lacks, built from a base entry with English
// morphophonology: the inflections and possessives the word lists hold, their British spellings,
// and the archaic verb forms of older texts. The module sees only strings, so the builder decides
// where the dictionary, the lists and the data files come from.

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace zrv::words_tool::morphology {

/// ARPAbet symbols with the stress digit on every vowel: {"K", "AE1", "T", "S"}.
using Phones = std::vector<std::string>;

/// The pronouncing dictionary: each lower-case key exactly as the dictionary spells it, with its
/// pronunciations, the most common first.
using Dictionary = std::map<std::string, std::vector<Phones>, std::less<>>;

/// The text of a data file and the name its error messages give it.
struct DataText {
  std::string sourceName;
  std::string text;
};

/// What generation reads. The word lists' words come lower-cased, apostrophes kept ("cat's");
/// words the program could never look up (digits, accents, hyphens) are ignored.
struct Sources {
  const Dictionary* dictionary = nullptr;
  /// The American list (wamerican) and any other list of American or neutral spellings.
  std::vector<std::string> listWords;
  /// The British list (wbritish): a word only it holds is read as a British spelling before it
  /// is read as a suffixed form (parenthesised is parenthesized, not parenthesis + ed).
  std::vector<std::string> britishListWords;
  /// A larger list (wamerican-huge): its lower-case words that neither list above holds get a form
  /// only where one of the productive prefixes re-, sub- and non-, the agentive -or or -ability
  /// derives them from an entry, inflections and suffixes allowed on the way (relicensing,
  /// sublicenses, merchantability), or they inflect an -or entry (licensors); compounds, British
  /// spellings, un- and the other prefixes stay out.
  std::vector<std::string> largeListWords;
  /// Irregular archaic forms ("hath have HH AE1 TH"), archaic words of their own ("verily - V EH1
  /// R AH0 L IY0") and irregular verbs ("know").
  DataText archaicForms;
  /// British spellings the spelling rules cannot derive ("grey gray").
  DataText britishSpellings;
  /// Optional: festival's cmu_lts_rules.scm, for the list words no rule derives; empty text
  /// means none.
  DataText letterToSoundRules;
};

/// The rule names a generated form reports.
inline constexpr std::string_view kPluralRule = "plural -s";
inline constexpr std::string_view kPastRule = "past -ed";
inline constexpr std::string_view kIngRule = "-ing";
inline constexpr std::string_view kComparativeRule = "-er";
inline constexpr std::string_view kSuperlativeRule = "-est";
inline constexpr std::string_view kPossessiveRule = "possessive 's";
inline constexpr std::string_view kBritishRule = "British spelling";
inline constexpr std::string_view kBritishListRule = "British spelling list";
inline constexpr std::string_view kArchaicEthRule = "archaic -eth";
inline constexpr std::string_view kArchaicEstRule = "archaic -est";
inline constexpr std::string_view kArchaicPastStRule = "archaic past -st";
inline constexpr std::string_view kArchaicListRule = "archaic list";
inline constexpr std::string_view kNessRule = "-ness";
inline constexpr std::string_view kLyRule = "-ly";
inline constexpr std::string_view kLessRule = "-less";
inline constexpr std::string_view kFulRule = "-ful";
inline constexpr std::string_view kMentRule = "-ment";
inline constexpr std::string_view kAbleRule = "-able";
inline constexpr std::string_view kAgentRule = "-or";
inline constexpr std::string_view kAbilityRule = "-ability";
inline constexpr std::string_view kPrefixRule = "prefix";
inline constexpr std::string_view kCompoundRule = "compound";
inline constexpr std::string_view kLookupKeyRule = "lookup key";
inline constexpr std::string_view kLetterToSoundRule = "letter-to-sound";

/// A word the dictionary lacks, with its pronunciations in the order of its base's.
struct GeneratedForm {
  std::string word;
  std::vector<Phones> pronunciations;
  /// The word it was built from: a dictionary entry or another generated form.
  std::string base;
  std::string_view rule;
};

/// The generated forms sorted by word, each word once and never a key of the dictionary; or, when
/// a data file is bad, `error` naming the file and line and no forms.
struct Generation {
  std::vector<GeneratedForm> forms;
  std::string error;
};

/// Generates every form of `sources`: the list words the dictionary lacks that a rule derives,
/// the archaic -eth, -est and past -st forms of the verbs (knoweth, knowest, lovedst), the
/// archaic data list, the curated British spellings, and the lookup keys of dictionary entries
/// keyed with an edge apostrophe ("tis" for "'tis"), the larger list's words that the productive
/// rules derive, and, when rules are given, the letter-to-sound guesses for the list words left
/// over. A verb is a word of the archaic data's verb
/// lines, or a dictionary word of the lists whose -ing and -ed forms are both known words; only
/// the latter get the past -st form. The same sources give the same forms.
Generation generateForms(const Sources& sources);

/// The key the program looks `word` up by: one apostrophe dropped at each edge, lower-cased; empty
/// when what is left holds anything but letters and inner apostrophes.
std::string lookupKey(std::string_view word);

}  // namespace zrv::words_tool::morphology
