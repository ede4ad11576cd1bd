// The common core of the stat table and the item table: entries of an identifier and a name,
// kept in name order after every add, or in identifier order after a sort by identifier.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "tables/Levels.h"

namespace tarvex {

// Behaves as if every add appended the entry and re-sorted the whole table by name with a
// stable sort, and every look-up scanned all entries for the last match. The work is done
// lazily: adds are appended in constant amortised time, and the next read sorts what was added
// since into the sorted levels of Levels.h: O(n^(1/3)) amortised when each add is read at once,
// a stable sort of the adds and a merge when many come before a read. That gives the same order
// as re-sorting after each add, because each of those re-sorts only places the new entry after
// every equal name: in name order, entries are ordered by name, and equal names by a tie number
// that grows with each add (renumbered when the table goes back from identifier to name order).
// The levels hold older entries first, so an entry comes after the equal names of the levels
// before its own; and each entry of levels 1 and 2 carries how many entries of the levels before
// its own come before it, so that positions, like look-ups, are found by binary searches. In
// name order, look-ups by identifier go through the last entry of each identifier, which the
// adds keep up once it is built; in identifier order, look-ups by name through an index.
//
// Reads change the hidden state, so an instance must not be shared between threads.
class NameTable {
 public:
  static constexpr std::int32_t kMaxCount = std::numeric_limits<std::int32_t>::max();

  // A table that holds at most `maxCount` [0, kMaxCount] entries.
  explicit NameTable(std::int32_t maxCount = kMaxCount) noexcept;

  // Number of entries.
  std::int32_t Count() const noexcept { return static_cast<std::int32_t>(order.size()); }

  // Appends an entry. TableError 6 when the table is full, 7 when out of memory; the table is
  // unchanged then.
  void Add(std::int32_t id, std::string_view name);

  // Identifier and name at `position` [1, Count()], in the current order. Out-of-range
  // positions are the caller's to reject.
  std::int32_t IdAt(std::int32_t position) const;
  const std::string& NameAt(std::int32_t position) const;

  // Position [1, Count()] of the last entry whose name matches `name` (case-blind), or -1.
  // TableError 7 when the upper-case form of `name` cannot be stored.
  std::int32_t FindName(std::string_view name) const;
  // Position [1, Count()] of the last entry with identifier `id`, or -1.
  std::int32_t FindId(std::int32_t id) const noexcept;

  // Puts the entries into identifier order (byId) or name order, both stable.
  void Sort(bool byId) noexcept;

 private:
  struct Entry {
    std::string name;
    std::string key;  // NameKey(name)
  };
  // One place in the order: the entry `slot` of `entries`, with its identifier and key prefix
  // carried along so that most comparisons need not leave the order array.
  struct Ref {
    std::uint64_t prefix;
    std::int32_t id;
    std::uint32_t slot;
  };
  // A ref of level 1 or 2 with its count of entries of the levels before it that come before it.
  struct Held {
    Ref ref;
    std::int32_t before;
  };
  // A name being looked for.
  struct Probe {
    std::uint64_t prefix;
    std::string_view key;
  };
  // One entry of the name index: the entry at `position` [0, Count()) of the order.
  struct NamePosition {
    std::uint64_t prefix;
    std::uint32_t slot;
    std::int32_t position;
  };
  enum class OrderKind { kByName, kById };

  template <typename A, typename B>
  bool NameLess(const A& a, const B& b) const noexcept {
    if (a.prefix != b.prefix) return a.prefix < b.prefix;
    return KeyOf(a) < KeyOf(b);
  }
  std::string_view KeyOf(const Probe& probe) const noexcept { return probe.key; }
  template <typename R>
  std::string_view KeyOf(const R& ref) const noexcept {
    return entries[ref.slot].key;
  }
  // Entries [first, last) of level `level` [0, 2] in `order`.
  std::size_t LevelBegin(int level) const noexcept { return level == 0 ? 0 : ends[level - 1]; }
  std::size_t LevelEnd(int level) const noexcept { return ends[level]; }
  // Entries of the levels before that of order[at] that come before it.
  std::size_t BeforeAt(std::size_t at) const noexcept;
  // The number of entries of order[first, last) with names up to that of `probe`.
  std::size_t UpperBound(std::size_t first, std::size_t last, const Probe& probe) const noexcept;
  // Where in level 0 [first, last) an entry lies that comes after the first `ahead` entries of
  // level 1 and before the others, from their counts of level-0 entries before them.
  std::pair<std::size_t, std::size_t> LevelZeroRange(std::size_t ahead) const noexcept;
  // The numbers of entries of levels 0, 1 and 2 with names up to that of `probe`; the search in
  // level 0 is narrowed by LevelZeroRange.
  std::array<std::size_t, 3> UpperBounds(const Probe& probe) const noexcept;
  // The index in `order` of the entry at position `position` [0, Count()).
  std::size_t Locate(std::size_t position) const noexcept;
  // Sorts the entries added since the last read into the levels.
  void Settle() const noexcept;
  // Merges the sorted run [middle, last) into the sorted run [first, middle) of level 1 or 2.
  void MergeInto(std::size_t first, std::size_t middle, std::size_t last) const noexcept;
  // Merges every level into level 0.
  void Flatten() const noexcept;
  void SortByName() const noexcept;
  // The tie number [0, Count()) of entry `slot`.
  std::uint32_t TieOf(std::uint32_t slot) const noexcept {
    return slot < ties.size() ? ties[slot] : slot;
  }
  // Whether entry `slot` comes after entry `other` in name order.
  bool Later(std::uint32_t slot, std::uint32_t other) const noexcept;
  // The slot of the last entry with identifier `id` in name order; false when there is none.
  bool FindLastOfId(std::int32_t id, std::uint32_t& slot) const noexcept;
  void NoteLastOfId(const Ref& ref) noexcept;
  bool BuildNameIndex() const noexcept;
  std::int32_t ScanName(std::string_view key) const noexcept;

  std::int32_t limit;
  std::vector<Entry> entries;  // in the order in which they were added
  // The table's order. In name order: levels 0, 1 and 2 up to ends[0], ends[1] and ends[2], then
  // the adds not yet sorted in. In identifier order all of it is level 0.
  mutable std::vector<Ref> order;
  mutable std::array<std::size_t, 3> ends{};
  // Held::before of order[ends[0] + i]. The adds keep its capacity and that of `scratch` at
  // LevelSizesFor(roomFor).middle, and that of `ties` at roomFor, roomFor being order.capacity(),
  // so that reads need no memory.
  mutable std::vector<std::int32_t> before;
  mutable std::vector<Held> scratch;
  // The tie numbers of entries [0, ties.size()) as the last re-sort by name gave them; each later
  // entry has its slot as tie number.
  mutable std::vector<std::uint32_t> ties;
  std::size_t roomFor = 0;
  LevelSizes sizes = LevelSizesFor(0);  // for roomFor entries
  mutable OrderKind kind = OrderKind::kByName;
  // In name order: the slot of the last entry of each identifier, kept up by the adds once built.
  mutable std::unordered_map<std::int32_t, std::uint32_t> lastOfId;
  mutable bool lastOfIdReady = false;
  // In identifier order, built on first use: by (key, position).
  mutable std::vector<NamePosition> nameIndex;
  mutable bool nameIndexReady = false;
};

}  // namespace tarvex
