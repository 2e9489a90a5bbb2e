#pragma once

#include <cstddef>
#include <string>

#include "app/phase_result.h"

namespace zrv {

struct RunState;

/// Creates state.curlHandle. When libcurl gives no handle, prints the cURL set-up halt line and
/// returns kHalt (there is then nothing to release).
PhaseResult openCurlHandle(RunState& state);

/// Configures state.curlHandle once (address, redirects, write callback, target, error buffer,
/// then the redirect and stall bounds) and performs the first transfer into `target`. Sets
/// state.curlResult. The settings stay on the handle for every later transfer.
void configureAndFetch(RunState& state, const std::string& url, std::string& target);

/// Points the configured handle at `url` and `target` (which it only appends to) and performs
/// the transfer. Sets state.curlResult.
void fetchInto(RunState& state, const std::string& url, std::string& target);

/// Performs the transfer again with the address and target already set. Sets state.curlResult.
void repeatFetch(RunState& state);

/// Prints "[ERROR] cURL: " and the error text of the last failed transfer on
/// state.console.out, ending the line unless the text already ends with a line break.
void reportTransferError(RunState& state);

/// Releases state.curlHandle; a handle that is already released is left alone.
void closeCurlHandle(RunState& state);

/// libcurl's write callback: appends size * count bytes to the std::string at `target` and
/// returns size * count, so libcurl never sees a short write.
std::size_t curlWriteCallback(char* data, std::size_t size, std::size_t count, void* target);

}  // namespace zrv
