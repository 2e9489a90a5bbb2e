#include "sync/retry_rule.h"

#include <ostream>

#include "app/run_state.h"
#include "sync/remote_fetch.h"
#include "sync/sync_messages.h"

namespace zrv {

bool retryUntilAcceptable(RunState& state, std::string_view retryPrefix, std::string& target,
                          const std::function<bool()>& attemptIsAcceptable) {
  state.retryNumber = 1;
  while (!attemptIsAcceptable()) {
    if (state.retryNumber > 3) {
      return false;
    }
    state.console.out << retryPrefix << state.retryNumber << kRetryEnd << std::endl;
    ++state.retryNumber;
    // Given back, not just emptied: an oversized body must not stay held through the repeats.
    std::string().swap(target);
    repeatFetch(state);
  }
  return true;
}

}  // namespace zrv
