#pragma once
// The error number a call raises, or 0 when it raises none.
#include <functional>

#include "common/VbError.h"

namespace velkor::testing {

inline int ErrorNumberOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const VbError& e) {
    return e.Number();
  }
  return 0;
}

}  // namespace velkor::testing
