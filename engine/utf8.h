// UTF-8 helpers of the engine and the presenters: character boundaries, reading characters, and
// file-system paths.
#pragma once

#include <cstddef>
#include <cstdint>
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

// What a byte that starts no well-formed sequence reads as.
inline constexpr char32_t kReplacementCharacter = 0xFFFD;

// Reads one UTF-8 character at `at` (before the text's end) and moves `at` past it. A byte that
// starts no well-formed sequence reads as kReplacementCharacter and is passed over alone, so the
// rest of the text still reads.
inline char32_t NextCharacter(std::string_view text, std::size_t& at) {
  const auto lead = static_cast<std::uint8_t>(text[at]);
  std::size_t length = 0;
  char32_t value = 0;
  if (lead < 0x80) {
    ++at;
    return lead;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    value = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    value = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    value = lead & 0x07;
  } else {
    ++at;
    return kReplacementCharacter;
  }
  if (at + length > text.size()) {
    ++at;
    return kReplacementCharacter;
  }
  for (std::size_t i = 1; i < length; ++i) {
    const char next = text[at + i];
    if (!IsContinuationByte(next)) {
      ++at;
      return kReplacementCharacter;
    }
    value = (value << 6) | (static_cast<std::uint8_t>(next) & 0x3F);
  }
  // Overlong forms, surrogates and values beyond U+10FFFF are not characters.
  const bool overlong = (length == 3 && value < 0x800) || (length == 4 && value < 0x10000);
  if (overlong || (value >= 0xD800 && value <= 0xDFFF) || value > 0x10FFFF) {
    ++at;
    return kReplacementCharacter;
  }
  at += length;
  return value;
}

inline std::filesystem::path PathFromUtf8(std::string_view text) {
  return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

inline std::string Utf8FromPath(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

}  // namespace tarvex
