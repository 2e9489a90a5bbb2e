#include "sync/sha1/hashwrapper.h"

#include <cstdio>
#include <limits>

#include "sync/sha1/add_in_pieces.h"
#include "sync/sha1/hl_exception.h"

namespace zrv {

hashwrapper::hashwrapper() : selfTestText("The quick brown fox jumps over the lazy dog") {}

hashwrapper::~hashwrapper() = default;

void hashwrapper::selfTest() {
  const std::string hash = digestOfString(selfTestText);
  const std::string verify = selfTestDigest();
  if (hash != verify) {
    throw hlException{
        2, "hashlib test-error: \"" + hash + "\" is not \"" + verify + "\" as supposed to be."};
  }
}

std::string hashwrapper::digestOfString(std::string text) {
  return digestOfView(text);
}

std::string hashwrapper::digestOfView(std::string_view bytes) {
  startContext();
  // One addToContext call takes at most a 32-bit count; longer texts go in several, so a text
  // of 4 GiB or more is digested whole instead of being cut off at its low 32 bits.
  addInPieces(*this, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(),
              std::numeric_limits<std::uint32_t>::max());
  return finishDigest();
}

std::string hashwrapper::digestOfFile(std::string fileName) {
  startContext();
  std::FILE* file = std::fopen(fileName.c_str(), "rb");
  if (file == nullptr) {
    throw hlException{1, "Cannot read file \"" + fileName + "\"."};
  }
  unsigned char buffer[1024];
  std::size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
    addToContext(buffer, static_cast<std::uint32_t>(got));
  }
  std::fclose(file);
  return finishDigest();
}

}  // namespace zrv
