// The presenters' dialogs as Win32 dialog boxes, built at run time from Dialog::Controls().
#pragma once

#include <windows.h>

#include <cstddef>
#include <functional>
#include <vector>

#include "dialogs/dialog.h"

namespace tarvex::win32 {

// The window identifier of the control at `index` of Dialog::Controls().
inline int ControlWindowId(std::size_t index) {
  return 1000 + static_cast<int>(index);
}

// An in-memory dialog template for `dialog`: its caption and size, and every control in list
// order, which is the tab order. Dialog units, "MS Shell Dlg" 8 pt, centred on the screen.
std::vector<WORD> DialogTemplate(const Dialog& dialog);

// Shows `dialog` modally, owned by no window, and returns once it has closed. `opened` is told
// the dialog's window as soon as it exists.
void RunModalDialog(HINSTANCE instance, Dialog& dialog, const std::function<void(HWND)>& opened);

// The same dialog without a modal loop of its own (the caller's loop serves it); it destroys
// itself once the dialog has closed.
HWND CreateModelessDialog(HINSTANCE instance, Dialog& dialog, HWND owner);

// Closes a dialog window made by either function above.
void EndDialogWindow(HWND window);

}  // namespace tarvex::win32
