// Drives a running Tarvex.exe from outside, the way the desktop would: the tray's callback
// message, keys for the popup menu, texts and clicks for the dialogs, a close request. Each
// command waits a bounded time for what it expects and exits 0 when it came, 1 otherwise.
//
//   tarvex_driver wait-main SECONDS           the hidden main window exists
//   tarvex_driver tray present|absent SECONDS the tray holds (or no longer holds) its icon
//   tarvex_driver tray-drop                   the shell loses the icon (deleted behind Tarvex's
//                                             back)
//   tarvex_driver taskbar-created             broadcasts "TaskbarCreated", as a restarted shell
//   tarvex_driver menu-open SECONDS           right button released over the icon: the menu shows
//   tarvex_driver menu-close                  Escape in the open menu
//   tarvex_driver command ITEM SECONDS        opens the menu and chooses item ITEM (1-based, not
//                                             counting separator lines) with the keyboard
//   tarvex_driver dialog-wait CAPTION SECONDS the dialog is open
//   tarvex_driver dialog-cancel CAPTION       presses its Cancel button
//   tarvex_driver arm-real-time SECONDS       fills the open auto-run dialog for the next real
//                                             minute that is at least 10 s away, presses OK
//   tarvex_driver expect-keys LOG SECONDS     the stand-in game received exactly the log-in
//   tarvex_driver rect menu|CAPTION           prints where the menu or the dialog stands on the
//                                             screen, as WIDTHxHEIGHT+X+Y
//   tarvex_driver close SECONDS               WM_CLOSE to the main window; it goes away and
//                                             its icon leaves the tray
//   tarvex_driver hold                        keeps Wine's desktop up until ended (one hidden
//                                             window, never shown)
//   tarvex_driver second-instance EXE SECONDS a second start of EXE ends by itself, the first
//                                             stays
#include <windows.h>
// After <windows.h>, which it needs.
#include <shellapi.h>

#include <cstdio>
#include <cwchar>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "platform/win32/names.h"

namespace {

using tarvex::win32::kMainWindowCaption;
using tarvex::win32::kMainWindowClass;
using tarvex::win32::kTrayCallbackMessage;

// The log-in texts typed into the stand-in: every character that the keystroke notation treats
// as a command, a letter beyond Latin-1 and one beyond the Basic Multilingual Plane.
const std::wstring kCharacter =
    L"Z:\\Kestrune (2)\\hero [x] {y} ~a+b^c%d \u00e9\u0142 \U0001F319.zrd";
const std::wstring kPassword = L"p(a)s[s]{w}~o+r^d% \u00df";

bool WaitFor(double seconds, const std::function<bool()>& condition) {
  const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000);
  for (;;) {
    if (condition()) return true;
    if (GetTickCount64() >= deadline) return false;
    Sleep(50);
  }
}

HWND MainWindow() {
  return FindWindowW(kMainWindowClass, kMainWindowCaption);
}

// The popup menu's window, when one is shown.
HWND MenuWindow() {
  HWND menu = FindWindowW(L"#32768", nullptr);
  return menu && IsWindowVisible(menu) ? menu : nullptr;
}

HWND Dialog(const wchar_t* caption) {
  HWND dialog = FindWindowW(L"#32770", caption);
  return dialog && IsWindowVisible(dialog) ? dialog : nullptr;
}

// Whether the shell holds an icon of `window`: modifying nothing succeeds only for a known icon.
bool TrayHolds(HWND window) {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = window;
  data.uID = 1;
  data.uFlags = 0;
  return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
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
  if (WaitFor(1, [] { return MenuWindow() != nullptr; })) return false;  // not on the press
  PostMessageW(main, kTrayCallbackMessage, 1, WM_RBUTTONUP);
  return WaitFor(seconds, [] { return MenuWindow() != nullptr; });
}

std::vector<HWND> Children(HWND parent, const wchar_t* windowClass) {
  std::vector<HWND> found;
  for (HWND child = FindWindowExW(parent, nullptr, windowClass, nullptr); child;
       child = FindWindowExW(parent, child, windowClass, nullptr)) {
    found.push_back(child);
  }
  return found;
}

HWND Button(HWND dialog, const wchar_t* caption) {
  return FindWindowExW(dialog, nullptr, L"Button", caption);
}

void Click(HWND button) {
  // Posted: a message box that the click may open must not block the driver.
  PostMessageW(button, BM_CLICK, 0, 0);
}

std::wstring Utf16Lines(const std::wstring& text) {
  std::wstring lines;
  wchar_t line[8];
  for (wchar_t unit : text) {
    std::swprintf(line, 8, L"%04X\n", static_cast<unsigned>(unit));
    lines += line;
  }
  return lines;
}

// What the stand-in's log must hold after the log-in: the start, then one line per character.
std::string ExpectedLog() {
  const std::wstring tab = L"\t", enter = L"\r";
  std::wstring keys;
  for (int i = 0; i < 4; ++i) keys += tab;
  keys += enter + kCharacter + enter + enter;
  for (int i = 0; i < 9; ++i) keys += tab;
  keys += kPassword;
  for (int i = 0; i < 10; ++i) keys += tab;
  keys += enter;
  std::string expected;
  for (wchar_t c : Utf16Lines(keys)) expected += static_cast<char>(c);
  return expected;
}

std::string ReadFile(const wchar_t* path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// The lines after "ready": what the log-in window received.
std::string ReceivedKeys(const std::string& log) {
  const auto ready = log.find("ready\n");
  return ready == std::string::npos ? std::string() : log.substr(ready + 6);
}

int ArmRealTime(double seconds) {
  HWND dialog = nullptr;
  if (!WaitFor(seconds, [&dialog] { return (dialog = Dialog(L"Auto Run Kestrune")) != nullptr; })) {
    std::fprintf(stderr, "no auto-run dialog\n");
    return 1;
  }
  // The next whole minute at least 10 s away, in local time.
  SYSTEMTIME now;
  GetLocalTime(&now);
  FILETIME file;
  SystemTimeToFileTime(&now, &file);
  ULARGE_INTEGER moment{{file.dwLowDateTime, file.dwHighDateTime}};
  const ULONGLONG second = 10'000'000ULL;
  moment.QuadPart += (now.wSecond <= 50 ? 60 : 120) * second;
  file = {moment.LowPart, moment.HighPart};
  SYSTEMTIME target;
  FileTimeToSystemTime(&file, &target);
  wchar_t time[16], date[16];
  std::swprintf(time, 16, L"%02u:%02u:00", target.wHour, target.wMinute);
  std::swprintf(date, 16, L"%02u/%02u/%04u", target.wMonth, target.wDay, target.wYear);

  // The text boxes in tab order: time, date, character file, password.
  const std::vector<HWND> boxes = Children(dialog, L"Edit");
  if (boxes.size() != 4) {
    std::fprintf(stderr, "expected 4 text boxes, found %zu\n", boxes.size());
    return 1;
  }
  SendMessageW(boxes[0], WM_SETTEXT, 0, reinterpret_cast<LPARAM>(time));
  SendMessageW(boxes[1], WM_SETTEXT, 0, reinterpret_cast<LPARAM>(date));
  SendMessageW(boxes[2], WM_SETTEXT, 0, reinterpret_cast<LPARAM>(kCharacter.c_str()));
  SendMessageW(boxes[3], WM_SETTEXT, 0, reinterpret_cast<LPARAM>(kPassword.c_str()));
  HWND realTime = Button(dialog, L"Real Time");
  HWND gameTime = Button(dialog, L"Kestrune Time");
  if (SendMessageW(gameTime, BM_GETCHECK, 0, 0) != BST_CHECKED) {
    std::fprintf(stderr, "Kestrune Time is not selected at the start\n");
    return 1;
  }
  SendMessageW(realTime, BM_CLICK, 0, 0);
  if (SendMessageW(realTime, BM_GETCHECK, 0, 0) != BST_CHECKED ||
      SendMessageW(gameTime, BM_GETCHECK, 0, 0) != BST_UNCHECKED) {
    std::fprintf(stderr, "Real Time did not take the selection\n");
    return 1;
  }
  Click(Button(dialog, L"OK"));
  if (!WaitFor(seconds, [] { return Dialog(L"Auto Run Kestrune") == nullptr; })) {
    std::fprintf(stderr, "the dialog stayed open after OK\n");
    return 1;
  }
  std::printf("%ls %ls\n", date, time);
  return 0;
}

int ExpectKeys(const wchar_t* log, double seconds) {
  const std::string expected = ExpectedLog();
  std::string received;
  WaitFor(seconds, [&] {
    received = ReceivedKeys(ReadFile(log));
    return received.size() >= expected.size();
  });
  Sleep(1000);  // anything typed beyond the log-in would show by now
  received = ReceivedKeys(ReadFile(log));
  if (received != expected) {
    std::fprintf(stderr, "the log-in window received:\n%s\nexpected:\n%s\n", received.c_str(),
                 expected.c_str());
    return 1;
  }
  const std::string whole = ReadFile(log);
  if (whole.rfind("show 2\n", 0) != 0) {
    std::fprintf(stderr, "the game was not started minimized and active:\n%s\n", whole.c_str());
    return 1;
  }
  return 0;
}

int SecondInstance(const wchar_t* exe, double seconds) {
  HWND first = MainWindow();
  std::wstring commandLine = L"\"" + std::wstring(exe) + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!first || !CreateProcessW(exe, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                nullptr, &startup, &process)) {
    return 1;
  }
  const DWORD waited = WaitForSingleObject(process.hProcess, static_cast<DWORD>(seconds * 1000));
  DWORD code = 1;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  if (waited != WAIT_OBJECT_0 || code != 0) {
    std::fprintf(stderr, "the second start did not end quietly\n");
    return 1;
  }
  return MainWindow() == first && IsWindow(first) ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  const std::wstring command = argv[1];
  const auto number = [&](int i) { return i < argc ? std::wcstod(argv[i], nullptr) : 10.0; };

  if (command == L"wait-main")
    return WaitFor(number(2), [] { return MainWindow() != nullptr; }) ? 0 : 1;
  if (command == L"tray" && argc >= 3) {
    const bool present = std::wstring(argv[2]) == L"present";
    HWND main = MainWindow();
    return WaitFor(number(3), [&] { return TrayHolds(main) == present; }) ? 0 : 1;
  }
  if (command == L"tray-drop") {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = MainWindow();
    data.uID = 1;
    return Shell_NotifyIconW(NIM_DELETE, &data) ? 0 : 1;
  }
  if (command == L"taskbar-created") {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(HWND_BROADCAST, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0,
                        SMTO_ABORTIFHUNG, 5000, &result);
    return 0;
  }
  if (command == L"menu-open") return OpenMenu(number(2)) ? 0 : 1;
  if (command == L"menu-close") {
    if (HWND menu = MenuWindow()) PostKey(menu, VK_ESCAPE);
    return WaitFor(5, [] { return MenuWindow() == nullptr; }) ? 0 : 1;
  }
  if (command == L"command" && argc >= 3) {
    const int item = static_cast<int>(number(2));
    if (!OpenMenu(number(3))) return 1;
    HWND menu = MenuWindow();
    for (int i = 0; i < item; ++i) PostKey(menu, VK_DOWN);
    PostKey(menu, VK_RETURN);
    return WaitFor(5, [] { return MenuWindow() == nullptr; }) ? 0 : 1;
  }
  if (command == L"dialog-wait" && argc >= 3) {
    const wchar_t* caption = argv[2];
    return WaitFor(number(3), [caption] { return Dialog(caption) != nullptr; }) ? 0 : 1;
  }
  if (command == L"dialog-cancel" && argc >= 3) {
    const wchar_t* caption = argv[2];
    if (HWND dialog = Dialog(caption)) Click(Button(dialog, L"Cancel"));
    return WaitFor(5, [caption] { return Dialog(caption) == nullptr; }) ? 0 : 1;
  }
  if (command == L"rect" && argc >= 3) {
    HWND window = std::wstring(argv[2]) == L"menu" ? MenuWindow() : Dialog(argv[2]);
    RECT rect;
    if (!window || !GetWindowRect(window, &rect)) return 1;
    std::printf("%ldx%ld+%ld+%ld\n", rect.right - rect.left, rect.bottom - rect.top, rect.left,
                rect.top);
    return 0;
  }
  if (command == L"arm-real-time") return ArmRealTime(number(2));
  if (command == L"expect-keys" && argc >= 3) return ExpectKeys(argv[2], number(3));
  if (command == L"close") {
    HWND main = MainWindow();
    if (!main) return 1;
    PostMessageW(main, WM_CLOSE, 0, 0);
    if (!WaitFor(number(2), [main] { return !IsWindow(main); })) return 1;
    return TrayHolds(main) ? 1 : 0;
  }
  if (command == L"hold") {
    CreateWindowExW(0, L"STATIC", L"Tarvex test desktop keeper", WS_POPUP, 0, 0, 1, 1, nullptr,
                    nullptr, GetModuleHandleW(nullptr), nullptr);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
    return 0;
  }
  if (command == L"second-instance" && argc >= 3) return SecondInstance(argv[2], number(3));
  std::fprintf(stderr, "unknown command\n");
  return 2;
}
