#include "tables/TableError.h"

namespace tarvex {

const char* TableError::what() const noexcept {
  switch (errorCode) {
    case kErrOverflow:
      return "Overflow";
    case kErrOutOfMemory:
      return "Out of memory";
    case kErrSubscriptOutOfRange:
      return "Subscript out of range";
    default:
      return "Table error";
  }
}

}  // namespace tarvex
