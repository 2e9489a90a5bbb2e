#pragma once

#include <string>
#include <string_view>

namespace zrv {

/// True when the last four bytes of `path` are exactly ".txt" (case included); a path of fewer
/// than four bytes has no extension.
bool hasTextFileExtension(std::string_view path);

/// The bytes of `path` after its last separator, a slash or a backslash, whichever comes last;
/// the whole path when it has none.
std::string fileNameOfPath(std::string_view path);

/// `fileName` without one trailing ".txt": "notes.txt.txt" gives "notes.txt", ".txt" gives "".
/// A name without that ending is returned as it is.
std::string baseNameOfFileName(const std::string& fileName);

}  // namespace zrv
