#pragma once

#include <cstddef>
#include <cstdint>

namespace zrv::sha1detail {

/// Runs the SHA-1 compression function over `blockCount` consecutive 64-byte blocks at `blocks`
/// (no alignment needed), updating the five hash words in `state`. Uses the CPU's SHA
/// instructions when it has them.
void compressBlocks(std::uint32_t state[5], const std::uint8_t* blocks, std::size_t blockCount);

/// The plain C++ compression function, usable on any CPU.
void compressBlocksPortable(std::uint32_t state[5], const std::uint8_t* blocks,
                            std::size_t blockCount);

/// True when this build and this CPU can run compressBlocksShaNi.
bool shaNiAvailable();

/// The compression function on the x86 SHA extensions; call it only when shaNiAvailable().
void compressBlocksShaNi(std::uint32_t state[5], const std::uint8_t* blocks,
                         std::size_t blockCount);

}  // namespace zrv::sha1detail
