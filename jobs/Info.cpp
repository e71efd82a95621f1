#include "jobs/Info.h"

namespace velkor {

Result<SRFFileInfo> Info(const std::string& path) {
  return Guarded([&]() -> Result<SRFFileInfo> { return DescribeSRFFile(path); });
}

}  // namespace velkor
