// The stat and item tables at their edges: coded errors, and names at the edges that the random
// names do not reach (every mapped range of upper case, characters that
// stay as they are, bytes that are not UTF-8, long shared prefixes). Orders and look-ups in
// general are checked against the literal model in model_test.cpp.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "tables/tests/TableState.h"

namespace tarvex {
namespace {

using testing::ErrorCode;
using testing::StateOf;

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

// Tables with a lower limit than 2,147,483,647, through the same check.
struct SmallStat : clsStat {
  explicit SmallStat(std::int32_t maxCount) : clsStat(maxCount) {}
};
struct SmallItem : clsItem {
  explicit SmallItem(std::int32_t maxCount) : clsItem(maxCount) {}
};

// A read out of range fails with code 9, except the stat table's name read, which gives the empty
// text; an add to any full list fails with code 6. Neither changes the tables.
TEST(Tables, CodedErrorsChangeNothing) {
  for (const std::int32_t limit : {0, 1, 3}) {
    SmallStat stats(limit);
    SmallItem items(limit);
    for (std::int32_t i = 0; i < limit; ++i) {
      stats.AddStat(i, "n" + std::to_string(limit - i));
      items.AddItem(i, "n" + std::to_string(limit - i));
      items.AddMinStat(1, i, i);
      items.AddMod(1, i, 0, i);
    }
    const std::string before = StateOf(stats) + StateOf(items);
    for (const std::int32_t at : {0, limit + 1, -1, kMin, kMax}) {
      const std::string which =
          "limit " + std::to_string(limit) + ", position " + std::to_string(at);
      EXPECT_EQ(stats.Stat(at), "") << which;
      EXPECT_EQ(ErrorCode([&] { stats.StatID(at); }), 9) << which;
      EXPECT_EQ(ErrorCode([&] { items.Item(at); }), 9) << which;
      EXPECT_EQ(ErrorCode([&] { items.ItemID(at); }), 9) << which;
      EXPECT_EQ(ErrorCode([&] { items.MinStats(1)(1, at == 0 ? 0 : limit + 1); }), 9) << which;
      EXPECT_EQ(ErrorCode([&] { items.Mods(1, 0)(at == 0 ? 0 : 3, 1); }), 9) << which;
    }
    EXPECT_EQ(ErrorCode([&] { stats.AddStat(0, "z"); }), 6) << "limit " << limit;
    EXPECT_EQ(ErrorCode([&] { items.AddItem(0, "z"); }), 6) << "limit " << limit;
    EXPECT_EQ(ErrorCode([&] { items.AddMinStat(1, 0, 0); }), 6) << "limit " << limit;
    EXPECT_EQ(ErrorCode([&] { items.AddMod(1, 0, 0, 0); }), 6) << "limit " << limit;
    EXPECT_EQ(StateOf(stats) + StateOf(items), before) << "limit " << limit;
  }
}

// Two names that match, or that do not and sort in the order given: ordinal order of their
// upper-case text in UTF-16 code units. Letters in a row match when each of them matches, so one
// row covers the edges of a range.
TEST(Names, WhichMatchAndHowTheOthersSort) {
  struct Case {
    const char* note;
    std::string first;
    std::string second;
    bool match = false;
  };
  const std::vector<Case> cases{
      {"Latin-1: a grave, o diaeresis, o stroke, thorn, y diaeresis, micro sign",
       "\u00E0\u00F6\u00F8\u00FE\u00FF\u00B5", "\u00C0\u00D6\u00D8\u00DE\u0178\u039C", true},
      {"Latin Extended-A: a macron, k cedilla, l acute, n caron, eng, y circumflex, z acute, "
       "z caron, dotless i, long s",
       "\u0101\u0137\u013A\u0148\u014B\u0177\u017A\u017E\u0131\u017F",
       "\u0100\u0136\u0139\u0147\u014A\u0176\u0179\u017DIS", true},
      {"Greek: alpha, epsilon, iota, omicron, upsilon, omega with tonos; alpha, rho, final "
       "sigma, upsilon dialytika",
       "\u03AC\u03AD\u03AF\u03CC\u03CD\u03CE\u03B1\u03C1\u03C2\u03CB",
       "\u0386\u0388\u038A\u038C\u038E\u038F\u0391\u03A1\u03A3\u03AB", true},
      {"final sigma and sigma", "\u03C2", "\u03C3", true},
      {"Cyrillic: a, ya, ie grave, dzhe", "\u0430\u044F\u0450\u045F", "\u0410\u042F\u0400\u040F",
       true},
      {"ASCII and above U+FFFF", "az\U0001F600", "AZ\U0001F600", true},
      {"sharp s stays", "SS", "\u00DF"},
      {"multiplication and division signs", "\u00D7", "\u00F7"},
      {"kra stays", "K", "\u0138"},
      {"n apostrophe stays", "\u0149", "\u02BCN"},
      {"capital I dot is not i", "i", "\u0130"},
      {"iota dialytika tonos stays", "\u0390", "\u03AA"},
      {"Latin Extended-B not mapped", "\u01C4", "\u01C6"},
      {"Cyrillic beyond U+045F not mapped", "\u0460", "\u0461"},
      {"Deseret above U+FFFF not mapped", "\U00010400", "\U00010428"},
      {"digits before letters", "9lives", "alpha"},
      {"letters before the underscore", "zeal", "_mana"},
      {"prefix of eight bytes first", "abcdefgh", "ABCDEFGHa"},
      {"difference after eight bytes", "abcdefghA", "ABCDEFGHb"},
      {"embedded zero", "A", std::string("A\0", 2)},
      {"thorn before sharp s", "\u00FE", "\u00DF"},
      {"a lone byte after U+D7FF", "\uD7FF", "\x80"},
      {"lone bytes in byte order", "\xFE", "\xFF"},
      {"a lone byte before U+E000", "\xFF", "\uE000"},
      {"a lone byte is not the Latin-1 letter", "\u00E9", "\xE9"},
      {"a cut sequence is not the whole one", "\xC3\xA9", "\xC3"},
      {"an encoded surrogate is not a character", "\U0001F600", "\xED\xA0\xBD\xED\xB8\x80"},
      {"an overlong form is not its character", "A", "\xC1\x81"},
  };
  for (const Case& names : cases) {
    clsStat table;
    table.AddStat(1, names.second);
    table.AddStat(2, names.first);
    for (const char* when : {"added", "sorted again"}) {
      // Matching names stay in the order added; others sort.
      EXPECT_EQ(table.StatID(1), names.match ? 1 : 2) << names.note << ", " << when;
      EXPECT_EQ(table.FindStatIndex(names.first), names.match ? 2 : 1)
          << names.note << ", " << when;
      EXPECT_EQ(table.FindStatIndex(names.second), 2) << names.note << ", " << when;
      table.Sort(true);
      table.Sort(false);
    }
  }
}

}  // namespace
}  // namespace tarvex
