#pragma once

#include <filesystem>
#include <map>
#include <string>

#include "accent_lists.h"
#include "files.h"

namespace zrv::test {

/// Writes a data folder for a build from a small dictionary: every data file the tool knows, with
/// the text given for it in `texts` and an empty list otherwise, since the built-in lists name
/// words that a small dictionary lacks.
inline void writeDataFolder(const std::filesystem::path& folder,
                            const std::map<std::string, std::string>& texts = {}) {
  std::filesystem::create_directories(folder);
  for (const words_tool::DataFile& file : words_tool::builtInDataFiles()) {
    const auto text = texts.find(file.name);
    writeFile(folder / file.name, text == texts.end() ? "# none\n" : text->second);
  }
}

}  // namespace zrv::test
