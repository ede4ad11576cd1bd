// clsStat: the table of the game's stats, pairs of a stat identifier and a stat name.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "tables/NameTable.h"
#include "tables/TableError.h"

namespace tarvex {

// Entries pair an identifier with a name; neither needs to be unique. The table is in name order
// after every add (stable: a new entry goes after every entry with the same name) until Sort
// puts it in identifier order. Positions are 1-based and change with every add and sort. Names
// are UTF-8 and match case-blind; see NameKey.h for the upper-case mapping and the order.
//
// Errors are thrown as TableError: 9 for a position out of range, 6 when an add would take the
// count past 2,147,483,647, 7 when out of memory. After a failed call the table is exactly as it
// was and stays usable. An instance is for one thread at a time, reads included.
class clsStat {
 public:
  clsStat() noexcept = default;

  // Adds the entry (statId, name). Throws 6 or 7.
  void AddStat(std::int32_t statId, std::string_view name);
  std::int32_t NumStats() const noexcept { return table.Count(); }
  // Identifier at `index`; throws 9 outside [1, NumStats()].
  std::int32_t StatID(std::int32_t index) const;
  // Name at `index`; the empty text outside [1, NumStats()]. Throws 7 when out of memory.
  std::string Stat(std::int32_t index) const;
  // Identifier of the last entry whose name matches `name`; -1 when none does (or when that
  // entry's identifier is -1).
  std::int32_t FindStatID(std::string_view name) const;
  // Position of the last entry whose name matches `name`; -1 when none does.
  std::int32_t FindStatIndex(std::string_view name) const;
  // Position of the last entry with identifier `statId`; -1 when none has it.
  std::int32_t FindStatIndexByID(std::int32_t statId) const noexcept;
  // Stable sort by identifier (byId) or by name.
  void Sort(bool byId) noexcept { table.Sort(byId); }

 protected:
  // A table that holds at most `maxCount` entries (for testing the overflow error).
  explicit clsStat(std::int32_t maxCount) noexcept : table(maxCount) {}

 private:
  NameTable table;
};

}  // namespace tarvex
