#include "words/lookup_cache.h"

namespace zrv {

namespace {

// A node of the map (the key's and the row list's headers, the link and the hash), the bucket
// pointer and the allocator's own bookkeeping, rounded up.
constexpr std::size_t kEntryOverhead = 128;

}  // namespace

std::size_t LookupCache::entryCost(std::string_view key, const std::vector<LookupRow>& rows) {
  std::size_t cost = kEntryOverhead + key.size();
  for (const LookupRow& row : rows) {
    cost += sizeof(LookupRow) + row.zorvianWord.size();
  }
  return cost;
}

const std::vector<LookupRow>* LookupCache::find(std::string_view table,
                                                std::string_view key) const {
  if (table != table_) {
    return nullptr;
  }
  const auto found = rows_.find(key);
  return found == rows_.end() ? nullptr : &found->second;
}

void LookupCache::keep(std::string_view table, std::string_view key,
                       const std::vector<LookupRow>& rows) {
  if (table != table_) {
    rows_.clear();
    bytes_ = 0;
    table_ = table;
  }
  const std::size_t cost = entryCost(key, rows);
  if (bytes_ + cost > kByteCap || rows_.count(key) != 0) {
    return;
  }
  rows_.emplace(std::string(key), rows);
  bytes_ += cost;
}

}  // namespace zrv
