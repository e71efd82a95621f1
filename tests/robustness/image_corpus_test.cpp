// PNGs for "PNG to SRF" and BMP frames for the import and "Load Image": files
// that are not what their name says, cut short, of every depth, and headers
// claiming far more pixels than the file holds. A refused PNG is named in a
// message and leaves the working image; a refused 3D frame stops the import
// and the command line writes nothing; nothing allocates for pixels that are
// not in the file.
#include <array>
#include <functional>

#include "convert/PngFiles.h"
#include "support/PngBytes.h"
#include "RobustnessSupport.h"
#include "pipeline/PipelineTestSupport.h"
#include "platform/Files.h"

namespace velkor {
namespace {

using namespace testing;

constexpr int64_t kMiB = int64_t{1} << 20;
using Pixel = std::array<uint8_t, 4>;  // B, G, R, A

Pixel PictureBgra(const cAlphaDibSection& raster, int x, int y) {
  const uint8_t* p =
      raster.PictureRow(y) + 4 * x;
  return Pixel{p[0], p[1], p[2], p[3]};
}

class PngCorpus : public HostileWindow {
 protected:
  // Runs "PNG to SRF" on `bytes`; true when the PNG was loaded (the save
  // dialog is then cancelled). A refusal must name the file, leave the
  // working image and ask for no SRF name.
  bool Convert(const std::vector<uint8_t>& bytes, const std::string& problem = "") {
    const std::string path = dir / "in.png";
    WriteFileBytes(path, bytes);
    LoadKnownPicture();
    const ImageState before = StateOf(form);
    view.dialogs.clear();
    view.dialogAnswers = {path, std::nullopt};
    form.mnuPNGtoSRF_Click();
    if (view.messages.empty()) return true;
    EXPECT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0].rfind("Cannot read " + path + ": ", 0), 0u) << view.messages[0];
    EXPECT_NE(view.messages[0].find(problem), std::string::npos) << view.messages[0];
    EXPECT_EQ(view.LastStatus(), "Status: Error reading PNG file!");
    EXPECT_EQ(view.dialogs.size(), 1u) << "a save dialog followed a refused PNG";
    EXPECT_TRUE(StateOf(form) == before) << "the working image was touched";
    return false;
  }
};

TEST_F(PngCorpus, EveryDepthAndColourTypeLoadsAs32Bits) {
  struct Case {
    std::string name;
    uint8_t bitDepth, colourType;
    std::vector<uint8_t> raw;
    Pixel expected;  // picture (1, 0); the palette is red, green, blue
  };
  const Case cases[] = {
      {"grey 1-bit", 1, 0, Rows({{0x40}, {0x00}}), {255, 255, 255, 255}},
      {"palette 2-bit", 2, 3, Rows({{0x24}, {0x00}}), {255, 0, 0, 255}},
      {"palette 4-bit", 4, 3, Rows({{0x21, 0x00}, {0x00, 0x00}}), {0, 255, 0, 255}},
      {"palette 8-bit", 8, 3, Rows({{1, 0, 2}, {0, 0, 0}}), {0, 0, 255, 255}},
      {"grey 8-bit", 8, 0, Rows({{10, 77, 30}, {0, 0, 0}}), {77, 77, 77, 255}},
      {"grey 16-bit", 16, 0, Rows({{0, 0, 0xAB, 0xCD, 0, 0}, {0, 0, 0, 0, 0, 0}}), {171, 171, 171, 255}},
      {"rgb 8-bit", 8, 2, Rows({{0, 0, 0, 10, 20, 30, 0, 0, 0}, std::vector<uint8_t>(9)}), {30, 20, 10, 255}},
      {"rgba 8-bit", 8, 6, Rows({{0, 0, 0, 0, 10, 20, 30, 40, 0, 0, 0, 0}, std::vector<uint8_t>(12)}),
       {30, 20, 10, 40}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(Convert(PngWithHeader(3, 2, c.bitDepth, c.colourType, c.raw))) << view.messages[0];
    ASSERT_EQ(form.WorkImage->Width(), 3);
    ASSERT_EQ(form.WorkImage->Height(), 2);
    EXPECT_EQ(PictureBgra(*form.WorkImage, 1, 0), c.expected);
  }
}

TEST_F(PngCorpus, FilesThatAreNotPngsAreRefused) {
  std::vector<uint8_t> bmp;
  {
    ScratchDir other;
    ASSERT_TRUE(WriteTestBmp(other / "f.bmp", 2, 2, 24, [](int, int) { return 0x123456u; }));
    bmp = ReadFileBytes(other / "f.bmp");
  }
  std::vector<uint8_t> badHeaderCrc = PngWithHeader(3, 2, 8, 0, Rows({{1, 2, 3}, {4, 5, 6}}));
  badHeaderCrc[29] ^= 1;
  std::vector<uint8_t> noHeader = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  AppendChunk(noHeader, "IEND", {});
  const struct {
    std::string name;
    std::vector<uint8_t> bytes;
  } cases[] = {
      {"empty", {}},
      {"text", {'h', 'e', 'l', 'l', 'o'}},
      {"a BMP named .png", bmp},
      {"only the signature", {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}},
      {"no header chunk", noHeader},
      {"header checksum wrong", badHeaderCrc},
      {"width 0", PngWithHeader(0, 2, 8, 0, Rows({{}, {}}))},
      {"bit depth 3", PngWithHeader(3, 2, 3, 0, Rows({{0}, {0}}))},
      {"colour type 5", PngWithHeader(3, 2, 8, 5, Rows({{1, 2, 3}, {4, 5, 6}}))},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_FALSE(Convert(c.bytes, "it is not a picture FreeImage can read"));
  }
}

TEST_F(PngCorpus, APngCutAtAnyByteIsRefusedOrReadWhole) {
  const std::vector<uint8_t> whole =
      PngWithHeader(3, 2, 8, 6, Rows({{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, std::vector<uint8_t>(12, 200)}));
  ASSERT_TRUE(Convert(whole));
  const ImageState intact = StateOf(form);
  for (size_t length = 0; length < whole.size(); ++length) {
    SCOPED_TRACE("cut at " + std::to_string(length));
    if (Convert(std::vector<uint8_t>(whole.begin(), whole.begin() + static_cast<ptrdiff_t>(length)))) {
      // Only the final chunk may be missing: all the pixels came in.
      EXPECT_EQ(StateOf(form).bytes, intact.bytes);
    }
  }
}

TEST_F(PngCorpus, HeadersClaimingHugePicturesAreRefusedBeforeAllocating) {
  const int64_t peakBefore = PeakResidentBytes();
  const struct {
    std::string name;
    std::vector<uint8_t> bytes;
    std::string claim;
  } cases[] = {
      {"100000 x 100000 grey", PngWithHeader(100000, 100000, 8, 0, std::vector<uint8_t>(100001)), "100000 x 100000"},
      {"100000 x 100000 16-bit rgba", PngWithHeader(100000, 100000, 16, 6, Rows({{}})), "100000 x 100000"},
      {"65535 x 65535 1-bit", PngWithHeader(65535, 65535, 1, 0, Rows({{}})), "65535 x 65535"},
      {"14400 x 750 rgba in a tiny file", PngWithHeader(14400, 750, 8, 6, Rows({{}})), "14400 x 750"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_FALSE(Convert(c.bytes, "its header claims " + c.claim + " pixels, far more than its " +
                                      std::to_string(c.bytes.size()) + " bytes can hold"));
  }
  EXPECT_LT(PeakResidentBytes() - peakBefore, 64 * kMiB);
}

// The bound exactly: a header whose rows (filter byte included) need as many
// bytes as 1032 times the file's length plus 64 KiB is let through to the
// full load; one byte more is refused from the header. A row of an 8-bit grey
// picture w pixels wide needs w + 1 bytes.
TEST_F(PngCorpus, TheSizeBoundHoldsToTheByte) {
  const size_t length = PngWithHeader(1, 1, 8, 0, Rows({{0}})).size();  // the same for every width
  const uint64_t budget = 1032 * uint64_t{length} + 65536;
  for (const uint64_t rowBytes : {budget, budget + 1}) {
    const auto width = static_cast<uint32_t>(rowBytes - 1);
    const std::string path = dir / ("w" + std::to_string(width) + ".png");
    WriteFileBytes(path, PngWithHeader(width, 1, 8, 0, Rows({{0}})));
    std::string problem;
    ReadPngFile(path, problem);
    EXPECT_EQ(problem.find("its header claims"), rowBytes > budget ? 0u : std::string::npos)
        << width << ": " << problem;
  }
}

TEST_F(PngCorpus, CliPngToSrfRefusesHostilePngsAndWritesNothing) {
  const struct {
    std::string name;
    std::vector<uint8_t> bytes;
    std::string problem;
  } cases[] = {
      {"text", {'n', 'o'}, "it is not a picture FreeImage can read"},
      {"huge header", PngWithHeader(100000, 100000, 8, 2, Rows({{}})), "its header claims 100000 x 100000 pixels"},
  };
  for (const auto& c : cases) {
    for (const std::string command : {"png2srf", "png2asrf"}) {
      SCOPED_TRACE(c.name + " " + command);
      WriteFileBytes(dir / "in.png", c.bytes);
      const CliResult run = RunCli(command + " " + Quoted(dir / "in.png") + " " + Quoted(dir / "out.srf"), dir.path());
      EXPECT_EQ(run.status, 1);
      EXPECT_NE(run.err.find("Cannot read " + dir / "in.png" + ": " + c.problem), std::string::npos) << run.err;
      EXPECT_EQ(FolderEntries(dir.path()), std::vector<std::string>{"in.png"});
    }
  }
}

// --- BMP frames

// A 24-bit 2 x 2 frame to damage: 54 header bytes, two 8-byte rows.
std::vector<uint8_t> FrameBytes() {
  ScratchDir other;
  EXPECT_TRUE(WriteTestBmp(other / "f.bmp", 2, 2, 24, [](int, int) { return 0x0000FFu; }));
  return ReadFileBytes(other / "f.bmp");
}

std::vector<uint8_t> Patched(std::vector<uint8_t> b, size_t at, std::initializer_list<uint8_t> values) {
  for (uint8_t v : values) b[at++] = v;
  return b;
}

std::vector<uint8_t> Cut(std::vector<uint8_t> b, size_t length) {
  b.resize(length);
  return b;
}

// 8-bit run-length file of 4 x 2 whose runs and deltas run past the right
// edge and the top of the picture.
std::vector<uint8_t> RunsPastTheEdges(uint16_t compression, uint16_t bpp) {
  std::vector<uint8_t> b = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 62, 0, 0, 0, 40, 0, 0, 0, 4, 0, 0, 0, 2, 0, 0, 0,
                            1, 0, static_cast<uint8_t>(bpp), 0, static_cast<uint8_t>(compression), 0, 0, 0, 0, 0, 0, 0};
  b.resize(54, 0);
  b[46] = 2;  // colours used
  for (uint8_t v : {0, 0, 0, 0, 0, 0, 255, 0}) b.push_back(v);
  for (uint8_t v : {255, 1, 0, 2, 200, 200, 255, 1, 0, 0, 9, 1, 0, 1}) b.push_back(v);
  b[2] = static_cast<uint8_t>(b.size());
  return b;
}

enum class Outcome { Refused, Missing, Either, Loads };

struct FrameCase {
  std::string name;
  std::function<void(const std::string& path)> make;
  Outcome outcome;
};

std::vector<FrameCase> FrameCases() {
  auto bytes = [](std::vector<uint8_t> b) { return [b](const std::string& p) { WriteFileBytes(p, b); }; };
  auto depth = [](int bpp) {
    return [bpp](const std::string& p) { WriteTestBmp(p, 2, 2, bpp, [](int x, int) { return x ? 0xFFFFFFu : 0u; }); };
  };
  const std::vector<uint8_t> frame = FrameBytes();
  std::vector<FrameCase> cases = {
      {"empty", bytes({}), Outcome::Refused},
      {"text", bytes({'t', 'e', 'x', 't'}), Outcome::Refused},
      {"a PNG named .bmp", bytes(PngWithHeader(2, 2, 8, 0, Rows({{1, 2}, {3, 4}}))), Outcome::Refused},
      {"width 0", bytes(Patched(frame, 18, {0, 0, 0, 0})), Outcome::Refused},
      {"height 0", bytes(Patched(frame, 22, {0, 0, 0, 0})), Outcome::Refused},
      {"100000 x 100000 claimed", bytes(Patched(frame, 18, {0xA0, 0x86, 1, 0, 0xA0, 0x86, 1, 0})), Outcome::Refused},
      {"-100000 rows top-down claimed", bytes(Patched(frame, 22, {0x60, 0x79, 0xFE, 0xFF})), Outcome::Refused},
      {"a folder named like the frame", [](const std::string& p) { std::filesystem::create_directory(p); },
       Outcome::Missing},
      {"top-down", bytes(Patched(frame, 22, {0xFE, 0xFF, 0xFF, 0xFF})), Outcome::Loads},
      {"RLE8 runs past the edges", bytes(RunsPastTheEdges(1, 8)), Outcome::Either},
      {"RLE4 runs past the edges", bytes(RunsPastTheEdges(2, 4)), Outcome::Either},
      {"RLE8 compression on a 24-bit file", bytes(Patched(frame, 30, {1})), Outcome::Either},
      {"pixel offset past the end", bytes(Patched(frame, 10, {0xFF, 0xFF, 0, 0})), Outcome::Either},
      {"1000 colours used", bytes(Patched(frame, 46, {0xE8, 3})), Outcome::Either},
  };
  for (size_t length : {2, 14, 18, 30, 53, 54, 62, 69}) {
    cases.push_back({"cut at " + std::to_string(length), bytes(Cut(frame, length)),
                     length < 54 ? Outcome::Refused : Outcome::Either});
  }
  for (int bpp : {1, 4, 8, 16, 24, 32}) cases.push_back({std::to_string(bpp) + "-bit", depth(bpp), Outcome::Loads});
  return cases;
}

TEST(FrameCorpus, BuildStripStopsAtAHostileFrameAndWritesNothing) {
  ScratchDir frames, out;
  WriteAllSets(frames.path());
  const std::string frame = frames / "r3d0005.bmp";
  for (const FrameCase& c : FrameCases()) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove_all(frame);
    c.make(frame);
    const CliResult run = RunCli("build-strip " + FrameFlags(frames.path()) + " " + Quoted(out / "strip.bmp"), out.path());
    const bool refused = run.status == 1;
    if (c.outcome == Outcome::Loads) {
      EXPECT_EQ(run.status, 0) << run.err;
    } else if (c.outcome != Outcome::Either) {
      EXPECT_EQ(run.status, 1) << run.err;
    }
    if (refused) {
      const std::string why = c.outcome == Outcome::Missing ? "Status: ERROR: 3D Rotation File Not Found..."
                                                            : "frame file cannot be read as a BMP: " + frame;
      EXPECT_NE(run.err.find(why), std::string::npos) << run.err;
      EXPECT_TRUE(FolderEntries(out.path()).empty());
    } else {
      EXPECT_EQ(run.status, 0) << run.err;
      EXPECT_EQ(platform::FileLength(out / "strip.bmp"), 58 + 14400 * 750 * 4);
    }
    std::filesystem::remove(out / "strip.bmp");
  }
  // The largest child stayed the size of a strip, whatever the frames claimed.
  rusage children{};
  getrusage(RUSAGE_CHILDREN, &children);
  EXPECT_LT(int64_t{children.ru_maxrss} * 1024, 600 * kMiB);
}

TEST(FrameCorpus, LoadImageOfAHostileFileIsRefusedByNameAndKeepsTheImage) {
  ScratchDir dir;
  FakeView view;
  frmMain form(view);
  // The working image stays as it was; only a complete new strip replaces it.
  ASSERT_TRUE(form.WorkImage->Create(14400, 750));
  form.ImageLoaded = true;
  const int64_t peakBefore = PeakResidentBytes();
  for (const FrameCase& c : FrameCases()) {
    if (c.outcome != Outcome::Refused) continue;
    SCOPED_TRACE(c.name);
    const std::string path = dir / "strip.bmp";
    std::filesystem::remove_all(path);
    c.make(path);
    view.dialogAnswers = {path};
    form.cmdLoadImage_Click();
    ASSERT_EQ(form.WorkImage->Width(), 14400);
    EXPECT_TRUE(form.ImageLoaded);
    ASSERT_FALSE(view.messages.empty());
    EXPECT_NE(view.messages.back().find(path), std::string::npos) << view.messages.back();
  }
  EXPECT_LT(PeakResidentBytes() - peakBefore, 64 * kMiB);
}

}  // namespace
}  // namespace velkor
