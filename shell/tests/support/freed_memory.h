// A watch on the memory that the program gives back: it replaces the global operator new and
// delete, and searches every block given back through the sized delete (as the standard
// containers and strings give theirs back) for a text or two.
#pragma once

#include <string_view>

namespace tarvex::testing {

class FreedMemoryWatch {
 public:
  // Watches for `text`, and `other` when given, until the watch ends; both must outlive it.
  explicit FreedMemoryWatch(std::string_view text, std::string_view other = {});
  ~FreedMemoryWatch();
  FreedMemoryWatch(const FreedMemoryWatch&) = delete;
  FreedMemoryWatch& operator=(const FreedMemoryWatch&) = delete;

  // How many blocks were given back with a text in them since the last asking.
  int Found();
};

}  // namespace tarvex::testing
