// UTF-8 helpers of the engine: character boundaries and file-system paths.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace tarvex {

inline bool IsContinuationByte(char c) {
  return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// The byte offset at which character number `chars` (0-based) begins; the text's size when it
// has no more characters than that.
inline std::size_t ByteOffsetOfChar(std::string_view text, std::size_t chars) {
  std::size_t offset = 0;
  for (std::size_t seen = 0; offset < text.size(); ++offset) {
    if (!IsContinuationByte(text[offset]) && seen++ == chars) return offset;
  }
  return text.size();
}

inline std::filesystem::path PathFromUtf8(std::string_view text) {
  return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

inline std::string Utf8FromPath(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

}  // namespace tarvex
