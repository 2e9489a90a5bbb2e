#pragma once

#include <cstdint>
#include <string>

namespace zrv {

/// The error of the digest family, thrown and caught by value. Codes: 1 = a file cannot be opened
/// for reading, 2 = the self-test failed.
struct hlException {
  std::int32_t errorCode;
  std::string errorText;
};

}  // namespace zrv
