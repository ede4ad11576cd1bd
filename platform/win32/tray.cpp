#include "platform/win32/tray.h"

#include <mmsystem.h>

#include <algorithm>
#include <string>

#include "platform/win32/names.h"
#include "platform/win32/text.h"
#include "tarvex_version.h"

namespace tarvex::win32 {
namespace {

// Copies as much of `text` as `field` holds before its closing NUL; a character beyond the BMP
// takes two units.
template <std::size_t Units>
void CopyCut(const std::wstring& text, wchar_t (&field)[Units]) {
  const std::size_t units = std::min(text.size(), Units - 1);
  std::copy_n(text.begin(), units, field);
  field[units] = L'\0';
}

}  // namespace

HICON IconCache::Get(int number) {
  auto found = icons_.find(number);
  if (found == icons_.end()) {
    const bool small = size_ == Size::Small;
    // Not LR_SHARED: the picture belongs to the cache and is destroyed with it.
    auto* picture = static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(number), IMAGE_ICON,
                                                  GetSystemMetrics(small ? SM_CXSMICON : SM_CXICON),
                                                  GetSystemMetrics(small ? SM_CYSMICON : SM_CYICON),
                                                  LR_DEFAULTCOLOR));
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
  // The presenter's tip holds whole lines, up to TipLimit characters: szTip holds them all.
  CopyCut(Widen(VisibleTip(icon)), data.szTip);
  return data;
}

NOTIFYICONDATAW AlertIconData(const MoonAlert& alert, HWND window, UINT id, HICON picture) {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = window;
  data.uID = id;
  data.uFlags = NIF_INFO;
  CopyCut(Widen(kProductName), data.szInfoTitle);
  CopyCut(Widen(alert.Text), data.szInfo);
  data.dwInfoFlags = NIIF_USER | NIIF_LARGE_ICON | NIIF_RESPECT_QUIET_TIME;
  if (!alert.Sound || !alert.SoundFile.empty()) data.dwInfoFlags |= NIIF_NOSOUND;
  data.hBalloonIcon = picture;
  return data;
}

bool NotificationsHeldBack() {
  QUERY_USER_NOTIFICATION_STATE state{};
  if (FAILED(SHQueryUserNotificationState(&state))) return false;
  return state == QUNS_BUSY || state == QUNS_RUNNING_D3D_FULL_SCREEN ||
         state == QUNS_PRESENTATION_MODE;
}

void PlayNotificationSound() {
  // Played in the system's session for notification sounds, whose volume the user sets apart
  // (Windows Vista on; mingw-w64's mmsystem.h lacks the flag).
  constexpr DWORD kSystemSession = 0x00200000;  // SND_SYSTEM
  // The sound that the user chose for a system notification.
  PlaySoundW(L"SystemNotification", nullptr, SND_ALIAS | SND_ASYNC | kSystemSession);
}

bool PlaySoundFile(const std::string& path) {
  // No default sound in its place: a file that cannot be played says so, and the caller plays
  // the notification's sound.
  return PlaySoundW(Widen(path).c_str(), nullptr, SND_FILENAME | SND_ASYNC | SND_NODEFAULT) !=
         FALSE;
}

}  // namespace tarvex::win32
