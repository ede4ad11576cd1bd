// Tarvex for Windows: a hidden main window that delivers the desktop's events to the tray
// presenter, one instance per user session.
#include <windows.h>

#include "engine/icons.h"
#include "engine/modGeneral.h"
#include "platform/startup.h"
#include "platform/win32/handles.h"
#include "platform/win32/names.h"
#include "platform/win32/win32_platform.h"
#include "shell/frmClock.h"
#include "shell/frmTarvexMain.h"

namespace tarvex::win32 {
namespace {

// Everything the main window's procedure reaches.
struct MainWindow {
  Win32Platform* platform = nullptr;
  frmTarvexMain* form = nullptr;
  UINT taskbarCreated = 0;
  UINT bringForward = 0;  // kBringForwardMessage

  // Whatever ends the program: the presenter's unload (which runs once), then the window goes.
  void Unload(HWND window) {
    form->Form_Unload();
    DestroyWindow(window);
  }
};

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    return DefWindowProcW(window, message, wParam, lParam);
  }
  if (!self || !self->form) return DefWindowProcW(window, message, wParam, lParam);

  if (message == self->taskbarCreated && message != 0) {
    // The shell restarted (or the display changed): the icon is added again at the new size.
    self->platform->ReloadIcons();
    self->form->TaskbarCreated();
    return 0;
  }
  if (message == self->bringForward && message != 0) {
    self->form->StartedAgain();
    return kBroughtForward;
  }
  switch (message) {
    case WM_TIMER:
      if (wParam == Win32Platform::kTickTimer) self->form->tmrUpdateTimes_Timer();
      return 0;
    case kTrayCallbackMessage:
      // The presenter looks only at the mouse event's code (kRightButtonUp opens the menu).
      self->form->Form_MouseMove(0, 0, static_cast<float>(LOWORD(lParam)), 0);
      return 0;
    case WM_DISPLAYCHANGE:
      // Perhaps another small-icon size: the next change of the tray loads the pictures anew.
      self->platform->ReloadIcons();
      return 0;
    case WM_CLOSE:
      self->Unload(window);
      return 0;
    case WM_QUERYENDSESSION:
      // The session ends: save now, since the process may not get another message.
      self->Unload(window);
      return TRUE;
    case WM_ENDSESSION:
      if (wParam) self->Unload(window);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

int Run(HINSTANCE instance) {
  // A second start leaves the first running and brings it forward.
  KernelHandle instanceMutex(CreateMutexW(nullptr, FALSE, kSingleInstanceMutex));
  if (!instanceMutex) return 0;
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    Win32Platform platform(instance);
    StartedWhileRunning(platform);
    return 0;
  }

  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = MainWindowProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(kProgramIcon));
  windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  windowClass.lpszClassName = kMainWindowClass;
  if (!RegisterClassExW(&windowClass)) return 1;

  Win32Platform platform(instance);
  frmTarvexMain form(platform);
  MainWindow self{&platform, nullptr, RegisterWindowMessageW(L"TaskbarCreated"),
                  RegisterWindowMessageW(kBringForwardMessage)};

  // Never shown: a plain top-level window, not a message-only one, so that it receives the
  // shell's broadcast "TaskbarCreated".
  HWND window = CreateWindowExW(0, kMainWindowClass, kMainWindowCaption, WS_OVERLAPPEDWINDOW,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr,
                                nullptr, instance, &self);
  if (!window) return 1;
  platform.Attach(window);
  platform.SetClockEvents({[&form] { form.ClockWindow_Close(); },
                           [&form](WindowCorner place) { form.ClockWindow_Moved(place); },
                           [&form] { form.ClockWindow_Menu(); }});
  self.form = &form;
  form.Form_Load();

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}

}  // namespace
}  // namespace tarvex::win32

int main(int argc, char** argv) {
  tarvex::StartProcess(argc, argv);
  tarvex::ChooseDataFolder(tarvex::PerUserDataFolder(), tarvex::InstalledProgram());
  return tarvex::win32::Run(GetModuleHandleW(nullptr));
}
