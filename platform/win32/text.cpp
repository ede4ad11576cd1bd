#include "platform/win32/text.h"

#include <windows.h>

#include <climits>

namespace tarvex::win32 {
namespace {

std::wstring ToWide(UINT codePage, std::string_view bytes) {
  if (bytes.empty() || bytes.size() > INT_MAX) return {};
  const int size = static_cast<int>(bytes.size());
  const int length = MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(codePage, 0, bytes.data(), size, wide.data(), length);
  return wide;
}

// `lossy`, when given, is set when a character had to be written as the default character.
std::string FromWide(UINT codePage, DWORD flags, std::wstring_view wide, BOOL* lossy = nullptr) {
  if (wide.empty() || wide.size() > INT_MAX) return {};
  const int size = static_cast<int>(wide.size());
  const int length =
      WideCharToMultiByte(codePage, flags, wide.data(), size, nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(codePage, flags, wide.data(), size, bytes.data(), length, nullptr, lossy);
  return bytes;
}

}  // namespace

std::wstring Widen(std::string_view text) {
  return ToWide(CP_UTF8, text);
}
std::string Narrow(std::wstring_view text) {
  return FromWide(CP_UTF8, 0, text);
}
std::string AnsiToUtf8(std::string_view bytes) {
  return Narrow(ToWide(CP_ACP, bytes));
}
// No "best fit": a folder name with a letter that the code page lacks must not turn into the name
// of another folder ("ł" would become "l").
std::optional<std::string> Utf8ToAnsiExactly(std::string_view text) {
  BOOL lossy = FALSE;
  std::string bytes = FromWide(CP_ACP, WC_NO_BEST_FIT_CHARS, Widen(text), &lossy);
  if (lossy) return std::nullopt;
  return bytes;
}

}  // namespace tarvex::win32
