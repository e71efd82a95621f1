#include "jobs/SampleFolders.h"

#include "common/Paths.h"
#include "platform/AssetFolder.h"

namespace velkor {

namespace {
std::string SampleFolder() { return JoinPath(platform::AssetFolder(), "sample"); }
}  // namespace

std::string SampleRotationFolder(bool animated) {
  return animated ? JoinPath(JoinPath(SampleFolder(), "Animated"), "Rotation") : JoinPath(SampleFolder(), "Rotation");
}

std::string SampleAnimationFolder() { return JoinPath(JoinPath(SampleFolder(), "Animated"), "Animation"); }

}  // namespace velkor
