// velkor without the Qt window: runs Do All on the sample vehicle headless.
#include <iostream>

int main() {
  std::cerr << "velkor was built without its window; use velkor-cli do-all.\n";
  return 1;
}
