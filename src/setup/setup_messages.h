#pragma once

// The questions, notices and file names of the setup dialogs (input file, accent and names,
// result files and start prompt). The shared invalid-option line and menu prompt, and the halt
// lines, live in app/messages.h.

#include <string_view>

namespace zrv {

// Input file question.
inline constexpr std::string_view kInputFileQuestionLines[] = {
    "Would you like to use input.txt as the input file, or choose a custom file?",
    "1.) Use input.txt",
    "2.) Choose a custom file",
};
inline constexpr std::string_view kUseInputTxtAnswer = "1";
inline constexpr std::string_view kCustomFileAnswer = "2";
inline constexpr const char* kDefaultInputFile = "input.txt";
inline constexpr std::string_view kDefaultBaseName = "input";

// Custom path dialog.
inline constexpr std::string_view kPathRequest =
    "Please enter the full path of the file you want to use:";
inline constexpr std::string_view kPathPrompt = "(Path?): ";
inline constexpr std::string_view kTextFileExtension = ".txt";
inline constexpr std::string_view kPathNotTxtFile =
    "[ERROR] The path entered is invalid, or points to a file that is not a .txt file. Please "
    "select a valid .txt file.";
inline constexpr std::string_view kPathCannotBeOpened =
    "[ERROR] The path entered is invalid, contains unsupported UTF8 characters, or the file "
    "requires higher permissions to access.";

// Accent menu.
inline constexpr std::string_view kAccentMenuHeadingLines[] = {
    "Select the number of the Zorvian accent you want",
    "to transliterate to (asterisks indicate a universal standard):",
};
inline constexpr std::string_view kAccentNumberEnd = ".) ";
inline constexpr std::string_view kUniversalStandardMark = "*";
inline constexpr std::string_view kAccentCountStart = " (";
inline constexpr std::string_view kAccentCountEnd = " dictionary entries)";
inline constexpr std::string_view kAccentChosenStart = "The ";
inline constexpr std::string_view kAccentChosenEnd = " database will be used.";

// Names question.
inline constexpr std::string_view kNamesQuestion =
    "Do you want to transliterate names and titles? (y/n): ";
inline constexpr std::string_view kNamesPrompt = "(y/n): ";

// Result files, named after the input's base name; the folders must exist already.
inline constexpr std::string_view kOutputFilePrefix = "output/";
inline constexpr std::string_view kOutputFileSuffix = "_output.txt";
inline constexpr std::string_view kUnknownWordsFilePrefix = "unknown_words/";
inline constexpr std::string_view kUnknownWordsFileSuffix = "_unknown_words.txt";

// Character count and start prompt.
inline constexpr std::string_view kCountingCharacters =
    "[INFO] Counting the number of characters in the input file...";
inline constexpr std::string_view kTotalCharacters = "[INFO] Total characters in the input file: ";
inline constexpr std::string_view kStartPrompt =
    "Ready to transliterate. Press s and then enter to start: ";
inline constexpr std::string_view kStartingTransliteration = "[INFO] Starting Transliteration...";

}  // namespace zrv
