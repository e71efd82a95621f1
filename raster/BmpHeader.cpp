#include "raster/BmpHeader.h"

#include "common/LittleEndian.h"

namespace velkor {

std::vector<uint8_t> BmpHeaders(const BmpLayout& layout) {
  const uint32_t offset = 54 + layout.tableBytes;
  std::vector<uint8_t> head = {'B', 'M'};
  AppendLE32(head, offset + layout.imageSize);
  AppendLE32(head, 0);  // reserved
  AppendLE32(head, offset);
  AppendLE32(head, 40);
  AppendLE32(head, static_cast<uint32_t>(layout.width));
  AppendLE32(head, static_cast<uint32_t>(layout.heightField));
  AppendLE16(head, 1);  // planes
  AppendLE16(head, layout.bitsPerPixel);
  AppendLE32(head, 0);  // BI_RGB
  AppendLE32(head, layout.imageSize);
  AppendLE32(head, 0);  // pixels per metre, x and y
  AppendLE32(head, 0);
  AppendLE32(head, layout.colorsUsed);
  AppendLE32(head, 0);  // important colours
  return head;
}

}  // namespace velkor
