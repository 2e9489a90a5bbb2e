#pragma once

#include <sqlite3.h>

#include <chrono>
#include <cstdint>
#include <memory>

namespace zrv {

/// Finalizes the prepared statement it is given; a null statement is a no-op.
struct StatementFinalizer {
  void operator()(sqlite3_stmt* statement) const noexcept { sqlite3_finalize(statement); }
};

/// The one owner of the run's prepared statement: releasing it, replacing it or letting it go
/// out of scope finalizes it, so no path leaves a statement behind to keep the connection open.
using StatementHandle = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

/// The work the statement in hand has done so far, its schema reading included; the connection's
/// progress handler charges it and interrupts the statement past its bounds.
struct StatementWork {
  std::uint64_t instructions = 0;
  std::chrono::steady_clock::time_point started;
};

}  // namespace zrv
