// Conversions between the UTF-8 text used inside Tarvex and the texts of the Windows API: UTF-16
// for the W functions, the system's 8-bit (ANSI) code page for the data files.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tarvex::win32 {

// UTF-8 -> UTF-16; invalid sequences become U+FFFD.
std::wstring Widen(std::string_view text);
// UTF-16 -> UTF-8; an unpaired surrogate becomes U+FFFD.
std::string Narrow(std::wstring_view text);

// The system's ANSI code page (CP_ACP) -> UTF-8.
std::string AnsiToUtf8(std::string_view bytes);
// UTF-8 -> the ANSI code page; none when a character of `text` is missing from the code page
// (never "?", never a look-alike).
std::optional<std::string> Utf8ToAnsiExactly(std::string_view text);

}  // namespace tarvex::win32
