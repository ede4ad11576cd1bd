// The outcome of an action that can fail: done, or a failure that says why. Every save, write and
// platform call that can fail gives one; a caller that drops it on purpose says so
// (`std::ignore = ...;` with a comment).
#pragma once

#include <string>
#include <utility>

namespace tarvex {

class [[nodiscard]] Result {
 public:
  Result() = default;  // done
  // A failure, `why` being one sentence without its final period, e.g.
  // "/home/ann/.config/tarvex/ZRDTIMES.DAT could not be written: Permission denied".
  static Result Failure(std::string why) {
    Result result;
    result.failed_ = true;
    result.why_ = std::move(why);
    return result;
  }

  bool ok() const { return !failed_; }
  explicit operator bool() const { return !failed_; }
  // Why it failed; empty when done.
  const std::string& why() const { return why_; }

 private:
  bool failed_ = false;
  std::string why_;
};

// A value read from somewhere that may fail: the value (its defaults when reading failed) and the
// outcome of the reading.
template <class T>
struct [[nodiscard]] Reading {
  T value{};
  Result result;
};

}  // namespace tarvex
