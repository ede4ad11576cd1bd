#include "tables/RowList.h"

#include <algorithm>
#include <new>
#include <stdexcept>

namespace tarvex {

void RowList::Add(std::uint64_t key, std::int32_t first, std::int32_t second) {
  if (Count() >= limit) throw TableError(kErrOverflow);
  try {
    rows.push_back({key, first, second});
  } catch (const std::bad_alloc&) {
    throw TableError(kErrOutOfMemory);
  } catch (const std::length_error&) {
    throw TableError(kErrOutOfMemory);
  }
}

bool RowList::CatchUp() const noexcept {
  const std::size_t indexed = index.size();
  if (indexed == rows.size()) return true;
  try {
    if (index.capacity() < rows.size()) {
      index.reserve(std::max(rows.size(), index.capacity() * 2));
    }
  } catch (const std::exception&) {
    return false;
  }
  for (std::size_t row = indexed; row < rows.size(); ++row) {
    index.push_back({rows[row].key, static_cast<std::uint32_t>(row)});  // room is reserved
  }
  const auto middle = index.begin() + static_cast<std::ptrdiff_t>(indexed);
  std::sort(middle, index.end());
  std::inplace_merge(index.begin(), middle, index.end());
  return true;
}

std::int32_t RowList::CountMatches(std::uint64_t key) const noexcept {
  if (!CatchUp()) {
    return static_cast<std::int32_t>(
        std::count_if(rows.begin(), rows.end(), [key](const Row& row) { return row.key == key; }));
  }
  const auto [first, last] = IndexRange(key);
  return static_cast<std::int32_t>(last - first);
}

std::pair<RowList::IndexIterator, RowList::IndexIterator> RowList::IndexRange(
    std::uint64_t key) const noexcept {
  const auto first = std::lower_bound(index.begin(), index.end(), IndexEntry{key, 0});
  const auto last = std::upper_bound(first, index.end(),
                                     IndexEntry{key, std::numeric_limits<std::uint32_t>::max()});
  return {first, last};
}

StatPairs RowList::Matches(std::uint64_t key) const {
  std::vector<std::array<std::int32_t, 2>> pairs;
  try {
    if (CatchUp()) {
      const auto [begin, end] = IndexRange(key);
      pairs.reserve(static_cast<std::size_t>(end - begin));
      for (auto it = begin; it != end; ++it) {
        pairs.push_back({rows[it->row].first, rows[it->row].second});
      }
    } else {
      for (const Row& row : rows) {
        if (row.key == key) pairs.push_back({row.first, row.second});
      }
    }
  } catch (const std::bad_alloc&) {
    throw TableError(kErrOutOfMemory);
  }
  return StatPairs(std::move(pairs));
}

}  // namespace tarvex
