// Xlib's macros (None, Bool, Status, ...) clash with Qt's names, so this file includes no Qt.
#include "platform/qt/x11_input.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <poll.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <string_view>
#include <thread>

#include "dialogs/secret_text.h"
#include "engine/log.h"

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

// The child of the root that holds `window`: the window itself, or the frame that a window
// manager put around it; None when `window` is gone.
Window TopLevel(Display* display, Window window) {
  for (int depth = 0; depth < 16 && window != None; ++depth) {  // frames nest a few levels at most
    Window parent = None;
    Window root = None;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, window, &root, &parent, &children, &count)) return None;
    if (children) XFree(children);
    if (parent == root) return window;
    window = parent;
  }
  return None;
}

// The window that the window manager calls active (_NET_ACTIVE_WINDOW on the root); None when
// it names none.
Window ActiveWindow(Display* display) {
  const Atom activeAtom = XInternAtom(display, "_NET_ACTIVE_WINDOW", True);
  if (activeAtom == None) return None;
  Atom type = None;
  int format = 0;
  unsigned long count = 0, remaining = 0;
  unsigned char* data = nullptr;
  Window active = None;
  if (XGetWindowProperty(display, DefaultRootWindow(display), activeAtom, 0, 1, False, XA_WINDOW,
                         &type, &format, &count, &remaining, &data) == Success &&
      type == XA_WINDOW && format == 32 && count == 1 && data) {
    active = static_cast<Window>(*reinterpret_cast<unsigned long*>(data));
  }
  if (data) XFree(data);
  return active;
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

// The keyboard description of the server: key types, keysyms and key names. Empty when the
// server has no XKB.
struct KeyboardMap {
  XkbDescPtr xkb;
  explicit KeyboardMap(Display* display)
      : xkb(XkbGetMap(display, XkbKeyTypesMask | XkbKeySymsMask, XkbUseCoreKbd)) {
    if (xkb && XkbGetNames(display, XkbKeyNamesMask, xkb) != Success) {
      XkbFreeKeyboard(xkb, 0, True);
      xkb = nullptr;
    }
  }
  KeyboardMap(const KeyboardMap&) = delete;
  KeyboardMap& operator=(const KeyboardMap&) = delete;
  ~KeyboardMap() {
    if (xkb) XkbFreeKeyboard(xkb, 0, True);
  }
};

// Whether the key named `name` is on the main block: the four rows of letters, digits and
// punctuation, the keys at their ends, the space bar, Tab and Return.
bool InMainBlock(const XkbKeyNameRec& key) {
  const std::string_view name(key.name, strnlen(key.name, XkbKeyNameLength));
  const bool row = name.size() == 4 && name[0] == 'A' &&
                   std::string_view("EDCB").find(name[1]) != std::string_view::npos;
  return row || name == "TLDE" || name == "BKSL" || name == "LSGT" || name == "SPCE" ||
         name == "TAB" || name == "RTRN";
}

// A key and whether Shift is held while it is pressed.
struct Placement {
  KeyCode code = 0;
  bool shift = false;
};

// The key that types `sym` in keyboard group `group`, alone or with Shift. Several keys may carry
// it (many layouts put "(" on an extra key as well as on Shift+9, and some programs, Wine among
// them, get nothing from the extra one): a key of the main block comes first, then a key without
// Shift, then the lowest code.
std::optional<Placement> FindKey(XkbDescPtr xkb, KeySym sym, unsigned int group) {
  std::optional<Placement> best;
  int bestRank = 0;
  for (int code = xkb->min_key_code; code <= xkb->max_key_code; ++code) {
    for (const bool shift : {false, true}) {
      unsigned int mods = 0;
      KeySym found = NoSymbol;
      const unsigned int state = XkbBuildCoreState(shift ? ShiftMask : 0, group);
      if (!XkbTranslateKeyCode(xkb, static_cast<KeyCode>(code), state, &mods, &found) ||
          found != sym) {
        continue;
      }
      const int rank = (InMainBlock(xkb->names->keys[code]) ? 0 : 2) + (shift ? 1 : 0);
      if (!best || rank < bestRank) {
        best = Placement{static_cast<KeyCode>(code), shift};
        bestRank = rank;
      }
      break;
    }
  }
  return best;
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
  if (focus == None) return std::nullopt;
  if (focus == PointerRoot || focus == DefaultRootWindow(display)) {
    // The keys go to the window under the pointer: it counts as focused only when the window
    // manager calls it the active window too.
    Window root = None, child = None;
    int rootX = 0, rootY = 0, x = 0, y = 0;
    unsigned int buttons = 0;
    XQueryPointer(display, DefaultRootWindow(display), &root, &child, &rootX, &rootY, &x, &y,
                  &buttons);
    const Window active = ActiveWindow(display);
    if (child == None || active == None || TopLevel(display, active) != child) return std::nullopt;
    focus = active;
  }

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

namespace {

// An empty list with room for `capacity` items.
template <typename T>
std::vector<T> Reserved(std::size_t capacity) {
  std::vector<T> list;
  list.reserve(capacity);
  return list;
}

// Overwrites the items of `list` (characters of a password, perhaps) and empties it.
template <typename T>
void Wipe(std::vector<T>& list) {
  WipeMemory(list.data(), list.size() * sizeof(T));
  list.clear();
}

// The spare key code that carries `sym`, when one was borrowed for it.
std::optional<KeyCode> BorrowedCode(const std::vector<std::pair<KeySym, KeyCode>>& borrowed,
                                    KeySym sym) {
  for (const auto& [borrowedSym, code] : borrowed) {
    if (borrowedSym == sym) return code;
  }
  return std::nullopt;
}

}  // namespace

struct Keyboard::Connection {
  DisplayHandle handle;
  bool xtest = handle.display && QueryXTest(handle.display);
  // Looking a key up has Xlib ask the server for news of changes to the keyboard map, which
  // Borrow waits for.
  KeyCode shiftCode = handle.display ? XKeysymToKeycode(handle.display, XK_Shift_L) : 0;
  // Characters typed on spare key codes, until given back: room for every key code there is,
  // reserved once, so that no copy of a password's character is left behind as it fills.
  std::vector<std::pair<KeySym, KeyCode>> borrowed = Reserved<std::pair<KeySym, KeyCode>>(256);
  std::optional<std::chrono::steady_clock::time_point> firstKey;  // of the present log-in

  // A program hears of a change to the keyboard map only once its connection has asked for such
  // news, and Xlib asks when the program first looks a key up: Wine's window thread does so with
  // the first key it handles, which may come well after the key was typed. Wine gets no word of a
  // change made before then, and keeps a borrowed code for a key without symbols. So the map is
  // changed only this long after the first key of the log-in, once the game has handled it.
  static constexpr std::chrono::milliseconds kSettle{1500};  // ample on a busy machine

  Display* display() const { return handle.display; }

  // Takes the MappingNotify events that have come in so far, refreshing Xlib's copy of the
  // mapping by each; the key codes that they name as changed are taken off `awaited`.
  void TakeMappingNotices(std::vector<KeyCode>& awaited) {
    XEvent event;
    while (XCheckTypedEvent(display(), MappingNotify, &event)) {
      XRefreshKeyboardMapping(&event.xmapping);
      if (event.xmapping.request != MappingKeyboard) continue;
      const int first = event.xmapping.first_keycode;
      const int end = first + event.xmapping.count;
      std::erase_if(awaited, [&](KeyCode code) { return code >= first && code < end; });
    }
  }

  // Waits until the server has announced the new mapping of every code in `awaited` to this
  // connection; it announces a change to every client that asked at once, so from then on each
  // of them finds it ahead of any key that follows. False when no word came within a second.
  bool AwaitMapping(std::vector<KeyCode> awaited) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    XSync(display(), False);
    for (;;) {
      TakeMappingNotices(awaited);
      if (awaited.empty()) return true;
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
          deadline - std::chrono::steady_clock::now());
      if (left.count() <= 0) return false;
      pollfd input{ConnectionNumber(display()), POLLIN, 0};
      poll(&input, 1, static_cast<int>(left.count()));
      XEventsQueued(display(), QueuedAfterReading);
    }
  }

  // Maps each of `syms` on a spare key code (one without any keysym) and waits until the mapping
  // is in effect; nothing is mapped when there are too few spare codes. False when there are too
  // few, or when the mapping was not announced in time (logged). The lowest codes are
  // taken: Wine gives the keys that it does not know virtual keys in key-code order and runs out
  // of them before the top of the range, and a later borrowing leaves those of earlier ones be.
  bool Borrow(XkbDescPtr xkb, const std::vector<KeySym>& syms) {
    std::vector<KeyCode> codes;
    for (int code = xkb->min_key_code; code <= xkb->max_key_code && codes.size() < syms.size();
         ++code) {
      if (XkbKeyNumSyms(xkb, code) == 0) codes.push_back(static_cast<KeyCode>(code));
    }
    if (codes.size() < syms.size()) return false;
    if (firstKey) std::this_thread::sleep_until(*firstKey + kSettle);
    std::vector<KeyCode> none;
    XSync(display(), False);
    TakeMappingNotices(none);  // earlier news must not pass for this change's
    for (std::size_t i = 0; i < syms.size(); ++i) {
      KeySym pair[2] = {syms[i], syms[i]};
      XChangeKeyboardMapping(display(), codes[i], 2, pair, 1);
      WipeMemory(pair, sizeof pair);
      borrowed.emplace_back(syms[i], codes[i]);
    }
    if (AwaitMapping(codes)) return true;
    // Which characters they are stays out of the log: they may be the password's.
    Warn("The X server did not announce within a second the " + std::to_string(codes.size()) +
         " spare key codes borrowed to type the log-in's characters that no key carries");
    return false;
  }

  void GiveBack() {
    firstKey.reset();
    if (!display() || borrowed.empty()) return;
    KeySym none[2] = {NoSymbol, NoSymbol};
    for (const auto& [sym, code] : borrowed) XChangeKeyboardMapping(display(), code, 2, none, 1);
    Wipe(borrowed);
    XSync(display(), False);
  }

  void Tap(Placement key) {
    if (!firstKey) firstKey = std::chrono::steady_clock::now();
    const bool shift = key.shift && shiftCode;
    if (shift) XTestFakeKeyEvent(display(), shiftCode, True, CurrentTime);
    XTestFakeKeyEvent(display(), key.code, True, CurrentTime);
    XTestFakeKeyEvent(display(), key.code, False, CurrentTime);
    if (shift) XTestFakeKeyEvent(display(), shiftCode, False, CurrentTime);
  }

  ~Connection() { GiveBack(); }
};

Keyboard::Keyboard() = default;
Keyboard::~Keyboard() = default;

std::string Keyboard::Type(std::span<const Keystroke> keys) {
  if (!connection_) connection_ = std::make_unique<Connection>();
  if (!connection_->display() || !connection_->xtest) {
    connection_.reset();  // asked again next time: the display may come back
    return "The log-in was not typed: the X display or its XTEST extension cannot be reached.";
  }
  Connection& connection = *connection_;
  Display* display = connection.display();
  const KeyboardMap map(display);
  if (!map.xkb) return "The log-in was not typed: the X server's keyboard map cannot be read.";
  XkbStateRec state{};
  XkbGetState(display, XkbUseCoreKbd, &state);

  // Where every key is typed, settled before the first is pressed. The lists are reserved whole
  // and wiped however the typing ends.
  struct Plan {
    std::vector<KeySym> syms;
    std::vector<std::optional<Placement>> placements;
    std::vector<KeySym> lacking;
    explicit Plan(std::size_t size)
        : syms(Reserved<KeySym>(size)),
          placements(Reserved<std::optional<Placement>>(size)),
          lacking(Reserved<KeySym>(size)) {}
    Plan(const Plan&) = delete;
    Plan& operator=(const Plan&) = delete;
    ~Plan() {
      Wipe(syms);
      Wipe(placements);
      Wipe(lacking);
    }
  } plan(keys.size());
  auto& [syms, placements, lacking] = plan;
  for (const Keystroke& key : keys) {
    const KeySym sym = key.What == Keystroke::Kind::Enter ? XK_Return
                       : key.What == Keystroke::Kind::Tab ? XK_Tab
                                                          : CharacterKeysym(key.Character);
    syms.push_back(sym);
    placements.push_back(FindKey(map.xkb, sym, state.group));
    if (!placements.back() && !BorrowedCode(connection.borrowed, sym) &&
        std::find(lacking.begin(), lacking.end(), sym) == lacking.end()) {
      lacking.push_back(sym);
    }
  }
  if (!lacking.empty() && !connection.Borrow(map.xkb, lacking)) {
    return "The log-in was not typed: one of its characters has no key on this keyboard, and no "
           "spare key code could be set up to type it on.";
  }
  for (std::size_t i = 0; i < syms.size(); ++i) {
    connection.Tap(placements[i] ? *placements[i]
                                 : Placement{*BorrowedCode(connection.borrowed, syms[i])});
  }
  XSync(display, False);
  return {};
}

void Keyboard::Release() {
  if (connection_) connection_->GiveBack();
}

}  // namespace tarvex::x11
