#pragma once
// The number of resampling steps the option buttons select: 1, 2 or 3, 0 when
// none is.
#include <array>

#include "ui/Controls.h"

namespace velkor {

inline int SelectedSteps(const std::array<OptionButton, 3>& optSteps) {
  for (int i = 0; i < 3; ++i) {
    if (optSteps[static_cast<size_t>(i)].Value) return i + 1;
  }
  return 0;
}

}  // namespace velkor
