// Names and numbers of the main window that other programs may rely on (the desktop's shell, the
// test drivers).
#pragma once

#include <windows.h>

namespace tarvex::win32 {

// The hidden main window: its class and its caption.
inline constexpr wchar_t kMainWindowClass[] = L"TarvexMain";
inline constexpr wchar_t kMainWindowCaption[] = L"Main";

// The clock window's class.
inline constexpr wchar_t kClockWindowClass[] = L"TarvexClock";

// The tray icon's callback message; lParam carries the mouse message (WM_RBUTTONUP, ...).
inline constexpr UINT kTrayCallbackMessage = WM_APP + 1;

// Sent by a later start to the running Tarvex's main window (a registered message): it shows and
// raises its clock window and answers kBroughtForward. A Tarvex without the window answers 0.
inline constexpr wchar_t kBringForwardMessage[] = L"Tarvex.BringForward";
inline constexpr LRESULT kBroughtForward = 0x54617276;  // "Tarv"

// Held while Tarvex runs, one per user session.
inline constexpr wchar_t kSingleInstanceMutex[] = L"Local\\Tarvex.TrayCompanion";

}  // namespace tarvex::win32
