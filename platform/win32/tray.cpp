#include "platform/win32/tray.h"

#include <algorithm>
#include <string>

#include "platform/win32/names.h"
#include "platform/win32/text.h"

namespace tarvex::win32 {

HICON IconCache::Get(int number) {
  auto found = icons_.find(number);
  if (found == icons_.end()) {
    // Not LR_SHARED: the picture belongs to the cache and is destroyed with it.
    auto* picture = static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(number), IMAGE_ICON,
                                                  GetSystemMetrics(SM_CXSMICON),
                                                  GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
    found = icons_.emplace(number, IconHandle(picture)).first;
  }
  return found->second.get();
}

NOTIFYICONDATAW NotifyIconData(const TrayIcon& icon, HWND window, HICON picture) {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = window;
  data.uID = icon.ID;
  // The presenter's flags are the shell's own bits (1 message, 2 icon, 4 tip); nothing else is
  // passed on.
  data.uFlags = icon.Flags & (NIF_MESSAGE | NIF_ICON | NIF_TIP);
  data.uCallbackMessage = kTrayCallbackMessage;
  data.hIcon = picture;
  const std::wstring tip = Widen(VisibleTip(icon));
  // szTip holds far more than 63 characters; a character beyond the BMP takes two units.
  const std::size_t units = std::min(tip.size(), std::size(data.szTip) - 1);
  std::copy_n(tip.begin(), units, data.szTip);
  data.szTip[units] = L'\0';
  return data;
}

}  // namespace tarvex::win32
