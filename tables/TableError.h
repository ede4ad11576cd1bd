// The coded errors of the item and stat tables.
#pragma once

#include <cstdint>
#include <exception>

namespace tarvex {

inline constexpr std::int32_t kErrOverflow = 6;             // a count would pass 2,147,483,647
inline constexpr std::int32_t kErrOutOfMemory = 7;          // storage could not be had
inline constexpr std::int32_t kErrSubscriptOutOfRange = 9;  // a position or index out of range

// Raised by the tables for a coded error. The table that raised it is exactly as it was before
// the failed call and stays usable.
class TableError : public std::exception {
 public:
  explicit TableError(std::int32_t code) noexcept : errorCode(code) {}
  // 6, 7 or 9.
  std::int32_t code() const noexcept { return errorCode; }
  // "Overflow", "Out of memory", "Subscript out of range" (or "Table error" for another code).
  const char* what() const noexcept override;

 private:
  std::int32_t errorCode;
};

}  // namespace tarvex
