// What a caller can read from the tables, as text for comparisons, and the code of an error.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "tables/clsItem.h"
#include "tables/clsStat.h"
#include "tables/tests/LiteralModel.h"

namespace tarvex::testing {

using Pairs = std::vector<std::array<std::int32_t, 2>>;

// The matches of a row look-up, read through the accessor.
inline Pairs Read(const StatPairs& pairs) {
  Pairs read;
  for (std::int32_t match = 1; match <= pairs.Count(); ++match) {
    read.push_back({pairs(1, match), pairs(2, match)});
  }
  return read;
}

// The entries in their current order, e.g. "5:Air 3:water ".
inline std::string StateOf(const clsStat& table) {
  std::string state;
  for (std::int32_t at = 1; at <= table.NumStats(); ++at) {
    state += std::to_string(table.StatID(at)) + ":" + table.Stat(at) + " ";
  }
  return state;
}

// The items in their current order, then the rows of items -1 to 3 (mod numbers 0 and 1).
inline std::string StateOf(const clsItem& table) {
  std::string state;
  for (std::int32_t at = 1; at <= table.NumItems(); ++at) {
    state += std::to_string(table.ItemID(at)) + ":" + table.Item(at) + " ";
  }
  for (std::int32_t item = -1; item <= 3; ++item) {
    for (const StatPairs& rows : {table.MinStats(item), table.Mods(item, 0), table.Mods(item, 1)}) {
      state += ::testing::PrintToString(Read(rows));
    }
  }
  return state;
}

// The same of the literal models: of a stat table, or of an item table and its rows.
inline std::string StateOf(const literal::LiteralTable& table,
                           const literal::LiteralRows* rows = nullptr) {
  std::string state;
  for (std::int32_t at = 1; at <= table.Count(); ++at) {
    state += std::to_string(table.At(at)->id) + ":" + table.At(at)->name + " ";
  }
  for (std::int32_t item = -1; rows != nullptr && item <= 3; ++item) {
    state += ::testing::PrintToString(rows->Matches(rows->minStats, item, 0)) +
             ::testing::PrintToString(rows->Matches(rows->mods, item, 0)) +
             ::testing::PrintToString(rows->Matches(rows->mods, item, 1));
  }
  return state;
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
