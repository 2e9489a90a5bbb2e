// Compiled into each executable, not into zrvcore, with the bounds of that build as macros
// (zorvian_add_transfer_limits in src/CMakeLists.txt).

#include "sync/transfer_limits.h"

namespace zrv {

const TransferLimits& builtTransferLimits() {
  static constexpr TransferLimits kLimits{
      ZRV_STALL_BYTES_PER_SECOND_VALUE,
      ZRV_CONNECT_SECONDS_VALUE,
      ZRV_SMALL_FILE_SECONDS_VALUE,
      ZRV_MAX_DATABASE_BYTES_VALUE,
  };
  return kLimits;
}

}  // namespace zrv
