// A stand-in for the game's executable in the launch test: one log-in window that records, in
// keys.log beside the program, how it was started and every character it receives.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::wstring LogPath() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring log = path;
  return log.substr(0, log.find_last_of(L'\\') + 1) + L"keys.log";
}

void Log(const char* line) {
  if (FILE* file = _wfopen(LogPath().c_str(), L"ab")) {
    std::fputs(line, file);
    std::fputs("\n", file);
    std::fclose(file);
  }
}

LRESULT CALLBACK LogInProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CHAR:
    case WM_SYSCHAR: {
      // One UTF-16 unit per line, in hexadecimal; a minimized window gets WM_SYSCHAR instead.
      char line[16];
      std::snprintf(line, sizeof line, "%04X", static_cast<unsigned>(wParam) & 0xFFFF);
      Log(line);
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCode) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  GetStartupInfoW(&startup);
  wchar_t folder[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, folder);
  char line[MAX_PATH * 3 + 32];
  std::snprintf(
      line, sizeof line, "show %d",
      (startup.dwFlags & STARTF_USESHOWWINDOW) ? static_cast<int>(startup.wShowWindow) : -1);
  Log(line);
  char folderUtf8[MAX_PATH * 3] = {};
  WideCharToMultiByte(CP_UTF8, 0, folder, -1, folderUtf8, sizeof folderUtf8, nullptr, nullptr);
  std::snprintf(line, sizeof line, "folder %s", folderUtf8);
  Log(line);

  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = LogInProc;
  windowClass.hInstance = instance;
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszClassName = L"VrakStandIn";
  RegisterClassW(&windowClass);
  HWND window = CreateWindowW(L"VrakStandIn", L"Kestrune Log-in", WS_OVERLAPPEDWINDOW, 100, 100,
                              320, 200, nullptr, nullptr, instance, nullptr);
  // Started minimized and active, as asked; like a game, it then comes up for its log-in.
  ShowWindow(window, showCode);
  ShowWindow(window, SW_RESTORE);
  SetForegroundWindow(window);
  SetFocus(window);
  Log("ready");

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}
