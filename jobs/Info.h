#pragma once
// Info: what an SRF file holds, one fact per entry. A file the readers would
// refuse is still described (its `readable` is false and its verdict says
// why); only running out of memory ends the job with a Failure.
#include <string>

#include "jobs/Result.h"
#include "srf/SrfFileInfo.h"

namespace velkor {

Result<SRFFileInfo> Info(const std::string& path);

}  // namespace velkor
