// The clock window: a small window titled "Tarvex" with the game time and date, the moon's
// picture and the tip's three lines in full. The player shows and hides it from the menu; it opens
// by itself where no notification area shows the tray icon, and then closing it ends the program.
// Its place, whether the player left it shown and whether it stays on top are kept in [Window] of
// TARVEX.INI.
#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "engine/live_data.h"
#include "shell/platform.h"

namespace tarvex {

// The text of the notice that a second start shows when the running Tarvex cannot come forward.
inline constexpr std::string_view kAlreadyRunningText = "Tarvex is already running";

// What a start does while another Tarvex runs in the session: that one shows and raises its clock
// window, or, where it cannot (a Tarvex without the window), a notification says it runs.
void StartedWhileRunning(Platform& platform);

// `place`, or the nearest place to it on a screen when the start of the window's title bar would
// not lie wholly on one of `screens`; as it is when no screen is known.
WindowCorner KeptOnScreen(WindowCorner place, std::span<const ScreenArea> screens);

class frmClock {
 public:
  // The ticks after the start without a tray icon at which the window opens by itself: 3 s.
  static constexpr int kNoTrayTicks = 6;

  frmClock(Platform& platform, LiveData& live) : platform_(platform), live_(live) {}

  // At the start, after the data files are read: opens it where the player left it shown, and
  // keeps it on top where the player asked it to.
  void Load(const ClockFace& face);
  // Each tick: draws `face` when it changed; opens the window by itself once, when the tray icon
  // is still not shown after kNoTrayTicks; saves a new place.
  void Tick(const ClockFace& face, bool trayIconShown);
  // The end of the run: a new place is saved and the window hidden.
  void Unload();

  // "Clock Window": shows it (raised) or hides it; the choice is kept.
  void Toggle();
  // "Stay on Top": the choice is kept.
  void ToggleOnTop();
  // Another start of Tarvex asked for it: shown and raised.
  void BringForward();
  // The window's close box. True when the program is to end as Exit ends it: no tray icon is
  // shown, so the window is its only door. Otherwise the window is hidden, and that is kept.
  [[nodiscard]] bool Close(bool trayIconShown);
  // The desktop moved the window to `place`; kept at the next tick.
  void Moved(WindowCorner place);

  bool Shown() const { return shown_; }
  bool OnTop() const { return live_.Window().OnTop; }

 private:
  void Show(bool raise);
  // Draws the present face, unless the window shows it already.
  void Draw();
  void KeepPlace();
  void Keep(const WindowSettings& window);

  Platform& platform_;
  LiveData& live_;
  bool shown_ = false;
  int ticks_ = 0;                      // since the start, up to kNoTrayTicks
  ClockFace face_;                     // as of the last tick
  std::optional<ClockFace> drawn_;     // what the window shows
  std::optional<WindowCorner> moved_;  // a place not kept yet
};

}  // namespace tarvex
