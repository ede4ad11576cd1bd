// The item table: the cases at the edges of items, minimum stats and mods.
#include "tables/clsItem.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "tables/tests/TableState.h"

namespace tarvex {
namespace {

using testing::ErrorCode;
using Pairs = std::vector<std::array<std::int32_t, 2>>;

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

// The matches of `pairs` read through its accessor.
Pairs Read(const StatPairs& pairs) {
  Pairs read;
  for (std::int32_t match = 1; match <= pairs.Count(); ++match) {
    read.push_back({pairs(1, match), pairs(2, match)});
  }
  return read;
}

std::string NamesOf(const clsItem& table) {
  std::string names;
  for (std::int32_t at = 1; at <= table.NumItems(); ++at) {
    names += (at > 1 ? "," : "") + table.Item(at);
  }
  return names;
}

TEST(ItemTable, NewTableIsEmptyEverywhere) {
  clsItem table;
  EXPECT_EQ(table.NumItems(), 0);
  for (const std::int32_t at : {1, 0, -1}) {
    EXPECT_EQ(ErrorCode([&] { table.Item(at); }), 9) << "Item(" << at << ")";
    EXPECT_EQ(ErrorCode([&] { table.ItemID(at); }), 9) << "ItemID(" << at << ")";
  }
  EXPECT_EQ(table.FindItemIndex("sword"), -1);
  EXPECT_EQ(table.FindItemID(""), -1);
  for (const std::int32_t id : {0, 1, -1, kMin, kMax}) {
    EXPECT_EQ(table.NumMinStats(id), 0) << "item " << id;
    EXPECT_EQ(table.MinStats(id).Count(), 0) << "item " << id;
    for (const std::int32_t modNum : {0, 1, -1, kMax}) {
      EXPECT_EQ(table.NumMods(id, modNum), 0) << "item " << id << " mod " << modNum;
      EXPECT_EQ(table.Mods(id, modNum).Count(), 0) << "item " << id << " mod " << modNum;
    }
  }
  table.Sort(true);
  table.Sort(false);
  EXPECT_EQ(table.NumItems(), 0);
}

TEST(ItemTable, EmptyResultHasNoElements) {
  const StatPairs none = clsItem().MinStats(20);
  for (const auto& at : {std::pair{1, 1}, {2, 1}, {1, 0}, {0, 0}}) {
    EXPECT_EQ(ErrorCode([&] { none(at.first, at.second); }), 9)
        << "(" << at.first << ", " << at.second << ")";
  }
}

TEST(ItemTable, AddKeepsNameOrderAndFindsCaseBlind) {
  clsItem table;
  table.AddItem(20, "sword");
  table.AddItem(30, "Axe");
  EXPECT_EQ(NamesOf(table), "Axe,sword");
  EXPECT_EQ(table.ItemID(1), 30);
  EXPECT_EQ(table.FindItemIndex("SWORD"), 2);
  EXPECT_EQ(table.FindItemID("axe"), 30);
  table.Sort(true);
  EXPECT_EQ(NamesOf(table), "sword,Axe");
  EXPECT_EQ(table.FindItemIndex("SWORD"), 1);
  table.AddItem(25, "bow");
  EXPECT_EQ(NamesOf(table), "Axe,bow,sword");
}

TEST(ItemTable, ItemOutsideTheTableFails) {
  clsItem table;
  table.AddItem(20, "sword");
  for (const std::int32_t at : {0, 2, -1, kMin, kMax}) {
    EXPECT_EQ(ErrorCode([&] { table.Item(at); }), 9) << "Item(" << at << ")";
    EXPECT_EQ(ErrorCode([&] { table.ItemID(at); }), 9) << "ItemID(" << at << ")";
  }
  EXPECT_EQ(table.Item(1), "sword");
}

TEST(ItemTable, MinStatsOfAnItemThatDoesNotExist) {
  clsItem table;
  table.AddItem(1, "shield");
  table.AddMinStat(99, 4, 10);
  EXPECT_EQ(table.NumMinStats(99), 1);
  EXPECT_EQ(Read(table.MinStats(99)), (Pairs{{4, 10}}));
  EXPECT_EQ(table.NumMinStats(1), 0);
}

TEST(ItemTable, MinStatsInTheOrderAddedWhateverHappensToTheItems) {
  clsItem table;
  table.AddItem(20, "sword");
  table.AddMinStat(20, 4, 10);
  table.AddMinStat(30, 4, 12);
  table.AddMinStat(20, 7, 5);
  const StatPairs before = table.MinStats(20);
  EXPECT_EQ(before.Count(), 2);
  EXPECT_EQ(before(1, 1), 4);
  EXPECT_EQ(before(2, 1), 10);
  EXPECT_EQ(before(1, 2), 7);
  EXPECT_EQ(before(2, 2), 5);
  EXPECT_EQ(ErrorCode([&] { before(1, 3); }), 9);
  EXPECT_EQ(ErrorCode([&] { before(3, 1); }), 9);
  table.Sort(true);
  EXPECT_EQ(table.MinStats(20), before) << "after Sort(true)";
  table.AddItem(30, "Axe");
  table.AddItem(10, "club");
  EXPECT_EQ(table.MinStats(20), before) << "after AddItem";
  EXPECT_EQ(Read(table.MinStats(30)), (Pairs{{4, 12}}));
}

TEST(ItemTable, ModsFilterOnItemAndModNumber) {
  clsItem table;
  table.AddMod(20, 1, 1, 100);
  table.AddMod(20, 2, 2, 200);
  table.AddMod(30, 3, 1, 300);
  table.AddMod(20, 4, 1, 400);
  table.AddMod(-1, 5, -1, 500);
  table.AddMod(kMin, 6, kMax, 600);
  table.AddMod(kMax, 7, kMin, 700);
  const std::vector<std::pair<std::pair<std::int32_t, std::int32_t>, Pairs>> cases{
      {{20, 1}, {{1, 100}, {4, 400}}},
      {{20, 2}, {{2, 200}}},
      {{30, 1}, {{3, 300}}},
      {{30, 2}, {}},
      {{20, 3}, {}},
      {{-1, -1}, {{5, 500}}},
      {{-1, 0}, {}},
      {{0, -1}, {}},
      {{kMin, kMax}, {{6, 600}}},
      {{kMax, kMin}, {{7, 700}}},
      {{kMax, kMax}, {}},
  };
  for (const auto& [call, expected] : cases) {
    const auto [item, modNum] = call;
    EXPECT_EQ(Read(table.Mods(item, modNum)), expected) << "Mods(" << item << ", " << modNum << ")";
    EXPECT_EQ(table.NumMods(item, modNum), static_cast<std::int32_t>(expected.size()))
        << "NumMods(" << item << ", " << modNum << ")";
  }
  // The two row lists are separate.
  EXPECT_EQ(table.NumMinStats(20), 0);
}

TEST(ItemTable, RepeatedRowsCountEveryTime) {
  clsItem table;
  table.AddMinStat(20, 4, 10);
  table.AddMinStat(20, 4, 10);
  table.AddMod(20, 4, 1, 3);
  table.AddMod(20, 4, 1, 3);
  EXPECT_EQ(table.NumMinStats(20), 2);
  EXPECT_EQ(Read(table.MinStats(20)), (Pairs{{4, 10}, {4, 10}}));
  EXPECT_EQ(table.NumMods(20, 1), 2);
  EXPECT_EQ(Read(table.Mods(20, 1)), (Pairs{{4, 3}, {4, 3}}));
}

TEST(ItemTable, RepeatedNameKeepsBothAndFindsTheLater) {
  const std::vector<std::pair<std::string, std::string>> cases{
      {"sword", "sword"}, {"sword", "SWORD"}, {"Sword", "sWoRd"}, {"", ""}};
  for (const auto& [first, second] : cases) {
    clsItem table;
    table.AddItem(1, "axe");
    table.AddItem(10, first);
    table.AddItem(20, second);
    const std::string which = "\"" + first + "\" then \"" + second + "\"";
    EXPECT_EQ(table.NumItems(), 3) << which;
    EXPECT_EQ(table.FindItemID(first), 20) << which;
    EXPECT_EQ(table.FindItemID(second), 20) << which;
    EXPECT_EQ(table.ItemID(table.FindItemIndex(first) - 1), 10) << which;
  }
}

TEST(ItemTable, FindItemIdGivesMinusOneForNoMatchAndForIdentifierMinusOne) {
  clsItem table;
  table.AddItem(8, "ring");
  table.AddItem(-1, "RING");
  EXPECT_EQ(table.FindItemID("amulet"), -1);
  EXPECT_EQ(table.FindItemID("Ring"), -1);
  EXPECT_EQ(table.FindItemIndex("Ring"), 2);
  EXPECT_EQ(table.FindItemIndex("Ring "), -1);
}

}  // namespace
}  // namespace tarvex
