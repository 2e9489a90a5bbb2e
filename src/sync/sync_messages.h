#pragma once

// The provisioning phase's own console lines. Its halt lines live with the other halts in
// app/messages.h.

#include <string_view>

namespace zrv {

inline constexpr std::string_view kCheckingForUpdates =
    "[INFO] Checking for Words Database updates...";
inline constexpr std::string_view kRetryMetadata =
    "[ERROR] Could not download Words Database metadata. Trying again (";
inline constexpr std::string_view kRetryDatabase =
    "[ERROR] Could not download Words Database update. Trying again (";
inline constexpr std::string_view kRetryEnd = "/3).";
inline constexpr std::string_view kDefaultingToLocal =
    "[INFO] Defaulting to the local Words Database.";
inline constexpr std::string_view kNoLocalDatabase =
    "[INFO] No Words Database found locally. Downloading the latest version...";
inline constexpr std::string_view kDownloadComplete = "[INFO] Words Database download complete.";
inline constexpr std::string_view kAlreadyUpToDate = "[INFO] Words Database is already up to date.";
inline constexpr std::string_view kOutOfDate =
    "[INFO] Words Database is out of date. Downloading the latest version...";
inline constexpr std::string_view kUpdateComplete = "[INFO] Words Database update complete.";

}  // namespace zrv
