#pragma once

// The texts of the driver's banner, the dialog constants shared by every question, and the last
// lines of every halt. Keeping them together lets a reader hold them against a transcript.

#include <string_view>

namespace zrv {

// Dialog constants.
inline constexpr std::string_view invalidOptionMessage =
    "Invalid option. Please choose a valid option.";
inline constexpr std::string_view menuPrompt = "(#?): ";
inline constexpr std::string_view separatorLine =
    "-----------------------------------------------------------------";

// Banner and the newer-version notice.
extern const std::string_view kToolTitle;  // from the project version, in src/version.cpp.in
inline constexpr std::string_view kCreditLines[] = {
    "Developed by the Zorvian project.",
    "Zorvian spellings and accent tables by the Zorvian words team.",
    "Pronunciations derived from the CMU Pronouncing Dictionary.",
    "Words stored with SQLite, fetched with libcurl.",
    "Free to use on any text you may copy.",
};
inline constexpr std::string_view kWebAddress = "https://www.zorvian.org";
inline constexpr std::string_view kDownloadPage = "https://www.zorvian.org/download";
inline constexpr std::string_view kNewerVersionLine1 =
    "[INFO] A newer version of The Zorvian Transliteration Tool";
inline constexpr std::string_view kNewerVersionLine2 = "is available. It can be downloaded from ";

// Halt lines, in the order of the halt table: the phase that halts prints them.
inline constexpr std::string_view kHaltCurlSetup =
    "[ERROR] Something when wrong when setting up cURL. Halting the program.";
inline constexpr std::string_view kHaltMetadataRetries =
    "[WARNING] Failed to check for Words Database metadata after 3 total retries.";
inline constexpr std::string_view kCurlErrorPrefix = "[ERROR] cURL: ";
inline constexpr std::string_view kHaltNoDatabase =
    "[ERROR] No database available to use. Halting the program.";
inline constexpr std::string_view kHaltUpdateRetries =
    "[WARNING] Failed to check for Words Database updates after 3 total retries.";
inline constexpr std::string_view kHaltCannotWriteDatabase =
    "[ERROR] Cannot write the new Words Database version to a file. Halting the program.";
inline constexpr std::string_view kHaltCannotOpenDatabase =
    "[ERROR] Cannot open zrv_words.db. SQLite error code: ";
inline constexpr std::string_view kHaltCannotOpenDatabaseEnd = " Halting the program.";
inline constexpr std::string_view kHaltCannotOpenInputTxt =
    "[ERROR] Cannot open input.txt. Halting the program.";
inline constexpr std::string_view kHaltQueryError =
    "[ERROR] SQLite encountered an error when performing a query: ";
inline constexpr std::string_view kHaltRowError =
    "[ERROR] SQLite encountered an error when parsing a row:";
inline constexpr std::string_view kHaltErrorCode = "Error code: ";
inline constexpr std::string_view kHaltCannotCreateOutput =
    "[ERROR] Cannot create an output file. This might be because the output folder "
    "is missing, or because the user has insufficient permissions. Halting the program.";
inline constexpr std::string_view kHaltCannotCreateUnknownWords =
    "[ERROR] Cannot create an unknown words file. This might be because the unknown_words folder "
    "is missing, or because the user has insufficient permissions. Halting the program.";
// A result file could not take all that was written to it (a full disk, a file-size limit): the
// run halts instead of reporting a transliteration it did not write.
inline constexpr std::string_view kHaltCannotWriteOutput =
    "[ERROR] Cannot write the whole output file. This might be because the disk is full, "
    "or because the file is too large. Halting the program.";
inline constexpr std::string_view kHaltCannotWriteUnknownWords =
    "[ERROR] Cannot write the whole unknown words file. Halting the program.";
// Printed after a line end when standard input ends while a question waits for its answer.
inline constexpr std::string_view kHaltInputEnded =
    "[ERROR] The input ended before an answer was given. Halting the program.";

}  // namespace zrv
