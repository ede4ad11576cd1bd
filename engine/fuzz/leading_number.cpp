// Feeds arbitrary text to the text rules: none may crash, and each answer must stay consistent.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "engine/modGeneral.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const double value = tarvex::LeadingNumber(text);
  if (value != value) std::abort();  // never NaN
  (void)tarvex::RoundHalfEven(value);
  // A text that passes the calendar checks always passes the plain ones.
  if (tarvex::IsCalendarTime(text) && !tarvex::IsValidTime(text)) std::abort();
  if (tarvex::IsCalendarDate(text) && !tarvex::IsValidDate(text)) std::abort();
  for (std::size_t width : {0u, 1u, 8u, 10u}) {
    if (tarvex::CharCount(tarvex::FixedWidth(text, width)) != width) std::abort();
  }
  for (std::size_t position = 0; position <= 12; ++position) {
    if (tarvex::CharCount(tarvex::Piece(text, position)) > 2) std::abort();
  }
  return 0;
}
