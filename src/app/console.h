#pragma once

#include <istream>
#include <ostream>

namespace zrv {

/// The two streams of the dialog. Every phase prints through `out` and reads answers from `in`
/// (through readAnswer). Each line printed ends with std::endl, which flushes, so the user sees a
/// line as soon as it is complete, on a terminal and through a pipe alike.
struct Console {
  std::istream& in;
  std::ostream& out;
};

}  // namespace zrv
