#include "setup/input_path.h"

#include <regex>

#include "setup/setup_messages.h"

namespace zrv {

bool hasTextFileExtension(std::string_view path) {
  return path.size() >= kTextFileExtension.size() &&
         path.substr(path.size() - kTextFileExtension.size()) == kTextFileExtension;
}

std::string fileNameOfPath(std::string_view path) {
  const std::size_t separator = path.find_last_of("/\\");
  return std::string(separator == std::string_view::npos ? path : path.substr(separator + 1));
}

std::string baseNameOfFileName(const std::string& fileName) {
  // Anchored and with the dot escaped, so only the extension goes: "mytxtfile.txt" keeps its
  // inner "txt", and of "notes.txt.txt" only the last ".txt" is taken. Built once per run.
  static const std::regex kTrailingExtension("\\.txt$", std::regex::ECMAScript);
  return std::regex_replace(fileName, kTrailingExtension, "");
}

}  // namespace zrv
