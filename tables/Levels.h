// The sizes of the sorted levels of the name table and the row lists.
//
// Both keep what they have sorted in up to three sorted runs, oldest first: level 0, which holds
// most of the table, then levels 1 and 2 of at most LevelSizes::middle and LevelSizes::small
// entries. What was added since the last read is sorted and merged into level 2 when that stays
// within its size, else with level 2 into level 1, else with both into level 0. A read after
// every add thus moves about LevelSizes::small entries within level 2 and, spread over the adds,
// about as many again for the merges into level 1 and into level 0: O(n^(1/3)) per add for n
// entries, where sorting each add into one run costs O(n). Adds in bulk go straight to level 0.
#pragma once

#include <cmath>
#include <cstddef>

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

}  // namespace tarvex
