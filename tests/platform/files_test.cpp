#include "platform/Files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "platform/AssetFolder.h"
#include "platform/SystemError.h"
#include "support/TestFiles.h"

namespace velkor::platform {
namespace {

using velkor::testing::ReadFileBytes;
using velkor::testing::ScratchDir;
using velkor::testing::WriteFileBytes;

TEST(SafeFileWriter, ReplacesOnlyWhenCompleteAndReportsTheSystemError) {
  ScratchDir dir;
  const std::string target = dir / "icon.srf";
  WriteFileBytes(target, std::vector<uint8_t>(100, 7));
  {
    SafeFileWriter uncommitted;
    ASSERT_TRUE(uncommitted.Open(target) && uncommitted.Write("abc", 3));
  }
  EXPECT_EQ(ReadFileBytes(target), std::vector<uint8_t>(100, 7));
  EXPECT_EQ(ListFiles(dir.path(), "").size(), 1u) << "no temporary remains";
  SafeFileWriter writer;
  ASSERT_TRUE(writer.Open(target) && writer.Write("abc", 3) && writer.Commit());
  EXPECT_EQ(ReadFileBytes(target), (std::vector<uint8_t>{'a', 'b', 'c'})) << "no stale bytes";
  SafeFileWriter missingFolder;
  EXPECT_FALSE(missingFolder.Open(dir / "nope/icon.srf"));
  EXPECT_TRUE(missingFolder.Error() == ENOENT && !ApiErrorText(ENOENT).empty());
  ::mkdir((dir / "adir").c_str(), 0755);
  SafeFileWriter ontoFolder;
  ASSERT_TRUE(ontoFolder.Open(dir / "adir") && ontoFolder.Write("x", 1));
  EXPECT_FALSE(ontoFolder.Commit());
  EXPECT_TRUE(FolderExists(dir / "adir"));
  EXPECT_EQ(ListFiles(dir.path(), "").size(), 1u) << "the temporary file is gone";
}

TEST(Files, ExistenceLengthsLetterCaseAndAssetFolders) {
  ScratchDir dir;
  WriteFileBytes(dir / "CAR0001.BMP", {1, 2, 3});
  WriteFileBytes(dir / "notes.txt", {});
  ::mkdir((dir / "car0002.bmp").c_str(), 0755);  // a folder named like a frame
  EXPECT_TRUE(FileExists(dir / "CAR0001.BMP") && !FileExists(dir / "car0002.bmp"));
  EXPECT_EQ(FileLength(dir / "CAR0001.BMP"), 3);
  EXPECT_FALSE(FileLength(dir / "missing.bmp").has_value());
  EXPECT_EQ(ResolveNameCase(dir / "car0001.bmp"), dir / "CAR0001.BMP");
  EXPECT_EQ(ResolveNameCase(dir / "car0002.bmp"), dir / "car0002.bmp");
  EXPECT_EQ(ListFiles(dir.path(), ".bmp"), std::vector<std::string>{"CAR0001.BMP"});
  EXPECT_FALSE(ReadWholeFile(dir / "car0002.bmp").has_value());
  EXPECT_EQ(ReadWholeFile(dir / "CAR0001.BMP").value(), (std::vector<uint8_t>{1, 2, 3}));
  EXPECT_TRUE(ExecutableBaseName() == "platform_tests" && FileExists(ProgramFolder() + "/platform_tests"));
  // Assets beside the program first, then the installed share folder.
  for (const char* folder : {"build", "usr/bin", "usr/share/velkor"}) std::filesystem::create_directories(dir / folder);
  WriteFileBytes(dir / "build/Garmin760.bmp", {1});
  WriteFileBytes(dir / "usr/share/velkor/Garmin760.bmp", {1});
  EXPECT_EQ(AssetFolderFor(dir / "build", "Garmin760.bmp"), dir / "build");
  EXPECT_EQ(AssetFolderFor(dir / "usr/bin", "Garmin760.bmp"), dir / "usr/share/velkor");
  EXPECT_EQ(AssetFolderFor(dir / "usr/bin", "missing.bmp"), dir / "usr/bin");
}

}  // namespace
}  // namespace velkor::platform
