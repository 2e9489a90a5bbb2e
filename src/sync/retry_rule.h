#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace zrv {

struct RunState;

/// Tries the resource already set on state.curlHandle up to three more times while
/// `attemptIsAcceptable` (called after the first attempt and after each repeat; it recomputes
/// whatever it tests) says no. Before each repeat prints `retryPrefix`, the retry number and
/// "/3)." on state.console.out, and empties `target`, giving its memory back. Uses
/// state.retryNumber. Returns true once an attempt is acceptable, false when the fourth attempt is
/// not (the caller then gives up).
bool retryUntilAcceptable(RunState& state, std::string_view retryPrefix, std::string& target,
                          const std::function<bool()>& attemptIsAcceptable);

}  // namespace zrv
