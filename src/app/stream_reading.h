#pragma once

#include <streambuf>
#include <string>

namespace zrv {

// Reading the input text through its stream buffer. The file buffer throws when the system's
// read fails (EIO, EISDIR); the run treats such a failure as the end of the input instead.

/// The next character without taking it, or EOF.
inline int peekCharacter(std::streambuf& input) noexcept {
  try {
    return input.sgetc();
  } catch (...) {
    return std::char_traits<char>::eof();
  }
}

/// Takes the next character, or returns EOF.
inline int takeCharacter(std::streambuf& input) noexcept {
  try {
    return input.sbumpc();
  } catch (...) {
    return std::char_traits<char>::eof();
  }
}

/// Takes up to `size` characters into `block`; 0 at the end of the input or after a read error.
inline std::streamsize takeBlock(std::streambuf& input, char* block,
                                 std::streamsize size) noexcept {
  try {
    return input.sgetn(block, size);
  } catch (...) {
    return 0;
  }
}

}  // namespace zrv
