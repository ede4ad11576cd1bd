// A desktop for tests: it records every call the presenters make, in order, and answers the
// modal ones (file dialog, dialogs, popup menu, keyboard focus) from a script that the test sets
// up beforehand.
#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "shell/platform.h"

namespace tarvex {
class frmTarvexMain;
}

namespace tarvex::testing {

struct TrayCall {
  TrayMessage Message;
  tarvex::TrayIcon Icon;
};

struct MessageCall {
  std::string Text;
  std::string Title;
};

struct StartCall {
  std::string Path;
  std::string WorkingFolder;
  int ShowWindow;
};

class RecordingPlatform final : public Platform {
 public:
  // --- Script ---------------------------------------------------------------------------------
  // What the user does in each dialog shown, in turn, run inside ShowDialog. A dialog still open
  // when its action is done is closed with its close box, as a user would.
  std::deque<std::function<void(Dialog&)>> DialogActions;
  // The files chosen in the file dialogs shown, in turn; an empty text (or none left) cancels.
  std::deque<std::string> FilesToChoose;
  // The items chosen in the popup menus shown, in turn; none (or none left) dismisses the menu.
  std::deque<std::optional<MenuItem>> MenuChoices;
  // The results of NotifyIcon calls, in turn; true when none are left.
  std::deque<bool> NotifyResults;
  // Runs inside each message box, as the desktop would run ticks nested in its wait.
  std::function<void(const MessageCall&)> DuringMessage;
  // The process whose window has the keyboard focus; none for another program's window.
  std::optional<ProcessId> FocusOwner;
  // Runs after each keystroke text has been played (e.g. to move the focus elsewhere).
  std::function<void(std::string_view)> AfterKeystrokes;
  // Normal files by path, with their names as stored.
  std::map<std::string, std::string> Files;
  bool StartSucceeds = true;
  ProcessId NextProcess = 4242;
  std::string Limitation;
  // The window whose Form_Unload runs when the main window is closed, as a front-end does.
  frmTarvexMain* Main = nullptr;

  // --- Record ---------------------------------------------------------------------------------
  std::vector<std::string> Log;  // every call in order, one line each, e.g. "CloseDialog AutoRun"
  std::vector<TrayCall> Tray;
  std::vector<MessageCall> Messages;
  std::vector<FileOpenRequest> FileRequests;
  std::vector<std::vector<MenuEntry>> MenusShown;
  std::vector<DialogKind> DialogsShown;
  std::vector<DialogKind> DialogsActivated;
  std::vector<std::string> Lookups;
  std::vector<StartCall> Started;
  std::vector<ProcessId> FocusQuestions;
  std::vector<std::string> Keystrokes;
  int ForegroundCalls = 0;

  // Tray calls of one kind.
  std::vector<TrayCall> TrayCalls(TrayMessage message) const;
  // Log lines that begin with `prefix`.
  std::size_t CountLog(std::string_view prefix) const;

  // --- Platform -------------------------------------------------------------------------------
  void StartTimer(int intervalMs) override;
  bool NotifyIcon(TrayMessage message, const tarvex::TrayIcon& icon) override;
  void BringToForeground() override;
  std::optional<MenuItem> ShowPopupMenu(std::span<const MenuEntry> items) override;
  void ShowMessage(std::string_view text, std::string_view title) override;
  std::string ShowOpenFileDialog(const FileOpenRequest& request) override;
  void ShowDialog(Dialog& dialog) override;
  void ActivateDialog(DialogKind kind) override;
  void CloseDialog(DialogKind kind) override;
  void CloseMainWindow() override;
  std::optional<std::string> FindNormalFile(const std::string& path) override;
  std::optional<ProcessId> StartProgram(const std::string& path, const std::string& workingFolder,
                                        int showWindow) override;
  std::string KeystrokeLimitation() override;
  bool FocusBelongsTo(ProcessId process) override;
  void PlayKeystrokes(std::string_view keys) override;

 private:
  std::vector<Dialog*> open_;  // dialogs being shown, innermost last
};

const char* Name(DialogKind kind);
const char* Name(TrayMessage message);

}  // namespace tarvex::testing
