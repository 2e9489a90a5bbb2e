#include "sync/provisioning.h"

#include <ostream>
#include <string>
#include <string_view>

#include "app/messages.h"
#include "app/run_state.h"
#include "app/text_filters.h"
#include "sync/database_file.h"
#include "sync/remote_fetch.h"
#include "sync/retry_rule.h"
#include "sync/sync_messages.h"

namespace zrv {

namespace {

// The tool's own version, written as a cleaned tool_version.txt reads.
constexpr std::string_view currentToolVersion = "130";

std::string resourceUrl(const RunState& state, std::string_view file) {
  return state.repository.baseUrl + "/2.0/repositories/zorvian/zrv-words-db/src/master/" +
         std::string(file);
}

std::string digestOfDownload(RunState& state) {
  // The download is still needed to be stored, so it is digested where it lies.
  return state.sha1Hasher->digestOfView(state.curlResultDb);
}

/// A halt inside the phase releases the handle only the phase holds; the rest is the driver's.
PhaseResult releaseAndHalt(RunState& state) {
  closeCurlHandle(state);
  return PhaseResult::kHalt;
}

/// Fetches zrv_words.db until its digest is the published one. Returns false after the give-up.
bool downloadVerifiedDatabase(RunState& state, std::string& digest) {
  state.curlResultDb.clear();
  fetchInto(state, resourceUrl(state, "zrv_words.db"), state.curlResultDb);
  return retryUntilAcceptable(state, kRetryDatabase, state.curlResultDb, [&state, &digest] {
    digest = digestOfDownload(state);
    return state.curlResult == CURLE_OK && digest == state.curlResultHash;
  });
}

/// No local database: the download is the only database the run can have.
PhaseResult downloadFirstCopy(RunState& state) {
  std::ostream& out = state.console.out;
  out << kNoLocalDatabase << std::endl;
  state.dbFileReader.close();
  state.newDbDownloaded = true;
  if (!downloadVerifiedDatabase(state, state.newDbHash)) {
    out << kHaltUpdateRetries << std::endl;
    out << kHaltNoDatabase << std::endl;
    return PhaseResult::kHalt;
  }
  if (!storeDownloadedDatabase(state)) {
    out << kHaltCannotWriteDatabase << std::endl;
    return PhaseResult::kHalt;
  }
  out << kDownloadComplete << std::endl << std::endl;
  return PhaseResult::kGoOn;
}

/// A local database exists: keep it when it matches, replace it when a verified copy arrives.
PhaseResult updateLocalCopy(RunState& state) {
  std::ostream& out = state.console.out;
  readLocalDatabase(state);
  state.localDbHash = state.sha1Hasher->digestOfView(state.dbContents);
  // The local bytes are needed for nothing but their digest; letting them go before a download
  // keeps an update to about twice the database size in memory instead of three times.
  std::string().swap(state.dbContents);
  if (state.localDbHash == state.curlResultHash) {
    out << kAlreadyUpToDate << std::endl << std::endl;
    return PhaseResult::kGoOn;
  }
  out << kOutOfDate << std::endl;
  if (!downloadVerifiedDatabase(state, state.downloadedDbHash)) {
    out << kHaltUpdateRetries << std::endl;
    out << kDefaultingToLocal << std::endl << std::endl;
    return PhaseResult::kGoOn;
  }
  if (!storeDownloadedDatabase(state)) {
    out << kHaltCannotWriteDatabase << std::endl;
    return PhaseResult::kHalt;
  }
  out << kUpdateComplete << std::endl << std::endl;
  return PhaseResult::kGoOn;
}

/// One attempt, no message: an unreachable version resource just means no notice.
void checkToolVersion(RunState& state) {
  fetchInto(state, resourceUrl(state, "tool_version.txt"), state.curlResultToolVersion);
  state.curlResultToolVersion = removeNonAlphanumerics(std::move(state.curlResultToolVersion));
  if (state.curlResult == CURLE_OK && state.curlResultToolVersion != currentToolVersion) {
    state.newerToolVersionAvailable = true;
  }
}

}  // namespace

PhaseResult provisionWordsDatabase(RunState& state) {
  if (openCurlHandle(state) == PhaseResult::kHalt) {
    return PhaseResult::kHalt;
  }
  std::ostream& out = state.console.out;
  out << std::endl << kCheckingForUpdates << std::endl;

  configureAndFetch(state, resourceUrl(state, "db_hash.sha1"), state.curlResultHash);
  // Whether the local file opens decides, for the whole phase, whether a local database exists.
  state.dbFileReader.open(kDatabaseFileName, std::ios::in | std::ios::binary);
  const bool localDatabaseExists = state.dbFileReader.is_open();

  if (!retryUntilAcceptable(state, kRetryMetadata, state.curlResultHash,
                            [&state] { return state.curlResult == CURLE_OK; })) {
    out << kHaltMetadataRetries << std::endl;
    reportTransferError(state);
    if (!localDatabaseExists) {
      out << kHaltNoDatabase << std::endl;
      return releaseAndHalt(state);
    }
    // The local file is used as it is, and without a reachable repository there is no point
    // in asking for the tool version.
    state.dbFileReader.close();
    out << kDefaultingToLocal << std::endl << std::endl;
    state.defaultingToLocalDb = true;
    closeCurlHandle(state);
    return PhaseResult::kGoOn;
  }

  state.curlResultHash = removeNonAlphanumerics(std::move(state.curlResultHash));
  const PhaseResult stored =
      localDatabaseExists ? updateLocalCopy(state) : downloadFirstCopy(state);
  if (stored == PhaseResult::kHalt) {
    return releaseAndHalt(state);
  }
  checkToolVersion(state);
  closeCurlHandle(state);
  return PhaseResult::kGoOn;
}

}  // namespace zrv
