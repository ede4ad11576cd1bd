// The tables against their literal models on long random sequences of operations: adds and reads
// interleaved, a read often right after one add, now and then after a burst of adds. One sequence
// drives a stat table and an item table alike, so every read of either is checked.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "tables/tests/LiteralModel.h"
#include "tables/tests/TableState.h"

namespace tarvex {
namespace {

using testing::ErrorCode;
using testing::Read;
using testing::StateOf;

// Pieces of names: letters of both cases, the characters between the upper-case and the
// lower-case Latin letters, digits, blanks, and non-ASCII text (letters with and without an
// upper-case form, characters above U+FFFF, private use, fullwidth forms).
constexpr std::array<std::string_view, 42> kPieces{
    "a",      "A",          "b",          "B",      "z",      "Z",      "i",
    "I",      "s",          "S",          "_",      "[",      "`",      "^",
    "~",      " ",          "0",          "9",      "-",      "\u00E9", "\u00C9",
    "\u00DF", "\u00FF",     "\u0178",     "\u0131", "\u017F", "\u03C3", "\u03C2",
    "\u03A3", "\u0436",     "\u0416",     "\u0451", "\u0401", "\u00B5", "\u039C",
    "\u00F7", "\U0001F600", "\U0001D400", "\uE000", "\uFF21", "\uFF41", "\uFFFD"};

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

struct Random {
  std::mt19937 engine;
  std::vector<std::string> seen;

  std::int32_t Below(std::int32_t n) {
    return std::uniform_int_distribution<std::int32_t>(0, n - 1)(engine);
  }
  bool Chance(std::int32_t percent) { return Below(100) < percent; }

  // Often a name seen before with its ASCII letters in another case; sometimes empty, with a
  // trailing blank, or beginning with the same eight letters as others.
  std::string Name() {
    if (!seen.empty() && Chance(45)) {
      std::string name = seen[static_cast<std::size_t>(Below(static_cast<int>(seen.size())))];
      for (char& c : name) {
        const char lower = static_cast<char>(c | 0x20);
        if (lower >= 'a' && lower <= 'z' && Chance(50)) c = static_cast<char>(c ^ 0x20);
      }
      return name;
    }
    std::string name(Chance(10) ? "abcdefgh" : "");  // a first eight bytes that many names share
    for (std::int32_t n = Chance(5) ? 0 : 1 + Below(4); n > 0; --n) {
      name += kPieces[static_cast<std::size_t>(Below(kPieces.size()))];
    }
    if (Chance(5)) name += ' ';
    return seen.emplace_back(name);
  }

  // Mostly a few small values so that they repeat; -1, the extremes and any value too.
  std::int32_t Id() {
    const std::int32_t kind = Below(10);
    if (kind == 0) return -1;
    if (kind == 1) return Chance(50) ? kMin : kMax;
    return kind == 2 ? static_cast<std::int32_t>(engine()) : Below(9) - 4;
  }
};

class AgainstModel : public ::testing::TestWithParam<std::uint32_t> {};

TEST_P(AgainstModel, EveryReadAgrees) {
  const std::uint32_t seed = GetParam();
  // Small tables full of repeats, or big ones, seldom sorted, so that reads after adds build up
  // all the sorted levels of Levels.h.
  const bool big = seed > 12;
  const std::int32_t operations = big ? 1000 : 300;
  Random next{std::mt19937(seed), {}};
  clsStat stats;
  clsItem items;
  literal::LiteralTable model;
  literal::LiteralRows rows;
  // Rows refer to a few item identifiers and mod numbers, so that look-ups have several matches,
  // and now and then to any, the extremes too.
  const auto rowItem = [&] { return next.Chance(10) ? next.Id() : next.Below(6) - 1; };
  const auto modNum = [&] { return next.Chance(10) ? next.Id() : next.Below(4) - 1; };
  for (std::int32_t step = 0; step < operations; ++step) {
    SCOPED_TRACE("seed " + std::to_string(seed) + ", step " + std::to_string(step));
    const std::int32_t kind = next.Below(100);
    if (kind < 30) {
      // Mostly one add, which the next read sorts in; now and then a burst, many adds with no read
      // between them.
      for (std::int32_t n = next.Chance(5) ? 10 + next.Below(20) : 1; n > 0; --n) {
        const std::int32_t id = next.Id();
        const std::string name = next.Name();
        stats.AddStat(id, name);
        items.AddItem(id, name);
        model.Add(id, name);
      }
    } else if (kind < 35 && (!big || next.Chance(10))) {
      const bool byId = next.Chance(70);
      stats.Sort(byId);
      items.Sort(byId);
      model.Sort(byId);
    } else if (kind < 49) {
      // A row of either list: minimum stats have mod number 0 in the model.
      const std::array<std::int32_t, 4> row{rowItem(), next.Id(), kind < 42 ? 0 : modNum(),
                                            next.Id()};
      if (kind < 42) items.AddMinStat(row[0], row[1], row[3]);
      if (kind >= 42) items.AddMod(row[0], row[1], row[2], row[3]);
      (kind < 42 ? rows.minStats : rows.mods).push_back(row);
    } else if (kind < 62) {
      const std::int32_t at = next.Below(model.Count() + 4) - 1;  // around [1, count]
      ASSERT_EQ(std::pair(stats.NumStats(), items.NumItems()),
                std::pair(model.Count(), model.Count()))
          << "counts";
      if (const auto entry = model.At(at)) {
        ASSERT_EQ(std::tuple(stats.StatID(at), stats.Stat(at), items.ItemID(at), items.Item(at)),
                  std::tuple(entry->id, entry->name, entry->id, entry->name))
            << "position " << at;
      } else {
        ASSERT_EQ(
            std::tuple(ErrorCode([&] { stats.StatID(at); }), stats.Stat(at),
                       ErrorCode([&] { items.ItemID(at); }), ErrorCode([&] { items.Item(at); })),
            std::tuple(9, "", 9, 9))
            << "position " << at;
      }
    } else if (kind < 78) {
      const std::string name = next.Name();
      const std::int32_t id = model.FindId(name);
      const std::int32_t index = model.FindIndex(name);
      ASSERT_EQ(std::tuple(stats.FindStatID(name), stats.FindStatIndex(name),
                           items.FindItemID(name), items.FindItemIndex(name)),
                std::tuple(id, index, id, index))
          << "find \"" << name << "\"";
    } else if (kind < 86) {
      const std::int32_t id = next.Id();
      ASSERT_EQ(stats.FindStatIndexByID(id), model.FindIndexById(id))
          << "FindStatIndexByID(" << id << ")";
    } else if (kind < 96) {
      const std::int32_t item = rowItem();
      const std::int32_t mod = modNum();
      const auto minStats = rows.Matches(rows.minStats, item, 0);
      const auto mods = rows.Matches(rows.mods, item, mod);
      ASSERT_EQ(std::tuple(Read(items.MinStats(item)), items.NumMinStats(item),
                           Read(items.Mods(item, mod)), items.NumMods(item, mod)),
                std::tuple(minStats, std::ssize(minStats), mods, std::ssize(mods)))
          << "rows of item " << item << ", mod " << mod;
    } else {
      ASSERT_EQ(StateOf(stats) + StateOf(items), StateOf(model) + StateOf(model, &rows)) << "all";
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Random, AgainstModel, ::testing::Range<std::uint32_t>(1, 17));

}  // namespace
}  // namespace tarvex
