#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace zrv {

/// One row of a word lookup, copied out of the statement before the next step.
struct LookupRow {
  std::string zorvianWord;
  bool isName = false;
};

/// The rows of every lookup key already looked up in the run's accent table, the empty list of
/// an unknown word included, so that a word met again is answered without a statement. A key's
/// rows are kept only once its statement has run to its end. The memory kept is bounded: once
/// the keys and rows held reach kByteCap (as counted by entryCost), further keys are no longer
/// kept and each of their lookups runs its statement again.
class LookupCache {
 public:
  /// 32 MiB: the King James text (about 13,000 distinct keys) takes under 2 MiB of it.
  static constexpr std::size_t kByteCap = std::size_t{32} << 20;

  /// The kept rows of `key` in `table`, or nullptr when they have not been kept.
  const std::vector<LookupRow>* find(std::string_view table, std::string_view key) const;

  /// Keeps `rows` as the rows of `key` in `table`, unless that would pass kByteCap. A lookup in
  /// another table than the kept keys' drops them first.
  void keep(std::string_view table, std::string_view key, const std::vector<LookupRow>& rows);

  /// The bytes counted for the kept keys and rows.
  std::size_t bytes() const { return bytes_; }
  /// The number of kept keys.
  std::size_t size() const { return rows_.size(); }

  /// What one kept key counts against the cap: its text, its rows and the map's own overhead.
  static std::size_t entryCost(std::string_view key, const std::vector<LookupRow>& rows);

 private:
  struct Hash {
    using is_transparent = void;
    // FNV-1a: keys are a few letters long, and the cache is asked for every word of the text,
    // where the general string hash costs several times as much.
    std::size_t operator()(std::string_view text) const noexcept {
      std::uint64_t hash = 14695981039346656037ull;
      for (const char byte : text) {
        hash = (hash ^ static_cast<unsigned char>(byte)) * 1099511628211ull;
      }
      return static_cast<std::size_t>(hash);
    }
  };
  std::string table_;
  std::unordered_map<std::string, std::vector<LookupRow>, Hash, std::equal_to<>> rows_;
  std::size_t bytes_ = 0;
};

}  // namespace zrv
