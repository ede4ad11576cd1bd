// The log-in entry on Windows: the value "Tarvex" under the user's Run key, holding the quoted
// full path of the program, which Windows starts at log-in.
#include "platform/autostart.h"

#include <windows.h>

#include <string_view>

#include "engine/modGeneral.h"
#include "platform/win32/text.h"

namespace tarvex {
namespace {

constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kValueName[] = L"Tarvex";
constexpr std::string_view kValueText =
    "The value Tarvex under HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// "The value ... could not be written: Access is denied."
Result Failure(std::string_view what, LSTATUS status) {
  std::string text = std::string(kValueText) + " could not be " + std::string(what);
  wchar_t* reason = nullptr;
  if (FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                         FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, static_cast<DWORD>(status), 0, reinterpret_cast<wchar_t*>(&reason), 0,
                     nullptr) != 0) {
    std::wstring_view wide(reason);
    while (!wide.empty() && (wide.back() == L'\n' || wide.back() == L'\r' || wide.back() == L'.'))
      wide.remove_suffix(1);
    text += ": " + win32::Narrow(wide);
    LocalFree(reason);
  }
  return Result::Failure(text);
}

// The program that a Run value starts: the quoted path, or the text before the first blank.
std::wstring RunProgram(std::wstring_view value) {
  if (value.starts_with(L'"')) {
    value.remove_prefix(1);
    return std::wstring(value.substr(0, value.find(L'"')));
  }
  return std::wstring(value.substr(0, value.find(L' ')));
}

}  // namespace

std::string TrayProgramBeside() {
  return GetAppPath() + "Tarvex.exe";
}

bool LogInEntryStarts(const std::string& program) {
  DWORD size = 0;  // in bytes, with the closing NUL
  if (RegGetValueW(HKEY_CURRENT_USER, kRunKey, kValueName, RRF_RT_REG_SZ, nullptr, nullptr,
                   &size) != ERROR_SUCCESS)
    return false;
  std::wstring value(size / sizeof(wchar_t), L'\0');
  if (RegGetValueW(HKEY_CURRENT_USER, kRunKey, kValueName, RRF_RT_REG_SZ, nullptr, value.data(),
                   &size) != ERROR_SUCCESS)
    return false;
  value.resize(wcsnlen(value.c_str(), value.size()));
  // Paths on Windows do not tell case apart.
  const std::wstring named = RunProgram(value), wanted = win32::Widen(program);
  return CompareStringOrdinal(named.c_str(), static_cast<int>(named.size()), wanted.c_str(),
                              static_cast<int>(wanted.size()), TRUE) == CSTR_EQUAL;
}

Result WriteLogInEntry(const std::string& program) {
  HKEY key = nullptr;
  LSTATUS status = RegCreateKeyExW(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_SET_VALUE,
                                   nullptr, &key, nullptr);
  if (status != ERROR_SUCCESS) return Failure("written", status);
  const std::wstring value = L"\"" + win32::Widen(program) + L"\"";
  status = RegSetValueExW(key, kValueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
  return status == ERROR_SUCCESS ? Result() : Failure("written", status);
}

Result DeleteLogInEntry() {
  HKEY key = nullptr;
  LSTATUS status = RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_SET_VALUE, &key);
  if (status == ERROR_FILE_NOT_FOUND) return {};  // no Run key, so no value
  if (status != ERROR_SUCCESS) return Failure("deleted", status);
  status = RegDeleteValueW(key, kValueName);
  RegCloseKey(key);
  return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND ? Result()
                                                                   : Failure("deleted", status);
}

}  // namespace tarvex
