// velkor built without its Qt window (-DVELKOR_BUILD_GUI=OFF): it only points
// to the command line, which runs every command of the window.
#include <iostream>

int main() {
  std::cerr << "velkor was built without its window; use velkor-cli do-all.\n";
  return 1;
}
