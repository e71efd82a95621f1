#include "platform/Files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>

#include "platform/SystemError.h"
#include "support/TestFiles.h"

namespace velkor::platform {
namespace {

using velkor::testing::ReadFileBytes;
using velkor::testing::ScratchDir;
using velkor::testing::WriteFileBytes;

TEST(SafeFileWriter, ReplacesOnlyWhenComplete) {
  ScratchDir dir;
  const std::string target = dir / "icon.srf";
  WriteFileBytes(target, std::vector<uint8_t>(100, 7));
  {
    SafeFileWriter writer;
    ASSERT_TRUE(writer.Open(target));
    ASSERT_TRUE(writer.Write("abc", 3));
    // Not committed: the user's file stays as it was and no temporary remains.
  }
  EXPECT_EQ(ReadFileBytes(target), std::vector<uint8_t>(100, 7));
  EXPECT_EQ(ListFiles(dir.path(), "").size(), 1u);
  SafeFileWriter writer;
  ASSERT_TRUE(writer.Open(target));
  ASSERT_TRUE(writer.Write("abc", 3));
  ASSERT_TRUE(writer.Commit());
  EXPECT_EQ(ReadFileBytes(target), (std::vector<uint8_t>{'a', 'b', 'c'})) << "no stale bytes";
}

TEST(SafeFileWriter, FailuresAreReportedWithTheSystemError) {
  ScratchDir dir;
  SafeFileWriter missingFolder;
  EXPECT_FALSE(missingFolder.Open(dir / "nope/icon.srf"));
  EXPECT_EQ(missingFolder.Error(), ENOENT);
  EXPECT_FALSE(ApiErrorText(missingFolder.Error()).empty());

  ::mkdir((dir / "adir").c_str(), 0755);
  SafeFileWriter ontoFolder;
  ASSERT_TRUE(ontoFolder.Open(dir / "adir"));
  ASSERT_TRUE(ontoFolder.Write("x", 1));
  EXPECT_FALSE(ontoFolder.Commit());
  EXPECT_TRUE(FolderExists(dir / "adir"));
  EXPECT_EQ(ListFiles(dir.path(), "").size(), 0u) << "the temporary file is gone";

}

TEST(Files, ExistenceLengthsAndLetterCase) {
  ScratchDir dir;
  WriteFileBytes(dir / "CAR0001.BMP", {1, 2, 3});
  WriteFileBytes(dir / "notes.txt", {});
  ::mkdir((dir / "car0002.bmp").c_str(), 0755);  // a folder named like a frame
  EXPECT_TRUE(FileExists(dir / "CAR0001.BMP"));
  EXPECT_FALSE(FileExists(dir / "car0002.bmp"));
  EXPECT_EQ(FileLength(dir / "CAR0001.BMP"), 3);
  EXPECT_FALSE(FileLength(dir / "missing.bmp").has_value());
  EXPECT_EQ(ResolveNameCase(dir / "car0001.bmp"), dir / "CAR0001.BMP");
  EXPECT_EQ(ResolveNameCase(dir / "car0002.bmp"), dir / "car0002.bmp");
  auto bmps = ListFiles(dir.path(), ".bmp");
  EXPECT_EQ(bmps, std::vector<std::string>{"CAR0001.BMP"});
  EXPECT_FALSE(ReadWholeFile(dir / "car0002.bmp").has_value());
  EXPECT_EQ(ReadWholeFile(dir / "CAR0001.BMP").value(), (std::vector<uint8_t>{1, 2, 3}));
}

TEST(Files, ProgramFolderHoldsTheRunningExecutable) {
  EXPECT_TRUE(FileExists(ProgramFolder() + "/" + ExecutableBaseName()));
  EXPECT_EQ(ExecutableBaseName(), "platform_tests");
}

}  // namespace
}  // namespace velkor::platform
