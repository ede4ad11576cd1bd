// Literal models of the stat and item tables, used as oracles: a bubble sort with full passes
// and a re-sort of the whole table after every add, linear scans that keep the last match, rows
// copied out match by match. Slow on purpose; they say what the results must be, not how.
//
// Names are held as upper-case UTF-16 and compared unit by unit. The upper-case mapping here is
// a plain list of pairs for ASCII and the non-ASCII letters that the random tests use, written
// apart from the tables' own mapping so that the two check each other.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tarvex::literal {

// Non-ASCII letters of the random names with their upper-case forms: e acute, y diaeresis, dotless
// i, long s, sigma, final sigma, zhe, io, and the micro sign (to capital mu).
inline constexpr std::u16string_view kLower =
    u"\u00E9\u00FF\u0131\u017F\u03C3\u03C2\u0436\u0451\u00B5";
inline constexpr std::u16string_view kUpper = u"\u00C9\u0178IS\u03A3\u03A3\u0416\u0401\u039C";

// Valid UTF-8 to upper-case UTF-16.
inline std::u16string Upper16(std::string_view text) {
  std::u16string out;
  for (std::size_t i = 0; i < text.size();) {
    const auto byte = [&](std::size_t k) { return static_cast<char32_t>(text[i + k] & 0xFF); };
    const std::size_t length = byte(0) >= 0xF0 ? 4 : byte(0) >= 0xE0 ? 3 : byte(0) >= 0xC0 ? 2 : 1;
    char32_t c = length == 1 ? byte(0) : byte(0) & (0x7FU >> length);
    for (std::size_t k = 1; k < length; ++k) c = (c << 6) | (byte(k) & 0x3F);
    i += length;
    if (c >= 0x10000) {
      out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
      out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else if (c >= U'a' && c <= U'z') {
      out += static_cast<char16_t>(c - U'a' + U'A');
    } else {
      const std::size_t at = kLower.find(static_cast<char16_t>(c));
      out += at == kLower.npos ? static_cast<char16_t>(c) : kUpper[at];
    }
  }
  return out;
}

// Items or stats: identifiers and names, with the bubble sort and the scans.
class LiteralTable {
 public:
  struct Entry {
    std::int32_t id;
    std::string name;
    std::u16string upper;  // kept so that the model stays fast enough for long runs
  };

  std::int32_t Count() const { return static_cast<std::int32_t>(entries.size()); }
  void Add(std::int32_t id, std::string_view name) {
    entries.push_back({id, std::string(name), Upper16(name)});
    Sort(false);
  }
  // The entry at `index`, or nothing outside 1..Count().
  std::optional<Entry> At(std::int32_t index) const {
    if (index < 1 || index > Count()) return std::nullopt;
    return entries[static_cast<std::size_t>(index - 1)];
  }
  std::int32_t FindIndex(std::string_view name) const { return Last(&Entry::upper, Upper16(name)); }
  std::int32_t FindIndexById(std::int32_t id) const { return Last(&Entry::id, id); }
  std::int32_t FindId(std::string_view name) const {
    const std::int32_t at = FindIndex(name);
    return at < 0 ? -1 : At(at)->id;
  }
  void Sort(bool byId) {
    for (std::size_t j = entries.size(); j-- > 1;) {
      for (std::size_t i = 0; i < j; ++i) {
        Entry& a = entries[i];
        Entry& b = entries[i + 1];
        if (byId ? a.id > b.id : a.upper > b.upper) std::swap(a, b);
      }
    }
  }

 private:
  // The position of the last entry whose `field` equals `value`, or -1.
  template <typename Field>
  std::int32_t Last(Field Entry::*field, const Field& value) const {
    std::int32_t result = -1;
    for (std::int32_t i = 1; i <= Count(); ++i) {
      if (entries[static_cast<std::size_t>(i - 1)].*field == value) result = i;
    }
    return result;
  }

  std::vector<Entry> entries;
};

// The two row lists of the item table: mods (item, stat, mod number, modification), and minimum
// stats (item, stat, minimum) kept as (item, stat, 0, minimum). Matches in the order added.
struct LiteralRows {
  std::vector<std::array<std::int32_t, 4>> minStats;
  std::vector<std::array<std::int32_t, 4>> mods;

  static std::vector<std::array<std::int32_t, 2>> Matches(
      const std::vector<std::array<std::int32_t, 4>>& rows, std::int32_t item,
      std::int32_t modNum) {
    std::vector<std::array<std::int32_t, 2>> result;
    for (const auto& row : rows) {
      if (row[0] == item && row[2] == modNum) result.push_back({row[1], row[3]});
    }
    return result;
  }
};

}  // namespace tarvex::literal
