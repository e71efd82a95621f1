#pragma once
// Where a widget sends its mouse events, in the handlers' terms.
#include <functional>

namespace velkor::qt {

using MouseHandler = std::function<void(int button, int shift, float x, float y)>;

struct MouseForward {
  MouseHandler down, move, up;
};

}  // namespace velkor::qt
