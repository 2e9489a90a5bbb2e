#pragma once

#include <string>

#include "app/console.h"

namespace zrv {

/// Reads the next whitespace-delimited answer from the console into `answer`; what follows it on
/// the typed line stays for the next question. Returns false when the input has ended before a
/// token: it has then printed a line end and the end-of-input halt line, and the caller halts.
[[nodiscard]] bool readAnswer(Console& console, std::string& answer);

}  // namespace zrv
