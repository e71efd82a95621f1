#include "platform/Files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <tuple>

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
  ASSERT_TRUE([&] {
    SafeFileWriter uncommitted;
    return uncommitted.Open(target) && uncommitted.Write("abc", 3);
  }());
  EXPECT_EQ(ReadFileBytes(target), std::vector<uint8_t>(100, 7));
  EXPECT_EQ(ListFiles(dir.path(), "").size(), 1u) << "no temporary remains";
  SafeFileWriter writer;
  ASSERT_TRUE(writer.Open(target) && writer.Write("abc", 3) && writer.Commit());
  EXPECT_EQ(ReadFileBytes(target), (std::vector<uint8_t>{'a', 'b', 'c'})) << "no stale bytes";
  SafeFileWriter missingFolder;
  EXPECT_TRUE(!missingFolder.Open(dir / "nope/icon.srf") && missingFolder.Error() == ENOENT &&
              !ApiErrorText(ENOENT).empty());
  ::mkdir((dir / "adir").c_str(), 0755);
  SafeFileWriter ontoFolder;
  ASSERT_TRUE(ontoFolder.Open(dir / "adir") && ontoFolder.Write("x", 1));
  EXPECT_TRUE(!ontoFolder.Commit() && FolderExists(dir / "adir"));
  EXPECT_EQ(ListFiles(dir.path(), "").size(), 1u) << "the temporary file is gone";
  // Any legal name has a temporary name beside it: cut to 255 bytes, never inside a character.
  SafeFileWriter longest;
  EXPECT_TRUE(longest.Open(dir / std::string(255, 'n')) && longest.Write("x", 1) && longest.Commit());
  std::string e120, e115;  // "é" is two bytes
  for (int i = 0; i < 120; ++i) (i < 115 ? e115 : e120) += "é";
  EXPECT_EQ(TempPatternBeside("/d/x" + e115 + e120, ".gif", 4), "/d/.x" + e115 + ".velkor-XXXXXX.gif");
}

TEST(Files, ExistenceLengthsLetterCaseAndAssetFolders) {
  ScratchDir dir;
  WriteFileBytes(dir / "CAR0001.BMP", {1, 2, 3});
  WriteFileBytes(dir / "notes.txt", {});
  ::mkdir((dir / "car0002.bmp").c_str(), 0755);  // a folder named like a frame
  const std::string car = dir / "CAR0001.BMP", folder = dir / "car0002.bmp";
  EXPECT_EQ(std::make_tuple(FileExists(car), FileExists(folder), FileLength(car), FileLength(dir / "missing.bmp")),
            std::make_tuple(true, false, std::optional<int64_t>(3), std::optional<int64_t>()));
  EXPECT_EQ(std::make_tuple(ResolveNameCase(dir / "car0001.bmp"), ResolveNameCase(folder), ListFiles(dir / "", ".bmp")),
            std::make_tuple(car, folder, std::vector<std::string>{"CAR0001.BMP"}));
  EXPECT_EQ(std::make_pair(ReadWholeFile(folder), ReadWholeFile(car)),
            std::make_pair(std::optional<std::vector<uint8_t>>(), std::optional<std::vector<uint8_t>>({1, 2, 3})));
  EXPECT_TRUE(ExecutableBaseName() == "platform_tests" && FileExists(ProgramFolder() + "/platform_tests"));
  // Assets beside the program first, then the installed share folder.
  for (const char* place : {"build", "usr/bin", "usr/share/velkor"}) std::filesystem::create_directories(dir / place);
  for (const char* place : {"build", "usr/share/velkor"}) WriteFileBytes(dir / place + "/Garmin760.bmp", {1});
  const std::string bin = dir / "usr/bin";
  EXPECT_EQ(std::make_tuple(AssetFolderFor(dir / "build", "Garmin760.bmp"), AssetFolderFor(bin, "Garmin760.bmp"),
                            AssetFolderFor(bin, "missing.bmp")),
            std::make_tuple(dir / "build", dir / "usr/share/velkor", bin));
  // The model loader: beside the program in the build tree, in libexec/velkor when installed.
  EXPECT_EQ(std::make_pair(HelperProgramFor(dir / "build", "Garmin760.bmp"), HelperProgramFor(bin, "loader")),
            std::make_pair(dir / "build/Garmin760.bmp", dir / "usr/libexec/velkor/loader"));
}

}  // namespace
}  // namespace velkor::platform
