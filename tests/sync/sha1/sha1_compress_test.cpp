// Both compression functions, each on its own: the run picks one by CPU, so each must stand on
// the published vectors and they must agree on any input.

#include "sync/sha1/sha1_compress.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace zrv {
namespace {

using CompressFunction = void (*)(std::uint32_t*, const std::uint8_t*, std::size_t);

// Pads `message` by the standard's rule and digests it with `compress` alone.
std::string digestWith(CompressFunction compress, const std::string& message) {
  std::vector<std::uint8_t> padded(message.begin(), message.end());
  padded.push_back(0x80);
  while (padded.size() % 64 != 56) {
    padded.push_back(0);
  }
  const std::uint64_t bits = static_cast<std::uint64_t>(message.size()) * 8;
  for (int shift = 56; shift >= 0; shift -= 8) {
    padded.push_back(static_cast<std::uint8_t>(bits >> shift));
  }
  std::uint32_t state[5] = {0x67452301u, 0xEFCDAB89u, 0x98BADCFEu, 0x10325476u, 0xC3D2E1F0u};
  compress(state, padded.data(), padded.size() / 64);
  char hex[41];
  for (int i = 0; i < 5; ++i) {
    std::snprintf(hex + 8 * i, 9, "%08x", state[i]);
  }
  return hex;
}

std::vector<std::uint8_t> mixedBytes(std::size_t length, std::uint32_t seed) {
  std::vector<std::uint8_t> bytes(length);
  for (std::uint8_t& byte : bytes) {
    seed = seed * 1664525u + 1013904223u;
    byte = static_cast<std::uint8_t>(seed >> 24);
  }
  return bytes;
}

struct Path {
  const char* name;
  CompressFunction compress;
  bool available;
};

std::vector<Path> paths() {
  return {{"portable", &sha1detail::compressBlocksPortable, true},
          {"SHA extensions", &sha1detail::compressBlocksShaNi, sha1detail::shaNiAvailable()},
          {"chosen at run time", &sha1detail::compressBlocks, true}};
}

TEST(Sha1Compression, EveryPathGivesThePublishedDigests) {
  const struct {
    std::string message;
    const char* digest;
  } cases[] = {
      // FIPS 180-4 examples: one block, two blocks; the empty message's published digest.
      {"abc", "a9993e364706816aba3e25717850c26c9cd0d89d"},
      {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
       "84983e441c3bd26ebaae4aa1f95129e5e54670f1"},
      {"", "da39a3ee5e6b4b0d3255bfef95601890afd80709"},
      {std::string(1000000, 'a'), "34aa973cd4c4daa4f61eeb2bdbad27316534016f"},
  };
  for (const Path& path : paths()) {
    if (!path.available) {
      continue;
    }
    for (const auto& c : cases) {
      EXPECT_EQ(digestWith(path.compress, c.message), c.digest)
          << path.name << ", " << c.message.size() << " bytes";
    }
  }
}

TEST(Sha1Compression, ShaExtensionsAgreeWithPortableOnAnyBlocks) {
  if (!sha1detail::shaNiAvailable()) {
    GTEST_SKIP() << "this CPU has no SHA extensions";
  }
  // Offsets make the loads unaligned; block counts cover one block up to long runs.
  const std::size_t blockCounts[] = {1, 2, 3, 7, 16, 33, 100};
  const std::size_t offsets[] = {0, 1, 3, 8, 15};
  for (std::size_t blocks : blockCounts) {
    for (std::size_t offset : offsets) {
      const std::vector<std::uint8_t> data =
          mixedBytes(blocks * 64 + offset, static_cast<std::uint32_t>(blocks * 31 + offset));
      std::uint32_t portable[5] = {0x01234567u, 0x89ABCDEFu, 0xFEDCBA98u, 0x76543210u, 0xF0E1D2C3u};
      std::uint32_t extensions[5];
      std::copy(portable, portable + 5, extensions);
      sha1detail::compressBlocksPortable(portable, data.data() + offset, blocks);
      sha1detail::compressBlocksShaNi(extensions, data.data() + offset, blocks);
      for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(extensions[i], portable[i]) << blocks << " blocks at offset " << offset;
      }
    }
  }
}

TEST(Sha1Compression, ZeroBlocksLeaveTheStateAsItWas) {
  for (const Path& path : paths()) {
    if (!path.available) {
      continue;
    }
    std::uint32_t state[5] = {1, 2, 3, 4, 5};
    const std::uint8_t unused[64] = {};
    path.compress(state, unused, 0);
    EXPECT_EQ(state[0], 1u) << path.name;
    EXPECT_EQ(state[4], 5u) << path.name;
  }
}

}  // namespace
}  // namespace zrv
