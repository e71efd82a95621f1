#pragma once
// A description of an SRF file for people and scripts: every header field,
// each record's place, size and tags, the trailer, the checksum byte and
// whether the file can be read back, one fact per entry.
#include <string>
#include <utility>
#include <vector>

namespace velkor {

struct SRFFileInfo {
  std::vector<std::pair<std::string, std::string>> facts;  // key, value
  bool readable = false;                                   // the readers would accept it
  std::string verdict;                                     // one line
};

// A file whose header says 4 images is described as animated, any other as
// static (the readers take 2 records then, whatever the header says).
SRFFileInfo DescribeSRFFile(const std::string& path);

}  // namespace velkor
