#include "srf/SrfPreviewLoader.h"

#include "srf/SrfPicture.h"
#include "srf/SrfRecordIO.h"

namespace velkor {

void CreateFromGarminSRF(cAlphaDibSection& raster, const std::string& strSRFFile) {
  DecodeSRFPicture(raster, ParseSRFImages(ReadSRFBytes(strSRFFile), kSRFImageCount, strSRFFile), strSRFFile);
}

}  // namespace velkor
