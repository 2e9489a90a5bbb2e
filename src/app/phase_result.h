#pragma once

namespace zrv {

/// What a phase tells the driver: go on with the next phase, or halt the run. A phase that halts
/// has already printed its own lines and released what only it holds; the driver does the rest.
enum class [[nodiscard]] PhaseResult{kGoOn, kHalt};

}  // namespace zrv
