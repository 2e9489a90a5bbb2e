#include <iostream>

#include "app/run_tool.h"

// The repository address and the stall bound are fixed when the program is built.
int main() {
  std::ios::sync_with_stdio(false);
  zrv::Console console{std::cin, std::cout};
  return zrv::runTool(console, {ZRV_REPOSITORY_URL, ZRV_STALL_SECONDS_VALUE});
}
