// Xlib's macros (None, Bool, Status, ...) clash with Qt's names, so this file includes no Qt.
#include "platform/qt/x11_input.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <map>

namespace tarvex::x11 {
namespace {

// An Xlib display connection, closed when it goes out of scope.
struct DisplayHandle {
  Display* display = XOpenDisplay(nullptr);
  DisplayHandle() = default;
  DisplayHandle(const DisplayHandle&) = delete;
  DisplayHandle& operator=(const DisplayHandle&) = delete;
  ~DisplayHandle() {
    if (display) XCloseDisplay(display);
  }
};

bool QueryXTest(Display* display) {
  int eventBase = 0, errorBase = 0, major = 0, minor = 0;
  return XTestQueryExtension(display, &eventBase, &errorBase, &major, &minor) == True;
}

// The _NET_WM_PID of `window`, when it carries one.
std::optional<std::uint64_t> WindowProcess(Display* display, Window window) {
  const Atom pidAtom = XInternAtom(display, "_NET_WM_PID", True);
  if (pidAtom == None) return std::nullopt;
  Atom type = None;
  int format = 0;
  unsigned long count = 0, remaining = 0;
  unsigned char* data = nullptr;
  std::optional<std::uint64_t> pid;
  if (XGetWindowProperty(display, window, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format, &count,
                         &remaining, &data) == Success &&
      type == XA_CARDINAL && format == 32 && count == 1 && data) {
    // Format-32 properties come back as longs, whatever the width of a long.
    pid = static_cast<std::uint64_t>(*reinterpret_cast<unsigned long*>(data));
  }
  if (data) XFree(data);
  return pid;
}

// The children of `window`, in stacking order.
std::vector<Window> Children(Display* display, Window window, Window* parent) {
  Window root = None;
  Window up = None;
  Window* children = nullptr;
  unsigned int count = 0;
  std::vector<Window> result;
  if (XQueryTree(display, window, &root, &up, &children, &count)) {
    result.assign(children, children + count);
  }
  if (children) XFree(children);
  if (parent) *parent = (up == root) ? None : up;
  return result;
}

// The keysym that types character `c`: Latin-1 keysyms are the code points themselves, every
// other character has the Unicode keysym range.
KeySym CharacterKeysym(char32_t c) {
  if (c == U'\n' || c == U'\r') return XK_Return;
  if (c == U'\t') return XK_Tab;
  if ((c >= 0x20 && c <= 0x7e) || (c >= 0xa0 && c <= 0xff)) return static_cast<KeySym>(c);
  return static_cast<KeySym>(0x01000000 | c);
}

}  // namespace

bool DisplayReachable() {
  return DisplayHandle().display != nullptr;
}

bool HasXTest() {
  const DisplayHandle handle;
  return handle.display && QueryXTest(handle.display);
}

std::optional<std::uint64_t> FocusedWindowProcess() {
  const DisplayHandle handle;
  Display* display = handle.display;
  if (!display) return std::nullopt;
  Window focus = None;
  int revert = 0;
  XGetInputFocus(display, &focus, &revert);
  if (focus == None || focus == PointerRoot) return std::nullopt;

  // The client window, or one of its ancestors, names the process; a window manager's frame does
  // not, so when the focus sits on a frame its client below is asked.
  Window top = focus;
  for (Window window = focus; window != None;) {
    if (const auto pid = WindowProcess(display, window)) return pid;
    top = window;
    Window parent = None;
    Children(display, window, &parent);
    window = parent;
  }
  std::vector<Window> level = Children(display, top, nullptr);
  for (int depth = 0; depth < 3 && !level.empty(); ++depth) {  // frames nest a few levels at most
    std::vector<Window> next;
    for (const Window window : level) {
      if (const auto pid = WindowProcess(display, window)) return pid;
      const std::vector<Window> children = Children(display, window, nullptr);
      next.insert(next.end(), children.begin(), children.end());
    }
    level = std::move(next);
  }
  return std::nullopt;
}

struct Keyboard::Connection {
  DisplayHandle handle;
  bool xtest = handle.display && QueryXTest(handle.display);
  std::vector<KeyCode> spare;  // key codes without any keysym, not yet used
  bool spareKnown = false;
  std::map<KeySym, KeyCode> borrowed;  // characters typed on spare key codes

  Display* display() const { return handle.display; }

  void FindSpareKeyCodes() {
    spareKnown = true;
    int low = 0, high = 0;
    XDisplayKeycodes(display(), &low, &high);
    int perCode = 0;
    KeySym* map =
        XGetKeyboardMapping(display(), static_cast<KeyCode>(low), high - low + 1, &perCode);
    if (!map) return;
    for (int code = high; code >= low; --code) {  // the top of the range is usually unused
      const KeySym* syms = map + static_cast<std::ptrdiff_t>(code - low) * perCode;
      bool empty = true;
      for (int i = 0; i < perCode; ++i) empty = empty && syms[i] == NoSymbol;
      if (empty) spare.push_back(static_cast<KeyCode>(code));
    }
    XFree(map);
  }

  // A key code that types `sym` without modifiers, borrowed from the spare ones.
  KeyCode Borrow(KeySym sym) {
    if (const auto found = borrowed.find(sym); found != borrowed.end()) return found->second;
    if (!spareKnown) FindSpareKeyCodes();
    KeyCode code = 0;
    if (!spare.empty()) {
      code = spare.back();
      spare.pop_back();
    } else if (!borrowed.empty()) {
      // Every spare code is taken: one borrowing gives its code up.
      const auto given = borrowed.begin();
      code = given->second;
      borrowed.erase(given);
    } else {
      return 0;
    }
    KeySym syms[2] = {sym, sym};
    XChangeKeyboardMapping(display(), code, 2, syms, 1);
    XSync(display(), False);
    borrowed[sym] = code;
    return code;
  }

  void Tap(KeyCode code, bool shift) {
    const KeyCode shiftCode = XKeysymToKeycode(display(), XK_Shift_L);
    if (shift && shiftCode) XTestFakeKeyEvent(display(), shiftCode, True, CurrentTime);
    XTestFakeKeyEvent(display(), code, True, CurrentTime);
    XTestFakeKeyEvent(display(), code, False, CurrentTime);
    if (shift && shiftCode) XTestFakeKeyEvent(display(), shiftCode, False, CurrentTime);
  }

  void Press(KeySym sym, unsigned int group) {
    KeyCode code = XKeysymToKeycode(display(), sym);
    bool shift = false;
    if (code != 0) {
      if (XkbKeycodeToKeysym(display(), code, group, 0) == sym) {
        shift = false;
      } else if (XkbKeycodeToKeysym(display(), code, group, 1) == sym) {
        shift = true;
      } else {
        code = 0;  // only on a level that needs more than Shift, or in another group
      }
    }
    if (code == 0) code = Borrow(sym);
    if (code != 0) Tap(code, shift);
  }

  ~Connection() {
    if (!display() || borrowed.empty()) return;
    KeySym none[2] = {NoSymbol, NoSymbol};
    for (const auto& [sym, code] : borrowed) XChangeKeyboardMapping(display(), code, 2, none, 1);
    XSync(display(), False);
  }
};

Keyboard::Keyboard() = default;
Keyboard::~Keyboard() = default;

bool Keyboard::Type(const std::vector<Keystroke>& keys) {
  if (!connection_) connection_ = std::make_unique<Connection>();
  if (!connection_->display() || !connection_->xtest) {
    connection_.reset();  // asked again next time: the display may come back
    return false;
  }
  Display* display = connection_->display();
  XkbStateRec state{};
  XkbGetState(display, XkbUseCoreKbd, &state);
  for (const Keystroke& key : keys) {
    switch (key.What) {
      case Keystroke::Kind::Enter:
        connection_->Press(XK_Return, state.group);
        break;
      case Keystroke::Kind::Tab:
        connection_->Press(XK_Tab, state.group);
        break;
      case Keystroke::Kind::Character:
        connection_->Press(CharacterKeysym(key.Character), state.group);
        break;
    }
  }
  XSync(display, False);
  return true;
}

}  // namespace tarvex::x11
