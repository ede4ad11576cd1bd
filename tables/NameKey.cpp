#include "tables/NameKey.h"

#include <cstddef>

namespace tarvex {

namespace {

// Latin Extended-A, U+0100-U+017F: case pairs with the capital on the even code point in
// U+0100-U+0137 and U+014A-U+0177, on the odd one in U+0139-U+0148 and U+0179-U+017E.
char32_t UpperLatinExtendedA(char32_t c) noexcept {
  if (c == 0x131) return U'I';
  if (c == 0x17F) return U'S';
  const bool evenCapital = (c <= 0x137 && c != 0x130) || (c >= 0x14A && c <= 0x177);
  if (evenCapital) return (c & 1U) ? c - 1 : c;
  const bool oddCapital = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
  if (oddCapital) return (c & 1U) ? c : c - 1;
  return c;  // U+0130, U+0138, U+0149, U+0178
}

// Greek small letters U+03AC-U+03CE.
char32_t UpperGreek(char32_t c) noexcept {
  if (c == 0x3AC) return 0x386;     // alpha with tonos
  if (c <= 0x3AF) return c - 0x25;  // epsilon, eta, iota with tonos -> U+0388-U+038A
  if (c == 0x3B0) return c;         // upsilon with dialytika and tonos: no one letter
  if (c == 0x3C2) return 0x3A3;     // final sigma
  if (c <= 0x3CB) return c - 0x20;  // alpha..omega, iota and upsilon with dialytika
  if (c == 0x3CC) return 0x38C;     // omicron with tonos
  return c - 0x3F;                  // upsilon, omega with tonos -> U+038E, U+038F
}

bool IsContinuation(unsigned char byte) noexcept {
  return (byte & 0xC0U) == 0x80U;
}

// Decodes one character of valid UTF-8 at `text[at]`. Returns its length in bytes [1, 4] and
// stores the code point, or returns 0 when the bytes there are not a valid sequence.
std::size_t DecodeUtf8(std::string_view text, std::size_t at, char32_t& codePoint) noexcept {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[at + i]); };
  const std::size_t left = text.size() - at;  // [1, size]
  const unsigned char lead = byte(0);
  if (lead < 0x80) {
    codePoint = lead;
    return 1;
  }
  std::size_t length = 0;
  unsigned char low = 0x80;  // range of the second byte, narrower after some lead bytes
  unsigned char high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;   // no overlong forms
    if (lead == 0xED) high = 0x9F;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;   // no overlong forms
    if (lead == 0xF4) high = 0x8F;  // nothing above U+10FFFF
  } else {
    return 0;
  }
  if (left < length || byte(1) < low || byte(1) > high) return 0;
  char32_t value = lead & (0xFFU >> (length + 1));
  for (std::size_t i = 1; i < length; ++i) {
    if (!IsContinuation(byte(i))) return 0;
    value = (value << 6) | (byte(i) & 0x3FU);
  }
  codePoint = value;
  return length;
}

// Appends one UTF-16 code unit [0, 0xFFFF] in UTF-8's byte layout.
void AppendUnit(char32_t unit, std::string& key) {
  if (unit < 0x80) {
    key += static_cast<char>(unit);
  } else if (unit < 0x800) {
    key += static_cast<char>(0xC0 | (unit >> 6));
    key += static_cast<char>(0x80 | (unit & 0x3F));
  } else {
    key += static_cast<char>(0xE0 | (unit >> 12));
    key += static_cast<char>(0x80 | ((unit >> 6) & 0x3F));
    key += static_cast<char>(0x80 | (unit & 0x3F));
  }
}

}  // namespace

char32_t UpperCase(char32_t c) noexcept {
  if (c < 0x80) return (c >= U'a' && c <= U'z') ? c - 0x20 : c;
  if (c < 0x100) {
    if (c == 0xB5) return 0x39C;
    if (c == 0xFF) return 0x178;
    if (c >= 0xE0 && c != 0xF7) return c - 0x20;
    return c;
  }
  if (c < 0x180) return UpperLatinExtendedA(c);
  if (c >= 0x3AC && c <= 0x3CE) return UpperGreek(c);
  if (c >= 0x430 && c <= 0x44F) return c - 0x20;
  if (c >= 0x450 && c <= 0x45F) return c - 0x50;
  return c;
}

std::string NameKey(std::string_view name) {
  std::string key;
  key.reserve(name.size());
  std::size_t at = 0;
  // ASCII runs: the key byte is the upper-cased byte.
  while (at < name.size()) {
    const auto byte = static_cast<unsigned char>(name[at]);
    if (byte >= 0x80) break;
    key += static_cast<char>((byte >= 'a' && byte <= 'z') ? byte - 0x20 : byte);
    ++at;
  }
  while (at < name.size()) {
    char32_t codePoint = 0;
    const std::size_t length = DecodeUtf8(name, at, codePoint);
    if (length == 0) {
      AppendUnit(0xDC00 + static_cast<unsigned char>(name[at]), key);  // U+DC80-U+DCFF
      ++at;
      continue;
    }
    at += length;
    const char32_t upper = UpperCase(codePoint);
    if (upper < 0x10000) {
      AppendUnit(upper, key);
    } else {
      const char32_t offset = upper - 0x10000;  // [0, 0xFFFFF]
      AppendUnit(0xD800 + (offset >> 10), key);
      AppendUnit(0xDC00 + (offset & 0x3FF), key);
    }
  }
  return key;
}

std::uint64_t KeyPrefix(std::string_view key) noexcept {
  std::uint64_t prefix = 0;
  for (std::size_t i = 0; i < 8; ++i) {
    const std::uint64_t byte = i < key.size() ? static_cast<unsigned char>(key[i]) : 0U;
    prefix = (prefix << 8) | byte;
  }
  return prefix;
}

}  // namespace tarvex
