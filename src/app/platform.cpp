#include "app/platform.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <csignal>
#endif

namespace zrv {

void prepareProcess() {
#ifdef _WIN32
  SetConsoleOutputCP(65001);
#else
  // A download written past RLIMIT_FSIZE must end in the write-failure halt, not a dead process.
  std::signal(SIGXFSZ, SIG_IGN);
#endif
}

}  // namespace zrv
