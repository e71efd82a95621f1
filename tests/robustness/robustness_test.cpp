// Every file a user may hand the program, made hostile (cut short, sizes and counts beyond their bytes, wrong
// signatures, invalid codes), is refused with one message naming the file, leaves the working image as it was
// and usable, and overwrites no output; damage where no reader looks leaves the intact picture. And disks that
// refuse a save (small tmpfs mounts, made only where the tests may mount).
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/resource.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "convert/PngFiles.h"
#include "render/MeshBuilder.h"
#include "render/ModelRender.h"
#include "render/commands/RenderDialogModel.h"
#include "support/FormFixture.h"
#include "support/PngBytes.h"

#if defined(__has_feature)  // clang's way of saying it builds with AddressSanitizer
#if __has_feature(address_sanitizer)
#define VELKOR_CLANG_ASAN
#endif
#endif

namespace velkor {
namespace {

using namespace testing;
using Check = std::function<void(const cAlphaDibSection&)>;

class HostileWindow : public FormTest {
 protected:
  // A width x height picture of known opaque pixels, loaded.
  void LoadKnownPicture(int width = 7, int height = 5) {
    LoadPattern(width, height, [](int x, int y) { return Bgra{uint8_t(x * 7 + 3), uint8_t(y), uint8_t(x ^ y), 255}; });
    form.LastImageFile.clear();
    view.messages.clear();
  }
  // The working image's object, size, pixels and whether it counts as loaded.
  std::tuple<const cAlphaDibSection*, int, int, Bytes, bool> State() const {
    const cAlphaDibSection& image = *form.WorkImage;
    return {&image, image.Width(), image.Height(), PixelBytes(image), form.ImageLoaded};
  }
};

inline int64_t PeakResidentBytes() {
  rusage usage{};
  return getrusage(RUSAGE_SELF, &usage), int64_t{usage.ru_maxrss} * 1024;
}

enum class Kind { Srf, Asrf, Png, Bmp, Model };
const std::string kEither = "(refused or read)", kNotBmp = "Cannot load";

struct Input {
  Kind kind;
  Bytes bytes;
  std::string problem;  // found in the refusal; "" when the file must read
  Check check;          // of the picture read
  bool reuse;           // after a refusal, the picture is saved and loaded back
  std::string file;
};

const Sizes kStatic = {{5, 3}, {3, 2}}, kAnimated = {{4, 2}, {3, 1}, {4, 2}, {3, 1}};
size_t RecordAt(const Sizes& s, size_t index) {
  size_t at = 71;
  for (size_t i = 0; i < index; ++i) at += 40 + size_t{3} * s[i].first * s[i].second;
  return at;
}

// The picture of records `s`: their decoded pattern, opaque white beside a narrower one.
Check ShowsRecords(const Sizes& s) {
  return [s](const cAlphaDibSection& image) {
    ASSERT_EQ(image.Width() * 1000 + image.Height(), std::max(s[0].first, s[1].first) * 1000 + Rows(s));
    for (int y = 0; y < image.Height(); ++y)
      for (int x = 0; x < image.Width(); ++x) ASSERT_EQ(GetBgra(image, x, y), RecordPixel(s, x, y)) << x << "," << y;
  };
}

class Corpus {
 public:
  std::vector<Input> inputs;
  void Add(Kind kind, const Bytes& bytes, const std::string& problem, Check check = {}, bool reuse = false,
           std::string file = "") {
    if (file.empty()) file = kind == Kind::Png ? "in.png" : kind == Kind::Bmp ? "in.bmp" : "in.srf";
    inputs.push_back({kind, bytes, problem, std::move(check), reuse, file});
  }

  Corpus() {
    AddSrf(Kind::Srf, kStatic);
    AddSrf(Kind::Asrf, kAnimated);
    Add(Kind::Srf, {}, "No such file", {}, true, "absent");
    // Each reader refuses the other kind of file by name.
    Add(Kind::Asrf, SrfFile("2.20", kStatic, 56), "is a static SRF file (version 2.20): use \"SRF to PNG\" for it.");
    Add(Kind::Srf, SrfFile("1.00", kAnimated, 160), "is an animated SRF file: use \"Animated SRF to PNG\" for it.");
    AddPngs();
    AddBmps();
    const std::string model = "cannot render model";
    Add(Kind::Model, Text("my notes"), model, {}, true, "notes.glb");
    Add(Kind::Model, Put(Put(Text("glTF....LLLL\x10...JSON"), 4, 4, 2), 8, 4, 1000), model, {}, false, "long.glb");
    Add(Kind::Model, Text("v 0 0 0\nv 1 0 0\nv 0 1 0\nl 1 2 3\n"), model, {}, true, "lines.obj");
  }

 private:
  void AddSrf(Kind kind, const Sizes& s) {
    const Bytes whole = SrfFile(kind == Kind::Srf ? "2.20" : "1.00", s, kind == Kind::Srf ? 56 : 160);
    const size_t end = RecordAt(s, s.size());
    for (size_t n = 0; n < whole.size(); n += n < end ? 1 : 16) {  // the trailer and checksum are never read
      const std::string problem = n < 71 ? "too short for the 71-byte header" : n < end ? "is cut short at offset" : "";
      Add(kind, Cut(whole, n), problem, ShowsRecords(s), n == 70 || n == end - 1);
    }
    for (size_t r = 0; r < s.size(); ++r) {  // every size field of every record
      const auto [w, h] = s[r];
      const size_t at = RecordAt(s, r), colour = at + 36 + size_t(w) * h;
      const std::string record = "record " + std::to_string(r + 1), size = " at offset " + std::to_string(at) + " has";
      auto add = [&](const Bytes& bytes, const std::string& problem) {
        Add(kind, bytes, problem, ShowsRecords(s), r == 0 && inputs.size() % 4 == 0);
      };
      add(Put(whole, at + 14, 2, -1), record + size + " a size of 65535 x");
      add(Put(whole, at + 12, 2, -32768), record + size + " a size of " + std::to_string(w) + " x 32768 pixels");
      add(Put(whole, at + 14, 2, 32767), record + " gives its alpha plane " + std::to_string(w * h) + " bytes");
      add(Put(whole, at + 28, 4, INT32_MIN), record + " gives its alpha plane -2147483648 bytes");
      add(Put(whole, colour, 4, INT32_MAX), record + " gives its colour plane 2147483647 bytes");
      add(Put(Put(Put(whole, at + 14, 2, 32767), at + 12, 2, 32767), at + 28, 4, 32767 * 32767),
          record + " is cut short at offset " + std::to_string(at) + ": its alpha plane needs 1073676289 bytes");
      Bytes ignored = whole;  // tags, depths and row bytes
      for (size_t field : {at, at + 4, at + 16, at + 18, at + 24, colour - 4}) ignored = Put(ignored, field, 2, -5);
      add(ignored, "");
    }
    const auto [w, h] = s.back();
    Add(kind, Put(whole, end - 2 * size_t(w) * h - 9, 1, 200),
        "record " + std::to_string(s.size()) + " holds the alpha code 200 at pixel (" + std::to_string(w - 1) + ", " +
            std::to_string(h - 1) + ")",
        {}, true);
    Bytes header = Put(Put(whole, 0, 4, 0x58585858), 47, 4, 0x7A392E39), trailing = whole;  // "XXXX", "9.9z"
    for (size_t at : {16, 20, 24, 28, 32, 39, 43, 51, 55}) header = Put(header, at, 4, -7);
    trailing.back() ^= 0x5A;
    trailing.insert(trailing.end(), 1 << 20, 0xA5);
    for (const Bytes& bytes : {header, trailing}) Add(kind, bytes, "", ShowsRecords(s));
  }

  void AddPngs() {
    Bytes badCrc = PngWithHeader(3, 2, 8, 0, Rows({{1, 2, 3}, {4, 5, 6}})), noHeader = Cut(badCrc, 8);
    badCrc[29] ^= 1;
    AppendChunk(noHeader, "IEND", {});
    for (const Bytes& bytes :
         {Text(""), Text("hi"), Bmp(24), Cut(badCrc, 8), noHeader, badCrc, PngWithHeader(0, 2, 8, 0, {0, 0}),
          PngWithHeader(3, 2, 3, 0, {0, 0, 0, 0}), PngWithHeader(3, 2, 8, 5, Rows({{1, 2, 3}, {4, 5, 6}}))})
      Add(Kind::Png, bytes, "it is not a picture FreeImage can read", {}, bytes.size() == 2);
    for (const auto& [w, h, depth, type] : {std::tuple{100000u, 100000u, 8, 0},
                                            {100000u, 100000u, 16, 6},
                                            {65535u, 65535u, 1, 0},
                                            {14400u, 750u, 8, 6}}) {
      const Bytes bytes = PngWithHeader(w, h, uint8_t(depth), uint8_t(type), Rows({{}}));
      const std::string claims = "its header claims " + std::to_string(w) + " x " + std::to_string(h) + " pixels, ";
      Add(Kind::Png, bytes,
          claims + (uint64_t{w} * h > 8192 * 8192 ? "more than the 67108864 (8192 x 8192)"
                                                  : "far more than its " + std::to_string(bytes.size()) + " bytes"),
          {}, depth == 16);
    }
    // 16-bit grey FreeImage converts only by way of 8-bit grey; pixel (1, 0) of the first row.
    auto pixel = [](Bgra expected) {
      return [expected](const cAlphaDibSection& image) {
        ASSERT_EQ(image.Width() * 10 + image.Height(), 32);
        EXPECT_EQ(GetBgra(image, 1, 0), expected);
      };
    };
    auto png = [](int depth, int type, const Bytes& row) {
      return PngWithHeader(3, 2, uint8_t(depth), uint8_t(type), Rows({row, Bytes(row.size())}));
    };
    for (const auto& [depth, type, row, expected] : std::initializer_list<std::tuple<int, int, Bytes, Bgra>>{
             {8, 0, {10, 77, 30}, {77, 77, 77, 255}},
             {16, 0, {0, 0, 0xAB, 0xCD, 0, 0}, {171, 171, 171, 255}},
             {8, 2, {0, 0, 0, 10, 20, 30, 0, 0, 0}, {30, 20, 10, 255}}})
      Add(Kind::Png, png(depth, type, row), "", pixel(expected));
    const Bytes whole = png(8, 6, {0, 0, 0, 0, 10, 20, 30, 40, 0, 0, 0, 0});
    for (size_t n = 0; n <= whole.size(); ++n)  // only the final chunk may be missing: all the pixels came in
      Add(Kind::Png, Cut(whole, n), n == whole.size() ? "" : kEither, pixel({30, 20, 10, 40}));
  }

  static Bytes Bmp(int bpp) {
    ScratchDir scratch;
    WriteTestBmp(scratch / "f.bmp", 2, 2, bpp, [](int x, int) { return x ? 0xFFFFFFu : 0u; });
    return ReadFileBytes(scratch / "f.bmp");
  }
  // A 24-bit 2 x 2 frame has 54 header bytes and two 8-byte rows.
  void AddBmps() {
    const Bytes frame = Bmp(24);
    for (const Bytes& bytes :
         {Text(""), Text("text"), PngWithHeader(2, 2, 8, 0, Rows({{1, 2}, {3, 4}})), Put(frame, 18, 4, 0),
          Put(frame, 22, 4, 0), Put(Put(frame, 18, 4, 100000), 22, 4, 100000), Put(frame, 22, 4, -100000),
          Cut(frame, 2), Cut(frame, 14), Cut(frame, 18), Cut(frame, 30), Cut(frame, 53)})
      Add(Kind::Bmp, bytes, kNotBmp, {}, true);
    // Run-length encoded, 8193 x 8192, and long enough for 128 times its length: the pixel limit refuses it.
    Bytes rle = Put(Put(Put(Bmp(8), 18, 4, 8193), 22, 4, 8192), 30, 4, 1);
    rle = Cut(rle, rle[10] | rle[11] << 8);
    rle.insert(rle.end(), {0, 1});  // the end of the picture
    rle.resize(600000);
    Add(Kind::Bmp, rle, kNotBmp);
  }
};

// All in a folder whose path is over 300 bytes long, with spaces and names outside ASCII, named in full.
TEST_F(HostileWindow, RefusesEachByNameAndKeepsItsWork) {
  std::string folder = dir.path();
  for (const char* name : {"Fahrzeug Ünïcødé 車 ñ", "  two  spaces ", "ελληνικά и русский", "Ω≈ç√ 🚗 icons"})
    folder += "/" + std::string(name) + " 0/" + name + " 1";
  std::filesystem::create_directories(folder += "/" + std::string(60, 'x') + " é");
  [[maybe_unused]] const int64_t peakBefore = PeakResidentBytes();
  const Bytes old = Text("mine");
  const char* outputs[] = {"/out.bmp", "/out.png", "/out.srf", "/strip.bmp"};  // and the folder out
  std::filesystem::create_directories(folder + "/out");
  for (const char* name : outputs) WriteFileBytes(folder + name, old);
  const std::vector<std::string> entries = FolderEntries(folder);
  // An SRF read is saved as PNG outside the folder (the working image keeps it only then).
  const std::function<void(frmMain&)> commands[] = {&frmMain::mnuSRFtoPNG_Click, &frmMain::mnuASRFtoPNG_Click,
                                                    &frmMain::LoadPNG, &frmMain::cmdLoadImage_Click,
                                                    &frmMain::mnuRenderFromModel_Click};
  ASSERT_GT(folder.size(), 300u);
  const Corpus corpus;
  for (const Input& c : corpus.inputs) {
    SCOPED_TRACE("case " + std::to_string(&c - corpus.inputs.data()) + ": " + c.problem);
    const std::string path = folder + "/" + c.file;
    if (c.file != "absent") WriteFileBytes(path, c.bytes);
    LoadKnownPicture();
    const auto before = State();
    view.dialogAnswers = {path, dir / "read.bmp"};
    view.questionAnswers = {true};
    view.renderDialogs = {[&](render::RenderDialogModel& d) { return d.SetModel(path) || true; }};
    commands[int(c.kind)](form);
    const bool read = view.messages.empty();
    std::filesystem::remove(path);
    for (const char* name : outputs) EXPECT_EQ(ReadFileBytes(folder + name), old) << name;
    EXPECT_TRUE(std::filesystem::is_empty(folder + "/out"));
    EXPECT_EQ(FolderEntries(folder), entries) << "a partial or temporary file was left";
    if (read) {
      EXPECT_TRUE(c.problem.empty() || c.problem == kEither);
      if (c.check) c.check(*form.WorkImage);
      continue;
    }
    ASSERT_EQ(view.messages.size(), 1u);
    const std::string& message = view.messages[0];
    EXPECT_TRUE(!c.problem.empty() && message.find(path) != std::string::npos &&
                message.find(c.problem == kEither ? "" : c.problem) != std::string::npos)
        << message;
    EXPECT_TRUE(State() == before) << "the working image was touched";
    if (!c.reuse) continue;
    // Still usable: saved (the PNG takes the name up to its first dot) and loaded back.
    view.dialogAnswers = {folder + "/Bild mit Ä.v2.bmp", folder + "/Bild mit Ä.png"};
    ASSERT_TRUE(form.SaveAsPNG() && form.LoadPNG()) << view.messages.back();
    EXPECT_EQ(std::get<3>(State()), std::get<3>(before));
    for (const char* name : {"/Bild mit Ä.v2.bmp", "/Bild mit Ä.png"}) std::filesystem::remove(folder + name);
  }
#if !defined(__SANITIZE_ADDRESS__) && !defined(VELKOR_CLANG_ASAN)  // freed blocks stay in quarantine there
  EXPECT_LT(PeakResidentBytes() - peakBefore, int64_t{64} << 20);
#endif
}

// A header whose rows (filter bytes included) need 1032 times the file's length plus 64 KiB is let through to
// the full load; one byte more is refused from the header.
TEST(PngSizeBound, HoldsToTheByte) {
  ScratchDir dir;
  const uint64_t budget = 1032 * uint64_t{PngWithHeader(1, 1, 8, 0, Rows({{0}})).size()} + 65536;
  for (const uint64_t rowBytes : {budget, budget + 1}) {
    std::string problem;
    WriteFileBytes(dir / "w.png", PngWithHeader(uint32_t(rowBytes - 1), 1, 8, 0, Rows({{0}})));
    ReadPngFile(dir / "w.png", problem);
    EXPECT_EQ(problem.find("its header claims"), rowBytes > budget ? 0u : std::string::npos) << problem;
  }
}

class FailingDisk : public HostileWindow {
 protected:
  const std::string mount = dir / "disk";
  bool mounted = false;
  void TearDown() override {
    if (mounted) ::umount2(mount.c_str(), MNT_DETACH);
  }
};

// A static SRF, an animated one and the BMP of "Save to PNG" (each over 64 KiB), onto each refusing disk
// holding the user's keep<ext> and an empty folder taken<ext>.
TEST_F(FailingDisk, EachWriterKeepsTheUsersFilesAndLeavesNothing) {
  const Bytes users = {'m', 'y', ' ', 'i', 'c', 'o', 'n', 0, 1, 2, 3};
  for (const int writer : {0, 1, 2})
    for (const std::string disk : {"read-only", "full", "missing folder", "target is a folder"}) {
      SCOPED_TRACE(std::to_string(writer) + " " + disk);
      const std::string ext = writer < 2 ? ".srf" : ".bmp";
      std::filesystem::create_directories(mount);
      if (::mount("tmpfs", mount.c_str(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "cannot mount a tmpfs here (" << std::strerror(errno) << ")";
      mounted = true;
      WriteFileBytes(mount + "/keep" + ext, users);
      std::filesystem::create_directory(mount + "/taken" + ext);
      const int ro = disk[0] == 'r' ? ::mount(nullptr, mount.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, "size=64k") : 0;
      ASSERT_EQ(ro, 0);
      const std::vector<std::string> before = FolderEntries(mount);
      const std::string target = mount + (disk[0] == 'm' ? "/missing/new" : disk[0] == 't' ? "/taken" : "/keep") + ext;
      LoadKnownPicture(writer == 0 ? 2880 : writer == 1 ? 3242 : 200, writer == 0 ? 150 : writer == 1 ? 340 : 200);
      view.dialogAnswers = {target};
      view.questionAnswers = {true};
      EXPECT_FALSE(writer == 2 ? form.SaveAsPNG() : (writer ? form.SaveASRF("1.00") : form.SaveSRF("2.20"), false));
      ASSERT_EQ(view.messages.size(), 1u);
      // The window's own message, then the file and the system's reason.
      EXPECT_EQ(view.messages[0].rfind((writer < 2 ? "An error occured while writing the SRF file!\nCannot write "
                                                   : "Cannot write the BMP file ") +
                                           target + ": ",
                                       0),
                0u)
          << view.messages[0];
      EXPECT_EQ(view.LastStatus(), writer < 2 ? "Status: Error writing SRF FILE!" : "Status: Error writing BMP file!");
      EXPECT_EQ(ReadFileBytes(mount + "/keep" + ext), users);
      EXPECT_TRUE(std::filesystem::is_empty(mount + "/taken" + ext));
      EXPECT_EQ(FolderEntries(mount), before) << "a partial or temporary file was left";
      mounted = ::umount2(mount.c_str(), MNT_DETACH) != 0;
    }
}

// A render that fills the disk half-way through its frames leaves the folder
// as it was: the user's frame, nothing half written, nothing hidden beside it.
// Into a folder that is a disk of its own (a mounted stick), one with room
// gets its frames, moved within that disk, and nothing else.
TEST_F(FailingDisk, ARenderThatFillsTheDiskLeavesTheFolderAsItWasOneWithRoomGetsItsFrames) {
  render::Scene needle;
  render::AddBox(needle, {-0.02f, 0, -1}, {0.02f, 0.04f, 1}, render::AddMaterial(needle, {1, 0, 0}));
  render::RenderOptions options;
  options.model = "needle", options.outDir = mount;
  for (const char* size : {"size=2m", "size=40m"}) {
    std::filesystem::create_directories(mount);
    if (::mount("tmpfs", mount.c_str(), "tmpfs", 0, size) != 0) GTEST_SKIP() << std::strerror(errno);
    mounted = true;
    std::filesystem::create_directories(mount + "/Top");
    WriteFileBytes(mount + "/Top/keep.bmp", Text("mine"));
    const std::vector<std::string> before = FolderEntries(dir.path(), true);
    std::string error;
    const bool room = size == std::string("size=40m");
    EXPECT_EQ(render::RenderScene(needle, options, {}, error), room) << error;
    if (!room) {
      EXPECT_EQ(error.rfind("cannot render model needle: cannot write frame " + mount + "/", 0), 0u) << error;
      EXPECT_NE(error.find(": No space left on device"), std::string::npos) << error;
      EXPECT_EQ(FolderEntries(dir.path(), true), before);
    }
    EXPECT_EQ(FolderEntries(mount).size() + FolderEntries(mount + "/Top").size(), room ? 37 + 37u : 2u);
    EXPECT_EQ(ReadFileBytes(mount + "/Top/keep.bmp"), Text("mine"));
    mounted = ::umount2(mount.c_str(), MNT_DETACH) != 0;
  }
}

}  // namespace
}  // namespace velkor
