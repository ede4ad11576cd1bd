// The keystroke notation of the launch: "~" is the Enter key, "{TAB}" the Tab key, and one
// character in braces is that character typed as itself. The characters that the notation treats
// as commands ("+^%~(){}[]") stand in braces whenever they are meant literally; every other
// character is typed as itself.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tarvex {

struct Keystroke {
  enum class Kind { Character, Enter, Tab };
  Kind What = Kind::Character;
  char32_t Character = 0;  // for Kind::Character
  friend bool operator==(const Keystroke&, const Keystroke&) = default;
};

// Puts every command character of `text` in braces, so that it is typed exactly as it stands.
std::string EscapeKeystrokes(std::string_view text);
// The keys of one keystroke text, in order. A malformed brace group is typed as it stands.
std::vector<Keystroke> ParseKeystrokes(std::string_view text);

}  // namespace tarvex
