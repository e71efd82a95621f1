#include "ui/qt/DisplayCheck.h"

#include <cstdlib>

namespace velkor::qt {

namespace {
bool Set(const char* name) {
  const char* value = std::getenv(name);
  return value && *value;
}
}  // namespace

bool DisplayAvailable() { return Set("QT_QPA_PLATFORM") || Set("DISPLAY") || Set("WAYLAND_DISPLAY"); }

std::string NoDisplayMessage() {
  return "velkor: no display to open the window on (DISPLAY, WAYLAND_DISPLAY and QT_QPA_PLATFORM are not set).\n"
         "Start it from a desktop session or under xvfb-run, or build headless with: velkor-cli do-all\n";
}

}  // namespace velkor::qt
