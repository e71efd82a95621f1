#include "convert/AnimatedGif.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "common/VbError.h"
#include "convert/HeadingBitmap.h"
#include "platform/Files.h"
#include "platform/FreeImageBitmap.h"
#include "platform/SystemError.h"

namespace velkor {

namespace {

void SetAnimationLong(FIBITMAP* page, const char* key, uint32_t value) {
  FITAG* tag = FreeImage_CreateTag();
  if (!tag) return;
  FreeImage_SetTagKey(tag, key);
  FreeImage_SetTagType(tag, FIDT_LONG);
  FreeImage_SetTagCount(tag, 1);
  FreeImage_SetTagLength(tag, 4);
  FreeImage_SetTagValue(tag, &value);
  FreeImage_SetMetadata(FIMD_ANIMATION, page, key, tag);
  FreeImage_DeleteTag(tag);
}

// One 8-bit page of the GIF; the first also carries the loop count (0: for
// ever), which GIF stores once for the whole file.
bool AppendPage(FIMULTIBITMAP* gif, const HeadingFrame& frame, bool first) {
  const platform::FreeImageBitmap rgb(HeadingOverMap(frame));
  const platform::FreeImageBitmap page(rgb ? FreeImage_ColorQuantize(rgb.get(), FIQ_WUQUANT) : nullptr);
  if (!page) return false;
  if (first) SetAnimationLong(page.get(), "Loop", 0);
  SetAnimationLong(page.get(), "FrameTime", kGifFrameTimeMs);
  FreeImage_AppendPage(gif, page.get());
  return true;
}

// A fresh hidden name beside the target. It ends in .gif, and leaves room for
// four bytes more, because FreeImage spools its multi-page output to the same
// name with the extension .fispool.
std::string TempNameBeside(const std::string& target) {
  std::string name = platform::TempPatternBeside(target, ".gif", 4);
  const int fd = ::mkstemps(name.data(), 4);
  if (fd < 0) return {};
  ::close(fd);
  return name;
}

bool FlushToDisk(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool flushed = ::fsync(fd) == 0;
  return ::close(fd) == 0 && flushed;
}

bool WritePages(const std::vector<HeadingFrame>& frames, const std::string& path) {
  FIMULTIBITMAP* gif = FreeImage_OpenMultiBitmap(FIF_GIF, path.c_str(), TRUE, FALSE, TRUE, 0);
  if (!gif) return false;
  bool ok = true;
  for (size_t i = 0; ok && i < frames.size(); ++i) ok = AppendPage(gif, frames[i], i == 0);
  return FreeImage_CloseMultiBitmap(gif, 0) && ok;
}

}  // namespace

bool WriteAnimatedGif(const std::vector<HeadingFrame>& frames, const std::string& gifFile, std::string& error) {
  errno = 0;
  const std::string temp = TempNameBeside(gifFile);
  if (temp.empty()) {
    error = platform::CannotWrite(gifFile, errno);
    return false;
  }
  if (frames.empty() || !WritePages(frames, temp) || !FlushToDisk(temp) ||
      std::rename(temp.c_str(), gifFile.c_str()) != 0) {
    const int cause = errno;
    std::remove(temp.c_str());
    error = platform::CannotWrite(gifFile, cause);
    return false;
  }
  return true;
}

bool WriteSRFAsGif(const std::string& srfFile, const std::string& gifFile, std::string& error) {
  if (error = platform::OverwritesInput(gifFile, {srfFile}); !error.empty()) return false;
  try {
    return WriteAnimatedGif(LoadSRFHeadings(srfFile), gifFile, error);
  } catch (const VbError& e) {
    error = e.Description();
    return false;
  }
}

}  // namespace velkor
