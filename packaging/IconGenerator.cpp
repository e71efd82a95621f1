// velkor-icons OUTDIR: draws the application icon into OUTDIR/NxN/velkor.png
// for every hicolor size the desktop asks for. Run by the build only.
#include <filesystem>
#include <iostream>
#include <string>

#include "sample/AppIcon.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: velkor-icons OUTDIR\n";
    return 2;
  }
  for (const int size : {16, 32, 48, 64, 128, 256}) {
    const std::string label = std::to_string(size) + "x" + std::to_string(size);
    const std::filesystem::path folder = std::filesystem::path(argv[1]) / label;
    std::error_code made;
    std::filesystem::create_directories(folder, made);
    std::string error;
    if (made || !velkor::sample::WriteAppIcon((folder / "velkor.png").string(), size, error)) {
      std::cerr << "error: " << (made ? made.message() : error) << '\n';
      return 1;
    }
  }
  return 0;
}
