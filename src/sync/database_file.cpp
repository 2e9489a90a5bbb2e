#include "sync/database_file.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <vector>

#include "app/run_state.h"

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace zrv {

namespace {

// Faulting in a fresh buffer of a whole words database 4 KiB at a time costs several times what
// reading the file into it does; asking for huge pages before the first touch removes nearly
// all of that. Only a hint: where it is not honoured, the buffer is simply filled more slowly.
void preferHugePages([[maybe_unused]] char* data, [[maybe_unused]] std::size_t size) {
#ifdef MADV_HUGEPAGE
  constexpr std::uintptr_t kPage = 4096;
  const std::uintptr_t begin = (reinterpret_cast<std::uintptr_t>(data) + kPage - 1) & ~(kPage - 1);
  const std::uintptr_t end = (reinterpret_cast<std::uintptr_t>(data) + size) & ~(kPage - 1);
  if (end > begin) {
    madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
  }
#endif
}

}  // namespace

void readLocalDatabase(RunState& state) {
  // A words database is large: taking it in big blocks through the stream buffer gives the
  // same bytes as taking it byte by byte, at a fraction of the time. istream::read turns a read
  // error (a folder in place of the file, for instance) into the end of the bytes instead of an
  // exception from the buffer.
  std::ifstream& reader = state.dbFileReader;
  std::string& contents = state.dbContents;
  try {
    std::error_code error;
    const std::uintmax_t expected = std::filesystem::file_size(kDatabaseFileName, error);
    if (!error && expected > 0) {
      const std::size_t start = contents.size();
      contents.reserve(start + expected);
      preferHugePages(contents.data() + start, expected);
      contents.resize(start + expected);
      reader.read(contents.data() + start, static_cast<std::streamsize>(expected));
      contents.resize(start + static_cast<std::size_t>(reader.gcount()));
    }
    // The file may have grown since its size was taken; whatever is left still belongs to it.
    // It goes through a separate block so that the whole text is not moved to a larger buffer
    // just to find the end of the file.
    std::vector<char> block(1 << 16);
    while (reader) {
      reader.read(block.data(), static_cast<std::streamsize>(block.size()));
      contents.append(block.data(), static_cast<std::size_t>(reader.gcount()));
    }
  } catch (const std::exception&) {
    // A file too large to hold in memory reads like one that cannot be read: as empty, so it
    // differs from the published digest and a verified copy replaces it.
    std::string().swap(contents);
  }
  reader.close();
}

bool storeDownloadedDatabase(RunState& state) {
  std::ofstream& writer = state.dbFileWriter;
  writer.open(kDownloadFileName, std::ios::out | std::ios::trunc | std::ios::binary);
  if (!writer.is_open()) {
    // Nothing was created, so whatever stands under that name is not ours to remove.
    return false;
  }
  const std::string& bytes = state.curlResultDb;
  writer.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  writer.flush();
  bool stored = writer.good();
  writer.close();
  stored = stored && !writer.fail();
  // rename replaces the old file in one step, so the database is either the old bytes or the
  // new ones, never a part of either.
  if (!stored || std::rename(kDownloadFileName, kDatabaseFileName) != 0) {
    std::error_code ignored;
    std::filesystem::remove(kDownloadFileName, ignored);
    return false;
  }
  return true;
}

}  // namespace zrv
