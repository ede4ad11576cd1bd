// Typing and focus questions on an X11 display, through the X Test extension. Xlib stays out of
// this header.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "shell/keystrokes.h"

namespace tarvex::x11 {

// Whether the display named by $DISPLAY can be opened.
bool DisplayReachable();
// Whether the display named by $DISPLAY offers the XTEST extension.
bool HasXTest();
// The process (_NET_WM_PID) of the top-level window that has the keyboard focus; none when no
// window has it or the window does not say. Where the focus follows the pointer (the root, or
// PointerRoot), the window under the pointer has it when it is also the window manager's active
// window (_NET_ACTIVE_WINDOW). Xwayland answers this as an X server does, for its X clients.
std::optional<std::uint64_t> FocusedWindowProcess();

// A keyboard that types through XTEST. A character is typed on the key of the present layout
// that carries it without modifiers or with Shift, a key of the main block before any other. A
// character that no such key carries is typed on a spare key code, borrowed for it: the borrowed
// codes stay mapped across texts until Release (or the keyboard's end) gives them back.
class Keyboard {
 public:
  Keyboard();
  ~Keyboard();
  Keyboard(const Keyboard&) = delete;
  Keyboard& operator=(const Keyboard&) = delete;

  // Presses and releases each key in order, then waits until the server has processed them.
  // Empty when typed; otherwise why nothing of `keys` was typed (no display, no XTEST, or a
  // character that this keyboard cannot type). The keys may be a password's: what is kept of
  // them while typing is wiped before it is given back.
  [[nodiscard]] std::string Type(std::span<const Keystroke> keys);
  // Gives back the borrowed key codes, and wipes the record of their characters.
  void Release();

 private:
  struct Connection;
  std::unique_ptr<Connection> connection_;
};

}  // namespace tarvex::x11
