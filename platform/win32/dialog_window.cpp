#include "platform/win32/dialog_window.h"

#include <climits>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "dialogs/secret_text.h"
#include "platform/win32/text.h"

namespace tarvex::win32 {
namespace {

// Predefined window classes of dialog templates, by atom.
constexpr WORD kButtonClass = 0x0080;
constexpr WORD kEditClass = 0x0081;
constexpr WORD kStaticClass = 0x0082;

struct Session {
  Dialog* dialog = nullptr;
  bool modal = true;
  std::function<void(HWND)> opened;
};

class TemplateWriter {
 public:
  void Word(WORD value) { words_.push_back(value); }
  void Dword(DWORD value) {
    Word(LOWORD(value));
    Word(HIWORD(value));
  }
  void Text(std::wstring_view text) {
    words_.insert(words_.end(), text.begin(), text.end());
    Word(0);
  }
  void AlignToDword() {
    if (words_.size() % 2 != 0) Word(0);
  }
  std::vector<WORD> Take() { return std::move(words_); }

 private:
  std::vector<WORD> words_;
};

// "&" marks a mnemonic in button captions; a caption is shown exactly as given.
std::wstring Literal(std::string_view caption) {
  std::wstring text;
  for (wchar_t c : Widen(caption)) {
    text += c;
    if (c == L'&') text += L'&';
  }
  return text;
}

DWORD StaticAlignment(Align alignment) {
  switch (alignment) {
    case Align::Center:
      return SS_CENTER;
    case Align::Right:
      return SS_RIGHT;
    case Align::Left:
      break;
  }
  return SS_LEFT;
}

void WriteControl(TemplateWriter& out, const Control& control, int id, bool groupContinues) {
  DWORD style = WS_CHILD | WS_VISIBLE;
  DWORD extended = 0;
  WORD windowClass = kButtonClass;
  std::wstring caption = Literal(control.Caption);
  switch (control.Kind) {
    case ControlKind::Label:
      windowClass = kStaticClass;
      style |= StaticAlignment(control.Alignment) | SS_NOPREFIX | WS_GROUP;
      caption = Widen(control.Caption);
      break;
    case ControlKind::TextBox:
      windowClass = kEditClass;
      style |= ES_AUTOHSCROLL | WS_TABSTOP | WS_GROUP | (control.Password ? ES_PASSWORD : 0);
      extended |= WS_EX_CLIENTEDGE;
      caption.clear();
      break;
    case ControlKind::Button:
      style |= (control.Default ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | WS_TABSTOP | WS_GROUP;
      break;
    case ControlKind::OptionButton:
      // Not an automatic radio button: the presenter owns the selection and it is shown after
      // every click.
      style |= BS_RADIOBUTTON | WS_TABSTOP | (groupContinues ? 0 : WS_GROUP);
      break;
    case ControlKind::CheckBox:
      // Not automatic either: the presenter owns the check and it is shown after every click.
      style |= BS_CHECKBOX | WS_TABSTOP | WS_GROUP;
      break;
    case ControlKind::Frame:
      style |= BS_GROUPBOX | WS_GROUP;
      break;
  }
  out.AlignToDword();
  out.Dword(style);
  out.Dword(extended);
  out.Word(static_cast<WORD>(control.X));
  out.Word(static_cast<WORD>(control.Y));
  out.Word(static_cast<WORD>(control.Width));
  out.Word(static_cast<WORD>(control.Height));
  out.Word(static_cast<WORD>(id));
  out.Word(0xFFFF);
  out.Word(windowClass);
  out.Text(caption);
  out.Word(0);  // no creation data
}

Session* SessionOf(HWND window) {
  return reinterpret_cast<Session*>(GetWindowLongPtrW(window, DWLP_USER));
}

// The text of a window; a caller that reads a secret box wipes it (WipeText).
std::wstring WindowText(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(
      static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

void WipeText(std::wstring& text) {
  WipeMemory(text.data(), text.size() * sizeof(wchar_t));
}

// `wide` as a secret UTF-8 text, converted straight into the secret's own block.
SecretText NarrowSecret(std::wstring_view wide) {
  SecretText secret;
  if (wide.empty() || wide.size() > INT_MAX) return secret;
  const int size = static_cast<int>(wide.size());
  const int length =
      WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  if (length <= 0) return secret;
  const std::span<char> block = secret.Reserve(static_cast<std::size_t>(length));
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, block.data(), length, nullptr, nullptr);
  return secret;
}

// The labels' captions as the presenter words them now.
void ShowCaptions(HWND window, const Dialog& dialog) {
  const auto controls = dialog.Controls();
  for (std::size_t i = 0; i < controls.size(); ++i) {
    if (controls[i].Kind != ControlKind::Label) continue;
    HWND widget = GetDlgItem(window, ControlWindowId(i));
    const std::wstring caption = Widen(dialog.LabelCaption(controls[i].Id));
    if (WindowText(widget) != caption) SetWindowTextW(widget, caption.c_str());
  }
}

// The presenter's texts and option states, shown in the widgets.
void ShowValues(HWND window, const Dialog& dialog) {
  ShowCaptions(window, dialog);
  const auto controls = dialog.Controls();
  for (std::size_t i = 0; i < controls.size(); ++i) {
    HWND widget = GetDlgItem(window, ControlWindowId(i));
    if (controls[i].Kind == ControlKind::TextBox) {
      // A secret box shows what was typed, which is what the presenter holds.
      if (controls[i].Password) continue;
      const std::wstring text = Widen(dialog.Text(controls[i].Id));
      // Only a changed text is put back, so that the caret stays where the user left it.
      if (WindowText(widget) != text) SetWindowTextW(widget, text.c_str());
    } else if (controls[i].Kind == ControlKind::OptionButton ||
               controls[i].Kind == ControlKind::CheckBox) {
      SendMessageW(widget, BM_SETCHECK, dialog.Value(controls[i].Id) ? BST_CHECKED : BST_UNCHECKED,
                   0);
    }
  }
}

// What the user typed into text box `box`, read from its edit control; the wide copy is wiped.
SecretText Typed(HWND window, const Dialog& dialog, tarvex::ControlId box) {
  const auto controls = dialog.Controls();
  for (std::size_t i = 0; i < controls.size(); ++i) {
    if (controls[i].Id != box) continue;
    std::wstring text = WindowText(GetDlgItem(window, ControlWindowId(i)));
    SecretText typed = NarrowSecret(text);
    WipeText(text);
    return typed;
  }
  return {};
}

// Empties the secret boxes' edit controls, once the window closes.
void ClearSecrets(HWND window, const Dialog& dialog) {
  const auto controls = dialog.Controls();
  for (std::size_t i = 0; i < controls.size(); ++i) {
    if (controls[i].Kind == ControlKind::TextBox && controls[i].Password)
      SetWindowTextW(GetDlgItem(window, ControlWindowId(i)), L"");
  }
}

// After the presenter handled a press: its values shown again and the focus where it asks, or
// the window closed.
void Settle(HWND window, Dialog& dialog) {
  if (!IsWindow(window)) return;
  if (dialog.Closed()) {
    EndDialogWindow(window);
    return;
  }
  ShowValues(window, dialog);
  const std::optional<tarvex::ControlId> box = dialog.TakeFocus();
  if (!box) return;
  const auto controls = dialog.Controls();
  for (std::size_t i = 0; i < controls.size(); ++i) {
    if (controls[i].Id != *box) continue;
    HWND edit = GetDlgItem(window, ControlWindowId(i));
    SetFocus(edit);
    SendMessageW(edit, EM_SETSEL, 0, -1);
  }
}

void Prepare(HWND window, Session& session) {
  const Dialog& dialog = *session.dialog;
  const auto controls = dialog.Controls();
  for (std::size_t i = 0; i < controls.size(); ++i) {
    const Control& control = controls[i];
    HWND widget = GetDlgItem(window, ControlWindowId(i));
    if (control.Kind == ControlKind::TextBox) {
      // 0 lifts the edit control's default limit of 32767 characters.
      SendMessageW(widget, EM_LIMITTEXT, static_cast<WPARAM>(control.MaxLength), 0);
      if (control.Password) SendMessageW(widget, EM_SETPASSWORDCHAR, L'*', 0);
    }
    if (control.Kind == ControlKind::Button && control.Default) {
      SendMessageW(window, DM_SETDEFID, static_cast<WPARAM>(ControlWindowId(i)), 0);
    }
  }
  const std::wstring caption = Widen(dialog.Caption());
  SetWindowTextW(window, caption.c_str());
  ShowValues(window, dialog);
}

INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      auto* session = reinterpret_cast<Session*>(lParam);
      SetWindowLongPtrW(window, DWLP_USER, lParam);
      Prepare(window, *session);
      if (session->opened) session->opened(window);
      // Opened from the tray, the dialog must come to the front by itself.
      SetForegroundWindow(window);
      return TRUE;  // the focus goes to the first control of the tab order
    }
    case WM_COMMAND: {
      Session* session = SessionOf(window);
      if (!session) return FALSE;
      Dialog& dialog = *session->dialog;
      const auto typed = [window, &dialog](tarvex::ControlId box) {
        return Typed(window, dialog, box);
      };
      const int id = LOWORD(wParam);
      if (id == IDCANCEL) {
        dialog.Escape(typed);
        Settle(window, dialog);
        return TRUE;
      }
      const auto controls = dialog.Controls();
      const int index = id - ControlWindowId(0);
      if (index < 0 || static_cast<std::size_t>(index) >= controls.size()) return FALSE;
      const Control& control = controls[static_cast<std::size_t>(index)];
      if (HIWORD(wParam) == EN_CHANGE && control.Kind == ControlKind::TextBox) {
        // What is typed is kept as it is typed, for the captions worded after it.
        dialog.Edited(control.Id, typed(control.Id).view());
        ShowCaptions(window, dialog);
        return TRUE;
      }
      if (HIWORD(wParam) != BN_CLICKED) return FALSE;
      if (control.Kind == ControlKind::Button || control.Kind == ControlKind::OptionButton ||
          control.Kind == ControlKind::CheckBox) {
        dialog.Press(control.Id, typed);
        Settle(window, dialog);
        return TRUE;
      }
      return FALSE;
    }
    case WM_CLOSE:
      if (Session* session = SessionOf(window)) {
        session->dialog->Escape([window, session](tarvex::ControlId box) {
          return Typed(window, *session->dialog, box);
        });
        Settle(window, *session->dialog);
      }
      return TRUE;
    case WM_NCDESTROY:
      if (Session* session = SessionOf(window); session && !session->modal) delete session;
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

std::vector<WORD> DialogTemplate(const Dialog& dialog) {
  const auto controls = dialog.Controls();
  TemplateWriter out;
  out.Dword(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_CENTER);
  out.Dword(0);
  out.Word(static_cast<WORD>(controls.size()));
  out.Word(0);
  out.Word(0);
  out.Word(static_cast<WORD>(dialog.Width()));
  out.Word(static_cast<WORD>(dialog.Height()));
  out.Word(0);  // no menu
  out.Word(0);  // the dialog class
  out.Text(Widen(dialog.Caption()));
  out.Word(8);
  out.Text(L"MS Shell Dlg");
  for (std::size_t i = 0; i < controls.size(); ++i) {
    const bool groupContinues = i > 0 && controls[i].Kind == ControlKind::OptionButton &&
                                controls[i - 1].Kind == ControlKind::OptionButton;
    WriteControl(out, controls[i], ControlWindowId(i), groupContinues);
  }
  return out.Take();
}

void RunModalDialog(HINSTANCE instance, Dialog& dialog, const std::function<void(HWND)>& opened) {
  const std::vector<WORD> layout = DialogTemplate(dialog);
  Session session{&dialog, true, opened};
  DialogBoxIndirectParamW(instance, reinterpret_cast<LPCDLGTEMPLATEW>(layout.data()), nullptr,
                          DialogProc, reinterpret_cast<LPARAM>(&session));
}

HWND CreateModelessDialog(HINSTANCE instance, Dialog& dialog, HWND owner) {
  const std::vector<WORD> layout = DialogTemplate(dialog);
  auto* session = new Session{&dialog, false, {}};
  HWND window =
      CreateDialogIndirectParamW(instance, reinterpret_cast<LPCDLGTEMPLATEW>(layout.data()), owner,
                                 DialogProc, reinterpret_cast<LPARAM>(session));
  if (!window) delete session;
  return window;
}

void EndDialogWindow(HWND window) {
  Session* session = SessionOf(window);
  if (session) ClearSecrets(window, *session->dialog);
  if (session && !session->modal) {
    DestroyWindow(window);
  } else {
    EndDialog(window, 0);
  }
}

}  // namespace tarvex::win32
