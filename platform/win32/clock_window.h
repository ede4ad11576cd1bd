// The clock window on Windows: a small captioned window that paints the presenter's face at the
// monitor's DPI in the user's light or dark colours, and forwards its close box, its moves and
// its menu requests (right button, the menu glyph at its top right). It decides nothing itself.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>

#include "platform/win32/handles.h"
#include "platform/win32/names.h"
#include "shell/platform.h"

namespace tarvex::win32 {

class ClockWindow {
 public:
  struct Events {
    std::function<void()> Close;              // the close box
    std::function<void(WindowCorner)> Moved;  // the window's outer corner moved
    std::function<void()> Menu;               // the right button or the menu glyph
  };

  explicit ClockWindow(HINSTANCE instance) : instance_(instance) {}
  ~ClockWindow();
  ClockWindow(const ClockWindow&) = delete;
  ClockWindow& operator=(const ClockWindow&) = delete;

  void SetEvents(Events events) { events_ = std::move(events); }
  // Shows the window (made at its first showing), at `place` when it is hidden; in the foreground
  // when `raise`.
  void Show(std::optional<WindowCorner> place, bool raise);
  void Hide();
  void Draw(const ClockFace& face);
  void SetOnTop(bool onTop);
  HWND Window() const { return window_; }

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  bool Create();
  // Fonts and the moon's picture for the window's DPI, then the size its lines need.
  void Measure();
  void Paint(HDC dc);
  RECT MenuGlyph() const;  // client coordinates
  int Scaled(int pixels) const { return MulDiv(pixels, static_cast<int>(dpi_), 96); }

  HINSTANCE instance_;
  HWND window_ = nullptr;
  Events events_;
  ClockFace face_;
  bool onTop_ = false;
  UINT dpi_ = 96;
  bool dark_ = false;
  using FontHandle = Owned<HFONT, DeleteObject>;
  FontHandle big_, bold_, normal_;
  IconHandle moon_;  // the face's picture at the window's DPI
};

// Whether the user chose dark colours for programs (Personalize\AppsUseLightTheme is 0).
bool DarkColours();

}  // namespace tarvex::win32
