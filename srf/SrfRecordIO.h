#pragma once
// Turning SRF records into file bytes and back, shared by the static and the
// animated file and by the preview loader. The parsers check every field they
// rely on against the bytes that are really there and raise a VbError whose
// description names the file and the problem.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "srf/modSRFFileFormat.h"

namespace velkor {

// The header the writers put in every file; `versionText` is 4 characters.
SRFHeader MakeSRFHeader(int32_t imageCount, const std::string& versionText);
// A record head for a W x H image with both planes sized and zero.
SRFImage MakeSRFImage(int16_t width, int16_t height);

void AppendSRFHeader(std::vector<uint8_t>& out, const SRFHeader& header);
void AppendSRFImage(std::vector<uint8_t>& out, const SRFImage& image);

// The byte that ends every SRF file: s = sum of all bytes mod 255, then
// 256 - s. A sum that ends at 0 gives 0 (256 does not fit a byte).
uint8_t SRFChecksumByte(const uint8_t* data, size_t size);

// The whole file; raises 53 when it cannot be read (missing, or not a regular
// file: a FIFO or device is refused without waiting on it).
std::vector<uint8_t> ReadSRFBytes(const std::string& path);

// The header at offset 0; raises 9 when the file is shorter than it.
SRFHeader ParseSRFHeader(const std::vector<uint8_t>& bytes, const std::string& path);

// Record `number` (from 1) at `offset`, which moves past it. Raises 9 for a
// record cut short, a width or height below 1, or a plane size that disagrees
// with width x height, and 6 for an alpha code above 128.
SRFImage ParseSRFImage(const std::vector<uint8_t>& bytes, size_t& offset, int number, const std::string& path);

// What the header says the file is, as messages name it: "a static SRF file
// (version 2.20)" or "an animated SRF file"; "" when it counts neither 2 nor
// 4 pictures.
std::string DescribeSRFKind(const SRFHeader& header);

// How many records every reader checks, so that all of them (and `info`)
// agree on which files they refuse: 4 when the header counts 4 (an animated
// file), otherwise 2; and at least `atLeast`, the records the reader uses.
int SRFRecordCount(const SRFHeader& header, int atLeast = 0);

// The first `count` records after the header, as the readers take them, once
// the SRFRecordCount records all read; `end` (when given) is where the last
// of those ends.
std::vector<SRFImage> ParseSRFImages(const std::vector<uint8_t>& bytes, int count, const std::string& path,
                                     size_t* end = nullptr);

// "Cannot read <path>: <problem>", the form of every reading error.
[[noreturn]] void RaiseSRFReadError(int number, const std::string& path, const std::string& problem);

}  // namespace velkor
