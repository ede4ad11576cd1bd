#include "platform/win32/keyboard.h"

#include <chrono>

#include "dialogs/secret_text.h"

namespace tarvex::win32 {
namespace {

INPUT VirtualKey(WORD key, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return input;
}

INPUT UnicodeKey(wchar_t unit, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wScan = unit;
  input.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0);
  return input;
}

void Press(std::vector<INPUT>& inputs, INPUT down) {
  inputs.push_back(down);
  down.ki.dwFlags |= KEYEVENTF_KEYUP;
  inputs.push_back(down);
}

// The thread that owns the window with the focus (0 when no window is in the foreground).
DWORD FocusThread() {
  HWND foreground = GetForegroundWindow();
  return foreground ? GetWindowThreadProcessId(foreground, nullptr) : 0;
}

// Waits until the thread with the focus has taken about `messages` messages from its queue. A
// message sent to a thread is handled when it next looks at its queue, so each round trip lets
// it take at least one more queued message first.
void WaitForKeysTaken(std::size_t messages) {
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + std::chrono::seconds(5);
  const DWORD thread = FocusThread();
  if (thread == 0) return;
  if (thread == GetCurrentThreadId()) {
    // Typing into one of our own windows: handle the keys here.
    MSG message;
    while (Clock::now() < deadline &&
           PeekMessageW(&message, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    return;
  }
  for (std::size_t i = 0; i < messages + 2 && Clock::now() < deadline; ++i) {
    HWND foreground = GetForegroundWindow();
    if (!foreground || GetWindowThreadProcessId(foreground, nullptr) != thread) return;
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(foreground, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 500, &result)) return;
  }
}

}  // namespace

std::vector<INPUT> KeystrokeInputs(std::span<const Keystroke> keys) {
  std::vector<INPUT> inputs;
  // Reserved whole (a key takes four events at most, two units pressed and released), so that no
  // copy of a password's character is left behind as the list fills.
  inputs.reserve(keys.size() * 4);
  for (const Keystroke& key : keys) {
    switch (key.What) {
      case Keystroke::Kind::Enter:
        Press(inputs, VirtualKey(VK_RETURN, false));
        break;
      case Keystroke::Kind::Tab:
        Press(inputs, VirtualKey(VK_TAB, false));
        break;
      case Keystroke::Kind::Character:
        if (key.Character > 0xFFFF) {
          const char32_t offset = key.Character - 0x10000;  // [0, 0xFFFFF]
          Press(inputs, UnicodeKey(static_cast<wchar_t>(0xD800 + (offset >> 10)), false));
          Press(inputs, UnicodeKey(static_cast<wchar_t>(0xDC00 + (offset & 0x3FF)), false));
        } else {
          Press(inputs, UnicodeKey(static_cast<wchar_t>(key.Character), false));
        }
        break;
    }
  }
  return inputs;
}

void PlayKeystrokeText(std::string_view text) {
  std::vector<INPUT> inputs = KeystrokeInputs(ParseKeystrokes(text).keys());
  if (inputs.empty()) return;
  const UINT sent = SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  WipeMemory(inputs.data(), inputs.size() * sizeof(INPUT));  // the text may be a password
  // A key press queues a key-down, a key-up and the character that translating it posts.
  WaitForKeysTaken(sent / 2 * 3);
}

}  // namespace tarvex::win32
