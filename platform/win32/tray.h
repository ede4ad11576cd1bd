// The notification-area icon: the shell's record built from the presenter's TrayIcon, and the
// icon pictures, each loaded once at the tray's size.
#pragma once

#include <windows.h>
// After <windows.h>, which it needs.
#include <shellapi.h>

#include <map>

#include "platform/win32/handles.h"
#include "shell/platform.h"

namespace tarvex::win32 {

// The pictures of the executable's icon groups at the small-icon size, loaded on first use and
// kept until Clear() (a new size after a display change) or destruction.
class IconCache {
 public:
  explicit IconCache(HINSTANCE instance) : instance_(instance) {}
  // The picture of group `number`; null when the executable has no such group.
  HICON Get(int number);
  void Clear() { icons_.clear(); }

 private:
  HINSTANCE instance_;
  std::map<int, IconHandle> icons_;
};

// The shell's record for `icon`, owned by `window`: the presenter's flags map onto NIF_MESSAGE,
// NIF_ICON and NIF_TIP; the callback is kTrayCallbackMessage; the tip is what the tray would show
// of the presenter's tip (up to the first NUL, at most 63 characters).
NOTIFYICONDATAW NotifyIconData(const TrayIcon& icon, HWND window, HICON picture);

}  // namespace tarvex::win32
