// The engine's statuses and its context handling, below the wrapper.

#include "sync/sha1/sha1_engine.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>

namespace zrv {
namespace {

using Digest = std::array<std::uint8_t, 20>;

const std::uint8_t* bytesOf(const char* text) {
  return reinterpret_cast<const std::uint8_t*>(text);
}

// "abc" from the FIPS 180-4 examples.
constexpr Digest kAbcDigest = {0xa9, 0x99, 0x3e, 0x36, 0x47, 0x06, 0x81, 0x6a, 0xba, 0x3e,
                               0x25, 0x71, 0x78, 0x50, 0xc2, 0x6c, 0x9c, 0xd0, 0xd8, 0x9d};

TEST(Sha1Engine, ResetLoadsTheInitialHashAndClearsTheRest) {
  Sha1Engine engine;
  Sha1Context context;
  std::memset(&context, 0xA5, sizeof context);
  ASSERT_EQ(engine.reset(&context), 0);
  const std::uint32_t initial[5] = {0x67452301u, 0xEFCDAB89u, 0x98BADCFEu, 0x10325476u,
                                    0xC3D2E1F0u};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(context.intermediateHash[i], initial[i]) << i;
  }
  EXPECT_EQ(context.lengthLow, 0u);
  EXPECT_EQ(context.lengthHigh, 0u);
  EXPECT_EQ(context.messageBlockIndex, 0);
  EXPECT_EQ(context.computed, 0);
  EXPECT_EQ(context.corrupted, 0);
}

TEST(Sha1Engine, MissingArgumentsReturnOne) {
  Sha1Engine engine;
  Sha1Context context;
  Digest digest{};
  ASSERT_EQ(engine.reset(&context), 0);
  EXPECT_EQ(engine.reset(nullptr), 1);
  EXPECT_EQ(engine.input(nullptr, bytesOf("abc"), 3), 1);
  EXPECT_EQ(engine.input(&context, nullptr, 3), 1);
  EXPECT_EQ(engine.result(nullptr, digest.data()), 1);
  EXPECT_EQ(engine.result(&context, nullptr), 1);
  // A count of 0 is answered before the pointers are looked at.
  EXPECT_EQ(engine.input(nullptr, nullptr, 0), 0);
  // None of that touched the context: it still digests "abc" correctly.
  ASSERT_EQ(engine.input(&context, bytesOf("abc"), 3), 0);
  ASSERT_EQ(engine.result(&context, digest.data()), 0);
  EXPECT_EQ(digest, kAbcDigest);
}

TEST(Sha1Engine, InputAfterResultReturnsThreeAndKeepsTheDigest) {
  Sha1Engine engine;
  Sha1Context context;
  Digest first{}, again{};
  ASSERT_EQ(engine.reset(&context), 0);
  ASSERT_EQ(engine.input(&context, bytesOf("abc"), 3), 0);
  ASSERT_EQ(engine.result(&context, first.data()), 0);
  EXPECT_NE(context.computed, 0);
  EXPECT_EQ(engine.input(&context, bytesOf("d"), 1), 3);
  EXPECT_EQ(engine.result(&context, again.data()), 0);
  EXPECT_EQ(first, kAbcDigest);
  EXPECT_EQ(again, kAbcDigest);
  // A reset makes the context take input again.
  ASSERT_EQ(engine.reset(&context), 0);
  EXPECT_EQ(engine.input(&context, bytesOf("abc"), 3), 0);
}

TEST(Sha1Engine, ResultClearsTheMessageFromTheContext) {
  Sha1Engine engine;
  Sha1Context context;
  Digest digest{};
  ASSERT_EQ(engine.reset(&context), 0);
  ASSERT_EQ(engine.input(&context, bytesOf("secret words"), 12), 0);
  ASSERT_EQ(engine.result(&context, digest.data()), 0);
  EXPECT_EQ(context.lengthLow, 0u);
  EXPECT_EQ(context.lengthHigh, 0u);
  for (std::uint8_t byte : context.messageBlock) {
    EXPECT_EQ(byte, 0);
  }
}

TEST(Sha1Engine, BitCountOverflowCorruptsTheContext) {
  const struct {
    const char* name;
    std::uint32_t lengthHigh;
    std::uint32_t lengthLow;
    std::uint32_t bytes;
    bool overflows;
  } cases[] = {
      {"reaches the last representable count", 0xFFFFFFFFu, 0xFFFFFFF8u - 8u * 63u, 63, false},
      {"one byte past the last count", 0xFFFFFFFFu, 0xFFFFFFF8u - 8u * 63u, 64, true},
      {"one byte at the last count", 0xFFFFFFFFu, 0xFFFFFFF8u, 1, true},
      {"a carry into the high half", 0x00000000u, 0xFFFFFFF8u, 64, false},
  };
  Sha1Engine engine;
  const std::string data(64, 'z');
  for (const auto& c : cases) {
    Sha1Context context;
    ASSERT_EQ(engine.reset(&context), 0);
    context.lengthHigh = c.lengthHigh;
    context.lengthLow = c.lengthLow;
    const int status = engine.input(&context, bytesOf(data.data()), c.bytes);
    Digest untouched;
    untouched.fill(0x77);
    Digest digest = untouched;
    const int resultStatus = engine.result(&context, digest.data());
    if (c.overflows) {
      EXPECT_NE(status, 0) << c.name;
      EXPECT_NE(context.corrupted, 0) << c.name;
      EXPECT_EQ(resultStatus, context.corrupted) << c.name;
      EXPECT_EQ(digest, untouched) << c.name;
      // A corrupted context refuses more input with its status, until a reset.
      EXPECT_EQ(engine.input(&context, bytesOf("a"), 1), context.corrupted) << c.name;
      ASSERT_EQ(engine.reset(&context), 0);
      EXPECT_EQ(context.corrupted, 0) << c.name;
    } else {
      EXPECT_EQ(status, 0) << c.name;
      EXPECT_EQ(context.corrupted, 0) << c.name;
      EXPECT_EQ(resultStatus, 0) << c.name;
    }
  }
}

TEST(Sha1Engine, BitCountCarriesIntoTheHighHalf) {
  Sha1Engine engine;
  Sha1Context context;
  ASSERT_EQ(engine.reset(&context), 0);
  context.lengthLow = 0xFFFFFFF8u;
  ASSERT_EQ(engine.input(&context, bytesOf("ab"), 2), 0);
  EXPECT_EQ(context.lengthHigh, 1u);
  EXPECT_EQ(context.lengthLow, 8u);
  EXPECT_EQ(context.messageBlockIndex, 2);
}

TEST(Sha1Engine, BlockIndexCountsTheBytesWaitingInTheBlock) {
  const struct {
    std::uint32_t first;
    std::uint32_t second;
    int index;
  } cases[] = {
      {1, 0, 1}, {63, 0, 63}, {64, 0, 0}, {65, 0, 1}, {10, 54, 0}, {10, 60, 6}, {130, 2, 4},
  };
  Sha1Engine engine;
  const std::string data(200, 'q');
  for (const auto& c : cases) {
    Sha1Context context;
    ASSERT_EQ(engine.reset(&context), 0);
    ASSERT_EQ(engine.input(&context, bytesOf(data.data()), c.first), 0);
    ASSERT_EQ(engine.input(&context, bytesOf(data.data()), c.second), 0);
    EXPECT_EQ(context.messageBlockIndex, c.index) << c.first << "+" << c.second;
    EXPECT_EQ(context.lengthLow, 8u * (c.first + c.second)) << c.first << "+" << c.second;
  }
}

}  // namespace
}  // namespace zrv
