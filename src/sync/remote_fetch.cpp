#include "sync/remote_fetch.h"

#include <cstring>
#include <ostream>

#include "app/messages.h"
#include "app/run_state.h"

namespace zrv {

PhaseResult openCurlHandle(RunState& state) {
  state.curlHandle = curl_easy_init();
  if (state.curlHandle == nullptr) {
    state.console.out << kHaltCurlSetup << std::endl;
    return PhaseResult::kHalt;
  }
  return PhaseResult::kGoOn;
}

void configureAndFetch(RunState& state, const std::string& url, std::string& target) {
  CURL* handle = state.curlHandle;
  curl_easy_setopt(handle, CURLOPT_URL, url.c_str());
  curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, curlWriteCallback);
  curl_easy_setopt(handle, CURLOPT_WRITEDATA, &target);
  curl_easy_setopt(handle, CURLOPT_ERRORBUFFER, state.curlErrorBuffer);
  // Older libcurl follows redirects without limit, so a redirect loop would never end; 30 is
  // what newer libcurl does by default.
  curl_easy_setopt(handle, CURLOPT_MAXREDIRS, 30L);
  // Without a bound a server that stops sending holds the run for ever; failing the transfer
  // lets the retries try again.
  curl_easy_setopt(handle, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(handle, CURLOPT_LOW_SPEED_TIME, state.repository.stallSeconds);
  state.curlResult = curl_easy_perform(handle);
}

void fetchInto(RunState& state, const std::string& url, std::string& target) {
  curl_easy_setopt(state.curlHandle, CURLOPT_URL, url.c_str());
  curl_easy_setopt(state.curlHandle, CURLOPT_WRITEDATA, &target);
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

void closeCurlHandle(RunState& state) {
  if (state.curlHandle != nullptr) {
    curl_easy_cleanup(state.curlHandle);
    state.curlHandle = nullptr;
  }
}

std::size_t curlWriteCallback(char* data, std::size_t size, std::size_t count, void* target) {
  const std::size_t bytes = size * count;
  // No exception may cross libcurl's C frames: a body too large to hold becomes a failed write,
  // which fails the transfer, and the retry rule takes over.
  try {
    static_cast<std::string*>(target)->append(data, bytes);
  } catch (...) {
    return 0;
  }
  return bytes;
}

}  // namespace zrv
