// The sorted levels of the name table and the row lists: their sizes, and searches in them.
//
// Both keep what they have sorted in up to three sorted runs, oldest first: level 0, which holds
// most of the table, then levels 1 and 2 of at most LevelSizes::middle and LevelSizes::small
// entries. What was added since the last read is sorted and merged into level 2 when that stays
// within its size, else with level 2 into level 1, else with both into level 0. A read after
// every add thus moves about LevelSizes::small entries within level 2 and, spread over the adds,
// about as many again for the merges into level 1 and into level 0: O(n^(1/3)) per add for n
// entries, where sorting each add into one run costs O(n). Adds in bulk go straight to level 0.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>

namespace tarvex {

struct LevelSizes {
  std::size_t middle;  // of level 1
  std::size_t small;   // of level 2
};

// Sizes for a table of `count` entries (at most 2^32): about 1.25 times the cube root of `count`
// for level 2 [2, 2,034] and the square of that for level 1 [4, 4.2 million], which is where the
// three costs balance.
inline LevelSizes LevelSizesFor(std::size_t count) noexcept {
  const auto small = 2 + static_cast<std::size_t>(1.25 * std::cbrt(static_cast<double>(count)));
  return {small * small, small};
}

// The end of the items of items[first, last), sorted by key(item), whose key is below `value`
// (or, with kOrEqual, up to it). A binary search without branches, which such a search would
// mispredict half of the time.
template <bool kOrEqual, typename T, typename Key>
std::size_t KeyBound(const T* items, std::size_t first, std::size_t last, std::uint64_t value,
                     Key key) noexcept {
  if (first == last) return first;
  const auto before = [value](std::uint64_t at) { return kOrEqual ? at <= value : at < value; };
  const T* base = items + first;  // the end lies in [base, base + count]
  for (std::size_t count = last - first; count > 1; count -= count / 2) {
    base = before(key(base[count / 2])) ? base + count / 2 : base;
  }
  return static_cast<std::size_t>(base - items) + (before(key(*base)) ? 1 : 0);
}

// Runs of equal keys are mostly short, so their other end is looked for near the known one
// first: the end of the run of `value` that starts at `first`, and the start of the one that
// ends at `last`, within items[first, last).
inline constexpr std::size_t kNear = 16;

template <typename T, typename Key>
std::size_t RunEnd(const T* items, std::size_t first, std::size_t last, std::uint64_t value,
                   Key key) noexcept {
  std::size_t near = first + std::min(last - first, kNear);
  if (near < last && key(items[near - 1]) == value) near = last;
  return KeyBound<true>(items, first, near, value, key);
}

template <typename T, typename Key>
std::size_t RunStart(const T* items, std::size_t first, std::size_t last, std::uint64_t value,
                     Key key) noexcept {
  std::size_t near = last - std::min(last - first, kNear);
  if (near < last && key(items[near]) == value) near = first;
  return KeyBound<false>(items, near, last, value, key);
}

}  // namespace tarvex
