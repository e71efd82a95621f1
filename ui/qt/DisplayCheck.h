#pragma once
// Whether a window can be opened at all: without a display (and without a
// platform chosen through QT_QPA_PLATFORM) Qt would abort on start.
#include <string>

namespace velkor::qt {

bool DisplayAvailable();
std::string NoDisplayMessage();

}  // namespace velkor::qt
