#include "shell/tests/support/freed_memory.h"

#include <cstdlib>
#include <new>
#include <utility>

namespace {
std::string_view watched[2];  // empty: no watch
int found = 0;

bool Holds(std::string_view block, std::string_view text) {
  return !text.empty() && block.find(text) != std::string_view::npos;
}
}  // namespace

void* operator new(std::size_t size) {
  if (void* block = std::malloc(size ? size : 1)) return block;
  throw std::bad_alloc();
}
void operator delete(void* block) noexcept {
  std::free(block);
}
void operator delete(void* block, std::size_t size) noexcept {
  const std::string_view bytes(static_cast<const char*>(block), block ? size : 0);
  if (Holds(bytes, watched[0]) || Holds(bytes, watched[1])) ++found;
  std::free(block);
}

namespace tarvex::testing {

FreedMemoryWatch::FreedMemoryWatch(std::string_view text, std::string_view other) {
  watched[0] = text;
  watched[1] = other;
  found = 0;
}

FreedMemoryWatch::~FreedMemoryWatch() {
  watched[0] = watched[1] = {};
}

int FreedMemoryWatch::Found() {
  return std::exchange(found, 0);
}

}  // namespace tarvex::testing
