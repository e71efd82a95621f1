#include <gtest/gtest.h>

#include "srf/SrfRecordIO.h"

namespace velkor {
namespace {

TEST(SrfChecksum, SumModulo255GivesTheByte256MinusS) {
  struct Case {
    std::vector<uint8_t> bytes;
    uint8_t checksum;
  };
  std::vector<uint8_t> thousand(4, 250);  // 1000 = 3 * 255 + 235
  const Case cases[] = {
      {thousand, 21},
      {{1}, 255},
      {{254}, 2},
      {{255}, 0},        // s ends at 0: 256 does not fit, 0 is written
      {{}, 0},
      {{200, 55}, 0},
      {{255, 1}, 255},   // modulus 255, not 256
      {{128, 128}, 255}, // 256 mod 255 = 1
  };
  for (const Case& c : cases) EXPECT_EQ(SRFChecksumByte(c.bytes.data(), c.bytes.size()), c.checksum);
}

}  // namespace
}  // namespace velkor
