// RowList: rows that are only ever appended, looked up by a key, matches in the order added.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <utility>
#include <vector>

#include "tables/Levels.h"
#include "tables/StatPairs.h"

namespace tarvex {

// Each row is a key and two values. Look-ups return the values of every row with the key, in
// the order in which the rows were added. Behaves like a scan of all rows; underneath, the rows
// added since the last look-up are sorted into an index by (key, row number) on the next one,
// kept in the three sorted levels of Levels.h, which a look-up searches one after the other.
// Reads change the hidden index, so an instance must not be shared between threads.
class RowList {
 public:
  explicit RowList(std::int32_t maxCount = std::numeric_limits<std::int32_t>::max()) noexcept
      : limit(maxCount) {}

  std::int32_t Count() const noexcept { return static_cast<std::int32_t>(rows.size()); }
  // Appends a row. TableError 6 when the list is full, 7 when out of memory; the list is
  // unchanged then.
  void Add(std::uint64_t key, std::int32_t first, std::int32_t second);
  // Number of rows with `key`.
  std::int32_t CountMatches(std::uint64_t key) const noexcept;
  // The (first, second) values of the rows with `key`. Throws 7 when out of memory.
  StatPairs Matches(std::uint64_t key) const;

 private:
  struct Row {
    std::uint64_t key;
    std::int32_t first;
    std::int32_t second;
  };
  struct IndexEntry {
    std::uint64_t key;
    std::uint32_t row;  // [0, Count())
    friend bool operator<(IndexEntry a, IndexEntry b) noexcept {
      return a.key != b.key ? a.key < b.key : a.row < b.row;
    }
  };
  using IndexIterator = std::vector<IndexEntry>::const_iterator;
  // Brings the index up to date; false when there is no memory for it (look-ups then scan).
  bool CatchUp() const noexcept;
  // The index entries of the rows with `key` in each level; the index must be up to date.
  std::array<std::pair<IndexIterator, IndexIterator>, 3> IndexRanges(
      std::uint64_t key) const noexcept;

  std::int32_t limit;
  std::vector<Row> rows;
  // Rows [0, index.size()) by (key, row), in levels 0, 1 and 2 that end at ends[0], ends[1] and
  // index.size().
  mutable std::vector<IndexEntry> index;
  mutable std::array<std::size_t, 2> ends{};
  mutable LevelSizes sizes = LevelSizesFor(0);  // for index.capacity() entries
};

}  // namespace tarvex
