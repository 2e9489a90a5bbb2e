#pragma once

// The lines of the provisioning phase, written out literally so that a changed message shows up
// as a failing transcript, and the helpers the provisioning tests share.

#include <optional>
#include <string>
#include <vector>

#include "sync/sha1/sha1wrapper.h"

namespace zrv::test {

inline const std::string kCheckingText =
    "\n"
    "[INFO] Checking for Words Database updates...\n";
inline const std::string kUpToDateText = "[INFO] Words Database is already up to date.\n\n";
inline const std::string kNoLocalText =
    "[INFO] No Words Database found locally. Downloading the latest version...\n";
inline const std::string kDownloadCompleteText = "[INFO] Words Database download complete.\n\n";
inline const std::string kOutOfDateText =
    "[INFO] Words Database is out of date. Downloading the latest version...\n";
inline const std::string kUpdateCompleteText = "[INFO] Words Database update complete.\n\n";
// The cURL error text differs from machine to machine; maskCurlError puts this in its place.
inline const std::string kMetadataGaveUpText =
    "[WARNING] Failed to check for Words Database metadata after 3 total retries.\n"
    "[ERROR] cURL: <error text>\n";
inline const std::string kUpdatesGaveUpText =
    "[WARNING] Failed to check for Words Database updates after 3 total retries.\n";
inline const std::string kDefaultingText = "[INFO] Defaulting to the local Words Database.\n\n";
inline const std::string kNoDatabaseText =
    "[ERROR] No database available to use. Halting the program.\n";
inline const std::string kCannotWriteText =
    "[ERROR] Cannot write the new Words Database version to a file. Halting the program.\n";
inline const std::string kNewerVersionText =
    "[INFO] A newer version of The Zorvian Transliteration Tool\n"
    "is available. It can be downloaded from https://www.zorvian.org/download\n"
    "\n";

/// The two ways a download is stored: where there was no file, and over an older one.
struct StoringCase {
  const char* name;
  std::optional<std::string> localFile;  // nullopt: there is no zrv_words.db
  std::string announcement;              // the line that says why the database is downloaded
};
inline std::vector<StoringCase> storingCases(const std::string& olderFile) {
  return {{"first download", std::nullopt, kNoLocalText}, {"update", olderFile, kOutOfDateText}};
}

/// The retry lines numbered 1 to `count` for the digest resource.
inline std::string metadataRetryLines(int count) {
  std::string lines;
  for (int number = 1; number <= count; ++number) {
    lines += "[ERROR] Could not download Words Database metadata. Trying again (" +
             std::to_string(number) + "/3).\n";
  }
  return lines;
}

/// The retry lines numbered 1 to `count` for the database resource.
inline std::string updateRetryLines(int count) {
  std::string lines;
  for (int number = 1; number <= count; ++number) {
    lines += "[ERROR] Could not download Words Database update. Trying again (" +
             std::to_string(number) + "/3).\n";
  }
  return lines;
}

/// `out` with the text of every "[ERROR] cURL: " line replaced by "<error text>", provided the
/// text is not empty (an empty one stays, so that it fails the comparison).
inline std::string maskCurlError(std::string out) {
  const std::string prefix = "[ERROR] cURL: ";
  for (std::size_t at = out.find(prefix); at != std::string::npos;
       at = out.find(prefix, at + prefix.size())) {
    if (at != 0 && out[at - 1] != '\n') {
      continue;
    }
    const std::size_t textStart = at + prefix.size();
    const std::size_t lineEnd = out.find('\n', textStart);
    if (lineEnd != std::string::npos && lineEnd > textStart) {
      out.replace(textStart, lineEnd - textStart, "<error text>");
    }
  }
  return out;
}

/// The digest text the repository publishes for `bytes`.
inline std::string sha1Of(const std::string& bytes) {
  sha1wrapper sha1;
  return sha1.digestOfString(bytes);
}

}  // namespace zrv::test
