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

SecretText EscapeKeystrokes(std::string_view text) {
  const auto command = [](char c) { return kCommandCharacters.find(c) != std::string_view::npos; };
  std::size_t size = text.size();
  for (const char c : text) size += command(c) ? 2 : 0;
  SecretText escaped;
  const std::span<char> block = escaped.Reserve(size);
  std::size_t at = 0;
  for (const char c : text) {
    if (command(c)) {
      block[at++] = '{';
      block[at++] = c;
      block[at++] = '}';
    } else {
      block[at++] = c;
    }
  }
  return escaped;
}

// "~" is Enter, "{TAB}" is Tab, "{c}" is the one character c (any character, "{" and "}"
// included). Everything else, a brace group that is none of these included, is typed as it
// stands: the notation has no modifier keys, so "+", "^" and "%" outside braces are plain text.
Keystrokes ParseKeystrokes(std::string_view text) {
  Keystrokes keys(text.size());  // no text has more keys than bytes
  std::size_t at = 0;
  while (at < text.size()) {
    const char c = text[at];
    if (c == '~') {
      keys.Add({Keystroke::Kind::Enter, 0});
      ++at;
      continue;
    }
    if (c == '{') {
      if (text.substr(at, kTab.size()) == kTab) {
        keys.Add({Keystroke::Kind::Tab, 0});
        at += kTab.size();
        continue;
      }
      if (at + 1 < text.size()) {
        std::size_t inner = at + 1;
        const char32_t character = NextCharacter(text, inner);
        if (inner < text.size() && text[inner] == '}') {
          keys.Add(Typed(character));
          at = inner + 1;
          continue;
        }
      }
      // A malformed group: its opening brace is typed, and reading goes on after it.
      keys.Add(Typed(U'{'));
      ++at;
      continue;
    }
    keys.Add(Typed(NextCharacter(text, at)));
  }
  return keys;
}

}  // namespace tarvex
