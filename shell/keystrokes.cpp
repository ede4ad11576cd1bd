#include "shell/keystrokes.h"

#include <cstddef>
#include <cstdint>

namespace tarvex {
namespace {

constexpr std::string_view kCommandCharacters = "+^%~(){}[]";
constexpr std::string_view kTab = "{TAB}";
constexpr char32_t kReplacement = 0xFFFD;

// Reads one UTF-8 character at `at` and moves `at` past it. A byte that starts no well-formed
// sequence reads as U+FFFD and is passed over alone, so the rest of the text still reads.
char32_t NextCharacter(std::string_view text, std::size_t& at) {
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
    return kReplacement;
  }
  if (at + length > text.size()) {
    ++at;
    return kReplacement;
  }
  for (std::size_t i = 1; i < length; ++i) {
    const auto next = static_cast<std::uint8_t>(text[at + i]);
    if ((next & 0xC0) != 0x80) {
      ++at;
      return kReplacement;
    }
    value = (value << 6) | (next & 0x3F);
  }
  // Overlong forms, surrogates and values beyond U+10FFFF are not characters.
  const bool overlong = (length == 3 && value < 0x800) || (length == 4 && value < 0x10000);
  if (overlong || (value >= 0xD800 && value <= 0xDFFF) || value > 0x10FFFF) {
    ++at;
    return kReplacement;
  }
  at += length;
  return value;
}

Keystroke Typed(char32_t character) {
  return {Keystroke::Kind::Character, character};
}

}  // namespace

std::string EscapeKeystrokes(std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (const char c : text) {
    if (kCommandCharacters.find(c) != std::string_view::npos) {
      escaped += '{';
      escaped += c;
      escaped += '}';
    } else {
      escaped += c;
    }
  }
  return escaped;
}

// "~" is Enter, "{TAB}" is Tab, "{c}" is the one character c (any character, "{" and "}"
// included). Everything else, a brace group that is none of these included, is typed as it
// stands: the notation has no modifier keys, so "+", "^" and "%" outside braces are plain text.
std::vector<Keystroke> ParseKeystrokes(std::string_view text) {
  std::vector<Keystroke> keys;
  std::size_t at = 0;
  while (at < text.size()) {
    const char c = text[at];
    if (c == '~') {
      keys.push_back({Keystroke::Kind::Enter, 0});
      ++at;
      continue;
    }
    if (c == '{') {
      if (text.substr(at, kTab.size()) == kTab) {
        keys.push_back({Keystroke::Kind::Tab, 0});
        at += kTab.size();
        continue;
      }
      if (at + 1 < text.size()) {
        std::size_t inner = at + 1;
        const char32_t character = NextCharacter(text, inner);
        if (inner < text.size() && text[inner] == '}') {
          keys.push_back(Typed(character));
          at = inner + 1;
          continue;
        }
      }
      // A malformed group: its opening brace is typed, and reading goes on after it.
      keys.push_back(Typed(U'{'));
      ++at;
      continue;
    }
    keys.push_back(Typed(NextCharacter(text, at)));
  }
  return keys;
}

}  // namespace tarvex
