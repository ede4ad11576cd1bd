#include "shell/frmClock.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <utility>

#include "engine/log.h"

namespace tarvex {
namespace {

// The start of a title bar: what must lie on a screen for the window to be dragged back.
constexpr int kGripWidth = 64;
constexpr int kGripHeight = 24;

// How far `value` lies outside [low, high]; 0 within.
std::int64_t Outside(int value, int low, int high) {
  return value < low ? std::int64_t{low} - value : value > high ? std::int64_t{value} - high : 0;
}

}  // namespace

void StartedWhileRunning(Platform& platform) {
  if (!platform.BringRunningForward()) platform.ShowNotice(kAlreadyRunningText);
}

WindowCorner KeptOnScreen(WindowCorner place, std::span<const ScreenArea> screens) {
  std::optional<WindowCorner> nearest;
  std::int64_t nearestDistance = INT64_MAX;
  for (const ScreenArea& screen : screens) {
    // The corners at which the grip lies wholly on this screen.
    const int right = screen.Left + std::max(0, screen.Width - kGripWidth);
    const int bottom = screen.Top + std::max(0, screen.Height - kGripHeight);
    const std::int64_t dx = Outside(place.Left, screen.Left, right);
    const std::int64_t dy = Outside(place.Top, screen.Top, bottom);
    if (dx == 0 && dy == 0) return place;
    if (dx * dx + dy * dy < nearestDistance) {
      nearestDistance = dx * dx + dy * dy;
      nearest = WindowCorner{std::clamp(place.Left, screen.Left, right),
                             std::clamp(place.Top, screen.Top, bottom)};
    }
  }
  return nearest.value_or(place);
}

void frmClock::Load(const ClockFace& face) {
  face_ = face;
  if (platform_.CanStayOnTop() && OnTop()) platform_.SetClockWindowOnTop(true);
  if (live_.Window().Shown) Show(false);
}

void frmClock::Tick(const ClockFace& face, bool trayIconShown) {
  if (ticks_ < kNoTrayTicks && ++ticks_ == kNoTrayTicks && !trayIconShown && !shown_) Show(true);
  face_ = face;
  if (shown_) Draw();
  KeepPlace();
}

void frmClock::Unload() {
  KeepPlace();
  if (shown_) platform_.HideClockWindow();
  shown_ = false;
}

void frmClock::Toggle() {
  WindowSettings window = live_.Window();
  window.Shown = !shown_;
  if (window.Shown) {
    Show(true);
  } else {
    platform_.HideClockWindow();
    shown_ = false;
  }
  Keep(window);
}

void frmClock::ToggleOnTop() {
  WindowSettings window = live_.Window();
  window.OnTop = !window.OnTop;
  platform_.SetClockWindowOnTop(window.OnTop);
  Keep(window);
}

void frmClock::BringForward() {
  Show(true);
}

bool frmClock::Close(bool trayIconShown) {
  if (!trayIconShown) return true;
  platform_.HideClockWindow();
  shown_ = false;
  WindowSettings window = live_.Window();
  window.Shown = false;
  Keep(window);
  return false;
}

void frmClock::Moved(WindowCorner place) {
  moved_ = place;
}

void frmClock::Show(bool raise) {
  if (shown_) {
    if (raise) platform_.ShowClockWindow(std::nullopt, true);
    return;
  }
  std::optional<WindowCorner> place;
  if (const WindowSettings& window = live_.Window(); window.Left && window.Top) {
    const std::vector<ScreenArea> screens = platform_.ScreenAreas();
    place = KeptOnScreen({*window.Left, *window.Top}, screens);
  }
  Draw();
  platform_.ShowClockWindow(place, raise);
  shown_ = true;
}

void frmClock::Draw() {
  if (drawn_ == face_) return;
  drawn_ = face_;
  platform_.DrawClockWindow(face_);
}

void frmClock::KeepPlace() {
  if (!moved_) return;
  WindowSettings window = live_.Window();
  window.Left = moved_->Left;
  window.Top = moved_->Top;
  moved_.reset();
  Keep(window);
}

// Kept in TARVEX.INI; a failure is logged, and the choice stays in force for this run.
void frmClock::Keep(const WindowSettings& window) {
  if (window == live_.Window()) return;
  if (const Result kept = live_.SetWindow(window); !kept)
    Warn("The clock window's place and state were not saved: " + kept.why());
}

}  // namespace tarvex
