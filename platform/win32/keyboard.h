// The keystroke player: types keystroke texts into the window with the keyboard focus.
#pragma once

#include <windows.h>

#include <span>
#include <string_view>
#include <vector>

#include "shell/keystrokes.h"

namespace tarvex::win32 {

// The input events of `keys`, each key pressed and released in turn: Enter and Tab as their
// virtual keys, every character as a Unicode key (two, as a surrogate pair, beyond U+FFFF).
std::vector<INPUT> KeystrokeInputs(std::span<const Keystroke> keys);

// Types `text` (keystroke notation) into the window with the focus and returns once the window's
// thread has taken the keys from its queue, or after a few seconds at most.
void PlayKeystrokeText(std::string_view text);

}  // namespace tarvex::win32
