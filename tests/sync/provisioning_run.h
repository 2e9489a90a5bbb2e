#pragma once

// Runs the provisioning phase in the test process, in a given folder, against a given
// repository address.

#include <filesystem>
#include <sstream>
#include <string>

#include "app/run_state.h"
#include "files.h"
#include "sync/provisioning.h"
#include "sync/sha1/sha1wrapper.h"

namespace zrv::test {

/// What one provisioning phase left behind.
struct Provisioned {
  PhaseResult result = PhaseResult::kGoOn;
  std::string out;
  bool newerToolVersionAvailable = false;
  bool defaultingToLocalDb = false;
  bool handleReleased = false;
};

/// Runs provisionWordsDatabase once in `folder` against the repository at `baseUrl`.
inline Provisioned provisionIn(const std::filesystem::path& folder, const std::string& baseUrl,
                               long stallSeconds = 3) {
  ScopedWorkingDirectory here(folder);
  std::istringstream in;
  std::ostringstream out;
  Console console{in, out};
  RunState state(console, RepositorySettings{baseUrl, stallSeconds});
  state.sha1Hasher = std::make_unique<sha1wrapper>();
  Provisioned provisioned;
  provisioned.result = provisionWordsDatabase(state);
  provisioned.out = out.str();
  provisioned.newerToolVersionAvailable = state.newerToolVersionAvailable;
  provisioned.defaultingToLocalDb = state.defaultingToLocalDb;
  provisioned.handleReleased = state.curlHandle == nullptr;
  return provisioned;
}

}  // namespace zrv::test
