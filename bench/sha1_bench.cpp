// Throughput of the digest family on one file, for comparison with the system's sha1sum.
// Built by the bench build (bench/CMakeLists.txt); make bench runs it beside sha1sum.
// Run:   sha1_bench <file> [runs]   (prints the median MB/s of each way of digesting)

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "sync/sha1/sha1_compress.h"
#include "sync/sha1/sha1_engine.h"
#include "sync/sha1/sha1wrapper.h"

namespace {

std::string readWhole(const std::string& path) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  std::string bytes(static_cast<std::size_t>(in.tellg()), '\0');
  in.seekg(0);
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return bytes;
}

// Digests in memory with the portable compression function alone, whatever the CPU offers.
std::string portableDigest(const std::string& data) {
  std::uint32_t state[5] = {0x67452301u, 0xEFCDAB89u, 0x98BADCFEu, 0x10325476u, 0xC3D2E1F0u};
  const std::size_t whole = data.size() / 64;
  zrv::sha1detail::compressBlocksPortable(state, reinterpret_cast<const std::uint8_t*>(data.data()),
                                          whole);
  std::uint8_t tail[128] = {};
  const std::size_t rest = data.size() - whole * 64;
  std::copy(data.begin() + static_cast<std::ptrdiff_t>(whole * 64), data.end(), tail);
  tail[rest] = 0x80;
  const std::size_t tailBlocks = rest + 9 > 64 ? 2 : 1;
  const std::uint64_t bits = static_cast<std::uint64_t>(data.size()) * 8;
  for (int i = 0; i < 8; ++i) {
    tail[tailBlocks * 64 - 1 - i] = static_cast<std::uint8_t>(bits >> (8 * i));
  }
  zrv::sha1detail::compressBlocksPortable(state, tail, tailBlocks);
  char hex[41];
  for (int i = 0; i < 5; ++i) {
    std::snprintf(hex + 8 * i, 9, "%08x", state[i]);
  }
  return hex;
}

// The engine on the text where it lies, as digestOfString feeds it, without the wrapper.
std::string engineDigest(const std::string& data) {
  zrv::Sha1Engine engine;
  zrv::Sha1Context context;
  engine.reset(&context);
  engine.input(&context, reinterpret_cast<const std::uint8_t*>(data.data()),
               static_cast<std::uint32_t>(data.size()));
  std::uint8_t digest[20];
  engine.result(&context, digest);
  char hex[41];
  for (int i = 0; i < 20; ++i) {
    std::snprintf(hex + 2 * i, 3, "%02x", digest[i]);
  }
  return hex;
}

double medianSeconds(int runs, const std::function<std::string()>& work, std::string& digest) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    const auto start = std::chrono::steady_clock::now();
    digest = work();
    times.push_back(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s <file> [runs]\n", argv[0]);
    return 2;
  }
  const std::string path = argv[1];
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
  const std::string data = readWhole(path);
  const double megabytes = static_cast<double>(data.size()) / 1e6;
  std::printf("file %s: %zu bytes; SHA extensions %s\n", path.c_str(), data.size(),
              zrv::sha1detail::shaNiAvailable() ? "used" : "not available");

  zrv::sha1wrapper hasher;
  // digestOfString takes its text by value: a caller that moves the text in avoids a copy that,
  // for a fresh 150 MB buffer, costs more than the digest. The copies are made before timing.
  std::vector<std::string> copies(static_cast<std::size_t>(runs), data);
  std::size_t nextCopy = 0;
  const struct {
    const char* name;
    std::function<std::string()> work;
  } ways[] = {
      {"engine, text in memory", [&] { return engineDigest(data); }},
      // The way provisioning digests a database it holds.
      {"digestOfView, text in memory", [&] { return hasher.digestOfView(data); }},
      {"digestOfString, text moved in",
       [&] { return hasher.digestOfString(std::move(copies[nextCopy++])); }},
      {"digestOfString, text copied in", [&] { return hasher.digestOfString(data); }},
      {"read file + digestOfString", [&] { return hasher.digestOfString(readWhole(path)); }},
      {"digestOfFile, 1024-byte reads", [&] { return hasher.digestOfFile(path); }},
      {"portable compression, in memory", [&] { return portableDigest(data); }},
  };
  for (const auto& way : ways) {
    std::string digest;
    const double seconds = medianSeconds(runs, way.work, digest);
    std::printf("%-34s %8.1f MB/s  (%.3f s)  %s\n", way.name, megabytes / seconds, seconds,
                digest.c_str());
  }
  return 0;
}
