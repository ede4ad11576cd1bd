// Upper case and name order: which names match and how names sort.
#include "tables/NameKey.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "tables/clsStat.h"

namespace tarvex {
namespace {

struct Pair {
  const char* note;
  std::string first;
  std::string second;
};

// Pairs of names that match, at the edges of every mapped range.
TEST(UpperCase, NamesThatMatch) {
  const std::vector<Pair> cases{
      {"a", "a", "A"},
      {"z", "z", "Z"},
      {"a grave, first of Latin-1", "\u00E0", "\u00C0"},
      {"o diaeresis, before the division sign", "\u00F6", "\u00D6"},
      {"o stroke, after the division sign", "\u00F8", "\u00D8"},
      {"thorn, last of Latin-1", "\u00FE", "\u00DE"},
      {"y diaeresis to Latin Extended-A", "\u00FF", "\u0178"},
      {"micro sign to capital mu", "\u00B5", "\u039C"},
      {"a macron, first pair of Extended-A", "\u0101", "\u0100"},
      {"k cedilla", "\u0137", "\u0136"},
      {"l acute, odd capitals begin", "\u013A", "\u0139"},
      {"n caron, odd capitals end", "\u0148", "\u0147"},
      {"eng, even capitals again", "\u014B", "\u014A"},
      {"y circumflex", "\u0177", "\u0176"},
      {"z acute", "\u017A", "\u0179"},
      {"z caron", "\u017E", "\u017D"},
      {"dotless i", "\u0131", "I"},
      {"long s", "\u017F", "S"},
      {"alpha tonos", "\u03AC", "\u0386"},
      {"epsilon tonos", "\u03AD", "\u0388"},
      {"iota tonos", "\u03AF", "\u038A"},
      {"alpha", "\u03B1", "\u0391"},
      {"rho", "\u03C1", "\u03A1"},
      {"final sigma", "\u03C2", "\u03A3"},
      {"final sigma and sigma", "\u03C2", "\u03C3"},
      {"upsilon dialytika", "\u03CB", "\u03AB"},
      {"omicron tonos", "\u03CC", "\u038C"},
      {"upsilon tonos", "\u03CD", "\u038E"},
      {"omega tonos", "\u03CE", "\u038F"},
      {"Cyrillic a", "\u0430", "\u0410"},
      {"Cyrillic ya", "\u044F", "\u042F"},
      {"Cyrillic ie grave", "\u0450", "\u0400"},
      {"Cyrillic dzhe", "\u045F", "\u040F"},
      {"mixed text", "Caf\u00E9 \u043C\u0438\u0440 \u03BB", "CAF\u00C9 \u041C\u0418\u0420 \u039B"},
      {"above U+FFFF unchanged", "a\U0001F600b", "A\U0001F600B"},
  };
  for (const auto& [note, first, second] : cases) {
    EXPECT_EQ(NameKey(first), NameKey(second)) << note;
    clsStat table;
    table.AddStat(1, first);
    EXPECT_EQ(table.FindStatIndex(second), 1) << note;
  }
}

// Pairs of names that do not match: no upper case of one letter, characters outside the mapped
// ranges, and different lengths.
TEST(UpperCase, NamesThatDoNotMatch) {
  const std::vector<Pair> cases{
      {"sharp s", "\u00DF", "SS"},
      {"division and multiplication signs", "\u00F7", "\u00D7"},
      {"kra stays", "\u0138", "K"},
      {"n apostrophe stays", "\u0149", "\u02BCN"},
      {"capital I dot is not i", "\u0130", "i"},
      {"capital I dot is not I", "\u0130", "I"},
      {"iota dialytika tonos stays", "\u0390", "\u03AA"},
      {"fullwidth a not mapped", "\uFF41", "\uFF21"},
      {"Latin Extended-B not mapped", "\u01C6", "\u01C4"},
      {"Cyrillic beyond U+045F not mapped", "\u0461", "\u0460"},
      {"Deseret above U+FFFF not mapped", "\U00010428", "\U00010400"},
      {"accents count", "e", "\u00E9"},
      {"a lone byte is not the Latin-1 letter", "\xE9", "\u00E9"},
      {"two lone bytes differ", "\xFE", "\xFF"},
      {"a cut sequence is not the whole one", "\xC3", "\xC3\xA9"},
      {"an encoded surrogate is not a character", "\xED\xA0\xBD\xED\xB8\x80", "\U0001F600"},
      {"an overlong form is not its character", "\xC1\x81", "A"},
      {"embedded zero", std::string("A\0", 2), "A"},
  };
  for (const auto& [note, first, second] : cases) {
    EXPECT_NE(NameKey(first), NameKey(second)) << note;
    clsStat table;
    table.AddStat(1, first);
    EXPECT_EQ(table.FindStatIndex(second), -1) << note;
  }
}

// Pairs in ascending order: ordinal order of the upper-case text in UTF-16 code units.
TEST(NameOrder, PairsInAscendingOrder) {
  const std::vector<Pair> cases{
      {"empty first", "", " "},
      {"prefix first", "abc", "ABCD"},
      {"prefix of eight bytes first", "abcdefgh", "ABCDEFGHa"},
      {"difference after eight bytes", "abcdefghA", "ABCDEFGHb"},
      {"embedded zero after the prefix", "A", std::string("A\0", 2)},
      {"blank before digits", " 9", "0"},
      {"digits before letters", "9", "a"},
      {"letters before the left bracket", "z", "["},
      {"underscore after letters", "zzz", "_"},
      {"grave accent after underscore", "_", "`"},
      {"lower case sorts as upper case", "a", "B"},
      {"tilde after letters", "Z", "~"},
      {"ASCII before Latin-1", "~", "\u00C0"},
      {"Latin-1 capital before division sign", "\u00E0", "\u00F7"},
      {"sharp s after thorn", "\u00FE", "\u00DF"},  // both upper: U+00DE < U+00DF
      {"y diaeresis sorts as U+0178", "\u0177", "\u00FF"},
      {"Greek before Cyrillic", "\u03C9", "\u0430"},
      {"U+D7FF before above U+FFFF", "\uD7FF", "\U00010000"},
      {"above U+FFFF before U+E000", "\U0010FFFF", "\uE000"},
      {"above U+FFFF before U+FFFD", "\U0001F600", "\uFFFD"},
      {"above U+FFFF in code point order", "\U0001F600", "\U0001F601"},
      {"across surrogate blocks", "\U0001D400", "\U0001F600"},
      {"lone byte after U+D7FF", "\uD7FF", "\x80"},
      {"lone bytes in byte order", "\x80", "\xFF"},
      {"lone byte before U+E000", "\xFF", "\uE000"},
  };
  for (const auto& [note, lesser, greater] : cases) {
    EXPECT_LT(NameKey(lesser), NameKey(greater)) << note;
    // In the table, through the key prefixes that it compares first.
    clsStat table;
    table.AddStat(2, greater);
    table.AddStat(1, lesser);
    EXPECT_EQ(table.StatID(1), 1) << note;
    table.Sort(true);
    table.Sort(false);
    EXPECT_EQ(table.StatID(1), 1) << note << ", after sorting again";
  }
}

}  // namespace
}  // namespace tarvex
