#include "platform/win32/menu.h"

#include <string>

#include "platform/win32/text.h"

namespace tarvex::win32 {

UINT CommandOf(MenuItem item) {
  return static_cast<UINT>(item) + 1;
}

std::optional<MenuItem> ItemOfCommand(UINT command) {
  if (command < CommandOf(MenuItem::SetDateandTime) || command > CommandOf(MenuItem::Exit)) {
    return std::nullopt;
  }
  return static_cast<MenuItem>(command - 1);
}

MenuHandle BuildPopupMenu(std::span<const MenuEntry> entries) {
  MenuHandle menu(CreatePopupMenu());
  if (!menu) return menu;
  for (const MenuEntry& entry : entries) {
    if (entry.Separator) {
      AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
      continue;
    }
    // "&" would mark a mnemonic; a caption is shown exactly as given.
    std::wstring caption;
    for (wchar_t c : Widen(entry.Caption)) {
      caption += c;
      if (c == L'&') caption += L'&';
    }
    const UINT flags = MF_STRING | (entry.Checked ? MF_CHECKED : MF_UNCHECKED) |
                       (entry.Disabled ? MF_GRAYED : MF_ENABLED);
    AppendMenuW(menu.get(), flags, CommandOf(entry.Item), caption.c_str());
  }
  return menu;
}

UINT TrackMenuAtCursor(HMENU menu, HWND owner) {
  POINT cursor{};
  GetCursorPos(&cursor);
  const BOOL command = TrackPopupMenuEx(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY,
                                        cursor.x, cursor.y, owner, nullptr);
  // Lets the menu close properly when the user clicks elsewhere the next time (a known quirk of
  // popup menus owned by a window that is not really active).
  PostMessageW(owner, WM_NULL, 0, 0);
  return static_cast<UINT>(command);
}

}  // namespace tarvex::win32
