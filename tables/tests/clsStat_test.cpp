// The stat table: the cases at the edges of adding, reading, finding and sorting.
#include "tables/clsStat.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "tables/tests/TableState.h"

namespace tarvex {
namespace {

using testing::ErrorCode;
using testing::NamesOf;

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

clsStat WaterAndAir() {
  clsStat table;
  table.AddStat(3, "water");
  table.AddStat(5, "Air");
  return table;
}

TEST(StatTable, NewTableIsEmptyEverywhere) {
  clsStat table;
  EXPECT_EQ(table.NumStats(), 0);
  for (const std::int32_t at : {1, 0, -1}) {
    EXPECT_EQ(table.Stat(at), "") << "Stat(" << at << ")";
    EXPECT_EQ(ErrorCode([&] { table.StatID(at); }), 9) << "StatID(" << at << ")";
  }
  EXPECT_EQ(table.FindStatID(""), -1);
  EXPECT_EQ(table.FindStatIndex("Air"), -1);
  EXPECT_EQ(table.FindStatIndexByID(-1), -1);
  EXPECT_EQ(table.FindStatIndexByID(0), -1);
  table.Sort(true);
  table.Sort(false);
  EXPECT_EQ(table.NumStats(), 0);
}

TEST(StatTable, AddKeepsNameOrderAndFindsCaseBlind) {
  const clsStat table = WaterAndAir();
  EXPECT_EQ(NamesOf(table), "Air,water");
  EXPECT_EQ(table.StatID(1), 5);
  EXPECT_EQ(table.StatID(2), 3);
  EXPECT_EQ(table.FindStatIndex("AIR"), 1);
  EXPECT_EQ(table.FindStatID("WATER"), 3);
  EXPECT_EQ(table.FindStatIndexByID(3), 2);
}

TEST(StatTable, SortByIdLastsUntilTheNextAdd) {
  clsStat table = WaterAndAir();
  table.Sort(true);
  EXPECT_EQ(NamesOf(table), "water,Air");
  EXPECT_EQ(table.FindStatIndex("air"), 2);
  EXPECT_EQ(table.FindStatIndexByID(3), 1);
  table.AddStat(4, "earth");
  EXPECT_EQ(NamesOf(table), "Air,earth,water");
  EXPECT_EQ(table.FindStatIndex("water"), 3);
}

// The same name added twice in a row: both stay, and the later one sorts after the earlier.
TEST(StatTable, RepeatedNameKeepsBothAndFindsTheLater) {
  const std::vector<std::pair<std::string, std::string>> cases{
      {"fire", "fire"}, {"fire", "FIRE"}, {"FIRE", "fire"}, {"Fire", "fIrE"}, {"", ""}};
  for (const auto& [first, second] : cases) {
    clsStat table;
    table.AddStat(1, "aardvark");
    table.AddStat(10, first);
    table.AddStat(20, second);
    table.AddStat(2, "zebra");
    const std::string which = "\"" + first + "\" then \"" + second + "\"";
    EXPECT_EQ(table.NumStats(), 4) << which;
    const std::int32_t earlier = table.FindStatIndexByID(10);
    const std::int32_t later = table.FindStatIndexByID(20);
    EXPECT_EQ(later, earlier + 1) << which;
    EXPECT_EQ(table.FindStatIndex(first), later) << which;
    EXPECT_EQ(table.FindStatIndex(second), later) << which;
    EXPECT_EQ(table.FindStatID(first), 20) << which;
  }
}

TEST(StatTable, FindStatIdGivesMinusOneForNoMatchAndForIdentifierMinusOne) {
  clsStat table;
  table.AddStat(7, "luck");
  table.AddStat(-1, "Luck");
  EXPECT_EQ(table.FindStatID("strength"), -1);
  EXPECT_EQ(table.FindStatID("LUCK"), -1);  // the last match has identifier -1
  EXPECT_EQ(table.FindStatIndex("LUCK"), 2);
  table.Sort(true);  // -1 before 7: the last match is now the entry with 7
  EXPECT_EQ(table.FindStatID("luck"), 7);
}

// Matching ignores case and nothing else.
TEST(StatTable, NamesThatDoNotMatch) {
  const std::vector<std::pair<std::string, std::string>> cases{
      {"Air", "Air "}, {"Air", " Air"},  {"Air", "Ai"},   {"Air", "Airs"},  {"Air", "A ir"},
      {"", " "},       {"Air", "Air\t"}, {"e", "\u00E9"}, {"ss", "\u00DF"}, {"Air", ""}};
  for (const auto& [stored, wanted] : cases) {
    clsStat table;
    table.AddStat(1, stored);
    EXPECT_EQ(table.FindStatIndex(wanted), -1)
        << "\"" << stored << "\" found by \"" << wanted << "\"";
    EXPECT_EQ(table.FindStatID(wanted), -1) << "\"" << stored << "\" found by \"" << wanted << "\"";
  }
}

TEST(StatTable, StatOutsideTheTableIsEmptyAndStatIdFails) {
  const clsStat table = WaterAndAir();
  for (const std::int32_t at : {0, 3, -1, kMin, kMax}) {
    EXPECT_EQ(table.Stat(at), "") << "Stat(" << at << ")";
    EXPECT_EQ(ErrorCode([&] { table.StatID(at); }), 9) << "StatID(" << at << ")";
  }
  EXPECT_EQ(NamesOf(table), "Air,water");  // reads that fail change nothing
}

// Upper case puts [ \ ] ^ _ ` after every letter, digits before every letter.
TEST(StatTable, NameOrderOfDigitsLettersAndPunctuation) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases{
      {{"_mana", "zeal"}, "zeal,_mana"},
      {{"_mana", "Zeal"}, "Zeal,_mana"},
      {{"alpha", "9lives"}, "9lives,alpha"},
      {{"`q", "^q", "_q", "]q", "\\q", "[q", "zq"}, "zq,[q,\\q,]q,^q,_q,`q"},
      {{"b", "A", "a", "B"}, "A,a,b,B"},
      {{"ab", "a", "A b", "a0"}, "a,A b,a0,ab"},
      {{"abc~", "ABC{", "abcz"}, "abcz,ABC{,abc~"},
  };
  for (const auto& [adds, expected] : cases) {
    clsStat table;
    std::int32_t id = 0;
    for (const std::string& name : adds) table.AddStat(++id, name);
    EXPECT_EQ(NamesOf(table), expected) << "added in the order given, first: " << adds.front();
  }
}

TEST(StatTable, SortByIdIsStableAndSigned) {
  clsStat table;
  const std::vector<std::pair<std::int32_t, std::string>> adds{
      {2, "a"}, {-5, "b"}, {2, "c"}, {0, "d"}, {-5, "e"}, {kMax, "f"}, {kMin, "g"}};
  for (const auto& [id, name] : adds) table.AddStat(id, name);
  table.Sort(true);
  EXPECT_EQ(NamesOf(table), "g,b,e,d,a,c,f");
  EXPECT_EQ(table.FindStatIndexByID(2), 6);
  EXPECT_EQ(table.FindStatIndexByID(-5), 3);
  table.Sort(true);  // sorting again changes nothing
  EXPECT_EQ(NamesOf(table), "g,b,e,d,a,c,f");
}

// The re-sort after an add is stable: equal names keep the identifier order that Sort gave them,
// and the new entry goes after all of them.
TEST(StatTable, AddAfterSortByIdKeepsEqualNamesInIdentifierOrder) {
  clsStat table;
  table.AddStat(2, "x");
  table.AddStat(1, "X");
  table.AddStat(3, "y");
  EXPECT_EQ(table.FindStatIndexByID(2), 1);  // in name order, in the order added
  table.Sort(true);
  table.AddStat(0, "z");
  EXPECT_EQ(table.StatID(1), 1);
  EXPECT_EQ(table.StatID(2), 2);
  table.AddStat(-7, "x");
  const std::vector<std::int32_t> expected{1, 2, -7, 3, 0};
  for (std::int32_t at = 1; at <= 5; ++at) {
    EXPECT_EQ(table.StatID(at), expected[static_cast<std::size_t>(at - 1)]) << "position " << at;
  }
  EXPECT_EQ(table.FindStatID("X"), -7);
}

// Several adds after a sort by identifier, with no read between them, give the same order as
// re-sorting after each one.
TEST(StatTable, AddsAfterSortByIdWithoutReadsBetweenThem) {
  clsStat table;
  for (const auto& [id, name] :
       std::vector<std::pair<std::int32_t, std::string>>{{9, "b"}, {3, "a"}, {5, "B"}, {1, "A"}}) {
    table.AddStat(id, name);
  }
  table.Sort(true);  // A(1) a(3) B(5) b(9)
  table.AddStat(4, "a");
  table.AddStat(0, "b");
  table.AddStat(2, "A");
  const std::vector<std::int32_t> expected{1, 3, 4, 2, 5, 9, 0};
  for (std::int32_t at = 1; at <= 7; ++at) {
    EXPECT_EQ(table.StatID(at), expected[static_cast<std::size_t>(at - 1)]) << "position " << at;
  }
}

TEST(StatTable, FindByIdGivesTheHighestPositionInEitherOrder) {
  clsStat table;
  table.AddStat(4, "c");
  table.AddStat(4, "a");
  table.AddStat(6, "b");
  table.AddStat(4, "d");
  EXPECT_EQ(table.FindStatIndexByID(4), 4);  // a b c d
  EXPECT_EQ(table.FindStatIndexByID(6), 2);
  EXPECT_EQ(table.FindStatIndexByID(5), -1);
  table.Sort(true);  // a c d (4), b (6)
  EXPECT_EQ(table.FindStatIndexByID(4), 3);
  EXPECT_EQ(table.FindStatIndexByID(6), 4);
  EXPECT_EQ(table.FindStatIndex("A"), 1);
  EXPECT_EQ(table.FindStatIndex("b"), 4);
}

}  // namespace
}  // namespace tarvex
