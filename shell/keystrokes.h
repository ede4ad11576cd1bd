// The keystroke notation of the launch: "~" is the Enter key, "{TAB}" the Tab key, and one
// character in braces is that character typed as itself. The characters that the notation treats
// as commands ("+^%~(){}[]") stand in braces whenever they are meant literally; every other
// character is typed as itself.
#pragma once

#include <cstddef>
#include <span>
#include <string_view>
#include <vector>

#include "dialogs/secret_text.h"

namespace tarvex {

struct Keystroke {
  enum class Kind { Character, Enter, Tab };
  Kind What = Kind::Character;
  char32_t Character = 0;  // for Kind::Character
  friend bool operator==(const Keystroke&, const Keystroke&) = default;
};

// The keys of one keystroke text, which may be a password's: kept in a list reserved once for the
// whole text, so that no copy is left behind as it fills, and overwritten when the list ends.
class Keystrokes {
 public:
  explicit Keystrokes(std::size_t capacity) { keys_.reserve(capacity); }
  Keystrokes(const Keystrokes&) = delete;
  Keystrokes& operator=(const Keystrokes&) = delete;
  Keystrokes(Keystrokes&&) noexcept = default;  // hands the list over
  ~Keystrokes() { WipeMemory(keys_.data(), keys_.size() * sizeof(Keystroke)); }

  // Adds a key within the capacity reserved; a key past it is left out.
  void Add(Keystroke key) {
    if (keys_.size() < keys_.capacity()) keys_.push_back(key);
  }
  std::span<const Keystroke> keys() const { return keys_; }
  auto begin() const { return keys_.begin(); }
  auto end() const { return keys_.end(); }
  std::size_t size() const { return keys_.size(); }
  friend bool operator==(const Keystrokes& a, const std::vector<Keystroke>& b) {
    return a.keys_ == b;
  }

 private:
  std::vector<Keystroke> keys_;
};

// Puts every command character of `text` in braces, so that it is typed exactly as it stands. The
// text may be a password, so the result is a secret one.
SecretText EscapeKeystrokes(std::string_view text);
// The keys of one keystroke text, in order. A malformed brace group is typed as it stands.
Keystrokes ParseKeystrokes(std::string_view text);

}  // namespace tarvex
