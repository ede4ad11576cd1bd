// Drives a running Tarvex.exe from outside, as the desktop would: the tray's callback message,
// keys for the popup menu, texts and clicks for the dialogs, a close request. Each command waits
// at most SECONDS (or a few) for what it expects and exits 0 when it came, 1 otherwise.
//
//   wait-main SECONDS            the hidden main window exists
//   tray SECONDS                 the tray holds its icon
//   tray-drop                    the shell loses the icon (deleted behind Tarvex's back)
//   taskbar-created              broadcasts "TaskbarCreated", as a restarted shell does
//   menu-open SECONDS            the right button's release over the icon, not its press, opens
//                                the popup menu
//   menu-close                   Escape in the open menu
//   dialog ITEM [CAPTION]        chooses menu item ITEM (1-based, separators not counted) from a
//                                menu opened as menu-open does; the dialog CAPTION opens, or
//                                without one the menu closes
//   dialog-cancel CAPTION        presses its Cancel button; the dialog closes
//   dialog-click CAPTION BUTTON [SECONDS]
//                                presses a button of the open dialog, once it is there and
//                                enabled
//   notification TEXT SECONDS    the tray shows a notification whose text begins with TEXT (under
//                                Wine a balloon beside the icon); prints the text last read
//   tip TEXT SECONDS             the tray holds an icon whose tool-tip begins with TEXT, as the
//                                shell keeps it from Shell_NotifyIconW; prints it, a line each
//   arm-real-time                fills the open auto-run dialog for the next real minute at least
//                                10 s away, chooses Real Time and presses OK; the dialog closes
//   expect-keys LOG SECONDS      the stand-in game beside LOG was started minimized in its own
//                                folder and received exactly the log-in
//   clock SECONDS [LEFT TOP]     the clock window is shown (at LEFT,TOP); prints its place and
//                                whether it stays on top
//   clock-hidden SECONDS         the clock window is hidden (or was never made)
//   clock-menu ITEM              the right button in the clock window opens the menu there;
//                                chooses item ITEM as dialog does, and the menu closes
//   clock-move LEFT TOP          moves the clock window's outer corner there, as a drag does
//   clock-topmost                the clock window stays on top of other windows
//   close SECONDS                WM_CLOSE: the main window goes, and its icon with it
//   hold                         keeps Wine's desktop up until ended (one hidden window)
#include <windows.h>
// After <windows.h>, which they need.
#include <commctrl.h>
#include <shellapi.h>

#include <cstddef>
#include <cstdio>
#include <ctime>
#include <cwchar>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "platform/win32/names.h"

namespace {

using namespace tarvex::win32;

// The log-in texts: every character that the keystroke notation treats as a command, a letter
// beyond Latin-1 and one beyond the Basic Multilingual Plane.
const std::wstring kCharacter =
    L"Z:\\Kestrune (2)\\hero [x] {y} ~a+b^c%d \u00e9\u0142 \U0001F319.zrd";
const std::wstring kPassword = L"p(a)s[s]{w}~o+r^d% \u00df";

bool WaitFor(double seconds, const std::function<bool()>& condition) {
  const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000);
  while (!condition()) {
    if (GetTickCount64() >= deadline) return false;
    Sleep(50);
  }
  return true;
}

HWND MainWindow() {
  return FindWindowW(kMainWindowClass, kMainWindowCaption);
}

// The visible popup menu (no caption) or dialog.
HWND Shown(const wchar_t* caption) {
  HWND window = FindWindowW(caption ? L"#32770" : L"#32768", caption);
  return window && IsWindowVisible(window) ? window : nullptr;
}

// NIM_MODIFY of nothing succeeds only for an icon that the shell holds.
bool Tray(HWND window, DWORD message = NIM_MODIFY) {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = window;
  data.uID = 1;
  return Shell_NotifyIconW(message, &data) != FALSE;
}

HWND ClockHandle() {
  return FindWindowW(kClockWindowClass, nullptr);
}

bool ClockShown() {
  HWND clock = ClockHandle();
  return clock && IsWindowVisible(clock);
}

void PostKey(HWND window, WPARAM key) {
  PostMessageW(window, WM_KEYDOWN, key, 1);
  PostMessageW(window, WM_KEYUP, key, 0xC0000001);
  Sleep(100);
}

bool OpenMenu(double seconds) {
  HWND main = MainWindow();
  if (!main) return false;
  PostMessageW(main, kTrayCallbackMessage, 1, WM_RBUTTONDOWN);
  if (WaitFor(1, [] { return Shown(nullptr) != nullptr; })) return false;  // not on the press
  PostMessageW(main, kTrayCallbackMessage, 1, WM_RBUTTONUP);
  return WaitFor(seconds, [] { return Shown(nullptr); });
}

// Clicks are posted: a message box that one opens must not block the driver.
bool ClickAndWaitClosed(HWND dialog, const wchar_t* button) {
  PostMessageW(FindWindowExW(dialog, nullptr, L"Button", button), BM_CLICK, 0, 0);
  return WaitFor(5, [dialog] { return !IsWindow(dialog) || !IsWindowVisible(dialog); });
}

bool ArmRealTime() {
  HWND dialog = Shown(L"Auto Run Kestrune");
  // The next whole minute at least 10 s away, in local time.
  std::time_t moment = std::time(nullptr);
  moment += std::localtime(&moment)->tm_sec <= 50 ? 60 : 120;
  wchar_t time[16], date[16];
  std::wcsftime(time, 16, L"%H:%M:00", std::localtime(&moment));
  std::wcsftime(date, 16, L"%m/%d/%Y", std::localtime(&moment));
  // The text boxes in tab order: time, date, character file, password.
  HWND box = nullptr;
  for (const std::wstring& text : {std::wstring(time), std::wstring(date), kCharacter, kPassword}) {
    if (!(box = FindWindowExW(dialog, box, L"Edit", nullptr))) return false;
    SetWindowTextW(box, text.c_str());
  }
  SendMessageW(FindWindowExW(dialog, nullptr, L"Button", L"Real Time"), BM_CLICK, 0, 0);
  return ClickAndWaitClosed(dialog, L"OK");
}

// The texts of the visible balloons of notifications, the shell's (under Wine, explorer's) tool
// tips, which answer WM_GETTEXT with the tip they show. Wine's tool tips do not tell their title
// (no TTM_GETTITLE), nor does Wine 8 draw the user's icon in a balloon: the text is what can be
// read of a notification.
std::vector<std::wstring> BalloonTexts() {
  std::vector<std::wstring> texts;
  EnumWindows(
      [](HWND window, LPARAM list) {
        wchar_t name[32] = {}, text[512] = {};
        GetClassNameW(window, name, 32);
        if (std::wstring(name) == TOOLTIPS_CLASSW && IsWindowVisible(window) &&
            (GetWindowLongW(window, GWL_STYLE) & TTS_BALLOON)) {
          SendMessageTimeoutW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text),
                              SMTO_ABORTIFHUNG, 2000, nullptr);
          reinterpret_cast<std::vector<std::wstring>*>(list)->push_back(text);
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&texts));
  return texts;
}

// The tool-tip texts that the shell keeps for the tray's icons. Under Wine each icon has a tool
// tip window of its own in the shell's process, holding the icon's szTip as its one tool's text;
// the tool and its text are read through memory lent in that process, where the messages' pointers
// are read.
std::vector<std::wstring> TrayTips() {
  std::vector<HWND> tips;
  EnumWindows(
      [](HWND window, LPARAM list) {
        wchar_t name[32] = {};
        GetClassNameW(window, name, 32);
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (std::wstring(name) == TOOLTIPS_CLASSW && process != GetCurrentProcessId() &&
            !(GetWindowLongW(window, GWL_STYLE) & TTS_BALLOON)) {
          reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&tips));
  constexpr std::size_t kChars = 1024;
  struct Block {
    TTTOOLINFOW tool;
    wchar_t text[kChars];
  };
  std::vector<std::wstring> texts;
  for (HWND tip : tips) {
    DWORD id = 0;
    GetWindowThreadProcessId(tip, &id);
    HANDLE process =
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, id);
    if (!process) continue;
    auto* remote = static_cast<Block*>(
        VirtualAllocEx(process, nullptr, sizeof(Block), MEM_COMMIT, PAGE_READWRITE));
    const LRESULT tools = remote ? SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0) : 0;
    for (LRESULT i = 0; i < tools; ++i) {
      Block block{};
      block.tool.cbSize = sizeof block.tool;
      if (!WriteProcessMemory(process, remote, &block, sizeof block, nullptr) ||
          !SendMessageW(tip, TTM_ENUMTOOLSW, static_cast<WPARAM>(i),
                        reinterpret_cast<LPARAM>(&remote->tool)) ||
          !ReadProcessMemory(process, remote, &block, sizeof block, nullptr)) {
        continue;
      }
      block.tool.lpszText = remote->text;  // the tool found, its text asked into the block
      block.text[0] = L'\0';
      if (!WriteProcessMemory(process, remote, &block, sizeof block, nullptr)) continue;
      SendMessageW(tip, TTM_GETTEXTW, kChars, reinterpret_cast<LPARAM>(&remote->tool));
      if (!ReadProcessMemory(process, remote, &block, sizeof block, nullptr)) continue;
      block.text[kChars - 1] = L'\0';
      texts.emplace_back(block.text);
    }
    if (remote) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
  }
  return texts;
}

int ExpectTip(const std::wstring& begin, double seconds) {
  std::wstring text;
  const bool held = WaitFor(seconds, [&] {
    for (const std::wstring& tip : TrayTips()) {
      if ((text = tip).starts_with(begin)) return true;
    }
    return false;
  });
  for (std::size_t at = 0; (at = text.find(L"\r\n", at)) != std::wstring::npos;)
    text.replace(at, 2, L"\n");
  std::wprintf(L"%ls\n", text.c_str());
  return held ? 0 : 1;
}

int ExpectNotification(const std::wstring& begin, double seconds) {
  std::wstring text;
  const bool shown = WaitFor(seconds, [&] {
    for (const std::wstring& balloon : BalloonTexts()) {
      if ((text = balloon).starts_with(begin)) return true;
    }
    return false;
  });
  std::wprintf(L"notification: \"%ls\"\n", text.c_str());
  return shown ? 0 : 1;
}

std::wstring ReadLog(const wchar_t* path) {
  std::ifstream file(path, std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / 2);
}

int ExpectKeys(const std::wstring& log, double seconds) {
  const std::wstring expected = L"show 2\nfolder " + log.substr(0, log.rfind(L'\\')) +
                                L"\nready\n" + std::wstring(4, L'\t') + L"\r" + kCharacter +
                                L"\r\r" + std::wstring(9, L'\t') + kPassword +
                                std::wstring(10, L'\t') + L"\r";
  std::wstring received;
  WaitFor(seconds, [&] { return ReadLog(log.c_str()).size() >= expected.size(); });
  Sleep(1000);  // anything typed beyond the log-in would show by now
  if ((received = ReadLog(log.c_str())) == expected) return 0;
  std::fwprintf(stderr, L"received:\n%ls\nexpected:\n%ls\n", received.c_str(), expected.c_str());
  return 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring command = argc > 1 ? argv[1] : L"";
  const wchar_t* text = argc > 2 ? argv[2] : L"";
  const wchar_t* second = argc > 3 ? argv[3] : L"";
  const auto seconds = [&](int i) { return i < argc ? std::wcstod(argv[i], nullptr) : 10.0; };

  if (command == L"wait-main") return !WaitFor(seconds(2), [] { return MainWindow(); });
  if (command == L"tray") return !WaitFor(seconds(2), [] { return Tray(MainWindow()); });
  if (command == L"tray-drop") return !Tray(MainWindow(), NIM_DELETE);
  if (command == L"taskbar-created")
    return !SendMessageTimeoutW(HWND_BROADCAST, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0,
                                SMTO_ABORTIFHUNG, 5000, nullptr);
  if (command == L"menu-open") return !OpenMenu(seconds(2));
  if (command == L"menu-close" || command == L"dialog") {
    const bool choose = command == L"dialog";
    if (choose && !OpenMenu(3)) return 1;
    HWND menu = Shown(nullptr);
    for (int i = 0; choose && i < std::wcstol(text, nullptr, 10); ++i) PostKey(menu, VK_DOWN);
    PostKey(menu, choose ? VK_RETURN : VK_ESCAPE);
    // A chosen item without a dialog of its own closes the menu.
    return !WaitFor(10, [&] { return choose && *second ? Shown(second) != nullptr : !Shown(nullptr); });
  }
  if (command == L"dialog-cancel") {
    HWND dialog = nullptr;  // one that opens by itself may come a moment later
    WaitFor(5, [&] { return (dialog = Shown(text)) != nullptr; });
    return !(dialog && ClickAndWaitClosed(dialog, L"Cancel"));
  }
  if (command == L"dialog-click") {
    HWND button = nullptr;
    const auto ready = [&] {
      HWND dialog = Shown(text);
      button = dialog ? FindWindowExW(dialog, nullptr, L"Button", second) : nullptr;
      return button && IsWindowEnabled(button);
    };
    return !(WaitFor(seconds(4), ready) && PostMessageW(button, BM_CLICK, 0, 0));
  }
  if (command == L"notification") return ExpectNotification(text, seconds(3));
  if (command == L"tip") return ExpectTip(text, seconds(3));
  if (command == L"arm-real-time") return !ArmRealTime();
  if (command == L"expect-keys") return ExpectKeys(text, seconds(3));
  if (command == L"clock") {
    if (!WaitFor(seconds(2), ClockShown)) return 1;
    RECT rect{};
    GetWindowRect(ClockHandle(), &rect);
    const bool topmost = GetWindowLongW(ClockHandle(), GWL_EXSTYLE) & WS_EX_TOPMOST;
    std::wprintf(L"clock window at %ld,%ld, %ldx%ld%ls\n", rect.left, rect.top,
                 rect.right - rect.left, rect.bottom - rect.top, topmost ? L", on top" : L"");
    if (argc <= 4) return 0;
    return !(rect.left == std::wcstol(argv[3], nullptr, 10) &&
             rect.top == std::wcstol(argv[4], nullptr, 10));
  }
  if (command == L"clock-hidden") return !WaitFor(seconds(2), [] { return !ClockShown(); });
  if (command == L"clock-menu") {
    HWND clock = ClockHandle();
    if (!clock) return 1;
    PostMessageW(clock, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(clock), MAKELPARAM(-1, -1));
    if (!WaitFor(5, [] { return Shown(nullptr); })) return 1;
    HWND menu = Shown(nullptr);
    for (int i = 0; i < std::wcstol(text, nullptr, 10); ++i) PostKey(menu, VK_DOWN);
    PostKey(menu, VK_RETURN);
    return !WaitFor(10, [] { return !Shown(nullptr); });
  }
  if (command == L"clock-move")
    return !SetWindowPos(ClockHandle(), nullptr, std::wcstol(text, nullptr, 10),
                         std::wcstol(second, nullptr, 10), 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (command == L"clock-topmost")
    return !(GetWindowLongW(ClockHandle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  if (command == L"close") {
    HWND main = MainWindow();
    PostMessageW(main, WM_CLOSE, 0, 0);
    return !(main && WaitFor(seconds(2), [main] { return !IsWindow(main); }) && !Tray(main));
  }
  if (command == L"hold") {
    CreateWindowExW(0, L"STATIC", L"Tarvex test desktop keeper", WS_POPUP, 0, 0, 1, 1, nullptr,
                    nullptr, GetModuleHandleW(nullptr), nullptr);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
    return 0;
  }
  return 2;  // an unknown command
}
