#pragma once

// Expected pieces of the setup dialogs' transcripts, written out literally, and small helpers the
// dialog tests share.

#include <string>

#include "transcripts.h"

namespace zrv::test {

inline const std::string kInvalidOption = "Invalid option. Please choose a valid option.\n";
inline const std::string kMenuPrompt = "(#?): ";
inline const std::string kNamesPrompt = "(y/n): ";
inline const std::string kInputEnded = inputEndedText();
inline const std::string kCannotOpenInputTxt =
    "[ERROR] Cannot open input.txt. Halting the program.\n";
inline const std::string kPathNotTxt =
    "[ERROR] The path entered is invalid, or points to a file that is not a .txt file. Please "
    "select a valid .txt file.\n";
inline const std::string kPathCannotBeOpened =
    "[ERROR] The path entered is invalid, contains unsupported UTF8 characters, or the file "
    "requires higher permissions to access.\n";
inline const std::string kCannotCreateOutput =
    "[ERROR] Cannot create an output file. This might be because the output folder is missing, or "
    "because the user has insufficient permissions. Halting the program.\n";
inline const std::string kCannotCreateUnknownWords =
    "[ERROR] Cannot create an unknown words file. This might be because the unknown_words folder "
    "is missing, or because the user has insufficient permissions. Halting the program.\n";
inline const std::string kStartPrompt = "Ready to transliterate. Press s and then enter to start: ";
inline const std::string kStarting = "\n[INFO] Starting Transliteration...\n";

/// Everything up to the input-file question's prompt, with the database already up to date.
inline std::string untilInputQuestion() {
  return bannerText() + upToDateText() + inputFileQuestionText();
}

/// The custom path request, from its empty line to its prompt.
inline std::string pathRequestText() {
  return "\nPlease enter the full path of the file you want to use:\n(Path?): ";
}

/// The two counting lines and the empty line after them, before the start prompt.
inline std::string countText(unsigned long long characters) {
  return "[INFO] Counting the number of characters in the input file...\n"
         "[INFO] Total characters in the input file: " +
         std::to_string(characters) + "\n\n";
}

}  // namespace zrv::test
