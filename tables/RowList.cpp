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
  const std::size_t count = rows.size();
  if (indexed == count) return true;
  try {
    if (index.capacity() < count) {
      index.reserve(std::max(count, index.capacity() * 2));
      sizes = LevelSizesFor(index.capacity());
    }
  } catch (const std::exception&) {
    return false;
  }
  for (std::size_t row = indexed; row < count; ++row) {
    index.push_back({rows[row].key, static_cast<std::uint32_t>(row)});  // room is reserved
  }
  const auto at = [this](std::size_t i) { return index.begin() + static_cast<std::ptrdiff_t>(i); };
  if (count - indexed == 1) {
    // One row, the common case: moved into place without the memory that a merge may take.
    const IndexEntry added = index.back();
    std::rotate(std::upper_bound(at(ends[1]), at(indexed), added), at(indexed), index.end());
  } else {
    std::sort(at(indexed), index.end());
    std::inplace_merge(at(ends[1]), at(indexed), index.end());
  }
  if (count - ends[1] > sizes.small) {
    std::inplace_merge(at(ends[0]), at(ends[1]), index.end());
    ends[1] = count;
    if (count - ends[0] > sizes.middle) {
      std::inplace_merge(index.begin(), at(ends[0]), index.end());
      ends.fill(count);
    }
  }
  return true;
}

std::array<std::pair<RowList::IndexIterator, RowList::IndexIterator>, 3> RowList::IndexRanges(
    std::uint64_t key) const noexcept {
  std::array<std::pair<IndexIterator, IndexIterator>, 3> ranges;
  for (std::size_t level = 0; level < 3; ++level) {
    const std::size_t first = level == 0 ? 0 : ends[level - 1];
    const std::size_t last = level == 2 ? index.size() : ends[level];
    const auto byKey = [](const IndexEntry& entry) { return entry.key; };
    const std::size_t low = KeyBound<false>(index.data(), first, last, key, byKey);
    const std::size_t high = RunEnd(index.data(), low, last, key, byKey);
    ranges[level] = {index.begin() + static_cast<std::ptrdiff_t>(low),
                     index.begin() + static_cast<std::ptrdiff_t>(high)};
  }
  return ranges;
}

std::int32_t RowList::CountMatches(std::uint64_t key) const noexcept {
  if (!CatchUp()) {
    return static_cast<std::int32_t>(
        std::count_if(rows.begin(), rows.end(), [key](const Row& row) { return row.key == key; }));
  }
  std::ptrdiff_t matches = 0;
  for (const auto& [begin, end] : IndexRanges(key)) matches += end - begin;
  return static_cast<std::int32_t>(matches);
}

StatPairs RowList::Matches(std::uint64_t key) const {
  std::vector<std::array<std::int32_t, 2>> pairs;
  try {
    if (CatchUp()) {
      const auto ranges = IndexRanges(key);  // of ever later rows
      std::ptrdiff_t matches = 0;
      for (const auto& [begin, end] : ranges) matches += end - begin;
      pairs.reserve(static_cast<std::size_t>(matches));
      for (const auto& [begin, end] : ranges) {
        for (auto it = begin; it != end; ++it) {
          pairs.push_back({rows[it->row].first, rows[it->row].second});
        }
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
