// A stand-in for the game in the launch test: a log-in window that writes to keys.log beside the
// program, in UTF-16, how it was started ("show" code, working folder), "ready", then every
// character it receives.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

void Log(const std::wstring& text) {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring log = path;
  log = log.substr(0, log.find_last_of(L'\\') + 1) + L"keys.log";
  if (FILE* file = _wfopen(log.c_str(), L"ab")) {
    std::fwrite(text.data(), sizeof(wchar_t), text.size(), file);
    std::fclose(file);
  }
}

LRESULT CALLBACK LogInProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const bool character = message == WM_CHAR || message == WM_SYSCHAR;  // SYS while minimized
  if (character) Log(std::wstring(1, static_cast<wchar_t>(wParam)));
  if (message == WM_DESTROY) PostQuitMessage(0);
  return character ? 0 : DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCode) {
  wchar_t folder[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, folder);
  Log(L"show " + std::to_wstring(showCode) + L"\nfolder " + folder + L"\n");
  const WNDCLASSW windowClass{0,       LogInProc, 0,       0,       instance,
                              nullptr, nullptr,   nullptr, nullptr, L"VrakStandIn"};
  RegisterClassW(&windowClass);
  HWND window = CreateWindowW(L"VrakStandIn", L"Kestrune Log-in", WS_OVERLAPPEDWINDOW, 100, 100,
                              320, 200, nullptr, nullptr, instance, nullptr);
  // Started minimized and active, as asked; like a game, it then comes up for its log-in.
  ShowWindow(window, showCode);
  ShowWindow(window, SW_RESTORE);
  SetForegroundWindow(window);
  SetFocus(window);
  Log(L"ready\n");
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}
