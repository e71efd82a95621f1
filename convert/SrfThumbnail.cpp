#include "convert/SrfThumbnail.h"

#include <memory>

#include "common/VbError.h"
#include "convert/HeadingBitmap.h"
#include "convert/MFreeImage.h"
#include "platform/Files.h"
#include "platform/FreeImageBitmap.h"
#include "platform/SystemError.h"

namespace velkor {

namespace {

using Bitmap = platform::FreeImageBitmap;

}  // namespace

int ThumbnailSide(int frameSize, int requested) {
  return requested >= frameSize ? frameSize * (requested / frameSize) : requested;
}

bool WriteSRFThumbnail(const std::string& srfFile, const std::string& pngFile, int size, std::string& error) {
  if (size < 1 || size > kMaxThumbnailSize) {
    error = "the size must be 1 to " + std::to_string(kMaxThumbnailSize) + " pixels";
    return false;
  }
  if (error = platform::OverwritesInput(pngFile, {srfFile}); !error.empty()) return false;
  try {
    const HeadingFrame frame = LoadSRFHeadings(srfFile).front();
    const Bitmap original(HeadingToBitmap(frame));
    const int side = ThumbnailSide(std::max(frame.width, frame.height), size);
    // Whole-step enlargements repeat pixels; shrinking averages them. Either
    // way it works on premultiplied colours, so edges take no fringe.
    const FREE_IMAGE_FILTER filter = side >= frame.width ? FILTER_BOX : FILTER_CATMULLROM;
    const Bitmap scaled(original ? FreeImage_Rescale(original.get(), side, side, filter) : nullptr);
    if (!scaled) {
      error = "not enough memory for the thumbnail";
      return false;
    }
    UnpremultiplyBitmap(scaled.get());
    platform::SetLastError(0);
    if (!MFreeImage::SaveImageFile(FIF_PNG, scaled.get(), pngFile, PNG_DEFAULT)) {
      error = platform::CannotWrite(pngFile, platform::GetLastError());
      return false;
    }
    return true;
  } catch (const VbError& e) {
    error = e.Description();
    return false;
  }
}

}  // namespace velkor
