#pragma once
// How every job ends: with its value, or with a Failure that says what the
// user is told. Engine code below the jobs raises VbError where a seeded
// procedure raises; Guarded turns that (and running out of memory) into a
// Failure at one place, so no job lets an exception through.
#include <new>
#include <string>
#include <utility>
#include <variant>

#include "common/VbError.h"

namespace velkor {

struct Failure {
  Failure(std::string message_ = {}, std::string status_ = {}, bool quiet_ = false)  // NOLINT: a message is one
      : message(std::move(message_)), status(std::move(status_)), quiet(quiet_) {}
  std::string message;  // the message: a message box in the window, "error: ..." on stderr
  // The status line after the failure ("" leaves it). Jobs have already
  // shown it through their Progress; it is here for callers that did not watch.
  std::string status;
  bool quiet = false;  // the window records it without a message box (the status says it)
  std::string reason;  // the command line's one-line account, when it is not the message
  const std::string& Reason() const { return reason.empty() ? message : reason; }
};

// A job with nothing to hand back.
struct Done {};

template <typename T, typename E = Failure>
class Result {
 public:
  Result(T value) : state_(std::move(value)) {}      // NOLINT: a value is a success
  Result(E failure) : state_(std::move(failure)) {}  // NOLINT: a failure is one
  explicit operator bool() const { return state_.index() == 0; }
  T& operator*() { return std::get<0>(state_); }
  const T& operator*() const { return std::get<0>(state_); }
  T* operator->() { return &std::get<0>(state_); }
  const T* operator->() const { return &std::get<0>(state_); }
  const E& failure() const { return std::get<1>(state_); }

 private:
  std::variant<T, E> state_;
};

// Runs `work` (which returns a Result), turning a VbError into a Failure with
// its description and running out of memory into `outOfMemory`.
template <typename F>
auto Guarded(F&& work, const std::string& outOfMemory = "not enough memory") -> decltype(work()) {
  try {
    return work();
  } catch (const VbError& e) {
    return Failure{e.Description()};
  } catch (const std::bad_alloc&) {
    return Failure{outOfMemory};
  }
}

}  // namespace velkor
