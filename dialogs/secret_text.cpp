#include "dialogs/secret_text.h"

#include <memory>
#include <utility>

namespace tarvex {

void WipeMemory(void* data, std::size_t size) {
  // Writes through a volatile pointer are never dropped as dead stores.
  volatile unsigned char* bytes = static_cast<volatile unsigned char*>(data);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = 0;
}

SecretText::SecretText(std::string_view text) {
  const std::span<char> block = Reserve(text.size());
  text.copy(block.data(), block.size());
}

SecretText::SecretText(SecretText&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)) {}

SecretText& SecretText::operator=(SecretText other) noexcept {
  std::swap(data_, other.data_);
  std::swap(size_, other.size_);
  return *this;  // `other` wipes the old text on its way out
}

void SecretText::Clear() {
  if (!data_) return;
  WipeMemory(data_, size_);
  std::allocator<char>().deallocate(data_, size_);
  data_ = nullptr;
  size_ = 0;
}

std::span<char> SecretText::Reserve(std::size_t size) {
  Clear();
  if (size == 0) return {};
  data_ = std::allocator<char>().allocate(size);
  size_ = size;
  WipeMemory(data_, size_);
  return {data_, size_};
}

}  // namespace tarvex
