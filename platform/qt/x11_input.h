// Typing and focus questions on an X11 display, through the X Test extension. Xlib stays out of
// this header.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "shell/keystrokes.h"

namespace tarvex::x11 {

// Whether the display named by $DISPLAY can be opened.
bool DisplayReachable();
// Whether the display named by $DISPLAY offers the XTEST extension.
bool HasXTest();
// The process (_NET_WM_PID) of the top-level window that has the keyboard focus; none when no
// window has it or the window does not say.
std::optional<std::uint64_t> FocusedWindowProcess();

// A keyboard that types through XTEST. Characters that the present layout lacks are typed on
// spare key codes, mapped on first use and given back when the keyboard is destroyed.
class Keyboard {
 public:
  Keyboard();
  ~Keyboard();
  Keyboard(const Keyboard&) = delete;
  Keyboard& operator=(const Keyboard&) = delete;

  // Presses and releases each key in order, then waits until the server has processed them.
  // False when the display or its XTEST extension is missing; nothing is typed then.
  bool Type(const std::vector<Keystroke>& keys);

 private:
  struct Connection;
  std::unique_ptr<Connection> connection_;
};

}  // namespace tarvex::x11
