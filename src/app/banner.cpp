#include "app/banner.h"

#include "app/messages.h"
#include "app/run_state.h"

namespace zrv {

void printBanner(Console& console) {
  std::ostream& out = console.out;
  out << std::endl << kToolTitle << std::endl;
  for (std::string_view line : kCreditLines) {
    out << line << std::endl;
  }
  out << std::endl;
  out << "Visit us online at " << kWebAddress << std::endl;
  out << separatorLine << std::endl;
}

PhaseResult printNewerVersionNotice(RunState& state) {
  if (state.newerToolVersionAvailable) {
    std::ostream& out = state.console.out;
    out << kNewerVersionLine1 << std::endl;
    out << kNewerVersionLine2 << kDownloadPage << std::endl;
    out << std::endl;
  }
  return PhaseResult::kGoOn;
}

}  // namespace zrv
