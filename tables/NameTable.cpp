#include "tables/NameTable.h"

#include <algorithm>
#include <iterator>
#include <new>
#include <stdexcept>

#include "tables/NameKey.h"
#include "tables/TableError.h"

// The sorting here relies on std::stable_sort and std::inplace_merge working without extra
// memory when none can be had (slower, never failing), as the standard's complexity clauses
// allow and libstdc++, libc++ and the Microsoft library do. The elements are trivially copyable
// and the comparisons do not throw, so reads that sort never fail.

namespace tarvex {

NameTable::NameTable(std::int32_t maxCount) noexcept : limit(maxCount) {}

void NameTable::Add(std::int32_t id, std::string_view name) {
  if (Count() >= limit) throw TableError(kErrOverflow);
  try {
    Entry entry{std::string(name), NameKey(name)};
    const Ref ref{KeyPrefix(entry.key), id, static_cast<std::uint32_t>(entries.size())};
    if (order.size() == order.capacity()) {
      order.reserve(std::max<std::size_t>(16, order.capacity() * 2));
    }
    entries.push_back(std::move(entry));  // all or nothing: Entry moves without throwing
    order.push_back(ref);                 // cannot fail: the room is reserved
  } catch (const std::bad_alloc&) {
    throw TableError(kErrOutOfMemory);
  } catch (const std::length_error&) {
    throw TableError(kErrOutOfMemory);
  }
}

std::int32_t NameTable::IdAt(std::int32_t position) const {
  Settle();
  return order[static_cast<std::size_t>(position) - 1].id;
}

const std::string& NameTable::NameAt(std::int32_t position) const {
  Settle();
  return entries[order[static_cast<std::size_t>(position) - 1].slot].name;
}

void NameTable::Settle() const noexcept {
  if (settled == order.size()) return;
  const auto nameLess = [this](const Ref& a, const Ref& b) { return NameLess(a, b); };
  const auto middle = order.begin() + static_cast<std::ptrdiff_t>(settled);
  if (kind == OrderKind::kByName) {
    std::stable_sort(middle, order.end(), nameLess);
    std::inplace_merge(order.begin(), middle, order.end(), nameLess);
  } else {
    // The first add after a sort by identifier re-sorts the whole table by name.
    std::stable_sort(order.begin(), order.end(), nameLess);
    kind = OrderKind::kByName;
  }
  settled = order.size();
  DropIndexes();
}

void NameTable::Sort(bool byId) noexcept {
  Settle();
  const OrderKind wanted = byId ? OrderKind::kById : OrderKind::kByName;
  if (kind == wanted) return;  // a stable sort of a sorted table changes nothing
  SortWhole(byId);
}

void NameTable::SortWhole(bool byId) const noexcept {
  if (byId) {
    std::stable_sort(order.begin(), order.end(),
                     [](const Ref& a, const Ref& b) { return a.id < b.id; });
    kind = OrderKind::kById;
  } else {
    std::stable_sort(order.begin(), order.end(),
                     [this](const Ref& a, const Ref& b) { return NameLess(a, b); });
    kind = OrderKind::kByName;
  }
  DropIndexes();
}

void NameTable::DropIndexes() const noexcept {
  nameIndexReady = false;
  idIndexReady = false;
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

bool NameTable::BuildIdIndex() const noexcept {
  if (idIndexReady) return true;
  try {
    idIndex.resize(order.size());
  } catch (const std::exception&) {
    return false;
  }
  for (std::size_t i = 0; i < order.size(); ++i) {
    idIndex[i] = {order[i].id, static_cast<std::int32_t>(i)};
  }
  std::sort(idIndex.begin(), idIndex.end());
  idIndexReady = true;
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
  const std::uint64_t prefix = KeyPrefix(key);
  // Orders `key` before an entry with a greater name.
  const auto keyBefore = [&](const auto& item) {
    if (prefix != item.prefix) return prefix < item.prefix;
    return key < entries[item.slot].key;
  };
  if (kind == OrderKind::kByName) {
    // Equal names are neighbours; the last of them has the highest position.
    const auto after = std::upper_bound(order.begin(), order.end(), 0,
                                        [&](int, const Ref& item) { return keyBefore(item); });
    if (after == order.begin() || entries[std::prev(after)->slot].key != key) return -1;
    return static_cast<std::int32_t>(after - order.begin());
  }
  if (!BuildNameIndex()) return ScanName(key);
  const auto after =
      std::upper_bound(nameIndex.begin(), nameIndex.end(), 0,
                       [&](int, const NamePosition& item) { return keyBefore(item); });
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
  if (!BuildIdIndex()) {
    std::int32_t found = -1;
    for (std::size_t i = 0; i < order.size(); ++i) {
      if (order[i].id == id) found = static_cast<std::int32_t>(i) + 1;
    }
    return found;
  }
  const auto after = std::upper_bound(idIndex.begin(), idIndex.end(),
                                      IdPosition{id, std::numeric_limits<std::int32_t>::max()});
  if (after == idIndex.begin() || std::prev(after)->id != id) return -1;
  return std::prev(after)->position + 1;
}

}  // namespace tarvex
