#include "platform/win32/clock_window.h"

#include <algorithm>
#include <string>
#include <vector>

#include "platform/win32/text.h"
#include "tarvex_version.h"

namespace tarvex::win32 {
namespace {

constexpr int kMoonSize = 64;   // at 96 DPI
constexpr int kMargin = 10;     // at 96 DPI
constexpr int kGlyphSize = 20;  // the menu glyph's square, at 96 DPI
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr wchar_t kMenuGlyph[] = L"\u2261";  // ≡

// The window's DPI: the monitor's where the system tells it (Windows 10 1607 and later), else
// the system's.
UINT DpiOf(HWND window) {
  using GetDpiForWindowCall = UINT(WINAPI*)(HWND);
  static const auto getDpi = reinterpret_cast<GetDpiForWindowCall>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  if (getDpi && window) {
    if (const UINT dpi = getDpi(window)) return dpi;
  }
  const HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

// The size of the window whose client area is `width` by `height` at `dpi`.
SIZE OuterSize(int width, int height, DWORD exStyle, UINT dpi) {
  RECT rect{0, 0, width, height};
  using AdjustCall = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
  static const auto adjust = reinterpret_cast<AdjustCall>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"user32.dll"), "AdjustWindowRectExForDpi")));
  if (!adjust || !adjust(&rect, kStyle, FALSE, exStyle, dpi))
    AdjustWindowRectEx(&rect, kStyle, FALSE, exStyle);
  return {rect.right - rect.left, rect.bottom - rect.top};
}

HFONT MakeFont(const LOGFONTW& base, UINT dpi, double scale, bool bold) {
  LOGFONTW font = base;
  // The message font is given at the system's DPI: its height is scaled to the window's.
  font.lfHeight = static_cast<LONG>(
      MulDiv(base.lfHeight, static_cast<int>(dpi), static_cast<int>(DpiOf(nullptr))) * scale);
  font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  return CreateFontIndirectW(&font);
}

// The lines of `face` with their fonts, top to bottom.
struct Line {
  std::wstring text;
  HFONT font;
};

}  // namespace

bool DarkColours() {
  DWORD light = 1;
  DWORD size = sizeof light;
  if (RegGetValueW(HKEY_CURRENT_USER,
                   L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize",
                   L"AppsUseLightTheme", RRF_RT_REG_DWORD, nullptr, &light, &size) != ERROR_SUCCESS)
    return false;
  return light == 0;
}

ClockWindow::~ClockWindow() {
  if (window_) DestroyWindow(window_);
}

bool ClockWindow::Create() {
  if (window_) return true;
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = Procedure;
  windowClass.hInstance = instance_;
  windowClass.hIcon = LoadIconW(instance_, MAKEINTRESOURCEW(kProgramIcon));
  windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  windowClass.lpszClassName = kClockWindowClass;
  RegisterClassExW(&windowClass);  // fails harmlessly when registered already
  const std::wstring title = Widen(kProductName);
  window_ =
      CreateWindowExW(onTop_ ? WS_EX_TOPMOST : 0, kClockWindowClass, title.c_str(), kStyle,
                      CW_USEDEFAULT, CW_USEDEFAULT, 200, 100, nullptr, nullptr, instance_, this);
  if (!window_) return false;
  dark_ = DarkColours();
  Measure();
  return true;
}

void ClockWindow::Show(std::optional<WindowCorner> place, bool raise) {
  if (!Create()) return;
  if (place && !IsWindowVisible(window_)) {
    SetWindowPos(window_, nullptr, place->Left, place->Top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Measure();  // perhaps on a monitor of another DPI
  }
  if (IsIconic(window_)) ShowWindow(window_, SW_RESTORE);
  ShowWindow(window_, raise ? SW_SHOW : SW_SHOWNA);
  if (raise) SetForegroundWindow(window_);
}

void ClockWindow::Hide() {
  if (window_) ShowWindow(window_, SW_HIDE);
}

void ClockWindow::Draw(const ClockFace& face) {
  const bool resize = face.Notice != face_.Notice || face.Moons != face_.Moons ||
                      face.Time.size() != face_.Time.size() || face.Icon != face_.Icon;
  face_ = face;
  if (!window_) return;
  if (resize) Measure();
  InvalidateRect(window_, nullptr, FALSE);
}

void ClockWindow::SetOnTop(bool onTop) {
  onTop_ = onTop;
  if (window_)
    SetWindowPos(window_, onTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void ClockWindow::Measure() {
  dpi_ = DpiOf(window_);
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  big_.Reset(MakeFont(metrics.lfMessageFont, dpi_, 1.6, true));
  bold_.Reset(MakeFont(metrics.lfMessageFont, dpi_, 1.0, true));
  normal_.Reset(MakeFont(metrics.lfMessageFont, dpi_, 1.0, false));
  // The icon group's picture nearest the size, drawn without stretching.
  moon_.Reset(
      static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(face_.Icon), IMAGE_ICON,
                                    Scaled(kMoonSize), Scaled(kMoonSize), LR_DEFAULTCOLOR)));

  // As wide and high as the lines need: none is ever cut.
  HDC dc = GetDC(window_);
  int width = 0, height = 0;
  std::vector<Line> lines;
  if (!face_.Notice.empty()) lines.push_back({Widen(face_.Notice), bold_.get()});
  lines.push_back({Widen(face_.Time.empty() ? "00:00:00 00/00/0000" : face_.Time), big_.get()});
  for (const std::string& moon : face_.Moons) lines.push_back({Widen(moon), normal_.get()});
  for (const Line& line : lines) {
    SelectObject(dc, line.font);
    RECT rect{};
    DrawTextW(dc, line.text.c_str(), -1, &rect, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    width = std::max<int>(width, rect.right);
    height += rect.bottom + Scaled(2);
  }
  ReleaseDC(window_, dc);
  const int clientWidth = Scaled(kMargin) * 3 + Scaled(kMoonSize) + width + Scaled(kGlyphSize);
  const int clientHeight = Scaled(kMargin) * 2 + std::max(Scaled(kMoonSize), height);
  const SIZE outer = OuterSize(clientWidth, clientHeight,
                               static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_EXSTYLE)), dpi_);
  SetWindowPos(window_, nullptr, 0, 0, outer.cx, outer.cy,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

RECT ClockWindow::MenuGlyph() const {
  RECT client{};
  GetClientRect(window_, &client);
  return {client.right - Scaled(kGlyphSize) - Scaled(4), Scaled(4), client.right - Scaled(4),
          Scaled(4) + Scaled(kGlyphSize)};
}

void ClockWindow::Paint(HDC dc) {
  RECT client{};
  GetClientRect(window_, &client);
  const COLORREF background = dark_ ? RGB(32, 32, 32) : GetSysColor(COLOR_WINDOW);
  const COLORREF text = dark_ ? RGB(240, 240, 240) : GetSysColor(COLOR_WINDOWTEXT);
  // Drawn off screen first: a tick's new time never flickers.
  HDC memory = CreateCompatibleDC(dc);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, client.right, client.bottom);
  HGDIOBJ oldBitmap = SelectObject(memory, bitmap);
  HBRUSH brush = CreateSolidBrush(background);
  FillRect(memory, &client, brush);
  DeleteObject(brush);
  DrawIconEx(memory, Scaled(kMargin), Scaled(kMargin), moon_.get(), Scaled(kMoonSize),
             Scaled(kMoonSize), 0, nullptr, DI_NORMAL);
  SetBkMode(memory, TRANSPARENT);
  SetTextColor(memory, text);
  std::vector<Line> lines;
  if (!face_.Notice.empty()) lines.push_back({Widen(face_.Notice), bold_.get()});
  lines.push_back({Widen(face_.Time), big_.get()});
  for (const std::string& moon : face_.Moons) lines.push_back({Widen(moon), normal_.get()});
  int top = Scaled(kMargin);
  const int left = Scaled(kMargin) * 2 + Scaled(kMoonSize);
  for (const Line& line : lines) {
    SelectObject(memory, line.font);
    RECT rect{left, top, client.right, client.bottom};
    DrawTextW(memory, line.text.c_str(), -1, &rect, DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
    RECT measured{};
    DrawTextW(memory, line.text.c_str(), -1, &measured, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    top += measured.bottom + Scaled(2);
  }
  RECT glyph = MenuGlyph();
  SelectObject(memory, big_.get());
  DrawTextW(memory, kMenuGlyph, -1, &glyph, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
  SelectObject(memory, oldBitmap);
  DeleteObject(bitmap);
  DeleteDC(memory);
}

LRESULT CALLBACK ClockWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    static_cast<ClockWindow*>(create->lpCreateParams)->window_ = window;
  }
  auto* self = reinterpret_cast<ClockWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self) return DefWindowProcW(window, message, wParam, lParam);
  return self->Handle(window, message, wParam, lParam);
}

LRESULT ClockWindow::Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window_, &paint);
      Paint(dc);
      EndPaint(window_, &paint);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;  // WM_PAINT fills it all
    case WM_CLOSE:
      if (events_.Close) events_.Close();
      return 0;
    case WM_MOVE:
      if (events_.Moved && IsWindowVisible(window_) && !IsIconic(window_)) {
        RECT rect{};
        GetWindowRect(window_, &rect);
        events_.Moved({rect.left, rect.top});
      }
      return 0;
    case WM_LBUTTONUP: {
      const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      const RECT glyph = MenuGlyph();
      if (PtInRect(&glyph, point) && events_.Menu) events_.Menu();
      return 0;
    }
    case WM_CONTEXTMENU:
      if (events_.Menu) events_.Menu();
      return 0;
    case WM_DPICHANGED: {
      // Moved to a monitor of another DPI: the system's suggested place, then the fonts anew.
      const auto* suggested = reinterpret_cast<const RECT*>(lParam);
      SetWindowPos(window_, nullptr, suggested->left, suggested->top,
                   suggested->right - suggested->left, suggested->bottom - suggested->top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      Measure();
      InvalidateRect(window_, nullptr, FALSE);
      return 0;
    }
    case WM_SETTINGCHANGE:
    case WM_THEMECHANGED:
      dark_ = DarkColours();  // the user's light or dark choice, or the fonts, changed
      Measure();
      InvalidateRect(window_, nullptr, FALSE);
      return 0;
    case WM_DESTROY:
      window_ = nullptr;
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace tarvex::win32
