#include "sync/provisioning.h"

#include <ostream>
#include <string>
#include <string_view>

#include "app/messages.h"
#include "app/run_state.h"
#include "app/text_filters.h"
#include "sync/database_file.h"
#include "sync/database_lock.h"
#include "sync/remote_fetch.h"
#include "sync/repository_layout.h"
#include "sync/retry_rule.h"
#include "sync/sync_messages.h"
#include "sync/transfer_limits.h"

namespace zrv {

namespace {

/// The transfer of the published file `file` into `body`. The digest and the tool version are a
/// line of text each, so they get a small bound on both their size and their time.
Transfer resourceTransfer(const RunState& state, std::string_view file, std::string& body) {
  const TransferLimits& limits = builtTransferLimits();
  const bool database = file == kPublishedDatabaseFileName;
  return Transfer{
      state.repository.baseUrl + "/" + std::string(kRepositoryFolder) + "/" + std::string(file),
      &body,
      database ? limits.maxDatabaseBytes : kMaxSmallFileBytes,
      database ? 0 : limits.smallFileSeconds,
  };
}

std::string digestOfDownload(RunState& state) {
  // The download is still needed to be stored, so it is digested where it lies.
  return state.sha1Hasher->digestOfView(state.curlResultDb);
}

/// Fetches zrv_words.db until its digest is the published one. Returns false after the give-up.
/// `expectedBytes`: the size the database is likely to have (that of the local file), or 0.
bool downloadVerifiedDatabase(RunState& state, std::string& digest, std::size_t expectedBytes) {
  std::string().swap(state.curlResultDb);
  Transfer transfer = resourceTransfer(state, kPublishedDatabaseFileName, state.curlResultDb);
  transfer.expectedBytes = expectedBytes;
  fetchInto(state, transfer);
  return retryUntilAcceptable(state, kRetryDatabase, state.curlResultDb, [&state, &digest] {
    digest = digestOfDownload(state);
    return state.curlResult == CURLE_OK && digest == state.curlResultHash;
  });
}

/// The end of an accepted download, first or update alike: stored, or the halt.
PhaseResult storeOrHalt(RunState& state, std::string_view completeLine) {
  std::ostream& out = state.console.out;
  if (!storeDownloadedDatabase(state)) {
    out << kHaltCannotWriteDatabase << std::endl;
    return PhaseResult::kHalt;
  }
  out << completeLine << std::endl << std::endl;
  return PhaseResult::kGoOn;
}

/// No local database: the download is the only database the run can have.
PhaseResult downloadFirstCopy(RunState& state) {
  std::ostream& out = state.console.out;
  out << kNoLocalDatabase << std::endl;
  state.dbFileReader.close();
  state.newDbDownloaded = true;
  if (!downloadVerifiedDatabase(state, state.newDbHash, 0)) {
    out << kHaltUpdateRetries << std::endl;
    out << kHaltNoDatabase << std::endl;
    return PhaseResult::kHalt;
  }
  return storeOrHalt(state, kDownloadComplete);
}

/// A local database exists: keep it when it matches, replace it when a verified copy arrives.
PhaseResult updateLocalCopy(RunState& state) {
  std::ostream& out = state.console.out;
  readLocalDatabase(state);
  state.localDbHash = state.sha1Hasher->digestOfView(state.dbContents);
  // A new version is about as large as the old one, so a download of it gets that much room.
  const std::size_t localBytes = state.dbContents.size();
  // The local bytes are needed for nothing but their digest; letting them go before a download
  // keeps an update to about twice the database size in memory instead of three times.
  std::string().swap(state.dbContents);
  if (state.localDbHash == state.curlResultHash) {
    out << kAlreadyUpToDate << std::endl << std::endl;
    return PhaseResult::kGoOn;
  }
  out << kOutOfDate << std::endl;
  if (!downloadVerifiedDatabase(state, state.downloadedDbHash, localBytes)) {
    out << kHaltUpdateRetries << std::endl;
    out << kDefaultingToLocal << std::endl << std::endl;
    return PhaseResult::kGoOn;
  }
  return storeOrHalt(state, kUpdateComplete);
}

/// One attempt, no message: an unreachable version resource just means no notice.
void checkToolVersion(RunState& state) {
  Transfer transfer = resourceTransfer(state, kToolVersionFileName, state.curlResultToolVersion);
  fetchInto(state, transfer);
  state.curlResultToolVersion = removeNonAlphanumerics(std::move(state.curlResultToolVersion));
  if (state.curlResult == CURLE_OK && state.curlResultToolVersion != kCurrentToolVersion) {
    state.newerToolVersionAvailable = true;
  }
}

}  // namespace

PhaseResult provisionWordsDatabase(RunState& state) {
  if (openCurlHandle(state) == PhaseResult::kHalt) {
    return PhaseResult::kHalt;
  }
  // Released on every way out of the phase, the halts included.
  const CurlHandleOwner handleOwner(state);
  std::ostream& out = state.console.out;
  out << std::endl << kCheckingForUpdates << std::endl;

  Transfer digestTransfer = resourceTransfer(state, kDigestFileName, state.curlResultHash);
  configureAndFetch(state, digestTransfer);
  // Runs in one folder look at the database and store it one after the other, so a second run
  // waits for the first one's store and then finds the database current.
  DatabaseLock lock(kDatabaseFileName);
  if (lock.held()) {
    removeInterruptedStores();
  }
  // Whether the local file opens decides, for the whole phase, whether a local database exists.
  state.dbFileReader.open(kDatabaseFileName, std::ios::in | std::ios::binary);
  const bool localDatabaseExists = state.dbFileReader.is_open();

  if (!retryUntilAcceptable(state, kRetryMetadata, state.curlResultHash,
                            [&state] { return state.curlResult == CURLE_OK; })) {
    out << kHaltMetadataRetries << std::endl;
    reportTransferError(state);
    if (!localDatabaseExists) {
      out << kHaltNoDatabase << std::endl;
      return PhaseResult::kHalt;
    }
    // The local file is used as it is, and without a reachable repository there is no point
    // in asking for the tool version.
    state.dbFileReader.close();
    out << kDefaultingToLocal << std::endl << std::endl;
    state.defaultingToLocalDb = true;
    return PhaseResult::kGoOn;
  }

  state.curlResultHash = removeNonAlphanumerics(std::move(state.curlResultHash));
  const PhaseResult stored =
      localDatabaseExists ? updateLocalCopy(state) : downloadFirstCopy(state);
  lock.release();
  if (stored == PhaseResult::kHalt) {
    return PhaseResult::kHalt;
  }
  checkToolVersion(state);
  return PhaseResult::kGoOn;
}

}  // namespace zrv
