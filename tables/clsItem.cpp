#include "tables/clsItem.h"

#include <new>

namespace tarvex {

namespace {

std::uint64_t MinStatKey(std::int32_t itemId) noexcept {
  return static_cast<std::uint32_t>(itemId);
}

std::uint64_t ModKey(std::int32_t itemId, std::int32_t modNum) noexcept {
  return (std::uint64_t{static_cast<std::uint32_t>(itemId)} << 32) |
         static_cast<std::uint32_t>(modNum);
}

}  // namespace

void clsItem::AddItem(std::int32_t itemId, std::string_view name) {
  items.Add(itemId, name);
}

void clsItem::AddMinStat(std::int32_t itemId, std::int32_t statId, std::int32_t minStat) {
  minStats.Add(MinStatKey(itemId), statId, minStat);
}

void clsItem::AddMod(std::int32_t itemId, std::int32_t statId, std::int32_t modNum,
                     std::int32_t modification) {
  mods.Add(ModKey(itemId, modNum), statId, modification);
}

StatPairs clsItem::MinStats(std::int32_t itemId) const {
  return minStats.Matches(MinStatKey(itemId));
}

std::int32_t clsItem::NumMinStats(std::int32_t itemId) const noexcept {
  return minStats.CountMatches(MinStatKey(itemId));
}

StatPairs clsItem::Mods(std::int32_t itemId, std::int32_t modNum) const {
  return mods.Matches(ModKey(itemId, modNum));
}

std::int32_t clsItem::NumMods(std::int32_t itemId, std::int32_t modNum) const noexcept {
  return mods.CountMatches(ModKey(itemId, modNum));
}

std::int32_t clsItem::ItemID(std::int32_t index) const {
  if (index < 1 || index > items.Count()) throw TableError(kErrSubscriptOutOfRange);
  return items.IdAt(index);
}

std::string clsItem::Item(std::int32_t index) const {
  if (index < 1 || index > items.Count()) throw TableError(kErrSubscriptOutOfRange);
  try {
    return items.NameAt(index);
  } catch (const std::bad_alloc&) {
    throw TableError(kErrOutOfMemory);
  }
}

std::int32_t clsItem::FindItemID(std::string_view name) const {
  const std::int32_t position = items.FindName(name);
  return position < 0 ? -1 : items.IdAt(position);
}

std::int32_t clsItem::FindItemIndex(std::string_view name) const {
  return items.FindName(name);
}

}  // namespace tarvex
