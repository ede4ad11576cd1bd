// The overflow error: a table that is full refuses the add and changes nothing.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "tables/clsItem.h"
#include "tables/clsStat.h"
#include "tables/tests/TableState.h"

namespace tarvex {
namespace {

using testing::ErrorCode;
using testing::StateOf;

// Tables with a lower limit than 2,147,483,647, through the same check.
class SmallStat : public clsStat {
 public:
  explicit SmallStat(std::int32_t maxCount) : clsStat(maxCount) {}
};
class SmallItem : public clsItem {
 public:
  explicit SmallItem(std::int32_t maxCount) : clsItem(maxCount) {}
};

TEST(Overflow, StatTableRefusesTheAddPastItsLimit) {
  for (const std::int32_t limit : {0, 1, 3, 40}) {
    SmallStat table(limit);
    for (std::int32_t i = 0; i < limit; ++i)
      table.AddStat(limit - i, "name" + std::to_string(i % 7));
    table.Sort(true);
    const auto before = StateOf(table);
    EXPECT_EQ(ErrorCode([&] { table.AddStat(0, "zzz"); }), 6) << "limit " << limit;
    EXPECT_EQ(StateOf(table), before) << "limit " << limit;
    EXPECT_EQ(table.FindStatIndex("zzz"), -1) << "limit " << limit;
    // Still usable: reads and sorts work, and the next add is refused the same way.
    table.Sort(false);
    EXPECT_EQ(table.NumStats(), limit);
    EXPECT_EQ(ErrorCode([&] { table.AddStat(0, ""); }), 6) << "limit " << limit;
  }
}

// Adds that are not yet sorted in count towards the limit.
TEST(Overflow, PendingAddsCount) {
  SmallStat table(2);
  table.AddStat(1, "b");
  table.AddStat(2, "a");
  EXPECT_EQ(ErrorCode([&] { table.AddStat(3, "c"); }), 6);
  EXPECT_EQ(StateOf(table),
            (std::vector<std::pair<std::int32_t, std::string>>{{2, "a"}, {1, "b"}}));
}

TEST(Overflow, ItemTableCountsEachListOnItsOwn) {
  SmallItem table(2);
  const std::vector<std::int32_t> probes{1, 2, 3};
  table.AddItem(1, "sword");
  table.AddItem(2, "axe");
  table.AddMinStat(1, 4, 10);
  table.AddMinStat(1, 5, 11);
  table.AddMod(1, 4, 0, 1);
  auto before = StateOf(table, probes);
  EXPECT_EQ(ErrorCode([&] { table.AddItem(3, "bow"); }), 6);
  EXPECT_EQ(ErrorCode([&] { table.AddMinStat(1, 6, 12); }), 6);
  EXPECT_TRUE(StateOf(table, probes) == before);
  // The mod list still has room.
  table.AddMod(1, 5, 0, 2);
  EXPECT_EQ(table.NumMods(1, 0), 2);
  EXPECT_EQ(ErrorCode([&] { table.AddMod(2, 5, 0, 2); }), 6);
  EXPECT_EQ(table.NumMods(2, 0), 0);
  EXPECT_EQ(table.NumMinStats(1), 2);
  EXPECT_EQ(table.FindItemIndex("bow"), -1);
}

}  // namespace
}  // namespace tarvex
