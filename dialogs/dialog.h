// A dialog as plain values: its controls (with their layout), their texts and option states,
// and its handlers. A front-end builds widgets from Controls(), reports each press through
// Press() or Escape() with what the user typed, then shows the dialog's values again or, once
// Closed(), closes the window. It decides nothing.
#pragma once

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "dialogs/secret_text.h"

namespace tarvex {

enum class DialogKind { DateTime, AutoRun, Alarms };

// Keeps a flag set for a scope (a dialog shown, a handler running), however the scope ends.
class FlagWhile {
 public:
  explicit FlagWhile(bool& flag) : flag_(flag) { flag_ = true; }
  ~FlagWhile() { flag_ = false; }
  FlagWhile(const FlagWhile&) = delete;
  FlagWhile& operator=(const FlagWhile&) = delete;

 private:
  bool& flag_;
};

// Every control of every dialog, by name.
enum class ControlId {
  Label1,
  Label2,
  Label3,
  Label4,
  Label5,
  Label6,
  Label7,
  Label8,
  Frame1,
  // The calibration dialog.
  txtRealTime,
  txtRealDate,
  txtZRDTime,
  txtZRDDate,
  cmdSetDateandTime,
  // The auto-run dialog.
  optKSTime,
  optRLTime,
  txtTime,
  txtDate,
  txtCharacterFile,
  cmdLoad,
  txtPassword,
  // The moon alarms dialog.
  chkGoodMoon,
  chkBadMoon,
  chkWarn,
  txtWarningMinutes,
  chkAtStart,
  chkSound,
  txtRepeatMinutes,
  chkAtEnd,
  txtQuietFrom,
  txtQuietTo,
  txtGoodSound,
  cmdGoodSound,
  txtBadSound,
  cmdBadSound,
  cmdTryIt,
  cmdOK,
  cmdCancel,
};

// The control's name as the widgets carry it: "txtRealTime", "cmdOK", "Label1", ...
std::string_view ControlName(ControlId id);

enum class ControlKind { Label, TextBox, Button, OptionButton, CheckBox, Frame };
enum class Align { Left, Center, Right };

// One control; positions and sizes are in dialog units (a quarter of the average character
// width across, an eighth of the character height down), relative to the dialog's client area.
struct Control {
  ControlId Id;
  ControlKind Kind;
  std::string_view Caption;  // labels, buttons, option buttons and the frame
  int X, Y, Width, Height;
  Align Alignment = Align::Left;
  int MaxLength = 0;  // text boxes: most characters the box takes; 0 for no limit
  // Text boxes: a secret box, such as a password's, showing each character as "*". The dialog
  // holds its text as a SecretText and never words it itself: the window never puts it back into
  // the widget, wipes what it reads of it, and empties the widget as it closes.
  bool Password = false;
  bool Default = false;  // buttons: pressed by Enter
  bool Cancel = false;   // buttons: pressed by Escape
};

// A file-open dialog's settings. The filter is already split at its bar. The dialog stands in the
// middle of the screen and offers no read-only choice.
struct FileOpenRequest {
  std::string Title;              // the title bar; empty for the desktop's own ("Open")
  std::string FileName;           // initial file name
  std::string InitialFolder;      // starting folder
  std::string FilterDescription;  // "Kestrune Character Files (*.zrd) "
  std::string FilterPattern;      // "*.zrd"
  // The filter as one text naming its pattern, where the file dialog shows a single text for
  // both: "Kestrune Character Files (*.zrd)".
  std::string FilterText;
};

// What a dialog's handlers ask of the desktop.
class DialogHost {
 public:
  virtual ~DialogHost() = default;
  // A modal message box with one OK button and no icon; returns when it is dismissed.
  virtual void ShowMessage(std::string_view text, std::string_view title) = 0;
  // The file-open dialog; the chosen file's full path, or empty when the user cancelled.
  virtual std::string ShowOpenFileDialog(const FileOpenRequest& request) = 0;
};

// What the user typed into a text box, read from its widget. Held as a SecretText whatever the box,
// as it may be a secret box: the window wipes the copies it made on the way.
using TypedText = std::function<SecretText(ControlId box)>;

class Dialog {
 public:
  virtual ~Dialog() = default;
  virtual DialogKind Kind() const = 0;
  virtual std::string_view Caption() const = 0;
  // Width and height of the client area, in dialog units.
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  // Every control, in focus (tab) order; labels and the frame stand where they are read.
  virtual std::span<const Control> Controls() const = 0;

  // The text of text box `id`; empty for any other control and for a secret box, whose text is
  // read where it is held.
  std::string Text(ControlId id) const;
  // Puts `text` into text box `id`, cut to the box's limit; ignored for any other control. A
  // secret box takes it into its SecretText, wiping the text it held.
  void SetText(ControlId id, std::string_view text);
  // The user changed the text of box `id` (no handler runs): kept as SetText keeps it, so that
  // the captions worded after it follow what is typed.
  void Edited(ControlId id, std::string_view text) { SetText(id, text); }
  // The caption label `id` shows now: its control's, unless the dialog words it after what a box
  // holds.
  virtual std::string LabelCaption(ControlId id) const;
  // Whether option button or check box `id` is selected.
  virtual bool Value(ControlId /*id*/) const { return false; }
  // Button, option button or check box `id` was clicked: runs its handler.
  virtual void Click(ControlId id) = 0;
  // The title bar's close box: the same as Cancel.
  void CloseBox() { Click(ControlId::cmdCancel); }

  // A press of button or option button `id` in the window: stores every box's typed text, then
  // runs the handler. A press while a handler runs (from a message box it shows) is ignored.
  void Press(ControlId id, const TypedText& typed);
  // Escape or the close box: presses the Cancel button.
  void Escape(const TypedText& typed);

  // Asks the window for the keyboard focus on text box `id`, with its whole text selected, once
  // the running handler has returned (a refused value's box, after its message).
  void FocusBox(ControlId id) { focus_ = id; }
  // The box the focus is asked for, once: the window takes it after each press; none when no
  // handler asked.
  std::optional<ControlId> TakeFocus() { return std::exchange(focus_, std::nullopt); }

  // True once the dialog has closed itself (OK, Set, Cancel) or was closed from outside.
  bool Closed() const { return closed_; }
  void Unload() { closed_ = true; }

 protected:
  // The contents of text box `id`, or nullptr when the dialog has no such box.
  virtual const std::string* Box(ControlId id) const = 0;
  // The contents of secret text box `id`, or nullptr when the dialog has no such secret box.
  virtual const SecretText* SecretBox(ControlId /*id*/) const { return nullptr; }

 private:
  bool busy_ = false;
  bool closed_ = false;
  std::optional<ControlId> focus_;
};

}  // namespace tarvex
