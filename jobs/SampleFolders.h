#pragma once
// The bundled sample vehicle's frame folders: what the window's folder boxes
// and velkor-cli's frame flags start with.
#include <string>

namespace velkor {

inline constexpr const char* kSamplePrefix = "car";

// The rotation sets (3D here, 2D in its "Top"): the static icon's frames are
// 400 and 350 pixels, the animated icon's 450 and 400.
std::string SampleRotationFolder(bool animated);
// The animated icon's animation sets (3D here, 2D in its "Top").
std::string SampleAnimationFolder();

}  // namespace velkor
