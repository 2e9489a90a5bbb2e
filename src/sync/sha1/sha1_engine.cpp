#include "sync/sha1/sha1_engine.h"

#include <cstring>

#include "sync/sha1/sha1_compress.h"

namespace zrv {

int Sha1Engine::reset(Sha1Context* context) {
  if (context == nullptr) {
    return sha1Null;
  }
  context->intermediateHash[0] = 0x67452301u;
  context->intermediateHash[1] = 0xEFCDAB89u;
  context->intermediateHash[2] = 0x98BADCFEu;
  context->intermediateHash[3] = 0x10325476u;
  context->intermediateHash[4] = 0xC3D2E1F0u;
  context->lengthLow = 0;
  context->lengthHigh = 0;
  context->messageBlockIndex = 0;
  context->computed = 0;
  context->corrupted = 0;
  return sha1Success;
}

int Sha1Engine::input(Sha1Context* context, const std::uint8_t* data, std::uint32_t length) {
  if (length == 0) {
    return sha1Success;
  }
  if (context == nullptr || data == nullptr) {
    return sha1Null;
  }
  if (context->computed != 0) {
    // Refused without corrupting the context, so the finished digest can still be read.
    return sha1StateError;
  }
  if (context->corrupted != 0) {
    return context->corrupted;
  }

  const std::uint64_t bitsBefore =
      (static_cast<std::uint64_t>(context->lengthHigh) << 32) | context->lengthLow;
  const std::uint64_t bitsAfter = bitsBefore + static_cast<std::uint64_t>(length) * 8u;
  if (bitsAfter < bitsBefore) {
    context->corrupted = sha1InputTooLong;
    return sha1InputTooLong;
  }
  context->lengthLow = static_cast<std::uint32_t>(bitsAfter);
  context->lengthHigh = static_cast<std::uint32_t>(bitsAfter >> 32);

  std::size_t remaining = length;
  std::size_t index = static_cast<std::size_t>(context->messageBlockIndex);
  if (index != 0) {
    const std::size_t take = remaining < 64 - index ? remaining : 64 - index;
    std::memcpy(context->messageBlock + index, data, take);
    index += take;
    data += take;
    remaining -= take;
    if (index < 64) {
      context->messageBlockIndex = static_cast<std::int16_t>(index);
      return sha1Success;
    }
    sha1detail::compressBlocks(context->intermediateHash, context->messageBlock, 1);
    index = 0;
  }
  // Whole blocks are compressed straight from the caller's bytes; copying them through the
  // block buffer would cost as much as hashing them.
  const std::size_t wholeBlocks = remaining / 64;
  if (wholeBlocks != 0) {
    sha1detail::compressBlocks(context->intermediateHash, data, wholeBlocks);
    data += wholeBlocks * 64;
    remaining -= wholeBlocks * 64;
  }
  if (remaining != 0) {
    std::memcpy(context->messageBlock, data, remaining);
  }
  context->messageBlockIndex = static_cast<std::int16_t>(remaining);
  return sha1Success;
}

int Sha1Engine::result(Sha1Context* context, std::uint8_t digest[20]) {
  if (context == nullptr || digest == nullptr) {
    return sha1Null;
  }
  if (context->corrupted != 0) {
    return context->corrupted;
  }
  if (context->computed == 0) {
    std::size_t index = static_cast<std::size_t>(context->messageBlockIndex);
    std::uint8_t* block = context->messageBlock;
    block[index++] = 0x80;
    if (index > 56) {
      // No room for the 8 length bytes: they go into one more block.
      std::memset(block + index, 0, 64 - index);
      sha1detail::compressBlocks(context->intermediateHash, block, 1);
      index = 0;
    }
    std::memset(block + index, 0, 56 - index);
    const std::uint32_t halves[2] = {context->lengthHigh, context->lengthLow};
    for (int half = 0; half < 2; ++half) {
      for (int byte = 0; byte < 4; ++byte) {
        block[56 + 4 * half + byte] = static_cast<std::uint8_t>(halves[half] >> (24 - 8 * byte));
      }
    }
    sha1detail::compressBlocks(context->intermediateHash, block, 1);
    // The message must not linger in the context once it is digested.
    std::memset(block, 0, 64);
    context->messageBlockIndex = 0;
    context->lengthLow = 0;
    context->lengthHigh = 0;
    context->computed = 1;
  }
  for (int word = 0; word < 5; ++word) {
    for (int byte = 0; byte < 4; ++byte) {
      digest[4 * word + byte] =
          static_cast<std::uint8_t>(context->intermediateHash[word] >> (24 - 8 * byte));
    }
  }
  return sha1Success;
}

}  // namespace zrv
