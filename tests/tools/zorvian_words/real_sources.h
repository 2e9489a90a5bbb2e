#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "database_builder.h"
#include "words/accent_catalog.h"

namespace zrv::words_tool::test {

/// The sources the real database is built from (the installed dictionary, the system word lists,
/// the built-in data files), read once for the whole test binary: reading them takes seconds.
/// Fails the calling test when they cannot be read.
inline const BuildInputs& realInputs() {
  static std::string error;
  static BuildInputs inputs;
  static const bool loaded = loadBuildInputs(BuildSources{}, inputs, error);
  EXPECT_TRUE(loaded) << error;
  return inputs;
}

/// The catalog entry with this menu label; fails the test when there is none.
inline const AccentTable& accentLabelled(std::string_view label) {
  for (const AccentTable& accent : accentCatalog) {
    if (accent.label == label) {
      return accent;
    }
  }
  ADD_FAILURE() << "no accent labelled " << label;
  return accentCatalog.front();
}

}  // namespace zrv::words_tool::test
