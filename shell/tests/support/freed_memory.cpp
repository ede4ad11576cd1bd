#include "shell/tests/support/freed_memory.h"

#include <cstdlib>
#include <new>
#include <utility>

namespace {
std::string_view watched;  // empty: no watch
int found = 0;
}  // namespace

void* operator new(std::size_t size) {
  if (void* block = std::malloc(size ? size : 1)) return block;
  throw std::bad_alloc();
}
void operator delete(void* block) noexcept {
  std::free(block);
}
void operator delete(void* block, std::size_t size) noexcept {
  if (block && !watched.empty() &&
      std::string_view(static_cast<const char*>(block), size).find(watched) !=
          std::string_view::npos) {
    ++found;
  }
  std::free(block);
}

namespace tarvex::testing {

FreedMemoryWatch::FreedMemoryWatch(std::string_view text) {
  watched = text;
  found = 0;
}

FreedMemoryWatch::~FreedMemoryWatch() {
  watched = {};
}

int FreedMemoryWatch::Found() {
  return std::exchange(found, 0);
}

}  // namespace tarvex::testing
