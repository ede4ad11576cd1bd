#include "platform/win32/win32_platform.h"

#include <commdlg.h>
#include <shlobj.h>

#include <algorithm>
#include <string>
#include <string_view>

#include "platform/autostart.h"
#include "platform/startup.h"
#include "platform/win32/dialog_window.h"
#include "platform/win32/handles.h"
#include "platform/win32/keyboard.h"
#include "platform/win32/menu.h"
#include "platform/win32/names.h"
#include "platform/win32/text.h"
#include "tarvex_version.h"

namespace tarvex::win32 {
namespace {

// The file dialog's hook: once the dialog is laid out, it is moved to the middle of the work area
// of the screen (the dialog itself is the hook dialog's parent).
UINT_PTR CALLBACK CentreFileDialog(HWND hook, UINT message, WPARAM /*wParam*/, LPARAM lParam) {
  if (message != WM_NOTIFY || reinterpret_cast<const NMHDR*>(lParam)->code != CDN_INITDONE)
    return 0;
  HWND dialog = GetParent(hook);
  RECT frame{}, area{};
  if (!GetWindowRect(dialog, &frame) || !SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0))
    return 0;
  const int width = frame.right - frame.left, height = frame.bottom - frame.top;
  SetWindowPos(dialog, nullptr, area.left + (area.right - area.left - width) / 2,
               area.top + (area.bottom - area.top - height) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  return 0;
}

}  // namespace

namespace {

// How long a later start keeps its own tray icon for the notice that Tarvex runs.
constexpr DWORD kNoticeMs = 6000;

}  // namespace

Win32Platform::Win32Platform(HINSTANCE instance) : instance_(instance) {}

void Win32Platform::StartTimer(int intervalMs) {
  // A window timer keeps firing inside the modal loops of menus, message boxes and dialogs.
  SetTimer(main_, kTickTimer, static_cast<UINT>(intervalMs), nullptr);
}

void Win32Platform::StopTimer() {
  KillTimer(main_, kTickTimer);
}

bool Win32Platform::NotifyIcon(TrayMessage message, const TrayIcon& icon) {
  trayId_ = icon.ID;
  HICON picture = message == TrayMessage::Delete ? nullptr : icons_.Get(icon.Icon);
  NOTIFYICONDATAW data = NotifyIconData(icon, main_, picture);
  switch (message) {
    case TrayMessage::Add:
      // An icon that the shell still holds (a "TaskbarCreated" without a restart) is brought up
      // to date instead.
      return Shell_NotifyIconW(NIM_ADD, &data) || Shell_NotifyIconW(NIM_MODIFY, &data);
    case TrayMessage::Modify:
      // The window shows the same picture as the tray.
      if (picture) SendMessageW(main_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(picture));
      // An icon that the shell lost without telling is added again.
      return Shell_NotifyIconW(NIM_MODIFY, &data) || Shell_NotifyIconW(NIM_ADD, &data);
    case TrayMessage::Delete:
      return Shell_NotifyIconW(NIM_DELETE, &data) != FALSE;
  }
  return false;
}

void Win32Platform::ReloadIcons() {
  // The window lets go of the picture before the cache destroys it.
  if (main_) SendMessageW(main_, WM_SETICON, ICON_SMALL, 0);
  icons_.Clear();
  alertIcons_.Clear();
}

void Win32Platform::BringToForeground() {
  SetForegroundWindow(main_);
}

std::optional<MenuItem> Win32Platform::ShowPopupMenu(std::span<const MenuEntry> items) {
  MenuHandle menu = BuildPopupMenu(items);
  if (!menu) return std::nullopt;
  return ItemOfCommand(TrackMenuAtCursor(menu.get(), main_));
}

void Win32Platform::ShowMessage(std::string_view text, std::string_view title) {
  const std::wstring wideText = Widen(text);
  const std::wstring wideTitle = Widen(title);
  // One OK button and no icon; in front even when it comes from the tray.
  MessageBoxW(ModalOwner(), wideText.c_str(), wideTitle.c_str(), MB_OK | MB_SETFOREGROUND);
}

std::string Win32Platform::ShowOpenFileDialog(const FileOpenRequest& request) {
  // Description, NUL, pattern, NUL, NUL.
  const std::wstring filter = Widen(request.FilterDescription) + L'\0' +
                              Widen(request.FilterPattern) + std::wstring(2, L'\0');
  const std::wstring folder = Widen(request.InitialFolder);
  const std::wstring title = Widen(request.Title);
  std::wstring file = Widen(request.FileName);
  file.resize(std::max<std::size_t>(file.size() + 1, 32768), L'\0');

  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = ModalOwner();
  dialog.lpstrFilter = filter.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(file.size());
  dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  dialog.lpstrTitle = title.empty() ? nullptr : title.c_str();
  // No read-only box, the process's current folder left alone, and placed by the hook.
  dialog.Flags = OFN_EXPLORER | OFN_NOCHANGEDIR | OFN_HIDEREADONLY | OFN_ENABLEHOOK;
  dialog.lpfnHook = CentreFileDialog;
  if (!GetOpenFileNameW(&dialog)) return {};
  return Narrow(file.c_str());
}

void Win32Platform::ShowDialog(Dialog& dialog) {
  const DialogKind kind = dialog.Kind();
  RunModalDialog(instance_, dialog, [this, kind, &dialog](HWND window) {
    dialogs_.push_back({kind, &dialog, window});
  });
  std::erase_if(dialogs_, [&dialog](const OpenDialog& open) { return open.Presenter == &dialog; });
}

void Win32Platform::ActivateMessage(std::string_view title) {
  // A message box is a dialog window of the system's class, titled as it was shown, in this
  // thread.
  const std::wstring wanted = Widen(title);
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM name) {
        wchar_t className[16] = {}, text[256] = {};
        GetClassNameW(window, className, 16);
        GetWindowTextW(window, text, 256);
        if (std::wstring_view(className) == L"#32770" && IsWindowVisible(window) &&
            *reinterpret_cast<const std::wstring*>(name) == text)
          SetForegroundWindow(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&wanted));
}

void Win32Platform::ActivateDialog(DialogKind kind) {
  for (const OpenDialog& open : dialogs_) {
    if (open.Kind != kind) continue;
    if (IsIconic(open.Window)) ShowWindow(open.Window, SW_RESTORE);
    SetForegroundWindow(open.Window);
  }
}

void Win32Platform::CloseDialog(DialogKind kind) {
  for (const OpenDialog& open : dialogs_) {
    if (open.Kind != kind) continue;
    open.Presenter->Unload();
    EndDialogWindow(open.Window);
  }
}

void Win32Platform::ShowAlert(const MoonAlert& alert) {
  NOTIFYICONDATAW data = AlertIconData(alert, main_, trayId_, alertIcons_.Get(alert.Icon));
  Shell_NotifyIconW(NIM_MODIFY, &data);
  // Held back, the notification would come later and silently: the player hears it now.
  if (alert.Sound && NotificationsHeldBack()) PlayNotificationSound();
}

void Win32Platform::CloseMainWindow() {
  // Posted: the handler that asked (a menu command, perhaps inside a dialog) finishes first.
  PostMessageW(main_, WM_CLOSE, 0, 0);
}

HWND Win32Platform::ModalOwner() const {
  return dialogs_.empty() ? nullptr : dialogs_.back().Window;
}

std::string Win32Platform::HomeFolder() {
  wchar_t folder[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_PROFILE, nullptr, SHGFP_TYPE_CURRENT, folder)))
    return {};
  std::wstring home = folder;
  if (!home.empty() && home.back() != L'\\') home += L'\\';
  return Narrow(home);
}

std::optional<std::string> Win32Platform::FindNormalFile(const std::string& path) {
  const std::wstring widePath = Widen(path);
  // Wildcards would make the look-up a search.
  if (widePath.empty() || widePath.find_first_of(L"*?") != std::wstring::npos) return std::nullopt;
  WIN32_FIND_DATAW found{};
  HANDLE search = FindFirstFileW(widePath.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return std::nullopt;
  FindClose(search);
  constexpr DWORD kNotNormal =
      FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  if (found.dwFileAttributes & kNotNormal) return std::nullopt;
  return Narrow(found.cFileName);
}

std::optional<ProcessId> Win32Platform::StartProgram(const std::string& path,
                                                     const std::string& workingFolder,
                                                     int showWindow) {
  const std::wstring application = Widen(path);
  const std::wstring folder = Widen(workingFolder);
  std::wstring commandLine = L"\"" + application + L"\"";

  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(showWindow);
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(application.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.empty() ? nullptr : folder.c_str(), &startup, &process)) {
    return std::nullopt;
  }
  KernelHandle processHandle(process.hProcess);
  KernelHandle threadHandle(process.hThread);
  return process.dwProcessId;
}

bool Win32Platform::FocusBelongsTo(ProcessId process) {
  HWND foreground = GetForegroundWindow();
  if (!foreground) return false;
  DWORD owner = 0;
  GetWindowThreadProcessId(foreground, &owner);
  return owner == process;
}

void Win32Platform::PlayKeystrokes(std::string_view keys) {
  PlayKeystrokeText(keys);
}

std::vector<ScreenArea> Win32Platform::ScreenAreas() {
  std::vector<ScreenArea> areas;
  EnumDisplayMonitors(
      nullptr, nullptr,
      [](HMONITOR monitor, HDC, RECT*, LPARAM found) {
        MONITORINFO info{};
        info.cbSize = sizeof info;
        if (GetMonitorInfoW(monitor, &info)) {
          const RECT& work = info.rcWork;
          reinterpret_cast<std::vector<ScreenArea>*>(found)->push_back(
              {work.left, work.top, work.right - work.left, work.bottom - work.top});
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&areas));
  return areas;
}

bool Win32Platform::BringRunningForward() {
  HWND running = FindWindowW(kMainWindowClass, kMainWindowCaption);
  if (!running) return false;
  // This start came from the user: the running Tarvex may take the foreground from it.
  DWORD process = 0;
  GetWindowThreadProcessId(running, &process);
  AllowSetForegroundWindow(process);
  DWORD_PTR answer = 0;
  return SendMessageTimeoutW(running, RegisterWindowMessageW(kBringForwardMessage), 0, 0,
                             SMTO_ABORTIFHUNG | SMTO_BLOCK, 5000, &answer) != 0 &&
         static_cast<LRESULT>(answer) == kBroughtForward;
}

void Win32Platform::ShowNotice(std::string_view text) {
  // A notification belongs to a tray icon: one of this process's own, for as long as the shell
  // shows the notification; a message box where there is no notification area.
  HWND owner =
      CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance_, nullptr);
  TrayIcon icon;
  icon.Flags = NIF_ICON;
  NOTIFYICONDATAW data = NotifyIconData(icon, owner, icons_.Get(kProgramIcon));
  if (owner && Shell_NotifyIconW(NIM_ADD, &data)) {
    NOTIFYICONDATAW notice = AlertIconData({std::string(text), kProgramIcon, false}, owner, icon.ID,
                                           alertIcons_.Get(kProgramIcon));
    Shell_NotifyIconW(NIM_MODIFY, &notice);
    Sleep(kNoticeMs);
    Shell_NotifyIconW(NIM_DELETE, &data);
  } else {
    const std::wstring wide = Widen(text);
    const std::wstring title = Widen(kProductName);
    MessageBoxW(nullptr, wide.c_str(), title.c_str(), MB_OK | MB_SETFOREGROUND);
  }
  if (owner) DestroyWindow(owner);
}

bool Win32Platform::StartsAtLogIn() {
  return LogInEntryStarts(RunningProgram());
}

Result Win32Platform::SetStartAtLogIn(bool on) {
  return on ? WriteLogInEntry(RunningProgram()) : DeleteLogInEntry();
}

}  // namespace tarvex::win32
