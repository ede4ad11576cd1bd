// Names and numbers of the main window that other programs may rely on (the desktop's shell, the
// test drivers).
#pragma once

#include <windows.h>

namespace tarvex::win32 {

// The hidden main window: its class and its caption.
inline constexpr wchar_t kMainWindowClass[] = L"TarvexMain";
inline constexpr wchar_t kMainWindowCaption[] = L"Main";

// The tray icon's callback message; lParam carries the mouse message (WM_RBUTTONUP, ...).
inline constexpr UINT kTrayCallbackMessage = WM_APP + 1;

// Held while Tarvex runs, one per user session.
inline constexpr wchar_t kSingleInstanceMutex[] = L"Local\\Tarvex.TrayCompanion";

}  // namespace tarvex::win32
