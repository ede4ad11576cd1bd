// The notification-area icon: the shell's record built from the presenter's TrayIcon, the icon
// pictures, each loaded once at one size, and the moon alarms' notifications beside the icon.
#pragma once

#include <windows.h>
// After <windows.h>, which it needs.
#include <shellapi.h>

#include <cstddef>
#include <map>
#include <string>

#include "platform/win32/handles.h"
#include "shell/platform.h"

namespace tarvex::win32 {

// The characters szTip holds before its closing NUL.
inline constexpr std::size_t kTipLimit = sizeof(NOTIFYICONDATAW::szTip) / sizeof(wchar_t) - 1;

// The pictures of the executable's icon groups at the small-icon size (the tray's) or the
// large-icon size (a notification's), loaded on first use and kept until Clear() (a new size after
// a display change) or destruction.
class IconCache {
 public:
  enum class Size { Small, Large };
  IconCache(HINSTANCE instance, Size size) : instance_(instance), size_(size) {}
  // The picture of group `number`; null when the executable has no such group.
  HICON Get(int number);
  void Clear() { icons_.clear(); }

 private:
  HINSTANCE instance_;
  Size size_;
  std::map<int, IconHandle> icons_;
};

// The shell's record for `icon`, owned by `window`: the presenter's flags map onto NIF_MESSAGE,
// NIF_ICON and NIF_TIP; the callback is kTrayCallbackMessage; the tip is what the tray would show
// of the presenter's tip (up to the first NUL, at most kTipLimit characters).
NOTIFYICONDATAW NotifyIconData(const TrayIcon& icon, HWND window, HICON picture);

// The shell's record that shows `alert` as the notification of icon `id` of `window`: NIF_INFO
// only (the icon and its tip stay), titled with the product's name, the text cut to what szInfo
// holds, `picture` (large) as the user's icon; silent when the alert has no sound or plays its
// own sound file, held back in the user's quiet time.
NOTIFYICONDATAW AlertIconData(const MoonAlert& alert, HWND window, UINT id, HICON picture);

// Whether the shell holds notifications back now: the user is in a full-screen game or program,
// or gives a presentation. A notification then comes later, silently.
bool NotificationsHeldBack();

// Plays the system's notification sound, without waiting for it to end.
void PlayNotificationSound();
// Plays the WAV file at `path` (UTF-8), without waiting for it to end; false when it cannot be
// played.
bool PlaySoundFile(const std::string& path);

}  // namespace tarvex::win32
