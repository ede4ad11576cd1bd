// Everything a caller can read from a table, for checking that a failed call changed nothing.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "tables/clsItem.h"
#include "tables/clsStat.h"

namespace tarvex::testing {

// The entries in their current order.
inline std::vector<std::pair<std::int32_t, std::string>> StateOf(const clsStat& table) {
  std::vector<std::pair<std::int32_t, std::string>> state;
  for (std::int32_t at = 1; at <= table.NumStats(); ++at) {
    state.emplace_back(table.StatID(at), table.Stat(at));
  }
  return state;
}

struct ItemState {
  std::vector<std::pair<std::int32_t, std::string>> items;
  std::vector<StatPairs> minStats;  // for each probed item identifier
  std::vector<StatPairs> mods;      // for each probed item identifier and mod numbers 0 to 2
  friend bool operator==(const ItemState&, const ItemState&) = default;
};

// The items in their current order, and the rows of the item identifiers `probes`.
inline ItemState StateOf(const clsItem& table, const std::vector<std::int32_t>& probes) {
  ItemState state;
  for (std::int32_t at = 1; at <= table.NumItems(); ++at) {
    state.items.emplace_back(table.ItemID(at), table.Item(at));
  }
  for (const std::int32_t item : probes) {
    state.minStats.push_back(table.MinStats(item));
    for (std::int32_t modNum = 0; modNum <= 2; ++modNum)
      state.mods.push_back(table.Mods(item, modNum));
  }
  return state;
}

// The names of a stat table in order, e.g. "Air,water".
inline std::string NamesOf(const clsStat& table) {
  std::string names;
  for (std::int32_t at = 1; at <= table.NumStats(); ++at) {
    names += (at > 1 ? "," : "") + table.Stat(at);
  }
  return names;
}

// The error code of `call`, 0 when it does not throw.
template <typename Call>
std::int32_t ErrorCode(Call call) {
  try {
    call();
  } catch (const TableError& error) {
    return error.code();
  }
  return 0;
}

}  // namespace tarvex::testing
