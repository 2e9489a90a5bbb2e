#pragma once

// The texts the transliteration prints: progress, warnings and name notices, the choice prompt
// and the summary. Kept together so that a reader can hold them against a transcript.

#include <string_view>

namespace zrv {

// Progress line: prefix, percentage, "% (", read, "/", total, ")".
inline constexpr std::string_view kProgressPrefix = "[INFO] Current Progress: ";

// A word the accent table does not hold: prefix, the word without edge apostrophes, "\"".
inline constexpr std::string_view kCouldNotFindPrefix =
    "[WARNING] Could not find a transliteration for the word: \"";

// A capitalised name row while names are kept: line 1 prefix, the word, line 1 end; line 2.
inline constexpr std::string_view kNameKeptPrefix = "[INFO] The name or title \"";
inline constexpr std::string_view kNameKeptLine1End = "\" has not been transliterated, ";
inline constexpr std::string_view kNameKeptLine2 =
    "since the user opted to not transliterate names and titles.";

// The choice prompt of an ambiguous word.
inline constexpr std::string_view kChoiceHeading =
    "[INFO] More than one transliteration option was found for the word: ";
inline constexpr std::string_view kChoiceContextHeading =
    "Here is the current sentence for context (current word is pointed to):";
inline constexpr std::string_view kChoiceOptionSeparator = ".) ";
inline constexpr std::string_view kChoicePrompt =
    "Please select which transliteration number you want to use. (#?): ";
inline constexpr std::string_view kChoiceContinuing = "Continuing with the transliteration...";
inline constexpr std::string_view kWordStartArrow = "==>";
inline constexpr std::string_view kWordEndArrow = "<==";

// The summary.
inline constexpr std::string_view kSummaryCompletedIn = "[INFO] Transliteration completed in ";
inline constexpr std::string_view kSummaryWrittenTo = "s, and written to ";
inline constexpr std::string_view kSummaryOutputFolder = "_output.txt in the output folder.";
inline constexpr std::string_view kSummaryWith = "s, with ";
inline constexpr std::string_view kSummaryWarningsAnd = " warning(s), and ";
inline constexpr std::string_view kSummaryWrittenToLine2 = "written to ";
inline constexpr std::string_view kSummaryPleaseCheck =
    "_output.txt in the output folder. Please check ";
inline constexpr std::string_view kSummaryUnknownWordsFolder =
    "_unknown_words.txt in the unknown_words folder for a list of";
inline constexpr std::string_view kSummaryLastLine = "words that could not be transliterated.";

}  // namespace zrv
