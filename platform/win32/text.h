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

// The system's ANSI code page (CP_ACP) <-> UTF-8. A character that the code page lacks is written
// as the code page's default character ("?"), never as a look-alike.
std::string AnsiToUtf8(std::string_view bytes);
std::string Utf8ToAnsi(std::string_view text);
// The same, or none when a character of `text` is missing from the code page.
std::optional<std::string> Utf8ToAnsiExactly(std::string_view text);

}  // namespace tarvex::win32
