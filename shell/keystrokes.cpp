#include "shell/keystrokes.h"

#include <cstddef>

#include "engine/utf8.h"

namespace tarvex {
namespace {

constexpr std::string_view kCommandCharacters = "+^%~(){}[]";
constexpr std::string_view kTab = "{TAB}";

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
