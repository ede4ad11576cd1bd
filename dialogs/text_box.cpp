#include "dialogs/text_box.h"

#include <cstddef>
#include <utility>

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

std::string Dialog::Text(std::string_view name) const {
  const std::string* box = Box(name);
  return box ? *box : std::string();
}

void Dialog::SetText(std::string_view name, std::string text) {
  if (const std::string* box = Box(name))
    *const_cast<std::string*>(box) = FitTextBox(Controls(), name, std::move(text));
}

}  // namespace tarvex
