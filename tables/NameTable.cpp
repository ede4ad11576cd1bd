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

// The key prefix of a ref, by which the levels are sorted first.
constexpr auto kPrefix = [](const auto& ref) { return ref.prefix; };

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
      const LevelSizes wanted = LevelSizesFor(order.capacity());
      before.reserve(wanted.middle);
      scratch.reserve(wanted.middle);
      ties.reserve(order.capacity());
      sizes = wanted;
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

std::size_t NameTable::UpperBound(std::size_t first, std::size_t last,
                                  const Probe& probe) const noexcept {
  std::size_t end = KeyBound<true>(order.data(), first, last, probe.prefix, kPrefix);
  if (end > first && order[end - 1].prefix == probe.prefix) {
    // Prefixes seldom tie; where they do, the whole keys decide.
    const auto equal = order.begin() + static_cast<std::ptrdiff_t>(RunStart(
                                           order.data(), first, end, probe.prefix, kPrefix));
    const auto above = [this](const Probe& wanted, const Ref& ref) {
      return NameLess(wanted, ref);
    };
    end = static_cast<std::size_t>(
        std::upper_bound(equal, order.begin() + static_cast<std::ptrdiff_t>(end), probe, above) -
        order.begin());
  }
  return end - first;
}

std::pair<std::size_t, std::size_t> NameTable::LevelZeroRange(std::size_t ahead) const noexcept {
  const std::size_t levelOne = ends[1] - ends[0];
  return {ahead == 0 ? 0 : static_cast<std::size_t>(before[ahead - 1]),
          ahead == levelOne ? ends[0] : static_cast<std::size_t>(before[ahead])};
}

std::array<std::size_t, 3> NameTable::UpperBounds(const Probe& probe) const noexcept {
  const std::size_t inTwo = UpperBound(ends[1], ends[2], probe);
  const std::size_t inOne = UpperBound(ends[0], ends[1], probe);
  const auto [low, high] = LevelZeroRange(inOne);
  return {low + UpperBound(low, high, probe), inOne, inTwo};
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
  if (count - ends[2] > 1) {
    std::stable_sort(order.begin() + static_cast<std::ptrdiff_t>(ends[2]), order.end(),
                     [this](const Ref& a, const Ref& b) { return NameLess(a, b); });
  }
  if (count - ends[0] > sizes.middle) {
    Flatten();
    return;
  }
  before.resize(count - ends[0]);  // within the room that the adds keep
  if (count - ends[2] == 1) {
    // One add, the common case: shifted into place after the equal names of level 2.
    const Ref ref = order.back();
    const Probe probe{ref.prefix, entries[ref.slot].key};
    const auto [inZero, inOne, inTwo] = UpperBounds(probe);
    const std::size_t at = ends[1] + inTwo;
    std::copy_backward(order.begin() + static_cast<std::ptrdiff_t>(at), order.end() - 1,
                       order.end());
    std::copy_backward(before.begin() + static_cast<std::ptrdiff_t>(at - ends[0]), before.end() - 1,
                       before.end());
    order[at] = ref;
    before[at - ends[0]] = static_cast<std::int32_t>(inZero + inOne);
  } else {
    for (std::size_t at = ends[2]; at < count; ++at) {
      const Probe probe{order[at].prefix, entries[order[at].slot].key};
      const auto [inZero, inOne, inTwo] = UpperBounds(probe);
      before[at - ends[0]] = static_cast<std::int32_t>(inZero + inOne + inTwo);
    }
    MergeInto(ends[1], ends[2], count);
  }
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
    const auto [inZero, inOne, inTwo] = UpperBounds(probe);
    const auto matches = [&](std::size_t at) { return entries[order[at].slot].key == key; };
    if (inTwo > 0 && matches(ends[1] + inTwo - 1)) {
      return static_cast<std::int32_t>(inTwo + BeforeAt(ends[1] + inTwo - 1));
    }
    if (inOne > 0 && matches(ends[0] + inOne - 1)) {
      return static_cast<std::int32_t>(inOne + BeforeAt(ends[0] + inOne - 1) + inTwo);
    }
    if (inZero > 0 && matches(inZero - 1)) return static_cast<std::int32_t>(inZero + inOne + inTwo);
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
  // Where that entry is: each level is in order of name and tie number, and the entries of the
  // later levels that come before it are those with smaller names.
  const std::string& key = entries[slot].key;
  const std::uint64_t prefix = KeyPrefix(key);
  const std::uint32_t tie = TieOf(slot);
  // The entries of order[first, last) before it, and whether it is the next one. Among equal
  // prefixes, by whole key and tie number.
  const auto count = [&](std::size_t first, std::size_t last) {
    const std::size_t low = KeyBound<false>(order.data(), first, last, prefix, kPrefix);
    const std::size_t high = RunEnd(order.data(), low, last, prefix, kPrefix);
    const auto found = std::partition_point(
        order.begin() + static_cast<std::ptrdiff_t>(low),
        order.begin() + static_cast<std::ptrdiff_t>(high), [&](const Ref& ref) {
          const int compared = entries[ref.slot].key.compare(key);
          return compared != 0 ? compared < 0 : TieOf(ref.slot) < tie;
        });
    const auto at = static_cast<std::size_t>(found - order.begin());
    return std::pair(at - first, at < high && found->slot == slot);
  };
  const auto [inTwo, inLevelTwo] = count(ends[1], ends[2]);
  if (inLevelTwo) return static_cast<std::int32_t>(inTwo + 1 + BeforeAt(ends[1] + inTwo));
  const auto [inOne, inLevelOne] = count(ends[0], ends[1]);
  if (inLevelOne) return static_cast<std::int32_t>(inOne + 1 + BeforeAt(ends[0] + inOne) + inTwo);
  const auto [low, high] = LevelZeroRange(inOne);
  const auto [inZero, inLevelZero] = count(low, high);
  if (inLevelZero) return static_cast<std::int32_t>(low + inZero + 1 + inOne + inTwo);
  return -1;  // not reached: the entry is in one of the levels
}

}  // namespace tarvex
