#pragma once

#include <cstddef>
#include <cstdint>

#include "sync/sha1/hashwrapper.h"

namespace zrv {

/// Adds `size` bytes at `data` to `hasher`'s running context through addToContext, in pieces of
/// at most `pieceLimit` bytes (a limit of 0 counts as 1), so that texts longer than one 32-bit
/// count are still digested whole. A text within the limit goes in one call.
void addInPieces(hashwrapper& hasher, const unsigned char* data, std::size_t size,
                 std::uint32_t pieceLimit);

}  // namespace zrv
