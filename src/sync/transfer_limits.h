#pragma once

// The bounds of every transfer of provisioning, beside the stall time of RepositorySettings. They
// are compiled into each executable from the build's cache variables (zorvian_add_executable); the
// test build uses shorter ones.

#include <cstdint>

namespace zrv {

struct TransferLimits {
  // Slower than this for the stall time of RepositorySettings: failed.
  long stallBytesPerSecond;
  long connectSeconds;             // a connection not open after this long: failed
  long smallFileSeconds;           // the longest the digest or the tool version may take
  std::uint64_t maxDatabaseBytes;  // a longer database body fails its transfer
};

/// A digest or tool-version body longer than this fails its transfer: both are a line of text.
inline constexpr std::uint64_t kMaxSmallFileBytes = 1 << 20;

/// The bounds this executable was built with. Defined once per executable by
/// sync/built_transfer_limits.cpp, which the build compiles into it with the values.
const TransferLimits& builtTransferLimits();

}  // namespace zrv
