// The tables against their literal models on long random sequences of operations.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <limits>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "tables/clsItem.h"
#include "tables/clsStat.h"
#include "tables/tests/LiteralModel.h"

namespace tarvex {
namespace {

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

class Operations {
 public:
  explicit Operations(std::uint32_t seed) : random(seed) {}

  std::int32_t Below(std::int32_t n) {
    return std::uniform_int_distribution<std::int32_t>(0, n - 1)(random);
  }
  bool Chance(std::int32_t percent) { return Below(100) < percent; }

  // A name: often one seen before with its ASCII letters in another case, sometimes blank.
  std::string Name() {
    if (!seen.empty() && Chance(45))
      return Recase(seen[static_cast<std::size_t>(Below(static_cast<std::int32_t>(seen.size())))]);
    std::string name;
    const std::int32_t length = Chance(5) ? 0 : 1 + Below(4);
    for (std::int32_t i = 0; i < length; ++i)
      name += kPieces[static_cast<std::size_t>(Below(kPieces.size()))];
    if (Chance(5)) name += ' ';
    seen.push_back(name);
    return name;
  }

  // An identifier: mostly a few small values so that they repeat, -1 and the extremes too.
  std::int32_t Id() {
    switch (Below(10)) {
      case 0:
        return -1;
      case 1:
        return Chance(50) ? std::numeric_limits<std::int32_t>::min()
                          : std::numeric_limits<std::int32_t>::max();
      case 2:
        return static_cast<std::int32_t>(random());
      default:
        return Below(9) - 4;
    }
  }

  // How many adds in a row: mostly one, sometimes enough to leave many unsorted at once.
  std::int32_t Burst() { return Chance(5) ? 10 + Below(20) : 1; }

  // A position around the valid range [1, count].
  std::int32_t Position(std::int32_t count) { return Below(count + 4) - 1; }

 private:
  std::string Recase(std::string name) {
    for (char& c : name) {
      if (c >= 'a' && c <= 'z' && Chance(50))
        c = static_cast<char>(c - 'a' + 'A');
      else if (c >= 'A' && c <= 'Z' && Chance(50))
        c = static_cast<char>(c - 'A' + 'a');
    }
    return name;
  }

  std::mt19937 random;
  std::vector<std::string> seen;
};

// What a read gave: a value, or the code of the error it raised.
template <typename Read>
auto Outcome(Read read) -> std::optional<decltype(read())> {
  try {
    return read();
  } catch (const TableError& error) {
    if (error.code() != kErrSubscriptOutOfRange) ADD_FAILURE() << "error code " << error.code();
    return std::nullopt;
  }
}

std::string Quoted(std::string_view name) {
  return "\"" + std::string(name) + "\"";
}

struct Sequence {
  std::uint32_t seed;
  std::int32_t operations;
};

void PrintTo(const Sequence& sequence, std::ostream* out) {
  *out << "seed " << sequence.seed << ", " << sequence.operations << " operations";
}

class StatAgainstModel : public ::testing::TestWithParam<Sequence> {};

TEST_P(StatAgainstModel, EveryReadAgrees) {
  const Sequence run = GetParam();
  Operations next(run.seed);
  clsStat table;
  literal::LiteralTable model;
  std::ostringstream log;  // the operations so far, shown on a failure
  for (std::int32_t step = 0; step < run.operations; ++step) {
    const std::string where = "seed " + std::to_string(run.seed) + ", step " + std::to_string(step);
    const std::int32_t kind = next.Below(100);
    if (kind < 35) {
      // Now and then a burst of adds with no read between them.
      for (std::int32_t n = next.Burst(); n > 0; --n) {
        const std::int32_t id = next.Id();
        const std::string name = next.Name();
        log << "AddStat(" << id << ", " << Quoted(name) << ") ";
        table.AddStat(id, name);
        model.Add(id, name);
      }
    } else if (kind < 40) {
      const bool byId = next.Chance(70);
      log << "Sort(" << byId << ") ";
      table.Sort(byId);
      model.Sort(byId);
    } else if (kind < 50) {
      const std::int32_t at = next.Position(model.Count());
      ASSERT_EQ(Outcome([&] { return table.StatID(at); }), model.Id(at))
          << where << " StatID(" << at << ")\n"
          << log.str();
    } else if (kind < 60) {
      const std::int32_t at = next.Position(model.Count());
      ASSERT_EQ(table.Stat(at), model.Name(at).value_or("")) << where << " Stat(" << at << ")\n"
                                                             << log.str();
    } else if (kind < 72) {
      const std::string name = next.Name();
      ASSERT_EQ(table.FindStatID(name), model.FindId(name))
          << where << " FindStatID(" << Quoted(name) << ")\n"
          << log.str();
    } else if (kind < 84) {
      const std::string name = next.Name();
      ASSERT_EQ(table.FindStatIndex(name), model.FindIndex(name))
          << where << " FindStatIndex(" << Quoted(name) << ")\n"
          << log.str();
    } else if (kind < 96) {
      const std::int32_t id = next.Id();
      ASSERT_EQ(table.FindStatIndexByID(id), model.FindIndexById(id))
          << where << " FindStatIndexByID(" << id << ")\n"
          << log.str();
    } else {
      ASSERT_EQ(table.NumStats(), model.Count()) << where;
      for (std::int32_t at = 1; at <= model.Count(); ++at) {
        ASSERT_EQ(table.StatID(at), model.Id(at)) << where << " StatID(" << at << ")\n"
                                                  << log.str();
        ASSERT_EQ(table.Stat(at), model.Name(at)) << where << " Stat(" << at << ")\n" << log.str();
      }
    }
  }
}

class ItemAgainstModel : public ::testing::TestWithParam<Sequence> {};

std::string Describe(const literal::LiteralRows::Matches& matches) {
  std::string text;
  for (const auto& [stat, value] : matches)
    text += "(" + std::to_string(stat) + "," + std::to_string(value) + ")";
  return text.empty() ? "none" : text;
}

// Reads every field of `pairs` and checks that reads just outside fail with code 9.
void ExpectPairs(const StatPairs& pairs, const literal::LiteralRows::Matches& expected,
                 const std::string& where) {
  ASSERT_EQ(pairs.Count(), static_cast<std::int32_t>(expected.size()))
      << where << " expected " << Describe(expected);
  for (std::int32_t match = 1; match <= pairs.Count(); ++match) {
    EXPECT_EQ(pairs(1, match), expected[static_cast<std::size_t>(match - 1)][0])
        << where << " match " << match;
    EXPECT_EQ(pairs(2, match), expected[static_cast<std::size_t>(match - 1)][1])
        << where << " match " << match;
  }
  for (const auto& at : {std::pair{0, 1}, {3, 1}, {1, 0}, {1, pairs.Count() + 1}}) {
    EXPECT_FALSE(Outcome([&] { return pairs(at.first, at.second); }))
        << where << " (" << at.first << ", " << at.second << ")";
  }
}

TEST_P(ItemAgainstModel, EveryReadAgrees) {
  const Sequence run = GetParam();
  Operations next(run.seed);
  clsItem table;
  literal::LiteralTable items;
  literal::LiteralRows rows;
  std::ostringstream log;
  // Rows refer to a few item identifiers and mod numbers, so that look-ups have several matches.
  const auto rowItem = [&] { return next.Chance(10) ? next.Id() : next.Below(6) - 1; };
  const auto modNum = [&] { return next.Below(4) - 1; };
  for (std::int32_t step = 0; step < run.operations; ++step) {
    const std::string where = "seed " + std::to_string(run.seed) + ", step " + std::to_string(step);
    const std::int32_t kind = next.Below(100);
    if (kind < 25) {
      for (std::int32_t n = next.Burst(); n > 0; --n) {
        const std::int32_t id = next.Id();
        const std::string name = next.Name();
        log << "AddItem(" << id << ", " << Quoted(name) << ") ";
        table.AddItem(id, name);
        items.Add(id, name);
      }
    } else if (kind < 33) {
      const std::int32_t item = rowItem();
      const std::int32_t stat = next.Id();
      const std::int32_t value = next.Id();
      table.AddMinStat(item, stat, value);
      rows.AddMinStat(item, stat, value);
    } else if (kind < 41) {
      const std::int32_t item = rowItem();
      const std::int32_t stat = next.Id();
      const std::int32_t mod = modNum();
      const std::int32_t value = next.Id();
      table.AddMod(item, stat, mod, value);
      rows.AddMod(item, stat, mod, value);
    } else if (kind < 45) {
      const bool byId = next.Chance(70);
      log << "Sort(" << byId << ") ";
      table.Sort(byId);
      items.Sort(byId);
    } else if (kind < 52) {
      const std::int32_t at = next.Position(items.Count());
      ASSERT_EQ(Outcome([&] { return table.ItemID(at); }), items.Id(at))
          << where << " ItemID(" << at << ")\n"
          << log.str();
    } else if (kind < 59) {
      const std::int32_t at = next.Position(items.Count());
      ASSERT_EQ(Outcome([&] { return table.Item(at); }), items.Name(at))
          << where << " Item(" << at << ")\n"
          << log.str();
    } else if (kind < 67) {
      const std::string name = next.Name();
      ASSERT_EQ(table.FindItemID(name), items.FindId(name))
          << where << " FindItemID(" << Quoted(name) << ")\n"
          << log.str();
    } else if (kind < 75) {
      const std::string name = next.Name();
      ASSERT_EQ(table.FindItemIndex(name), items.FindIndex(name))
          << where << " FindItemIndex(" << Quoted(name) << ")\n"
          << log.str();
    } else if (kind < 83) {
      const std::int32_t item = rowItem();
      const auto expected = rows.MinStats(item);
      ASSERT_EQ(table.NumMinStats(item), static_cast<std::int32_t>(expected.size()))
          << where << " NumMinStats(" << item << ")";
      ExpectPairs(table.MinStats(item), expected,
                  where + " MinStats(" + std::to_string(item) + ")");
    } else if (kind < 91) {
      const std::int32_t item = rowItem();
      const std::int32_t mod = modNum();
      const auto expected = rows.Mods(item, mod);
      const std::string call = "(" + std::to_string(item) + ", " + std::to_string(mod) + ")";
      ASSERT_EQ(table.NumMods(item, mod), static_cast<std::int32_t>(expected.size()))
          << where << " NumMods" << call;
      ExpectPairs(table.Mods(item, mod), expected, where + " Mods" + call);
    } else {
      ASSERT_EQ(table.NumItems(), items.Count()) << where;
      for (std::int32_t at = 1; at <= items.Count(); ++at) {
        ASSERT_EQ(table.ItemID(at), items.Id(at)) << where << " ItemID(" << at << ")\n"
                                                  << log.str();
        ASSERT_EQ(table.Item(at), items.Name(at)) << where << " Item(" << at << ")\n" << log.str();
      }
    }
  }
}

// Short runs keep the tables small and full of repeats; long ones grow them to a few hundred.
constexpr Sequence kRuns[] = {{1, 300},  {2, 300},  {3, 300},  {4, 300},  {5, 300},  {6, 300},
                              {7, 300},  {8, 300},  {9, 300},  {10, 300}, {11, 300}, {12, 300},
                              {13, 800}, {14, 800}, {15, 800}, {16, 800}};

std::string RunName(const ::testing::TestParamInfo<Sequence>& info) {
  return "seed" + std::to_string(info.param.seed) + "_ops" + std::to_string(info.param.operations);
}

INSTANTIATE_TEST_SUITE_P(Random, StatAgainstModel, ::testing::ValuesIn(kRuns), RunName);
INSTANTIATE_TEST_SUITE_P(Random, ItemAgainstModel, ::testing::ValuesIn(kRuns), RunName);

}  // namespace
}  // namespace tarvex
