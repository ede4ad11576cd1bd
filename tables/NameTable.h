// The common core of the stat table and the item table: entries of an identifier and a name,
// kept in name order after every add, or in identifier order after a sort by identifier.
#pragma once

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace tarvex {

// Behaves as if every add appended the entry and re-sorted the whole table by name with a
// stable sort, and every look-up scanned all entries for the last match. The work is done
// lazily: adds are appended in constant amortised time, and the next read sorts what was added
// since (a stable sort of the new entries, then a stable merge into the sorted ones). That gives
// the same order as re-sorting after each add, because each of those re-sorts only places the
// new entry after every equal name. Look-ups use a binary search in the order that the table is
// in, or an index built on first use after a change.
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
  // One entry of the name index: the entry at `position` [0, Count()) of the order.
  struct NamePosition {
    std::uint64_t prefix;
    std::uint32_t slot;
    std::int32_t position;
  };
  // One entry of the identifier index.
  struct IdPosition {
    std::int32_t id;
    std::int32_t position;  // [0, Count())
    friend bool operator<(IdPosition a, IdPosition b) noexcept {
      return a.id != b.id ? a.id < b.id : a.position < b.position;
    }
  };
  enum class OrderKind { kByName, kById };

  template <typename A, typename B>
  bool NameLess(const A& a, const B& b) const noexcept {
    if (a.prefix != b.prefix) return a.prefix < b.prefix;
    return entries[a.slot].key < entries[b.slot].key;
  }
  // Sorts the entries added since the last read into the order.
  void Settle() const noexcept;
  void SortWhole(bool byId) const noexcept;
  void DropIndexes() const noexcept;
  bool BuildNameIndex() const noexcept;
  bool BuildIdIndex() const noexcept;
  std::int32_t ScanName(std::string_view key) const noexcept;

  std::int32_t limit;
  std::vector<Entry> entries;      // in the order in which they were added
  mutable std::vector<Ref> order;  // the table's order; from `settled` on, adds not yet sorted in
  mutable std::size_t settled = 0;
  mutable OrderKind kind = OrderKind::kByName;
  // Built on first use after a change of the order.
  mutable std::vector<NamePosition> nameIndex;  // by (key, position), used in identifier order
  mutable std::vector<IdPosition> idIndex;      // by (id, position), used in name order
  mutable bool nameIndexReady = false;
  mutable bool idIndexReady = false;
};

}  // namespace tarvex
