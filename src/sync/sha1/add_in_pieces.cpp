#include "sync/sha1/add_in_pieces.h"

namespace zrv {

void addInPieces(hashwrapper& hasher, const unsigned char* data, std::size_t size,
                 std::uint32_t pieceLimit) {
  const std::size_t limit = pieceLimit == 0 ? 1 : pieceLimit;
  do {
    const std::size_t piece = size < limit ? size : limit;
    hasher.addToContext(data, static_cast<std::uint32_t>(piece));
    data += piece;
    size -= piece;
  } while (size != 0);
}

}  // namespace zrv
