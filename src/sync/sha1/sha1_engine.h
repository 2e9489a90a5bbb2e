#pragma once

#include <cstdint>

namespace zrv {

/// The running state of one SHA-1 computation, laid out as RFC 3174 lays out its context.
struct Sha1Context {
  std::uint32_t intermediateHash[5];  // H0..H4
  std::uint32_t lengthLow;            // message length in bits, low half
  std::uint32_t lengthHigh;           // message length in bits, high half
  std::int16_t messageBlockIndex;     // bytes waiting in messageBlock (0 to 64)
  std::uint8_t messageBlock[64];
  std::int32_t computed;   // non-zero once the digest has been finished
  std::int32_t corrupted;  // 0 while the context is sound, otherwise a Sha1Status
};

/// Statuses the engine's operations return.
enum Sha1Status : int {
  sha1Success = 0,
  sha1Null = 1,          // a pointer argument was missing
  sha1InputTooLong = 2,  // the 64-bit bit count overflowed; the context is corrupted
  sha1StateError = 3,    // input was given after the digest was finished
};

/// The SHA-1 compression and padding of FIPS 180-4 applied to a context it is handed; the engine
/// itself holds no state, so one engine may serve any number of contexts.
class Sha1Engine {
 public:
  /// Loads the initial hash values into `context` and zeroes its length, block index and flags.
  /// Returns sha1Null when `context` is null, else sha1Success.
  int reset(Sha1Context* context);
  /// Adds `length` bytes at `data` to `context`. A `length` of 0 returns sha1Success at once;
  /// returns sha1Null for a null pointer, sha1StateError after the digest was finished (the
  /// finished digest stays available), the corrupted status when the context is corrupted, and
  /// sha1InputTooLong when the bit count would overflow (which also corrupts the context).
  int input(Sha1Context* context, const std::uint8_t* data, std::uint32_t length);
  /// Writes the 20 digest bytes (H0..H4, most significant byte first) to `digest`, padding and
  /// finishing the message on the first call after a reset. Returns sha1Null for a null pointer
  /// and the corrupted status, writing nothing, when the context is corrupted.
  int result(Sha1Context* context, std::uint8_t digest[20]);
};

}  // namespace zrv
