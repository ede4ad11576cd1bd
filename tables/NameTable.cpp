#include "tables/NameTable.h"

#include <algorithm>
#include <iterator>
#include <new>
#include <stdexcept>

#include "tables/Levels.h"
#include "tables/NameKey.h"
#include "tables/TableError.h"

// The sorting here relies on std::stable_sort and std::inplace_merge working without extra
// memory when none can be had (slower, never failing), as the standard's complexity clauses
// allow and libstdc++, libc++ and the Microsoft library do. The elements are trivially copyable
// and the comparisons do not throw, so reads that sort never fail.

namespace tarvex {

namespace {

// The first index in [0, count) at which `reached` holds, or `count`; once `reached` holds for
// an index, it holds for every greater one.
template <typename Reached>
std::size_t FirstReached(std::size_t count, Reached reached) {
  std::size_t low = 0;
  while (low < count) {
    const std::size_t middle = low + (count - low) / 2;
    if (reached(middle)) {
      count = middle;
    } else {
      low = middle + 1;
    }
  }
  return low;
}

}  // namespace

NameTable::NameTable(std::int32_t maxCount) noexcept : limit(maxCount) {}

void NameTable::Add(std::int32_t id, std::string_view name) {
  if (Count() >= limit) throw TableError(kErrOverflow);
  try {
    const auto slot = static_cast<std::uint32_t>(entries.size());
    Entry entry{std::string(name), NameKey(name)};
    const Ref ref{KeyPrefix(entry.key), id, slot};
    if (order.size() == order.capacity()) {
      order.reserve(std::max<std::size_t>(16, order.capacity() * 2));
    }
    if (roomFor != order.capacity()) {
      before.reserve(LevelSizesFor(order.capacity()).middle);
      scratch.reserve(LevelSizesFor(order.capacity()).middle);
      ties.reserve(order.capacity());
      roomFor = order.capacity();
    }
    entries.push_back(std::move(entry));  // all or nothing: Entry moves without throwing
    order.push_back(ref);                 // cannot fail: the room is reserved
    NoteLastOfId(ref);
  } catch (const std::bad_alloc&) {
    throw TableError(kErrOutOfMemory);
  } catch (const std::length_error&) {
    throw TableError(kErrOutOfMemory);
  }
}

std::int32_t NameTable::IdAt(std::int32_t position) const {
  Settle();
  return order[Locate(static_cast<std::size_t>(position) - 1)].id;
}

const std::string& NameTable::NameAt(std::int32_t position) const {
  Settle();
  return entries[order[Locate(static_cast<std::size_t>(position) - 1)].slot].name;
}

std::size_t NameTable::BeforeAt(std::size_t at) const noexcept {
  return at < ends[0] ? 0 : static_cast<std::size_t>(before[at - ends[0]]);
}

std::size_t NameTable::LowerBound(int level, const Probe& probe) const noexcept {
  const auto first = order.begin() + static_cast<std::ptrdiff_t>(LevelBegin(level));
  const auto last = order.begin() + static_cast<std::ptrdiff_t>(LevelEnd(level));
  const auto below = [this](const Ref& ref, const Probe& wanted) { return NameLess(ref, wanted); };
  return static_cast<std::size_t>(std::lower_bound(first, last, probe, below) - first);
}

std::size_t NameTable::UpperBound(int level, const Probe& probe) const noexcept {
  const auto first = order.begin() + static_cast<std::ptrdiff_t>(LevelBegin(level));
  const auto last = order.begin() + static_cast<std::ptrdiff_t>(LevelEnd(level));
  const auto above = [this](const Probe& wanted, const Ref& ref) { return NameLess(wanted, ref); };
  return static_cast<std::size_t>(std::upper_bound(first, last, probe, above) - first);
}

std::size_t NameTable::Locate(std::size_t position) const noexcept {
  if (kind == OrderKind::kById) return position;
  // Entry i of level 1 or 2 is at i + before(i) among that level and the levels before it.
  for (int level = 2; level >= 1; --level) {
    const std::size_t first = LevelBegin(level);
    const std::size_t size = LevelEnd(level) - first;
    const auto placeOf = [&](std::size_t i) { return i + BeforeAt(first + i); };
    const std::size_t i = FirstReached(size, [&](std::size_t k) { return placeOf(k) >= position; });
    if (i < size && placeOf(i) == position) return first + i;
    position -= i;  // the entries of this level before it
  }
  return position;
}

void NameTable::Settle() const noexcept {
  const std::size_t count = order.size();
  if (ends[2] == count) return;
  if (kind == OrderKind::kById) {
    SortByName();  // the first add after a sort by identifier re-sorts the whole table by name
    return;
  }
  std::stable_sort(order.begin() + static_cast<std::ptrdiff_t>(ends[2]), order.end(),
                   [this](const Ref& a, const Ref& b) { return NameLess(a, b); });
  const LevelSizes sizes = LevelSizesFor(count);
  if (count - ends[0] > sizes.middle) {
    Flatten();
    return;
  }
  before.resize(count - ends[0]);  // within the room that the adds keep
  for (std::size_t at = ends[2]; at < count; ++at) {
    const Probe probe{order[at].prefix, entries[order[at].slot].key};
    const std::size_t ahead = UpperBound(0, probe) + UpperBound(1, probe) + UpperBound(2, probe);
    before[at - ends[0]] = static_cast<std::int32_t>(ahead);
  }
  MergeInto(ends[1], ends[2], count);
  ends[2] = count;
  if (count - ends[1] > sizes.small) {
    MergeInto(ends[0], ends[1], count);
    ends[1] = count;
  }
}

void NameTable::MergeInto(std::size_t first, std::size_t middle, std::size_t last) const noexcept {
  scratch.clear();
  for (std::size_t at = middle; at < last; ++at) {
    scratch.push_back({order[at], before[at - ends[0]]});  // within the room that the adds keep
  }
  // From the back: the later run goes after equal names of the earlier one.
  std::size_t earlier = middle;  // [first, earlier) of the earlier run is not placed yet
  std::size_t out = last;
  for (std::size_t later = scratch.size(); later > 0;) {
    --out;
    const Held& held = scratch[later - 1];
    if (earlier > first && NameLess(held.ref, order[earlier - 1])) {
      --earlier;
      order[out] = order[earlier];
      before[out - ends[0]] = before[earlier - ends[0]];
    } else {
      --later;
      order[out] = held.ref;
      // The entries of the earlier run before it now belong to its own level.
      before[out - ends[0]] = held.before - static_cast<std::int32_t>(earlier - first);
    }
  }
}

void NameTable::Flatten() const noexcept {
  const auto nameLess = [this](const Ref& a, const Ref& b) { return NameLess(a, b); };
  const auto at = [this](std::size_t i) { return order.begin() + static_cast<std::ptrdiff_t>(i); };
  std::inplace_merge(at(ends[1]), at(ends[2]), order.end(), nameLess);
  std::inplace_merge(at(ends[0]), at(ends[1]), order.end(), nameLess);
  std::inplace_merge(order.begin(), at(ends[0]), order.end(), nameLess);
  ends.fill(order.size());
  before.clear();
}

void NameTable::SortByName() const noexcept {
  std::stable_sort(order.begin(), order.end(),
                   [this](const Ref& a, const Ref& b) { return NameLess(a, b); });
  ties.resize(order.size());  // within the room that the adds keep
  for (std::size_t at = 0; at < order.size(); ++at) {
    ties[order[at].slot] = static_cast<std::uint32_t>(at);
  }
  ends.fill(order.size());
  before.clear();
  kind = OrderKind::kByName;
}

void NameTable::Sort(bool byId) noexcept {
  Settle();
  const OrderKind wanted = byId ? OrderKind::kById : OrderKind::kByName;
  if (kind == wanted) return;  // a stable sort of a sorted table changes nothing
  if (!byId) {
    SortByName();
    return;
  }
  Flatten();
  std::stable_sort(order.begin(), order.end(),
                   [](const Ref& a, const Ref& b) { return a.id < b.id; });
  kind = OrderKind::kById;
  nameIndexReady = false;
  lastOfId.clear();  // the next name order may order equal names otherwise
  lastOfIdReady = false;
}

bool NameTable::Later(std::uint32_t slot, std::uint32_t other) const noexcept {
  const int compared = entries[slot].key.compare(entries[other].key);
  return compared != 0 ? compared > 0 : TieOf(slot) > TieOf(other);
}

void NameTable::NoteLastOfId(const Ref& ref) noexcept {
  if (!lastOfIdReady) return;
  try {
    const auto [last, added] = lastOfId.try_emplace(ref.id, ref.slot);
    if (!added && Later(ref.slot, last->second)) last->second = ref.slot;
  } catch (const std::exception&) {
    lastOfId.clear();
    lastOfIdReady = false;
  }
}

bool NameTable::FindLastOfId(std::int32_t id, std::uint32_t& slot) const noexcept {
  if (!lastOfIdReady) {
    try {
      lastOfId.reserve(order.size());
      for (const Ref& ref : order) {
        const auto [last, added] = lastOfId.try_emplace(ref.id, ref.slot);
        if (!added && Later(ref.slot, last->second)) last->second = ref.slot;
      }
      lastOfIdReady = true;
    } catch (const std::exception&) {
      lastOfId.clear();
      bool found = false;
      for (const Ref& ref : order) {
        if (ref.id == id && (!found || Later(ref.slot, slot))) {
          slot = ref.slot;
          found = true;
        }
      }
      return found;
    }
  }
  const auto last = lastOfId.find(id);
  if (last == lastOfId.end()) return false;
  slot = last->second;
  return true;
}

bool NameTable::BuildNameIndex() const noexcept {
  if (nameIndexReady) return true;
  try {
    nameIndex.resize(order.size());
  } catch (const std::exception&) {
    return false;
  }
  for (std::size_t i = 0; i < order.size(); ++i) {
    nameIndex[i] = {order[i].prefix, order[i].slot, static_cast<std::int32_t>(i)};
  }
  // Stable, so that equal names keep their positions in increasing order.
  std::stable_sort(nameIndex.begin(), nameIndex.end(),
                   [this](const NamePosition& a, const NamePosition& b) { return NameLess(a, b); });
  nameIndexReady = true;
  return true;
}

std::int32_t NameTable::ScanName(std::string_view key) const noexcept {
  std::int32_t found = -1;
  for (std::size_t i = 0; i < order.size(); ++i) {
    if (entries[order[i].slot].key == key) found = static_cast<std::int32_t>(i) + 1;
  }
  return found;
}

std::int32_t NameTable::FindName(std::string_view name) const {
  std::string key;
  try {
    key = NameKey(name);
  } catch (const std::bad_alloc&) {
    throw TableError(kErrOutOfMemory);
  }
  Settle();
  const Probe probe{KeyPrefix(key), key};
  if (kind == OrderKind::kByName) {
    // Equal names are neighbours within a level, and the last of them is in the latest level
    // that has the name; the later levels' entries before it have smaller names.
    std::size_t after = 0;
    for (int level = 2; level >= 0; --level) {
      const std::size_t upper = UpperBound(level, probe);
      const std::size_t last = LevelBegin(level) + upper - 1;
      if (upper > 0 && entries[order[last].slot].key == key) {
        return static_cast<std::int32_t>(upper + BeforeAt(last) + after);
      }
      after += upper;
    }
    return -1;
  }
  if (!BuildNameIndex()) return ScanName(key);
  const auto after = std::upper_bound(
      nameIndex.begin(), nameIndex.end(), probe,
      [this](const Probe& wanted, const NamePosition& item) { return NameLess(wanted, item); });
  if (after == nameIndex.begin() || entries[std::prev(after)->slot].key != key) return -1;
  return std::prev(after)->position + 1;
}

std::int32_t NameTable::FindId(std::int32_t id) const noexcept {
  Settle();
  if (kind == OrderKind::kById) {
    const auto after =
        std::upper_bound(order.begin(), order.end(), id,
                         [](std::int32_t wanted, const Ref& item) { return wanted < item.id; });
    if (after == order.begin() || std::prev(after)->id != id) return -1;
    return static_cast<std::int32_t>(after - order.begin());
  }
  std::uint32_t slot = 0;
  if (!FindLastOfId(id, slot)) return -1;
  // Where that entry is: among its equal names in its level, by tie number.
  const std::string& key = entries[slot].key;
  const std::uint32_t tie = TieOf(slot);
  const Probe probe{KeyPrefix(key), key};
  std::size_t after = 0;
  for (int level = 2; level >= 0; --level) {
    const std::size_t first = LevelBegin(level) + LowerBound(level, probe);
    const std::size_t last = LevelBegin(level) + UpperBound(level, probe);
    const std::size_t at = first + FirstReached(last - first, [&](std::size_t k) {
                             return TieOf(order[first + k].slot) >= tie;
                           });
    if (at < last && order[at].slot == slot) {
      return static_cast<std::int32_t>(at - LevelBegin(level) + 1 + BeforeAt(at) + after);
    }
    after += first - LevelBegin(level);
  }
  return -1;  // not reached: the entry is in one of the levels
}

}  // namespace tarvex
