// Static and animated SRF files cut short at every byte, with every size and
// code field made hostile, and with the parts the readers ignore changed:
// each reader either refuses the file with a message naming it and leaves the
// working image alone, or reads exactly the pixels of the intact file.
#include <functional>
#include <optional>

#include "srf/SrfPreviewLoader.h"
#include "RobustnessSupport.h"
#include "srf/SrfTestBytes.h"
#include "raster/cAlphaDibSection.h"

namespace velkor {
namespace {

using namespace testing;

// Record sizes small enough that cutting at every byte stays quick.
constexpr int kStaticW[] = {5, 3}, kStaticH[] = {3, 2};
constexpr int kAnimW[] = {4, 3, 4, 3}, kAnimH[] = {2, 1, 2, 1};

std::vector<uint8_t> StaticFile(size_t trailer = 56) {
  ByteBuilder out;
  AppendHeader(out, 2, "2.20");
  for (int i = 0; i < 2; ++i) AppendRecord(out, kStaticW[i], kStaticH[i], PatternPixel);
  AppendTrailerAndChecksum(out, trailer);
  return out.bytes;
}

std::vector<uint8_t> AnimatedFile(size_t trailer = 160) {
  ByteBuilder out;
  AppendHeader(out, 4, "1.00");
  for (int i = 0; i < 4; ++i) AppendRecord(out, kAnimW[i], kAnimH[i], PatternPixel);
  AppendTrailerAndChecksum(out, trailer, 0);
  return out.bytes;
}

// Offset of record `index` (from 0) and of its fields.
size_t RecordOffset(const int* widths, const int* heights, int index) {
  size_t at = 71;
  for (int i = 0; i < index; ++i) at += 40 + size_t{3} * widths[i] * heights[i];
  return at;
}
constexpr size_t kHeightField = 12, kWidthField = 14, kAlphaSizeField = 28, kAlphaPlane = 32;
size_t ColourSizeField(int w, int h) { return 32 + size_t(w) * h + 4; }

void PutI32(std::vector<uint8_t>& b, size_t at, int64_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(static_cast<uint64_t>(v) >> (8 * i));
}
void PutI16(std::vector<uint8_t>& b, size_t at, int v) {
  b[at] = static_cast<uint8_t>(v);
  b[at + 1] = static_cast<uint8_t>(static_cast<unsigned>(v) >> 8);
}

// One way into the readers; returns true when the file was read.
struct Reader {
  std::string name;
  bool animated;
  std::function<bool(HostileWindow&, frmMain&, FakeView&, const std::string&)> read;
};

class SrfCorpus : public HostileWindow {
 protected:
  // Reads `bytes` with `reader`. A refusal must come with one message that
  // names the file and (when given) holds `problem`, the error status, and
  // the working image and ImageLoaded as they were.
  bool ReadChecked(const Reader& reader, const std::vector<uint8_t>& bytes, const std::string& problem = "") {
    const std::string path = dir / "hostile.srf";
    WriteFileBytes(path, bytes);
    LoadKnownPicture();
    const ImageState before = StateOf(form);
    const bool read = reader.read(*this, form, view, path);
    if (read) return true;
    EXPECT_EQ(view.messages.size(), 1u);
    if (view.messages.empty()) return false;
    EXPECT_EQ(view.messages[0].rfind("Cannot read " + path + ": ", 0), 0u) << view.messages[0];
    EXPECT_NE(view.messages[0].find(problem), std::string::npos) << view.messages[0];
    EXPECT_TRUE(StateOf(form) == before) << "the working image was touched";
    return false;
  }

  // The picture the reader makes of `bytes`, for comparing with the intact file.
  std::optional<std::vector<uint8_t>> PictureOf(const Reader& reader, const std::vector<uint8_t>& bytes) {
    if (!ReadChecked(reader, bytes)) return std::nullopt;
    const cAlphaDibSection& shown = reader.name == "CreateFromGarminSRF" ? *form.ViewerImage : *form.WorkImage;
    const uint8_t* bits = shown.DIBSectionBitsPtr();
    std::vector<uint8_t> picture(bits, bits + size_t(shown.Width()) * 4 * shown.Height());
    ByteBuilder size;
    size.I32(shown.Width()).I32(shown.Height());
    picture.insert(picture.end(), size.bytes.begin(), size.bytes.end());
    return picture;
  }
};

// The viewer's loader raises rather than reporting; its error is shown here
// as the window's commands show theirs, so one check serves every reader.
bool ViaPreviewLoader(HostileWindow&, frmMain& form, FakeView& view, const std::string& path) {
  try {
    CreateFromGarminSRF(*form.ViewerImage, path);
    return true;
  } catch (const std::exception& e) {
    view.MessageBox(e.what());
    return false;
  }
}

const std::vector<Reader>& StaticReaders() {
  static const std::vector<Reader> readers = {
      {"ReadSRFFile", false, [](HostileWindow&, frmMain& f, FakeView&, const std::string& p) { return f.ReadSRFFile(p); }},
      {"CreateFromGarminSRF", false, ViaPreviewLoader},
  };
  return readers;
}
const Reader& AnimatedReader() {
  static const Reader reader{"ReadASRFFile", true, [](HostileWindow&, frmMain& f, FakeView&, const std::string& p) {
                               return f.ReadASRFFile(p);
                             }};
  return reader;
}

TEST_F(SrfCorpus, StaticFileCutAtEveryByteBeforeItsTrailerIsRefused) {
  const std::vector<uint8_t> whole = StaticFile();
  const size_t recordsEnd = RecordOffset(kStaticW, kStaticH, 2);
  for (const Reader& reader : StaticReaders()) {
    SCOPED_TRACE(reader.name);
    const auto intact = PictureOf(reader, whole);
    ASSERT_TRUE(intact);
    for (size_t length = 0; length < whole.size(); ++length) {
      SCOPED_TRACE("cut at " + std::to_string(length));
      const std::vector<uint8_t> cut(whole.begin(), whole.begin() + static_cast<ptrdiff_t>(length));
      const std::string problem = length < 71 ? "too short for the 71-byte header" : "is cut short at offset";
      if (length < recordsEnd) {
        EXPECT_FALSE(ReadChecked(reader, cut, problem));
      } else {
        // The trailer and checksum are never read: a file cut inside them
        // still holds both pictures.
        EXPECT_EQ(PictureOf(reader, cut), intact);
      }
    }
  }
}

TEST_F(SrfCorpus, AnimatedFileCutAtEveryByteBeforeItsTrailerIsRefused) {
  const std::vector<uint8_t> whole = AnimatedFile();
  const size_t recordsEnd = RecordOffset(kAnimW, kAnimH, 4);
  const auto intact = PictureOf(AnimatedReader(), whole);
  ASSERT_TRUE(intact);
  for (size_t length = 0; length < whole.size(); ++length) {
    SCOPED_TRACE("cut at " + std::to_string(length));
    const std::vector<uint8_t> cut(whole.begin(), whole.begin() + static_cast<ptrdiff_t>(length));
    if (length < recordsEnd) {
      EXPECT_FALSE(ReadChecked(AnimatedReader(), cut, length < 71 ? "71-byte header" : "is cut short at offset"));
    } else {
      EXPECT_EQ(PictureOf(AnimatedReader(), cut), intact);
    }
  }
}

// Every size field of every record, set to values a damaged or hostile file
// may hold.
struct SizePatch {
  std::string name;
  std::function<void(std::vector<uint8_t>&, size_t record, int w, int h)> apply;
  std::string problem;
};

std::vector<SizePatch> SizePatches() {
  auto width = [](int v) { return [v](std::vector<uint8_t>& b, size_t r, int, int) { PutI16(b, r + kWidthField, v); }; };
  auto height = [](int v) { return [v](std::vector<uint8_t>& b, size_t r, int, int) { PutI16(b, r + kHeightField, v); }; };
  auto alpha = [](int64_t v) {
    return [v](std::vector<uint8_t>& b, size_t r, int, int) { PutI32(b, r + kAlphaSizeField, v); };
  };
  auto alphaBy = [](int64_t d) {
    return [d](std::vector<uint8_t>& b, size_t r, int w, int h) { PutI32(b, r + kAlphaSizeField, int64_t{w} * h + d); };
  };
  auto colour = [](int64_t v) {
    return [v](std::vector<uint8_t>& b, size_t r, int w, int h) { PutI32(b, r + ColourSizeField(w, h), v); };
  };
  auto colourBy = [](int64_t d) {
    return [d](std::vector<uint8_t>& b, size_t r, int w, int h) {
      PutI32(b, r + ColourSizeField(w, h), int64_t{2} * w * h + d);
    };
  };
  return {
      {"width 0", width(0), "has a size of 0 x"},
      {"height 0", height(0), "x 0 pixels"},
      {"width -1", width(-1), "has a size of -1 x"},
      {"height -32768", height(-32768), "x -32768 pixels"},
      {"width 32767", width(32767), "gives its alpha plane"},
      {"height 32767", height(32767), "gives its alpha plane"},
      {"32767 x 32767 with sizes that agree",
       [](std::vector<uint8_t>& b, size_t r, int, int) {
         PutI16(b, r + kWidthField, 32767);
         PutI16(b, r + kHeightField, 32767);
         PutI32(b, r + kAlphaSizeField, int64_t{32767} * 32767);
       },
       "its alpha plane needs 1073676289 bytes"},
      {"alpha size 0", alpha(0), "gives its alpha plane 0 bytes"},
      {"alpha size -1", alpha(-1), "gives its alpha plane -1 bytes"},
      {"alpha size INT32_MIN", alpha(INT32_MIN), "gives its alpha plane -2147483648 bytes"},
      {"alpha size INT32_MAX", alpha(INT32_MAX), "gives its alpha plane 2147483647 bytes"},
      {"alpha size one short", alphaBy(-1), "gives its alpha plane"},
      {"alpha size one over", alphaBy(1), "gives its alpha plane"},
      {"colour size 0", colour(0), "gives its colour plane 0 bytes"},
      {"colour size -2", colour(-2), "gives its colour plane -2 bytes"},
      {"colour size INT32_MAX", colour(INT32_MAX), "gives its colour plane 2147483647 bytes"},
      {"colour size one short", colourBy(-1), "gives its colour plane"},
      {"colour size two over", colourBy(2), "gives its colour plane"},
  };
}

TEST_F(SrfCorpus, HostileSizeFieldsInEveryRecordAreRefused) {
  const int64_t peakBefore = PeakResidentBytes();
  for (const SizePatch& patch : SizePatches()) {
    SCOPED_TRACE(patch.name);
    for (int record = 0; record < 2; ++record) {
      SCOPED_TRACE("static record " + std::to_string(record + 1));
      std::vector<uint8_t> bytes = StaticFile();
      patch.apply(bytes, RecordOffset(kStaticW, kStaticH, record), kStaticW[record], kStaticH[record]);
      for (const Reader& reader : StaticReaders()) {
        SCOPED_TRACE(reader.name);
        EXPECT_FALSE(ReadChecked(reader, bytes, "record " + std::to_string(record + 1)));
        EXPECT_FALSE(ReadChecked(reader, bytes, patch.problem));
      }
    }
    for (int record = 0; record < 4; ++record) {
      SCOPED_TRACE("animated record " + std::to_string(record + 1));
      std::vector<uint8_t> bytes = AnimatedFile();
      patch.apply(bytes, RecordOffset(kAnimW, kAnimH, record), kAnimW[record], kAnimH[record]);
      EXPECT_FALSE(ReadChecked(AnimatedReader(), bytes, patch.problem));
    }
  }
  // Nothing is allocated for a size the file does not hold.
  EXPECT_LT(PeakResidentBytes() - peakBefore, int64_t{64} << 20);
}

TEST_F(SrfCorpus, EveryAlphaCodeAbove128IsRefusedWithItsPixel) {
  for (int code = 129; code <= 255; ++code) {
    SCOPED_TRACE("code " + std::to_string(code));
    // The last pixel of the last record of each kind: (2, 1) and (2, 0).
    std::vector<uint8_t> bytes = StaticFile();
    bytes[RecordOffset(kStaticW, kStaticH, 1) + kAlphaPlane + 5] = static_cast<uint8_t>(code);
    const std::string problem = "record 2 holds the alpha code " + std::to_string(code) + " at pixel (2, 1)";
    for (const Reader& reader : StaticReaders()) EXPECT_FALSE(ReadChecked(reader, bytes, problem)) << reader.name;

    std::vector<uint8_t> animated = AnimatedFile();
    animated[RecordOffset(kAnimW, kAnimH, 3) + kAlphaPlane + 2] = static_cast<uint8_t>(code);
    EXPECT_FALSE(ReadChecked(AnimatedReader(), animated,
                             "record 4 holds the alpha code " + std::to_string(code) + " at pixel (2, 0)"));
  }
}

// What the readers do not look at: the header's texts and numbers, the
// record tags and depths, the trailer and the checksum.
TEST_F(SrfCorpus, IgnoredFieldsCanHoldAnythingAndTheFileStillReads) {
  struct Variant {
    std::string name;
    std::function<void(std::vector<uint8_t>&, const int* w, const int* h, int records)> apply;
  };
  const Variant variants[] = {
      {"wrong signature", [](auto& b, auto, auto, int) { std::fill_n(b.begin(), 16, 'X'); }},
      {"header numbers and lengths", [](auto& b, auto, auto, int) { for (size_t at : {16, 20, 24, 28, 32, 39, 43, 51, 55}) PutI32(b, at, -7); }},
      {"version text", [](auto& b, auto, auto, int) { std::copy_n("9.9z", 4, b.begin() + 47); }},
      {"record tags, depths and row bytes",
       [](auto& b, const int* w, const int* h, int records) {
         for (int i = 0; i < records; ++i) {
           const size_t r = RecordOffset(w, h, i);
           PutI32(b, r, 99);
           PutI32(b, r + 4, 99);
           b[r + 16] = 1;
           b[r + 17] = 1;
           PutI16(b, r + 18, -5);
           PutI32(b, r + 24, -1);
           PutI32(b, r + ColourSizeField(w[i], h[i]) - 4, 77);
         }
       }},
      {"wrong checksum", [](auto& b, auto, auto, int) { b.back() ^= 0x5A; }},
      {"no trailer at all", [](auto& b, const int* w, const int* h, int records) { b.resize(RecordOffset(w, h, records)); }},
      {"a megabyte of trailing bytes", [](auto& b, auto, auto, int) { b.insert(b.end(), 1 << 20, 0xA5); }},
  };
  for (const Variant& v : variants) {
    SCOPED_TRACE(v.name);
    for (const Reader& reader : StaticReaders()) {
      SCOPED_TRACE(reader.name);
      std::vector<uint8_t> bytes = StaticFile();
      const auto intact = PictureOf(reader, bytes);
      v.apply(bytes, kStaticW, kStaticH, 2);
      EXPECT_EQ(PictureOf(reader, bytes), intact);
    }
    std::vector<uint8_t> animated = AnimatedFile();
    const auto intact = PictureOf(AnimatedReader(), animated);
    v.apply(animated, kAnimW, kAnimH, 4);
    EXPECT_EQ(PictureOf(AnimatedReader(), animated), intact);
  }
}

TEST_F(SrfCorpus, AStaticFileIsReadAsAnimatedOnlyWhenItHasFourRecords) {
  // A static file has no third record: its trailer is taken for one, of
  // -1 x -1 pixels. An animated one read as static shows its first two.
  EXPECT_FALSE(ReadChecked(AnimatedReader(), StaticFile(), "record 3 at offset 214 has a size of -1 x -1 pixels"));
  for (const Reader& reader : StaticReaders()) EXPECT_TRUE(ReadChecked(reader, AnimatedFile())) << reader.name;
}

// The viewer shows the loader's refusal naming the file; as for any SRF it
// cannot show, the working image is left the viewer's white canvas.
TEST_F(SrfCorpus, TheViewerNamesEveryHostileFile) {
  const int64_t peakBefore = PeakResidentBytes();
  std::vector<std::pair<std::vector<uint8_t>, std::string>> files;
  for (const SizePatch& patch : SizePatches()) {
    std::vector<uint8_t> bytes = StaticFile();
    patch.apply(bytes, 71, kStaticW[0], kStaticH[0]);
    files.emplace_back(bytes, patch.problem);
  }
  const std::vector<uint8_t> whole = StaticFile();
  files.emplace_back(std::vector<uint8_t>(whole.begin(), whole.begin() + 100), "record 1 is cut short");
  const std::string path = dir / "hostile.srf";
  for (const auto& [bytes, problem] : files) {
    SCOPED_TRACE(problem);
    WriteFileBytes(path, bytes);
    view.messages.clear();
    view.dialogAnswers = {path};
    form.mnuSRFViewer_Click();
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_NE(view.messages[0].find("Cannot read " + path + ": "), std::string::npos) << view.messages[0];
    EXPECT_NE(view.messages[0].find(problem), std::string::npos) << view.messages[0];
    EXPECT_TRUE(form.ImageLoaded);
    ASSERT_EQ(form.WorkImage->Width(), 14400);
    EXPECT_EQ(GetBgra(*form.WorkImage, 14399, 749).r, 255);
    EXPECT_FALSE(form.Controls.Timer1.Enabled);
  }
  // Canvases of 43 MB each (the sanitizer build keeps freed ones a while),
  // never the gigabyte planes the largest claims would need.
  EXPECT_LT(PeakResidentBytes() - peakBefore, int64_t{768} << 20);
}

// The command-line conversions report the same refusals on stderr, exit 1
// and write nothing.
TEST_F(SrfCorpus, CliConversionsRefuseHostileFilesAndWriteNothing) {
  struct Case {
    std::string name, command;
    std::vector<uint8_t> bytes;
    std::string problem;
  };
  std::vector<Case> cases;
  const std::vector<uint8_t> whole = StaticFile(), animated = AnimatedFile();
  for (size_t cut : {size_t{0}, size_t{70}, size_t{71}, size_t{71 + 31}, size_t{71 + 32 + 14},
                     RecordOffset(kStaticW, kStaticH, 1) + 39}) {
    cases.push_back({"static cut at " + std::to_string(cut), "srf2png",
                     std::vector<uint8_t>(whole.begin(), whole.begin() + static_cast<ptrdiff_t>(cut)), "Cannot read"});
  }
  cases.push_back({"animated cut before record 4", "asrf2png",
                   std::vector<uint8_t>(animated.begin(),
                                        animated.begin() + static_cast<ptrdiff_t>(RecordOffset(kAnimW, kAnimH, 3) + 3)),
                   "record 4 is cut short"});
  std::vector<uint8_t> code = whole;
  code[71 + kAlphaPlane] = 200;
  cases.push_back({"alpha code 200", "srf2png", code, "record 1 holds the alpha code 200 at pixel (0, 0)"});
  std::vector<uint8_t> huge = whole;
  PutI16(huge, 71 + kWidthField, 32767);
  PutI16(huge, 71 + kHeightField, 32767);
  PutI32(huge, 71 + kAlphaSizeField, int64_t{32767} * 32767);
  cases.push_back({"32767 x 32767", "srf2png", huge, "needs 1073676289 bytes"});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string in = dir / "in.srf";
    WriteFileBytes(in, c.bytes);
    const CliResult run = RunCli(c.command + " " + Quoted(in) + " " + Quoted(dir / "out.png"), dir.path());
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("Cannot read " + in + ": "), std::string::npos) << run.err;
    EXPECT_NE(run.err.find(c.problem), std::string::npos) << run.err;
    EXPECT_EQ(FolderEntries(dir.path()), std::vector<std::string>{"in.srf"});
  }
}

}  // namespace
}  // namespace velkor
