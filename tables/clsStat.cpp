#include "tables/clsStat.h"

#include <new>

namespace tarvex {

void clsStat::AddStat(std::int32_t statId, std::string_view name) {
  table.Add(statId, name);
}

std::int32_t clsStat::StatID(std::int32_t index) const {
  if (index < 1 || index > table.Count()) throw TableError(kErrSubscriptOutOfRange);
  return table.IdAt(index);
}

std::string clsStat::Stat(std::int32_t index) const {
  if (index < 1 || index > table.Count()) return {};
  try {
    return table.NameAt(index);
  } catch (const std::bad_alloc&) {
    throw TableError(kErrOutOfMemory);
  }
}

std::int32_t clsStat::FindStatID(std::string_view name) const {
  const std::int32_t position = table.FindName(name);
  return position < 0 ? -1 : table.IdAt(position);
}

std::int32_t clsStat::FindStatIndex(std::string_view name) const {
  return table.FindName(name);
}

std::int32_t clsStat::FindStatIndexByID(std::int32_t statId) const noexcept {
  return table.FindId(statId);
}

}  // namespace tarvex
