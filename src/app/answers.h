#pragma once

#include <cstddef>
#include <string>

#include "app/console.h"

namespace zrv {

/// The longest answer kept whole. A longer token is still read to its end, but only its first
/// kAnswerByteLimit + 1 bytes are kept: such an answer is no option of any question, and a path
/// that long cannot be opened.
inline constexpr std::size_t kAnswerByteLimit = std::size_t{64} << 10;

/// Reads the next whitespace-delimited answer from the console into `answer`; what follows it on
/// the typed line stays for the next question. Returns false when the input has ended before a
/// token: it has then printed a line end and the end-of-input halt line, and the caller halts.
[[nodiscard]] bool readAnswer(Console& console, std::string& answer);

/// True when `answer` is a token that readAnswer did not keep whole.
inline bool isCutShort(const std::string& answer) {
  return answer.size() > kAnswerByteLimit;
}

}  // namespace zrv
