// clsItem: the table of the game's items, with the minimum stats and the mods of items.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "tables/NameTable.h"
#include "tables/RowList.h"
#include "tables/StatPairs.h"
#include "tables/TableError.h"

namespace tarvex {

// Items pair an identifier with a name; neither needs to be unique. The items are in name order
// after every add (stable: a new item goes after every item with the same name) until Sort puts
// them in identifier order. Positions are 1-based and change with every add and sort. Names are
// UTF-8 and match case-blind; see NameKey.h for the upper-case mapping and the order.
//
// Beside the items, two lists of rows that refer to items by identifier only (an identifier that
// no item has is fine, and equal rows may repeat): minimum stats (item, stat, minimum) and mods
// (item, stat, mod number, modification). Rows keep the order in which they were added.
//
// Errors are thrown as TableError: 9 for a position out of range, 6 when an add would take a
// count past 2,147,483,647, 7 when out of memory. After a failed call the table is exactly as it
// was and stays usable. An instance is for one thread at a time, reads included.
class clsItem {
 public:
  clsItem() noexcept = default;

  // Adds the item (itemId, name). Throws 6 or 7.
  void AddItem(std::int32_t itemId, std::string_view name);
  // Appends a minimum-stat row. Throws 6 or 7.
  void AddMinStat(std::int32_t itemId, std::int32_t statId, std::int32_t minStat);
  // Appends a mod row. Throws 6 or 7.
  void AddMod(std::int32_t itemId, std::int32_t statId, std::int32_t modNum,
              std::int32_t modification);
  // The (stat, minimum) of every minimum-stat row of `itemId`, in the order added. Throws 7.
  StatPairs MinStats(std::int32_t itemId) const;
  // Number of minimum-stat rows of `itemId`.
  std::int32_t NumMinStats(std::int32_t itemId) const noexcept;
  // The (stat, modification) of every mod row of `itemId` with mod number `modNum`, in the
  // order added. Throws 7.
  StatPairs Mods(std::int32_t itemId, std::int32_t modNum) const;
  // Number of mod rows of `itemId` with mod number `modNum`.
  std::int32_t NumMods(std::int32_t itemId, std::int32_t modNum) const noexcept;
  std::int32_t NumItems() const noexcept { return items.Count(); }
  // Identifier and name at `index`; both throw 9 outside [1, NumItems()], Item also 7.
  std::int32_t ItemID(std::int32_t index) const;
  std::string Item(std::int32_t index) const;
  // Identifier of the last item whose name matches `name`; -1 when none does (or when that
  // item's identifier is -1).
  std::int32_t FindItemID(std::string_view name) const;
  // Position of the last item whose name matches `name`; -1 when none does.
  std::int32_t FindItemIndex(std::string_view name) const;
  // Stable sort of the items by identifier (byId) or by name; rows are not touched.
  void Sort(bool byId) noexcept { items.Sort(byId); }

 protected:
  // Items, minimum stats and mods each limited to `maxCount` (for testing the overflow error).
  explicit clsItem(std::int32_t maxCount) noexcept
      : items(maxCount), minStats(maxCount), mods(maxCount) {}

 private:
  NameTable items;
  RowList minStats;  // key: item identifier
  RowList mods;      // key: item identifier and mod number
};

}  // namespace tarvex
