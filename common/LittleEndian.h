#pragma once
// Integers in the program's own binary formats (BMP and SRF headers) are
// little-endian, whatever the machine's order.
#include <cstdint>
#include <vector>

namespace velkor {

inline void AppendLE16(std::vector<uint8_t>& out, uint16_t value) {
  out.push_back(static_cast<uint8_t>(value));
  out.push_back(static_cast<uint8_t>(value >> 8));
}

inline void AppendLE32(std::vector<uint8_t>& out, uint32_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

}  // namespace velkor
