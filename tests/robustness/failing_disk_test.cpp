// Saving onto a disk that refuses: a read-only file system, a full one, a
// folder that is missing, and a target that is a folder. Each writer reports
// the error, leaves a file already there byte for byte, and leaves nothing
// else behind (no partial file, no hidden temporary file). The disks are
// small tmpfs mounts, made only where the tests may mount (as root).
#include <sys/mount.h>

#include <cerrno>
#include <cstring>

#include <FreeImage.h>

#include "RobustnessSupport.h"
#include "convert/MFreeImage.h"
#include "pipeline/PipelineTestSupport.h"

namespace velkor {
namespace {

using namespace testing;

enum class Disk { ReadOnly, Full, MissingFolder, TargetIsFolder };

const char* Name(Disk d) {
  switch (d) {
    case Disk::ReadOnly: return "read-only";
    case Disk::Full: return "full";
    case Disk::MissingFolder: return "missing folder";
    case Disk::TargetIsFolder: return "target is a folder";
  }
  return "";
}

// A 64 KiB tmpfs holding the user's file `keep<ext>` and a folder
// `taken<ext>`; read-only after MakeReadOnly.
class SmallDisk {
 public:
  explicit SmallDisk(const std::string& mountPoint) : path_(mountPoint) {
    std::filesystem::create_directory(path_);
    if (::mount("tmpfs", path_.c_str(), "tmpfs", 0, "size=64k") == 0) {
      mounted_ = true;
    } else {
      error_ = std::strerror(errno);
    }
  }
  ~SmallDisk() {
    if (mounted_) ::umount2(path_.c_str(), MNT_DETACH);
  }
  SmallDisk(const SmallDisk&) = delete;
  SmallDisk& operator=(const SmallDisk&) = delete;
  bool Mounted() const { return mounted_; }
  const std::string& Error() const { return error_; }
  bool MakeReadOnly() {
    return ::mount(nullptr, path_.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, "size=64k") == 0;
  }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  bool mounted_ = false;
  std::string error_;
};

const std::vector<uint8_t> kUsersFile = {'m', 'y', ' ', 'i', 'c', 'o', 'n', 0, 1, 2, 3};

class FailingDisk : public HostileWindow {
 protected:
  // Prepares a disk of the given kind and returns the path to write to;
  // skips the test where mounting is not permitted.
  std::unique_ptr<SmallDisk> Prepare(Disk kind, const std::string& extension, std::string& target) {
    auto disk = std::make_unique<SmallDisk>(dir / "disk");
    if (!disk->Mounted()) return disk;
    WriteFileBytes(*disk / ("keep" + extension), kUsersFile);
    std::filesystem::create_directory(*disk / ("taken" + extension));
    switch (kind) {
      case Disk::ReadOnly:
        EXPECT_TRUE(disk->MakeReadOnly());
        target = *disk / ("keep" + extension);
        break;
      case Disk::Full:  // the picture is far larger than the 64 KiB disk
        target = *disk / ("keep" + extension);
        break;
      case Disk::MissingFolder:
        target = *disk / ("missing/new" + extension);
        break;
      case Disk::TargetIsFolder:
        target = *disk / ("taken" + extension);
        break;
    }
    before_ = FolderEntries(disk->path());
    return disk;
  }

  void ExpectDiskUnchanged(const SmallDisk& disk, const std::string& extension) {
    EXPECT_EQ(ReadFileBytes(disk / ("keep" + extension)), kUsersFile);
    EXPECT_TRUE(std::filesystem::is_directory(disk / ("taken" + extension)));
    EXPECT_TRUE(std::filesystem::is_empty(disk / ("taken" + extension)));
    EXPECT_EQ(FolderEntries(disk.path()), before_) << "a partial or temporary file was left";
  }

  // A picture of noise, so that no format packs it into 64 KiB.
  void LoadNoise(int width, int height) {
    form.WorkImage->Create(width, height);
    uint32_t state = 12345;
    uint8_t* bits = form.WorkImage->DIBSectionBitsPtr();
    for (size_t i = 0; i < size_t(width) * height * 4; ++i) {
      state = state * 1664525u + 1013904223u;
      bits[i] = static_cast<uint8_t>(state >> 24);
    }
    form.ImageLoaded = true;
    form.LastImageFile.clear();
    view.messages.clear();
  }

  std::vector<std::string> before_;
};

constexpr Disk kDisks[] = {Disk::ReadOnly, Disk::Full, Disk::MissingFolder, Disk::TargetIsFolder};

#define PREPARE_OR_SKIP(kind, ext, target)                                                       \
  std::string target;                                                                            \
  auto disk = Prepare(kind, ext, target);                                                        \
  if (!disk->Mounted()) GTEST_SKIP() << "cannot mount a tmpfs here (" << disk->Error() << ")"

TEST_F(FailingDisk, StaticAndAnimatedSrf) {
  for (const bool animated : {false, true}) {
    for (Disk kind : kDisks) {
      SCOPED_TRACE(std::string(animated ? "animated " : "static ") + Name(kind));
      PREPARE_OR_SKIP(kind, ".srf", target);
      if (animated) {
        LoadNoise(3242, 340);
        view.dialogAnswers = {target};
        form.SaveASRF("1.00");
      } else {
        LoadNoise(2880, 150);
        view.dialogAnswers = {target};
        form.SaveSRF("2.20");
      }
      EXPECT_EQ(view.messages, std::vector<std::string>{"An error occured while writing the SRF file!"});
      EXPECT_EQ(view.LastStatus(), "Status: Error writing SRF FILE!");
      ExpectDiskUnchanged(*disk, ".srf");
    }
  }
}

TEST_F(FailingDisk, BmpOfSaveToPng) {
  for (Disk kind : kDisks) {
    SCOPED_TRACE(Name(kind));
    PREPARE_OR_SKIP(kind, ".bmp", target);
    LoadNoise(200, 200);
    view.dialogAnswers = {target};
    EXPECT_FALSE(form.SaveAsPNG());
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0].rfind("Cannot write the BMP file " + target, 0), 0u) << view.messages[0];
    EXPECT_EQ(view.LastStatus(), "Status: Error writing BMP file!");
    ExpectDiskUnchanged(*disk, ".bmp");
  }
}

TEST_F(FailingDisk, PngWriter) {
  for (Disk kind : kDisks) {
    SCOPED_TRACE(Name(kind));
    PREPARE_OR_SKIP(kind, ".png", target);
    FIBITMAP* bitmap = FreeImage_Allocate(200, 200, 32);
    uint32_t state = 99;
    for (unsigned y = 0; y < 200; ++y) {
      BYTE* row = FreeImage_GetScanLine(bitmap, y);
      for (unsigned i = 0; i < 800; ++i) row[i] = static_cast<BYTE>((state = state * 1664525u + 1013904223u) >> 24);
    }
    EXPECT_FALSE(MFreeImage::SaveImageFile(MFreeImage::kFormatPng, bitmap, target, 0));
    FreeImage_Unload(bitmap);
    ExpectDiskUnchanged(*disk, ".png");
  }
}

TEST_F(FailingDisk, CommandLineBuildStripAndConversions) {
  ScratchDir frames;
  WriteAllSets(frames.path());
  const std::string flags = FrameFlags(frames.path());
  for (Disk kind : kDisks) {
    SCOPED_TRACE(Name(kind));
    {
      PREPARE_OR_SKIP(kind, ".bmp", target);
      const CliResult run = RunCli("build-strip " + flags + " " + Quoted(target), dir.path());
      EXPECT_EQ(run.status, 1);
      EXPECT_NE(run.err.find(target), std::string::npos) << run.err;
      ExpectDiskUnchanged(*disk, ".bmp");
    }
    {
      PREPARE_OR_SKIP(kind, ".srf", target);
      const CliResult run = RunCli("do-all " + flags + " " + Quoted(target), dir.path());
      EXPECT_EQ(run.status, 1);
      EXPECT_NE(run.err.find("An error occured while writing the SRF file!"), std::string::npos) << run.err;
      ExpectDiskUnchanged(*disk, ".srf");
    }
  }
}

}  // namespace
}  // namespace velkor
