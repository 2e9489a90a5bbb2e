#include "sync/sha1/sha1_compress.h"

#include <bit>
#include <cstring>

#if (defined(__x86_64__) || defined(__i386__)) && defined(__GNUC__)
#include <cpuid.h>
#include <immintrin.h>
#define ZRV_SHA1_HAVE_SHANI 1
#else
#define ZRV_SHA1_HAVE_SHANI 0
#endif

namespace zrv::sha1detail {

namespace {

inline std::uint32_t loadBigEndian(const std::uint8_t* p) {
  std::uint32_t v;
  std::memcpy(&v, p, 4);  // an unaligned load the compiler turns into one move
  if constexpr (std::endian::native == std::endian::little) {
    v = __builtin_bswap32(v);
  }
  return v;
}

constexpr std::uint32_t k0 = 0x5A827999u;
constexpr std::uint32_t k1 = 0x6ED9EBA1u;
constexpr std::uint32_t k2 = 0x8F1BBCDCu;
constexpr std::uint32_t k3 = 0xCA62C1D6u;

}  // namespace

// The schedule lives in a 16-word ring, so the 80 expanded words never exist at once; each round
// only renames the five working words instead of shifting them.
#define ZRV_W(i)                                            \
  ((i) < 16 ? (w[(i)&15] = loadBigEndian(p + 4 * ((i)&15))) \
            : (w[(i)&15] = std::rotl(                       \
                   w[((i) + 13) & 15] ^ w[((i) + 8) & 15] ^ w[((i) + 2) & 15] ^ w[(i)&15], 1)))
#define ZRV_CH(b, c, d) ((d) ^ ((b) & ((c) ^ (d))))
#define ZRV_PARITY(b, c, d) ((b) ^ (c) ^ (d))
#define ZRV_MAJ(b, c, d) (((b) & (c)) | ((d) & ((b) | (c))))
#define ZRV_ROUND(f, k, a, b, c, d, e, i)             \
  e += std::rotl(a, 5) + f(b, c, d) + (k) + ZRV_W(i); \
  b = std::rotl(b, 30);
#define ZRV_FIVE(f, k, i)                 \
  ZRV_ROUND(f, k, a, b, c, d, e, (i))     \
  ZRV_ROUND(f, k, e, a, b, c, d, (i) + 1) \
  ZRV_ROUND(f, k, d, e, a, b, c, (i) + 2) \
  ZRV_ROUND(f, k, c, d, e, a, b, (i) + 3) \
  ZRV_ROUND(f, k, b, c, d, e, a, (i) + 4)

void compressBlocksPortable(std::uint32_t state[5], const std::uint8_t* blocks,
                            std::size_t blockCount) {
  std::uint32_t h0 = state[0], h1 = state[1], h2 = state[2], h3 = state[3], h4 = state[4];
  std::uint32_t w[16];
  for (const std::uint8_t* p = blocks; blockCount > 0; --blockCount, p += 64) {
    std::uint32_t a = h0, b = h1, c = h2, d = h3, e = h4;
    ZRV_FIVE(ZRV_CH, k0, 0)
    ZRV_FIVE(ZRV_CH, k0, 5)
    ZRV_FIVE(ZRV_CH, k0, 10)
    ZRV_FIVE(ZRV_CH, k0, 15)
    ZRV_FIVE(ZRV_PARITY, k1, 20)
    ZRV_FIVE(ZRV_PARITY, k1, 25)
    ZRV_FIVE(ZRV_PARITY, k1, 30)
    ZRV_FIVE(ZRV_PARITY, k1, 35)
    ZRV_FIVE(ZRV_MAJ, k2, 40)
    ZRV_FIVE(ZRV_MAJ, k2, 45)
    ZRV_FIVE(ZRV_MAJ, k2, 50)
    ZRV_FIVE(ZRV_MAJ, k2, 55)
    ZRV_FIVE(ZRV_PARITY, k3, 60)
    ZRV_FIVE(ZRV_PARITY, k3, 65)
    ZRV_FIVE(ZRV_PARITY, k3, 70)
    ZRV_FIVE(ZRV_PARITY, k3, 75)
    h0 += a;
    h1 += b;
    h2 += c;
    h3 += d;
    h4 += e;
  }
  state[0] = h0;
  state[1] = h1;
  state[2] = h2;
  state[3] = h3;
  state[4] = h4;
}

#undef ZRV_FIVE
#undef ZRV_ROUND
#undef ZRV_MAJ
#undef ZRV_PARITY
#undef ZRV_CH
#undef ZRV_W

#if ZRV_SHA1_HAVE_SHANI

bool shaNiAvailable() {
  // Asked of CPUID directly: clang's __builtin_cpu_supports knows no "sha".
  unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
  if (!__get_cpuid(1, &eax, &ebx, &ecx, &edx)) {
    return false;
  }
  const bool ssse3AndSse41 = (ecx & bit_SSSE3) != 0 && (ecx & bit_SSE4_1) != 0;
  if (!__get_cpuid_count(7, 0, &eax, &ebx, &ecx, &edx)) {
    return false;
  }
  return ssse3AndSse41 && (ebx & bit_SHA) != 0;
}

// Four rounds per sha1rnds4. The register holding E alternates between e0 and e1: sha1nexte
// derives the next E from the A of four rounds before and adds the next four schedule words.
// Schedule words for four groups ahead are built from msg0..msg3 in a rolling fashion.
#define ZRV_GROUP(eNext, eSave, msg, func) \
  eNext = _mm_sha1nexte_epu32(eNext, msg); \
  eSave = abcd;                            \
  abcd = _mm_sha1rnds4_epu32(abcd, eNext, func);

__attribute__((target("sha,sse4.1,ssse3"))) void compressBlocksShaNi(std::uint32_t state[5],
                                                                     const std::uint8_t* blocks,
                                                                     std::size_t blockCount) {
  const __m128i byteOrder = _mm_set_epi64x(0x0001020304050607LL, 0x08090a0b0c0d0e0fLL);
  __m128i abcd = _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(state)), 0x1B);
  __m128i e0 = _mm_set_epi32(static_cast<int>(state[4]), 0, 0, 0);
  __m128i e1;

  for (const std::uint8_t* p = blocks; blockCount > 0; --blockCount, p += 64) {
    const __m128i abcdSaved = abcd;
    const __m128i eSaved = e0;
    __m128i msg0 =
        _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)), byteOrder);
    __m128i msg1 =
        _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16)), byteOrder);
    __m128i msg2 =
        _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 32)), byteOrder);
    __m128i msg3 =
        _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 48)), byteOrder);

    // Rounds 0-3: E is still the plain word, so it is added rather than derived.
    e0 = _mm_add_epi32(e0, msg0);
    e1 = abcd;
    abcd = _mm_sha1rnds4_epu32(abcd, e0, 0);
    // Rounds 4-7
    ZRV_GROUP(e1, e0, msg1, 0)
    msg0 = _mm_sha1msg1_epu32(msg0, msg1);
    // Rounds 8-11
    ZRV_GROUP(e0, e1, msg2, 0)
    msg1 = _mm_sha1msg1_epu32(msg1, msg2);
    msg0 = _mm_xor_si128(msg0, msg2);
    // Rounds 12-15
    msg0 = _mm_sha1msg2_epu32(msg0, msg3);
    ZRV_GROUP(e1, e0, msg3, 0)
    msg2 = _mm_sha1msg1_epu32(msg2, msg3);
    msg1 = _mm_xor_si128(msg1, msg3);
    // Rounds 16-19
    msg1 = _mm_sha1msg2_epu32(msg1, msg0);
    ZRV_GROUP(e0, e1, msg0, 0)
    msg3 = _mm_sha1msg1_epu32(msg3, msg0);
    msg2 = _mm_xor_si128(msg2, msg0);
    // Rounds 20-23
    msg2 = _mm_sha1msg2_epu32(msg2, msg1);
    ZRV_GROUP(e1, e0, msg1, 1)
    msg0 = _mm_sha1msg1_epu32(msg0, msg1);
    msg3 = _mm_xor_si128(msg3, msg1);
    // Rounds 24-27
    msg3 = _mm_sha1msg2_epu32(msg3, msg2);
    ZRV_GROUP(e0, e1, msg2, 1)
    msg1 = _mm_sha1msg1_epu32(msg1, msg2);
    msg0 = _mm_xor_si128(msg0, msg2);
    // Rounds 28-31
    msg0 = _mm_sha1msg2_epu32(msg0, msg3);
    ZRV_GROUP(e1, e0, msg3, 1)
    msg2 = _mm_sha1msg1_epu32(msg2, msg3);
    msg1 = _mm_xor_si128(msg1, msg3);
    // Rounds 32-35
    msg1 = _mm_sha1msg2_epu32(msg1, msg0);
    ZRV_GROUP(e0, e1, msg0, 1)
    msg3 = _mm_sha1msg1_epu32(msg3, msg0);
    msg2 = _mm_xor_si128(msg2, msg0);
    // Rounds 36-39
    msg2 = _mm_sha1msg2_epu32(msg2, msg1);
    ZRV_GROUP(e1, e0, msg1, 1)
    msg0 = _mm_sha1msg1_epu32(msg0, msg1);
    msg3 = _mm_xor_si128(msg3, msg1);
    // Rounds 40-43
    msg3 = _mm_sha1msg2_epu32(msg3, msg2);
    ZRV_GROUP(e0, e1, msg2, 2)
    msg1 = _mm_sha1msg1_epu32(msg1, msg2);
    msg0 = _mm_xor_si128(msg0, msg2);
    // Rounds 44-47
    msg0 = _mm_sha1msg2_epu32(msg0, msg3);
    ZRV_GROUP(e1, e0, msg3, 2)
    msg2 = _mm_sha1msg1_epu32(msg2, msg3);
    msg1 = _mm_xor_si128(msg1, msg3);
    // Rounds 48-51
    msg1 = _mm_sha1msg2_epu32(msg1, msg0);
    ZRV_GROUP(e0, e1, msg0, 2)
    msg3 = _mm_sha1msg1_epu32(msg3, msg0);
    msg2 = _mm_xor_si128(msg2, msg0);
    // Rounds 52-55
    msg2 = _mm_sha1msg2_epu32(msg2, msg1);
    ZRV_GROUP(e1, e0, msg1, 2)
    msg0 = _mm_sha1msg1_epu32(msg0, msg1);
    msg3 = _mm_xor_si128(msg3, msg1);
    // Rounds 56-59
    msg3 = _mm_sha1msg2_epu32(msg3, msg2);
    ZRV_GROUP(e0, e1, msg2, 2)
    msg1 = _mm_sha1msg1_epu32(msg1, msg2);
    msg0 = _mm_xor_si128(msg0, msg2);
    // Rounds 60-63
    msg0 = _mm_sha1msg2_epu32(msg0, msg3);
    ZRV_GROUP(e1, e0, msg3, 3)
    msg2 = _mm_sha1msg1_epu32(msg2, msg3);
    msg1 = _mm_xor_si128(msg1, msg3);
    // Rounds 64-67
    msg1 = _mm_sha1msg2_epu32(msg1, msg0);
    ZRV_GROUP(e0, e1, msg0, 3)
    msg3 = _mm_sha1msg1_epu32(msg3, msg0);
    msg2 = _mm_xor_si128(msg2, msg0);
    // Rounds 68-71
    msg2 = _mm_sha1msg2_epu32(msg2, msg1);
    ZRV_GROUP(e1, e0, msg1, 3)
    msg3 = _mm_xor_si128(msg3, msg1);
    // Rounds 72-75
    msg3 = _mm_sha1msg2_epu32(msg3, msg2);
    ZRV_GROUP(e0, e1, msg2, 3)
    // Rounds 76-79
    ZRV_GROUP(e1, e0, msg3, 3)

    e0 = _mm_sha1nexte_epu32(e0, eSaved);
    abcd = _mm_add_epi32(abcd, abcdSaved);
  }

  _mm_storeu_si128(reinterpret_cast<__m128i*>(state), _mm_shuffle_epi32(abcd, 0x1B));
  state[4] = static_cast<std::uint32_t>(_mm_extract_epi32(e0, 3));
}

#undef ZRV_GROUP

#else

bool shaNiAvailable() {
  return false;
}

void compressBlocksShaNi(std::uint32_t state[5], const std::uint8_t* blocks,
                         std::size_t blockCount) {
  compressBlocksPortable(state, blocks, blockCount);
}

#endif

void compressBlocks(std::uint32_t state[5], const std::uint8_t* blocks, std::size_t blockCount) {
  // Chosen once per process: the CPU does not change under a running program.
  static const auto compress = shaNiAvailable() ? &compressBlocksShaNi : &compressBlocksPortable;
  compress(state, blocks, blockCount);
}

}  // namespace zrv::sha1detail
