// A dialog as plain values: its controls (with their layout), their texts and option states,
// and its handlers. A front-end builds widgets from Controls(), copies what the user typed into
// the dialog before it calls a handler, shows the dialog's values after it, and closes the
// window once Closed() is true. It decides nothing.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace tarvex {

enum class DialogKind { DateTime, AutoRun };

enum class ControlKind { Label, TextBox, Button, OptionButton, Frame };
enum class Align { Left, Center, Right };

// One control; positions and sizes are in dialog units (a quarter of the average character
// width across, an eighth of the character height down), relative to the dialog's client area.
struct Control {
  std::string_view Name;  // "txtRealTime", "cmdOK", "Label1", ...
  ControlKind Kind;
  std::string_view Caption;  // labels, buttons, option buttons and the frame
  int X, Y, Width, Height;
  Align Alignment = Align::Left;
  int MaxLength = 0;      // text boxes: most characters the box takes; 0 for no limit
  bool Password = false;  // text boxes: shows each character as "*"
  bool Default = false;   // buttons: pressed by Enter
  bool Cancel = false;    // buttons: pressed by Escape
};

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

  // The text of text box `name`; empty for any other name.
  std::string Text(std::string_view name) const;
  // Puts what the user typed into text box `name`, cut to the box's limit; ignored for any other
  // name.
  void SetText(std::string_view name, std::string text);
  // Whether option button `name` is selected.
  virtual bool Value(std::string_view /*name*/) const { return false; }
  // Button or option button `name` was clicked: runs its handler.
  virtual void Click(std::string_view name) = 0;
  // The title bar's close box: the same as Cancel.
  void CloseBox() { Click("cmdCancel"); }

  // True once the dialog has closed itself (OK, Set, Cancel) or was closed from outside.
  bool Closed() const { return closed_; }
  void Unload() { closed_ = true; }

 protected:
  // The contents of text box `name`, or nullptr when the dialog has no such box.
  virtual const std::string* Box(std::string_view name) const = 0;

 private:
  bool closed_ = false;
};

}  // namespace tarvex
