// StatPairs: the result of clsItem::MinStats and clsItem::Mods.
#pragma once

#include <array>
#include <cstdint>
#include <utility>
#include <vector>

#include "tables/TableError.h"

namespace tarvex {

// Matches of a row look-up, each a pair of fields: field 1 the stat identifier, field 2 the
// value (minimum or modification). Matches are numbered from 1 in the order the rows were added.
// With no match it is empty: Count() is 0 and every access fails.
class StatPairs {
 public:
  StatPairs() noexcept = default;
  explicit StatPairs(std::vector<std::array<std::int32_t, 2>> pairs) noexcept
      : matches(std::move(pairs)) {}

  std::int32_t Count() const noexcept { return static_cast<std::int32_t>(matches.size()); }
  // Field `field` [1, 2] of match `match` [1, Count()]; throws TableError 9 outside.
  std::int32_t operator()(std::int32_t field, std::int32_t match) const {
    if (field < 1 || field > 2 || match < 1 || match > Count()) {
      throw TableError(kErrSubscriptOutOfRange);
    }
    return matches[static_cast<std::size_t>(match) - 1][static_cast<std::size_t>(field) - 1];
  }

  friend bool operator==(const StatPairs&, const StatPairs&) = default;

 private:
  std::vector<std::array<std::int32_t, 2>> matches;
};

}  // namespace tarvex
