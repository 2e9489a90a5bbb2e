#include "sync/database_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <system_error>
#include <vector>

#include "app/run_state.h"
#include "sync/atomic_file.h"

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
  const std::filesystem::path target = followLinks(kDatabaseFileName);
  // Truncating the file in place would have failed on these; replacing it must not overrule
  // what its owner set.
  struct stat old {};
  if (::stat(target.c_str(), &old) == 0 &&
      ((old.st_mode & 0222) == 0 || ::access(target.c_str(), W_OK) != 0)) {
    return false;
  }
  AtomicFile replacement(target);
  return replacement.write(state.curlResultDb) && replacement.commit();
}

void removeInterruptedStores() {
  AtomicFile::removeLeftovers(kDatabaseFileName);
}

}  // namespace zrv
