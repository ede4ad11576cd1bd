#include "dialogs/text_box.h"

#include <cstddef>

#include "engine/modGeneral.h"

namespace tarvex {

std::string FitTextBox(std::span<const Control> controls, std::string_view name, std::string text) {
  for (const Control& control : controls) {
    if (control.Name != name || control.Kind != ControlKind::TextBox) continue;
    if (control.MaxLength <= 0) return text;
    const auto limit = static_cast<std::size_t>(control.MaxLength);
    if (CharCount(text) <= limit) return text;
    return std::string(Piece(text, 1, limit));
  }
  return text;
}

}  // namespace tarvex
