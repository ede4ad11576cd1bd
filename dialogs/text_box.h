// The length limit of a dialog's text boxes, as their controls declare it.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "dialogs/dialog.h"

namespace tarvex {

// The text as a box of `name` takes it: cut to the box's MaxLength in characters (never inside a
// UTF-8 character), unchanged when the box has no limit or there is no such box.
std::string FitTextBox(std::span<const Control> controls, std::string_view name, std::string text);

}  // namespace tarvex
