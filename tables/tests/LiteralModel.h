// Literal models of the stat and item tables, used as oracles: a bubble sort with full passes
// and a re-sort of the whole table after every add, linear scans that keep the last match, rows
// copied out match by match. Slow on purpose (an add costs n(n-1)/2 comparisons); they say what
// the results must be, not how to get them.
//
// Names are held the way the original tables held them, as UTF-16, and compared unit by unit.
// The upper-case mapping here is a plain list of pairs that covers ASCII and the non-ASCII
// letters that the random tests use; it is written separately from the tables' own mapping so
// that the two check each other.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tarvex::literal {

// The non-ASCII letters of the random tests that have an upper-case form, with that form.
inline constexpr std::array<std::pair<char16_t, char16_t>, 9> kUpperPairs{{
    {u'\u00E9', u'\u00C9'},  // e acute
    {u'\u00FF', u'\u0178'},  // y diaeresis
    {u'\u0131', u'I'},       // dotless i
    {u'\u017F', u'S'},       // long s
    {u'\u03C3', u'\u03A3'},  // sigma
    {u'\u03C2', u'\u03A3'},  // final sigma
    {u'\u0436', u'\u0416'},  // zhe
    {u'\u0451', u'\u0401'},  // io
    {u'\u00B5', u'\u039C'},  // micro sign to capital mu
}};

inline char16_t UpperUnit(char16_t unit) {
  if (unit >= u'a' && unit <= u'z') return static_cast<char16_t>(unit - u'a' + u'A');
  for (const auto& [lower, upper] : kUpperPairs) {
    if (unit == lower) return upper;
  }
  return unit;
}

// UTF-8 (valid only) to upper-case UTF-16.
inline std::u16string Upper16(std::string_view text) {
  std::u16string out;
  for (std::size_t i = 0; i < text.size();) {
    const auto byte = [&](std::size_t k) { return static_cast<char32_t>(text[i + k] & 0xFF); };
    char32_t c = byte(0);
    std::size_t length = 1;
    if (c >= 0xF0) {
      c = ((c & 0x07) << 18) | ((byte(1) & 0x3F) << 12) | ((byte(2) & 0x3F) << 6) |
          (byte(3) & 0x3F);
      length = 4;
    } else if (c >= 0xE0) {
      c = ((c & 0x0F) << 12) | ((byte(1) & 0x3F) << 6) | (byte(2) & 0x3F);
      length = 3;
    } else if (c >= 0xC0) {
      c = ((c & 0x1F) << 6) | (byte(1) & 0x3F);
      length = 2;
    }
    i += length;
    if (c >= 0x10000) {
      out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
      out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      out += UpperUnit(static_cast<char16_t>(c));
    }
  }
  return out;
}

// Items or stats: identifiers and names, with the bubble sort and the scans.
class LiteralTable {
 public:
  std::int32_t Count() const { return count; }

  void Add(std::int32_t id, std::string_view name) {
    ++count;
    ids.push_back(id);
    names.emplace_back(name);
    uppers.push_back(Upper16(name));  // the upper-case form, kept so the model runs at n = 2000
    Sort(false);
  }

  // The entry at `index`, or nothing outside 1..Count().
  std::optional<std::int32_t> Id(std::int32_t index) const {
    if (index < 1 || index > count) return std::nullopt;
    return ids[static_cast<std::size_t>(index - 1)];
  }
  std::optional<std::string> Name(std::int32_t index) const {
    if (index < 1 || index > count) return std::nullopt;
    return names[static_cast<std::size_t>(index - 1)];
  }

  std::int32_t FindId(std::string_view name) const {
    const std::u16string wanted = Upper16(name);
    std::int32_t result = -1;
    for (std::int32_t i = 1; i <= count; ++i) {
      if (uppers[static_cast<std::size_t>(i - 1)] == wanted)
        result = ids[static_cast<std::size_t>(i - 1)];
    }
    return result;
  }
  std::int32_t FindIndex(std::string_view name) const {
    const std::u16string wanted = Upper16(name);
    std::int32_t result = -1;
    for (std::int32_t i = 1; i <= count; ++i) {
      if (uppers[static_cast<std::size_t>(i - 1)] == wanted) result = i;
    }
    return result;
  }
  std::int32_t FindIndexById(std::int32_t id) const {
    std::int32_t result = -1;
    for (std::int32_t i = 1; i <= count; ++i) {
      if (ids[static_cast<std::size_t>(i - 1)] == id) result = i;
    }
    return result;
  }

  void Sort(bool byId) {
    const std::int32_t n = count;
    if (n < 2) return;
    for (std::int32_t j = n - 1; j >= 1; --j) {
      for (std::int32_t i = 1; i <= j; ++i) {
        const auto a = static_cast<std::size_t>(i - 1);
        const auto b = static_cast<std::size_t>(i);
        const bool greater = byId ? ids[a] > ids[b] : uppers[a] > uppers[b];
        if (greater) {
          std::swap(ids[a], ids[b]);
          std::swap(names[a], names[b]);
          std::swap(uppers[a], uppers[b]);
        }
      }
    }
  }

 private:
  std::int32_t count = 0;
  std::vector<std::int32_t> ids;
  std::vector<std::string> names;
  std::vector<std::u16string> uppers;
};

// The two row lists of the item table.
class LiteralRows {
 public:
  using Matches = std::vector<std::array<std::int32_t, 2>>;

  void AddMinStat(std::int32_t item, std::int32_t stat, std::int32_t minStat) {
    minStatTable.push_back({item, stat, minStat});
  }
  void AddMod(std::int32_t item, std::int32_t stat, std::int32_t modNum,
              std::int32_t modification) {
    modTable.push_back({item, stat, modNum, modification});
  }
  Matches MinStats(std::int32_t item) const {
    Matches result;
    for (const auto& row : minStatTable) {
      if (row[0] == item) result.push_back({row[1], row[2]});
    }
    return result;
  }
  Matches Mods(std::int32_t item, std::int32_t modNum) const {
    Matches result;
    for (const auto& row : modTable) {
      if (row[0] == item && row[2] == modNum) result.push_back({row[1], row[3]});
    }
    return result;
  }

 private:
  std::vector<std::array<std::int32_t, 3>> minStatTable;
  std::vector<std::array<std::int32_t, 4>> modTable;
};

}  // namespace tarvex::literal
