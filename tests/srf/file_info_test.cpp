#include <gtest/gtest.h>

#include <map>

#include "srf/SrfFileInfo.h"
#include "srf/SrfTestBytes.h"
#include "support/TestFiles.h"

namespace velkor {
namespace {

using testing::ByteBuilder;

std::map<std::string, std::string> FactsOf(const SRFFileInfo& info) {
  return std::map<std::string, std::string>(info.facts.begin(), info.facts.end());
}

std::vector<uint8_t> SmallStatic() {
  ByteBuilder out;
  testing::AppendHeader(out, 2, "2.20");
  testing::AppendRecord(out, 4, 3, testing::PatternPixel);
  testing::AppendRecord(out, 2, 2, testing::PatternPixel);
  testing::AppendTrailerAndChecksum(out, 56);
  return out.bytes;
}

TEST(SrfFileInfo, DescribesEveryPartOfAStaticFile) {
  testing::ScratchDir dir;
  testing::WriteFileBytes(dir / "a.srf", SmallStatic());
  const SRFFileInfo info = DescribeSRFFile(dir / "a.srf");
  auto facts = FactsOf(info);
  EXPECT_TRUE(info.readable);
  EXPECT_EQ(facts["file"], dir / "a.srf");
  EXPECT_EQ(facts["size"], std::to_string(71 + 76 + 52 + 57));
  EXPECT_EQ(facts["header.signature"], "GARMIN BITMAP 01");
  EXPECT_EQ(facts["header.image-count"], "2");
  EXPECT_EQ(facts["header.text1"], "578");
  EXPECT_EQ(facts["header.version"], "2.20");
  EXPECT_EQ(facts["header.text3"], "006-D0578-00");
  EXPECT_EQ(facts["kind"], "static");
  EXPECT_EQ(facts["record.1.offset"], "71");
  EXPECT_EQ(facts["record.1.length"], "76");
  EXPECT_EQ(facts["record.1.width"], "4");
  EXPECT_EQ(facts["record.1.height"], "3");
  EXPECT_EQ(facts["record.1.row-bytes"], "8");
  EXPECT_EQ(facts["record.1.alpha-tag"], "11");
  EXPECT_EQ(facts["record.1.alpha-size"], "12");
  EXPECT_EQ(facts["record.1.color-tag"], "1");
  EXPECT_EQ(facts["record.1.color-size"], "24");
  EXPECT_EQ(facts["record.2.offset"], "147");
  EXPECT_EQ(facts["trailer.offset"], "199");
  EXPECT_EQ(facts["trailer.length"], "56");
  EXPECT_EQ(facts["checksum.matches"], "yes");
  EXPECT_EQ(facts["checksum.stored"], facts["checksum.expected"]);
  EXPECT_EQ(info.verdict, "readable static SRF file, version 2.20, checksum matches");
}

TEST(SrfFileInfo, WrongChecksumIsReadableButSaidSo) {
  testing::ScratchDir dir;
  std::vector<uint8_t> bytes = SmallStatic();
  bytes.back() = static_cast<uint8_t>(bytes.back() + 1);
  testing::WriteFileBytes(dir / "b.srf", bytes);
  const SRFFileInfo info = DescribeSRFFile(dir / "b.srf");
  EXPECT_TRUE(info.readable);
  EXPECT_EQ(FactsOf(info)["checksum.matches"], "no");
  EXPECT_EQ(info.verdict, "readable static SRF file, version 2.20, but its checksum byte does not match");
}

TEST(SrfFileInfo, AnimatedFileHasFourRecords) {
  testing::ScratchDir dir;
  ByteBuilder out;
  testing::AppendHeader(out, 4, "1.00");
  for (int i = 0; i < 4; ++i) testing::AppendRecord(out, 2, 1, testing::PatternPixel);
  testing::AppendTrailerAndChecksum(out, 160, 0);
  testing::WriteFileBytes(dir / "c.srf", out.bytes);
  const SRFFileInfo info = DescribeSRFFile(dir / "c.srf");
  auto facts = FactsOf(info);
  EXPECT_EQ(facts["kind"], "animated");
  EXPECT_EQ(facts["records"], "4");
  EXPECT_EQ(facts["record.4.width"], "2");
  EXPECT_EQ(facts["trailer.length"], "160");
  EXPECT_EQ(facts["checksum.matches"], "yes");
}

TEST(SrfFileInfo, BrokenFileIsUnreadableWithItsProblem) {
  testing::ScratchDir dir;
  std::vector<uint8_t> bytes = SmallStatic();
  bytes.resize(160);
  testing::WriteFileBytes(dir / "d.srf", bytes);
  const SRFFileInfo info = DescribeSRFFile(dir / "d.srf");
  EXPECT_FALSE(info.readable);
  EXPECT_EQ(FactsOf(info)["record.1.width"], "4");
  EXPECT_EQ(info.verdict.rfind("unreadable: Cannot read " + dir / "d.srf" + ": record 2 is cut short at offset 147",
                               0),
            0u)
      << info.verdict;
}

}  // namespace
}  // namespace velkor
