#include "dialogs/dialog.h"

#include <cstddef>
#include <utility>

#include "engine/modGeneral.h"

namespace tarvex {
std::string_view ControlName(ControlId id) {
  static constexpr std::string_view kNames[] = {
      "Label1",
      "Label2",
      "Label3",
      "Label4",
      "Label5",
      "Label6",
      "Label7",
      "Label8",
      "Frame1",
      "txtRealTime",
      "txtRealDate",
      "txtZRDTime",
      "txtZRDDate",
      "cmdSetDateandTime",
      "optKSTime",
      "optRLTime",
      "txtTime",
      "txtDate",
      "txtCharacterFile",
      "cmdLoad",
      "txtPassword",
      "chkGoodMoon",
      "chkBadMoon",
      "chkWarn",
      "txtWarningMinutes",
      "chkAtStart",
      "chkSound",
      "txtRepeatMinutes",
      "chkAtEnd",
      "txtQuietFrom",
      "txtQuietTo",
      "txtGoodSound",
      "cmdGoodSound",
      "txtBadSound",
      "cmdBadSound",
      "cmdTryIt",
      "cmdOK",
      "cmdCancel",
  };
  static_assert(std::size(kNames) == static_cast<std::size_t>(ControlId::cmdCancel) + 1);
  return kNames[static_cast<std::size_t>(id)];
}

std::string Dialog::Text(ControlId id) const {
  const std::string* box = Box(id);
  return box ? *box : std::string();
}

void Dialog::SetText(ControlId id, std::string_view text) {
  const std::string* box = Box(id);
  const SecretText* secret = SecretBox(id);
  if (!box && !secret) return;
  for (const Control& control : Controls()) {
    if (control.Id != id || control.MaxLength <= 0) continue;
    const auto limit = static_cast<std::size_t>(control.MaxLength);
    if (CharCount(text) > limit) text = Piece(text, 1, limit);
  }
  if (secret) {
    const_cast<SecretText*>(secret)->Assign(text);
  } else {
    *const_cast<std::string*>(box) = std::string(text);
  }
}

std::string Dialog::LabelCaption(ControlId id) const {
  for (const Control& control : Controls()) {
    if (control.Id == id) return std::string(control.Caption);
  }
  return {};
}

void Dialog::Press(ControlId id, const TypedText& typed) {
  if (busy_ || closed_) return;
  const FlagWhile busy(busy_);
  for (const Control& control : Controls()) {
    if (control.Kind == ControlKind::TextBox) SetText(control.Id, typed(control.Id).view());
  }
  Click(id);
}

void Dialog::Escape(const TypedText& typed) {
  ControlId cancel = ControlId::cmdCancel;  // the close box's handler
  for (const Control& control : Controls()) {
    if (control.Cancel) cancel = control.Id;
  }
  Press(cancel, typed);
}

}  // namespace tarvex
