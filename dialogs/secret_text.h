// Texts that must not outlive their use, such as the game's password: their characters are
// overwritten before their memory is given back, and no copy is left behind by a growing buffer.
#pragma once

#include <cstddef>
#include <span>
#include <string_view>

namespace tarvex {

// Overwrites `size` bytes at `data` with zeros; the compiler keeps the writes although nothing
// reads the bytes again.
void WipeMemory(void* data, std::size_t size);

// A secret text. Its characters sit in one block of exactly their size, which never grows: a new
// text takes a new block and the old one is wiped first. Clearing, replacing and destroying the
// text wipe its block; a move hands the block over, leaving no copy.
class SecretText {
 public:
  SecretText() = default;
  explicit SecretText(std::string_view text);
  SecretText(const SecretText& other) : SecretText(other.view()) {}
  SecretText(SecretText&& other) noexcept;
  SecretText& operator=(SecretText other) noexcept;
  ~SecretText() { Clear(); }

  void Assign(std::string_view text) { *this = SecretText(text); }
  // Wipes the characters and gives the block back.
  void Clear();
  // A block of `size` characters, all "\0", for the caller to fill; the old text is wiped first.
  std::span<char> Reserve(std::size_t size);

  std::string_view view() const { return {data_, size_}; }
  bool empty() const { return size_ == 0; }
  friend bool operator==(const SecretText& secret, std::string_view text) {
    return secret.view() == text;
  }

 private:
  char* data_ = nullptr;
  std::size_t size_ = 0;
};

}  // namespace tarvex
