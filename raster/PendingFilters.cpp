// Placeholders until the filters land; this file goes when they do.
#include "raster/cAlphaDibSection.h"

namespace velkor {
std::unique_ptr<cAlphaDibSection> cAlphaDibSection::Resample(int32_t, int32_t) const { return nullptr; }
std::unique_ptr<cAlphaDibSection> cAlphaDibSection::Blur(float, float) const { return nullptr; }
std::unique_ptr<cAlphaDibSection> cAlphaDibSection::UnsharpMask() const { return nullptr; }
}  // namespace velkor
