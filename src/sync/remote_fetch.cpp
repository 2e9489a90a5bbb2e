#include "sync/remote_fetch.h"

#include <strings.h>

#include <algorithm>
#include <cstring>
#include <ostream>
#include <string_view>

#include "app/messages.h"
#include "app/run_state.h"
#include "sync/transfer_limits.h"

namespace zrv {

namespace {

void pointAt(CURL* handle, Transfer& transfer) {
  curl_easy_setopt(handle, CURLOPT_URL, transfer.url.c_str());
  curl_easy_setopt(handle, CURLOPT_WRITEDATA, &transfer);
  curl_easy_setopt(handle, CURLOPT_TIMEOUT, transfer.maxSeconds);
}

}  // namespace

PhaseResult openCurlHandle(RunState& state) {
  state.curlHandle = curl_easy_init();
  if (state.curlHandle == nullptr) {
    state.console.out << kHaltCurlSetup << std::endl;
    return PhaseResult::kHalt;
  }
  return PhaseResult::kGoOn;
}

CurlHandleOwner::~CurlHandleOwner() {
  if (state_.curlHandle != nullptr) {
    curl_easy_cleanup(state_.curlHandle);
    state_.curlHandle = nullptr;
  }
}

void configureAndFetch(RunState& state, Transfer& transfer) {
  CURL* handle = state.curlHandle;
  const TransferLimits& limits = builtTransferLimits();
  curl_easy_setopt(handle, CURLOPT_URL, transfer.url.c_str());
  curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, curlWriteCallback);
  curl_easy_setopt(handle, CURLOPT_WRITEDATA, &transfer);
  curl_easy_setopt(handle, CURLOPT_ERRORBUFFER, state.curlErrorBuffer);
  // Older libcurl follows redirects without limit, so a redirect loop would never end; 30 is
  // what newer libcurl does by default.
  curl_easy_setopt(handle, CURLOPT_MAXREDIRS, 30L);
  // A server that stops sending, or trickles, would hold the run for ever; failing the transfer
  // lets the retries try again.
  curl_easy_setopt(handle, CURLOPT_LOW_SPEED_LIMIT, limits.stallBytesPerSecond);
  curl_easy_setopt(handle, CURLOPT_LOW_SPEED_TIME, state.repository.stallSeconds);
  // Without it a host that never answers the connection costs the system's own time-out (over
  // two minutes) per attempt.
  curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT, limits.connectSeconds);
  // Only the web, also after a redirect: libcurl would otherwise follow one to ftp:// and more.
  curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(handle, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(handle, CURLOPT_HEADERFUNCTION, curlHeaderCallback);
  curl_easy_setopt(handle, CURLOPT_HEADERDATA, handle);
  // Every encoding this libcurl can decode; the body arrives decoded, so the digest and the
  // store see the same bytes whichever the server sends.
  curl_easy_setopt(handle, CURLOPT_ACCEPT_ENCODING, "");
  curl_easy_setopt(handle, CURLOPT_TIMEOUT, transfer.maxSeconds);
  state.curlResult = curl_easy_perform(handle);
}

void fetchInto(RunState& state, Transfer& transfer) {
  pointAt(state.curlHandle, transfer);
  state.curlResult = curl_easy_perform(state.curlHandle);
}

void repeatFetch(RunState& state) {
  state.curlResult = curl_easy_perform(state.curlHandle);
}

void reportTransferError(RunState& state) {
  const char* text = state.curlErrorBuffer;
  const void* end = std::memchr(text, '\0', sizeof state.curlErrorBuffer);
  const std::size_t length =
      end == nullptr ? sizeof state.curlErrorBuffer : static_cast<const char*>(end) - text;
  std::ostream& out = state.console.out;
  out << kCurlErrorPrefix;
  out.write(text, static_cast<std::streamsize>(length));
  if (length > 0 && text[length - 1] == '\n') {
    out << std::flush;
  } else {
    out << std::endl;
  }
}

std::size_t curlWriteCallback(char* data, std::size_t size, std::size_t count, void* transfer) {
  const std::size_t bytes = size * count;
  Transfer& into = *static_cast<Transfer*>(transfer);
  if (into.body->size() + bytes > into.maxBytes) {
    return 0;
  }
  // No exception may cross libcurl's C frames: a body too large to hold becomes a failed write,
  // which fails the transfer, and the retry rule takes over.
  try {
    std::string& body = *into.body;
    if (body.empty() && into.expectedBytes > body.capacity()) {
      // A body of about the expected size then arrives without being moved as it grows.
      body.reserve(static_cast<std::size_t>(std::min(into.expectedBytes, into.maxBytes)));
    }
    if (body.size() + bytes > body.capacity()) {
      // Doubling as append does, but never past the bound: an oversized body then costs at most
      // the bound, not twice it.
      const std::uint64_t doubled =
          std::max<std::uint64_t>(2 * body.capacity(), body.size() + bytes);
      body.reserve(static_cast<std::size_t>(std::min(doubled, into.maxBytes)));
    }
    body.append(data, bytes);
  } catch (...) {
    return 0;
  }
  return bytes;
}

std::size_t curlHeaderCallback(char* data, std::size_t size, std::size_t count, void* handle) {
  const std::size_t bytes = size * count;
  std::string_view line(data, bytes);
  constexpr std::string_view kLocation = "location:";
  if (line.size() < kLocation.size() ||
      strncasecmp(line.data(), kLocation.data(), kLocation.size()) != 0) {
    return bytes;
  }
  line.remove_prefix(kLocation.size());
  while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) {
    line.remove_prefix(1);
  }
  // A relative location keeps the scheme of the response it came with; only an absolute http
  // address can step down.
  constexpr std::string_view kPlain = "http:";
  const char* scheme = nullptr;
  curl_easy_getinfo(static_cast<CURL*>(handle), CURLINFO_SCHEME, &scheme);
  const bool fromHttps = scheme != nullptr && strcasecmp(scheme, "https") == 0;
  if (fromHttps && line.size() >= kPlain.size() &&
      strncasecmp(line.data(), kPlain.data(), kPlain.size()) == 0) {
    return 0;
  }
  return bytes;
}

}  // namespace zrv
