#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "app/phase_result.h"

namespace zrv {

struct RunState;

/// One remote resource: its address, the text its body is appended to (decoded, whatever
/// encoding the server chose) and the bounds of its transfer. The handle points at it for every
/// repeat, so it must live until the next fetch.
struct Transfer {
  std::string url;
  std::string* body = nullptr;
  std::uint64_t maxBytes = 0;       // a longer (decoded) body fails the transfer
  long maxSeconds = 0;              // the longest the whole transfer may take; 0: no bound
  std::uint64_t expectedBytes = 0;  // room made for the body at once (within maxBytes); 0: none
};

/// Creates state.curlHandle. When libcurl gives no handle, prints the cURL set-up halt line and
/// returns kHalt (there is then nothing to release).
PhaseResult openCurlHandle(RunState& state);

/// Owns state.curlHandle for one scope: releases it when the scope ends, on every path.
class CurlHandleOwner {
 public:
  explicit CurlHandleOwner(RunState& state) : state_(state) {}
  ~CurlHandleOwner();
  CurlHandleOwner(const CurlHandleOwner&) = delete;
  CurlHandleOwner& operator=(const CurlHandleOwner&) = delete;

 private:
  RunState& state_;
};

/// Configures state.curlHandle once (address, redirects, write callback, target, error buffer,
/// then the bounds: redirects, speed, connect time, protocols, accepted encodings) and performs
/// the first transfer of `transfer`. Sets state.curlResult. The settings stay on the handle for
/// every later transfer.
void configureAndFetch(RunState& state, Transfer& transfer);

/// Points the configured handle at `transfer` (whose body it only appends to) and performs it.
/// Sets state.curlResult.
void fetchInto(RunState& state, Transfer& transfer);

/// Performs the transfer again with the address and target already set. Sets state.curlResult.
void repeatFetch(RunState& state);

/// Prints "[ERROR] cURL: " and the error text of the last failed transfer on
/// state.console.out, ending the line unless the text already ends with a line break.
void reportTransferError(RunState& state);

/// libcurl's write callback for a Transfer at `transfer`: appends size * count bytes to its body
/// and returns size * count; returns 0, which fails the transfer, when the body would grow past
/// its bound or cannot grow.
std::size_t curlWriteCallback(char* data, std::size_t size, std::size_t count, void* transfer);

/// libcurl's header callback, with the handle as its data: refuses (returns 0, which fails the
/// transfer) a redirect from https to http, so that an address that began encrypted stays so.
std::size_t curlHeaderCallback(char* data, std::size_t size, std::size_t count, void* handle);

}  // namespace zrv
