#include "common/Paths.h"

#include <gtest/gtest.h>

namespace velkor {
namespace {

struct PathCase {
  const char* path;
  const char* folder;
  const char* base;
};

TEST(PathHelpers, FolderAndBaseNameOfEachShape) {
  const PathCase cases[] = {
      {"C:\\a\\b.bmp", "C:\\a", "b"},
      {"C:\\b.bmp", "C:", "b"},
      {"car.bmp", "", "car"},
      {"\\car.bmp", "", "car"},
      {"C:\\x\\car.blue.bmp", "C:\\x", "car"},
      {"C:\\x.y\\file", "C:\\x.y", "file"},
      {"C:\\x\\.bmp", "C:\\x", ""},
      {"/home/u/out/car.bmp", "/home/u/out", "car"},
      {"/car.bmp", "", "car"},
      {"/tmp/x.bmp", "/tmp", "x"},
      {"a\\b/c.d.e", "a\\b", "c"},  // both separators count
      {"", "", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(GetFolderName(c.path), c.folder) << c.path;
    EXPECT_EQ(GetBaseName(c.path), c.base) << c.path;
  }
}

TEST(PathHelpers, LongPathsAreNotCutAt255) {
  // Positions past 255 would wrap in an 8-bit counter.
  const std::string folder = "/" + std::string(290, 'f');
  const std::string path = folder + "/" + std::string(20, 'n') + ".x.bmp";
  ASSERT_GT(path.size(), 300u);
  EXPECT_EQ(GetFolderName(path), folder);
  EXPECT_EQ(GetBaseName(path), std::string(20, 'n'));
}

TEST(PathHelpers, JoinUsesTheNativeSeparatorAndTrimRemovesSpaces) {
  EXPECT_EQ(JoinPath("/a/b", "c.srf"), "/a/b/c.srf");
  EXPECT_EQ(Trim("  2.10  "), "2.10");
  EXPECT_EQ(Trim("   "), "");
  EXPECT_EQ(Trim("\t2.10"), "\t2.10");  // only spaces are blanks here
}

}  // namespace
}  // namespace velkor
