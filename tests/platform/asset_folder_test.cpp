#include <gtest/gtest.h>

#include <filesystem>

#include "platform/AssetFolder.h"
#include "support/TestFiles.h"

namespace velkor::platform {
namespace {

TEST(AssetFolder, BesideTheProgramFirstThenTheInstalledShareFolder) {
  testing::ScratchDir dir;
  std::filesystem::create_directories(dir / "build");
  std::filesystem::create_directories(dir / "usr/bin");
  std::filesystem::create_directories(dir / "usr/share/velkor");
  testing::WriteFileBytes(dir / "build/Garmin760.bmp", {1});
  testing::WriteFileBytes(dir / "usr/share/velkor/Garmin760.bmp", {1});
  EXPECT_EQ(AssetFolderFor(dir / "build", "Garmin760.bmp"), dir / "build");
  EXPECT_EQ(AssetFolderFor(dir / "usr/bin", "Garmin760.bmp"), dir / "usr/share/velkor");
  EXPECT_EQ(AssetFolderFor(dir / "usr/bin", "missing.bmp"), dir / "usr/bin");
}

}  // namespace
}  // namespace velkor::platform
