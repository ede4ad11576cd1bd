#include "shell/tests/support/recording_platform.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "shell/frmTarvexMain.h"

namespace tarvex::testing {

const char* Name(DialogKind kind) {
  return kind == DialogKind::DateTime ? "DateTime" : "AutoRun";
}

const char* Name(TrayMessage message) {
  switch (message) {
    case TrayMessage::Add:
      return "Add";
    case TrayMessage::Modify:
      return "Modify";
    case TrayMessage::Delete:
      return "Delete";
  }
  return "?";
}

std::vector<TrayCall> RecordingPlatform::TrayCalls(TrayMessage message) const {
  std::vector<TrayCall> calls;
  std::copy_if(Tray.begin(), Tray.end(), std::back_inserter(calls),
               [message](const TrayCall& call) { return call.Message == message; });
  return calls;
}

std::size_t RecordingPlatform::CountLog(std::string_view prefix) const {
  return static_cast<std::size_t>(std::count_if(Log.begin(), Log.end(), [prefix](const auto& line) {
    return std::string_view(line).substr(0, prefix.size()) == prefix;
  }));
}

void RecordingPlatform::StartTimer(int intervalMs) {
  Log.push_back("StartTimer " + std::to_string(intervalMs));
}

bool RecordingPlatform::NotifyIcon(TrayMessage message, const tarvex::TrayIcon& icon) {
  Log.push_back(std::string("NotifyIcon ") + Name(message));
  Tray.push_back({message, icon});
  if (NotifyResults.empty()) return true;
  const bool result = NotifyResults.front();
  NotifyResults.pop_front();
  return result;
}

void RecordingPlatform::BringToForeground() {
  Log.push_back("BringToForeground");
  ++ForegroundCalls;
}

std::optional<MenuItem> RecordingPlatform::ShowPopupMenu(std::span<const MenuEntry> items) {
  Log.push_back("ShowPopupMenu");
  MenusShown.emplace_back(items.begin(), items.end());
  if (MenuChoices.empty()) return std::nullopt;
  const std::optional<MenuItem> choice = MenuChoices.front();
  MenuChoices.pop_front();
  return choice;
}

void RecordingPlatform::ShowMessage(std::string_view text, std::string_view title) {
  Log.push_back("ShowMessage " + std::string(title) + ": " + std::string(text));
  Messages.push_back({std::string(text), std::string(title)});
  if (DuringMessage) DuringMessage(Messages.back());
}

std::string RecordingPlatform::ShowOpenFileDialog(const FileOpenRequest& request) {
  Log.push_back("ShowOpenFileDialog");
  FileRequests.push_back(request);
  if (FilesToChoose.empty()) return {};
  std::string chosen = std::move(FilesToChoose.front());
  FilesToChoose.pop_front();
  return chosen;
}

void RecordingPlatform::ShowDialog(Dialog& dialog) {
  Log.push_back(std::string("ShowDialog ") + Name(dialog.Kind()));
  DialogsShown.push_back(dialog.Kind());
  open_.push_back(&dialog);
  if (!DialogActions.empty()) {
    const std::function<void(Dialog&)> action = std::move(DialogActions.front());
    DialogActions.pop_front();
    action(dialog);
  }
  if (!dialog.Closed()) dialog.CloseBox();
  open_.erase(std::find(open_.begin(), open_.end(), &dialog));
}

void RecordingPlatform::ActivateDialog(DialogKind kind) {
  Log.push_back(std::string("ActivateDialog ") + Name(kind));
  DialogsActivated.push_back(kind);
}

void RecordingPlatform::CloseDialog(DialogKind kind) {
  Log.push_back(std::string("CloseDialog ") + Name(kind));
  for (Dialog* dialog : open_) {
    if (dialog->Kind() == kind) dialog->Unload();
  }
}

void RecordingPlatform::CloseMainWindow() {
  Log.push_back("CloseMainWindow");
  if (Main) Main->Form_Unload();
}

std::optional<std::string> RecordingPlatform::FindNormalFile(const std::string& path) {
  Log.push_back("FindNormalFile " + path);
  Lookups.push_back(path);
  const auto found = Files.find(path);
  if (found == Files.end()) return std::nullopt;
  return found->second;
}

std::optional<ProcessId> RecordingPlatform::StartProgram(const std::string& path,
                                                         const std::string& workingFolder,
                                                         int showWindow) {
  Log.push_back("StartProgram " + path);
  Started.push_back({path, workingFolder, showWindow});
  if (!StartSucceeds) return std::nullopt;
  return NextProcess;
}

std::string RecordingPlatform::KeystrokeLimitation() {
  Log.push_back("KeystrokeLimitation");
  return Limitation;
}

bool RecordingPlatform::FocusBelongsTo(ProcessId process) {
  Log.push_back("FocusBelongsTo");
  FocusQuestions.push_back(process);
  return FocusOwner == process;
}

void RecordingPlatform::PlayKeystrokes(std::string_view keys) {
  Log.push_back("PlayKeystrokes " + std::string(keys));
  Keystrokes.emplace_back(keys);
  if (AfterKeystrokes) AfterKeystrokes(keys);
}

}  // namespace tarvex::testing
