// The tray's popup menu, built afresh from the presenter's entries each time it opens.
#pragma once

#include <windows.h>

#include <optional>
#include <span>

#include "platform/win32/handles.h"
#include "shell/platform.h"

namespace tarvex::win32 {

// The menu command of an item (never 0, which TrackPopupMenu returns when nothing was chosen).
UINT CommandOf(MenuItem item);
// The item of a menu command; none for 0 or an unknown command.
std::optional<MenuItem> ItemOfCommand(UINT command);

// A popup menu with the entries in order: captions, separator lines and check marks.
MenuHandle BuildPopupMenu(std::span<const MenuEntry> entries);

// Shows `menu` at the mouse position, owned by `owner`, and waits; the chosen command or 0. The
// owner must be in the foreground for the menu to close on a click elsewhere.
UINT TrackMenuAtCursor(HMENU menu, HWND owner);

}  // namespace tarvex::win32
