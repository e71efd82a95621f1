#pragma once
// What a call raises: its error number and message, {0, ""} when it raises none.
#include <string>
#include <utility>

#include "common/VbError.h"

namespace velkor::testing {

template <class F>
std::pair<int, std::string> Refusal(F&& f) {
  try {
    f();
  } catch (const VbError& e) {
    return {e.Number(), e.Description()};
  }
  return {0, ""};
}
template <class F>
int ErrorNumberOf(F&& f) {
  return Refusal(f).first;
}

}  // namespace velkor::testing
