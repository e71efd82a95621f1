// The window's conversions on a recording view: Save to PNG (a BMP and the
// PNG beside it), LoadPNG, and SRF -> PNG -> SRF through the menus; then
// velkor-cli's conversion commands run as a program.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <filesystem>

#include "convert/PngFiles.h"
#include "platform/Files.h"
#include "platform/Gdi.h"
#include "platform/SystemError.h"
#include "support/Cli.h"
#include "support/FormFixture.h"
#include "support/PngBytes.h"
#include "support/SmallSrf.h"

namespace velkor {
namespace {

using namespace testing;
using Kind = CommandOutcome::Kind;
using Conversions = FormTest;

TEST_F(Conversions, SaveToPngWritesTheBmpAndThePngOfThePicture) {
  form.Command2_Click();  // no picture: nothing
  EXPECT_TRUE(view.dialogs.empty());
  LoadPattern(7, 5);
  const std::string bmp = dir / "car.blue.bmp";
  view.dialogAnswers = {bmp, std::nullopt};
  form.Command2_Click();
  const FileDialogRequest& d = view.dialogs.at(0);
  // The dialog asks nothing about replacing: SaveAsPNG asks once for both files.
  EXPECT_TRUE(d.save && d.filter == "Bitmap Files|*.bmp" && d.flags == 0x82000u &&
              d.fileName == platform::ProgramFolder() + "/Temp.bmp");
  EXPECT_EQ(view.statuses, (std::vector<std::string>{"Status: Writing 32-bit BMP...",
                                                     "Status: Converting 32-bit BMP to PNG...", "Status: Idle..."}));
  EXPECT_TRUE(view.messages.empty() && PathExists(bmp) && form.LastOutcome.kind == Kind::Completed);
  std::string problem;
  const auto png = ReadPngFile(dir / "car.png", problem);  // named up to the first dot
  ASSERT_TRUE(png) << problem;
  EXPECT_EQ(PixelBytes(*png), PixelBytes(*form.WorkImage));
  EXPECT_TRUE(form.SaveAsPNG()) << "a cancel is no failure";
  EXPECT_EQ(view.dialogs.at(1).fileName, bmp) << "the name chosen before";
  EXPECT_TRUE(form.LastOutcome.kind == Kind::Cancelled && view.LastStatus() == "Status: Nothing written...");
}

// One question before replacing either file of the pair; No writes nothing and the status says so.
TEST_F(Conversions, SaveToPngAsksOnceBeforeReplacingEitherFile) {
  LoadPattern(2, 2);
  const std::string bmp = dir / "icon.bmp", png = dir / "icon.png";
  const std::tuple<std::vector<std::string>, std::string, bool> cases[] = {
      {{png}, png + " already exists.\nDo you want to replace it?", false},
      {{bmp}, bmp + " already exists.\nDo you want to replace it?", false},
      {{bmp, png}, bmp + " and " + png + " already exist.\nDo you want to replace them?", false},
      {{bmp, png}, bmp + " and " + png + " already exist.\nDo you want to replace them?", true}};
  for (const auto& [existing, question, replace] : cases) {
    for (const std::string& file : {bmp, png}) std::filesystem::remove(file);
    for (const std::string& file : existing) WriteFileBytes(file, {'o', 'l', 'd'});
    view.questions.clear();
    view.dialogAnswers = {bmp};
    view.questionAnswers = {replace};
    EXPECT_TRUE(form.SaveAsPNG());
    EXPECT_EQ(
        std::make_tuple(view.questions, PathExists(bmp) && PathExists(png), form.LastOutcome.kind, view.LastStatus()),
        std::make_tuple(std::vector<std::string>{question}, existing.size() == 2,
                        replace ? Kind::Completed : Kind::Cancelled,
                        replace ? "Status: Idle..." : "Status: Nothing written..."));
    for (const std::string& file : existing) EXPECT_EQ(ReadFileBytes(file).size() == 3, !replace);
  }
}

TEST_F(Conversions, SaveToPngSaysWhyTheBmpOrPngCannotBeWritten) {
  LoadPattern(2, 2);
  std::filesystem::create_directory(dir / "taken.png");
  const std::tuple<std::string, std::string, std::string> cases[] = {
      {dir / "missing/out.bmp",
       "Cannot write the BMP file " + dir / "missing/out.bmp" + ": " + platform::ApiErrorText(ENOENT),
       "Status: Error writing BMP file!"},
      {dir / "taken.bmp", "Cannot write the PNG file " + dir / "taken.png" + ": " + platform::ApiErrorText(EISDIR),
       "Status: Error writing PNG file!"}};
  for (const auto& [bmp, message, status] : cases) {
    view.messages.clear();
    view.dialogAnswers = {bmp};
    EXPECT_FALSE(form.SaveAsPNG());
    EXPECT_EQ(std::make_tuple(view.messages, view.LastStatus(), form.LastOutcome.kind, form.LastOutcome.message),
              std::make_tuple(std::vector<std::string>{message}, status, Kind::Failed, message));
  }
}

TEST_F(Conversions, LoadPngCopiesThePixels) {
  // Bottom-left opaque red, the rest a transparent shade (R, G, B, A in the file).
  WriteFileBytes(dir / "p.png",
                 PngWithHeader(2, 2, 8, 6, Rows({{30, 20, 10, 40, 30, 20, 10, 40}, {255, 0, 0, 255, 30, 20, 10, 40}})));
  form.Controls.CommonDialog1.FileName = "/last/chosen.srf";
  view.dialogAnswers = {dir / "p.png", std::nullopt, std::string()};
  ASSERT_TRUE(form.LoadPNG());
  const FileDialogRequest d = view.dialogs.at(0);
  EXPECT_TRUE(!d.save && d.filter == "PNG Files|*.png" && d.flags == 0x82000u && form.ImageLoaded);
  EXPECT_EQ(d.fileName, "/last/chosen.srf") << "the open dialog keeps the last name";
  EXPECT_EQ(PixelBytes(*form.WorkImage),
            (std::vector<uint8_t>{0, 0, 255, 255, 10, 20, 30, 40, 10, 20, 30, 40, 10, 20, 30, 40}));
  EXPECT_TRUE(form.LastOutcome.kind == Kind::Completed && gdi::GetPixel(form.Plotter().hDC(), 0, 1) == 0x0000FFu)
      << "shown in the pane";
  EXPECT_FALSE(form.LoadPNG());  // cancelled, or no name
  EXPECT_FALSE(form.LoadPNG());
  EXPECT_TRUE(view.messages.empty() && view.statuses.empty());
}

// A PNG that cannot be read, whose raster cannot be made, that is not exactly
// an SRF picture of the command's kind or that shows nothing stops the
// command before its save dialog and leaves the working image.
TEST_F(Conversions, PngToSrfRefusalsKeepTheWorkingImage) {
  WriteFileBytes(dir / "fake.png", {'x', 'y', 'z'});
  WriteFileBytes(dir / "p.png",
                 PngWithHeader(3, 2, 8, 2, Rows({std::vector<uint8_t>(9, 7), std::vector<uint8_t>(9, 7)})));
  WriteFileBytes(dir / "huge.bmp", PngWithHeader(100000, 100000, 8, 6, Rows({{1}})));  // read by its name's type
  // 9 one-bit pixels take 3 bytes a row with the filter byte: one row over what the file's length allows.
  const size_t tightLength = PngWithHeader(9, 1, 1, 0, Rows({{0, 0}})).size();
  const uint32_t tightHeight = static_cast<uint32_t>((1032 * tightLength + 65536) / 2);
  WriteFileBytes(dir / "tight.png", PngWithHeader(9, tightHeight, 1, 0, Rows({{0, 0}})));
  // The pixel limit to the pixel: 8192 x 8192 passes it (and fails the length bound), one column more does not.
  const std::vector<uint8_t> wide = PngWithHeader(8192, 8192, 1, 0, Rows({{0}}));
  WriteFileBytes(dir / "w8192.png", wide);
  WriteFileBytes(dir / "w8193.png", PngWithHeader(8193, 8192, 1, 0, Rows({{0}})));
  ::mkfifo((dir / "fifo.png").c_str(), 0600);
  const auto picture = [&](const std::string& name, int w, int h, uint8_t alpha) {
    LoadPattern(w, h, [alpha](int, int) { return Bgra{1, 2, 3, alpha}; });
    EXPECT_EQ(ConvertRasterToPng(*form.WorkImage, dir / name), BmpToPng::Written);
    return dir / name;
  };
  // A file that cannot be read: "Cannot read <file>: " and the problem; a picture refused: the whole message.
  const std::string unread = "Status: Error reading PNG file!", none = "Status: Nothing written...";
  const std::string statics = "a static SRF picture is 2880 x 150 (version 2.20) or 2880 x 160 (version 2.00).";
  const std::tuple<std::string, std::string, std::string, bool> cases[] = {
      {dir / "fake.png", "it is not a picture FreeImage can read", unread, false},
      {dir / "missing.png", "No such file or directory", unread, false},
      {dir / "fifo.png", "not a regular file", unread, false},
      {dir.path(), "not a regular file", unread, false},
      {dir / "w8192.png",
       "its header claims 8192 x 8192 pixels, far more than its " + std::to_string(wide.size()) + " bytes can hold",
       unread, false},
      {dir / "w8193.png",
       "its header claims 8193 x 8192 pixels, more than the 67108864 (8192 x 8192) a picture may have", unread, false},
      {dir / "huge.bmp", "it is not a picture FreeImage can read", unread, false},
      {dir / "tight.png",
       "its header claims 9 x " + std::to_string(tightHeight) + " pixels, far more than its " +
           std::to_string(tightLength) + " bytes can hold",
       unread, false},
      {dir / "p.png", "a 3 x 2 picture cannot be created", unread, true},
      {picture("tall.png", 2880, 151, 255),
       "Cannot convert " + dir / "tall.png: the PNG is 2880 x 151 pixels; " + statics, none, false},
      {picture("anim.png", 3242, 340, 255),
       "Cannot convert " + dir / "anim.png: the PNG is 3242 x 340 pixels; " + statics +
           " Use \"PNG to Animated SRF\" for this one.",
       none, false},
      {picture("clear.png", 2880, 160, 1), "The picture has no vehicle in it: every pixel is transparent.", none,
       false},
      {picture("static.png", 2880, 150, 255),
       "Cannot convert " + dir / "static.png: the PNG is 2880 x 150 pixels; an animated "
                                 "SRF picture is 3242 x 340. Use \"PNG to SRF\" for this one.",
       none, false}};
  for (const auto& [path, message, status, failRaster] : cases) {
    LoadPattern(4, 4);
    const cAlphaDibSection* before = form.WorkImage.get();
    view.messages.clear();
    view.dialogs.clear();
    view.statuses.clear();
    view.dialogAnswers = {path, dir / "out.srf"};
    gdi::testing::FailNextDibSections(failRaster ? 1 : 0);
    (path == dir / "static.png" ? form.mnuPNGtoASRF_Click() : form.mnuPNGtoSRF_Click());
    gdi::testing::FailNextDibSections(0);
    EXPECT_EQ(
        std::make_tuple(view.messages, view.LastStatus(), form.LastOutcome.kind,
                        view.dialogs.size()),  // no save dialog
        std::make_tuple(std::vector<std::string>{status == unread ? "Cannot read " + path + ": " + message : message},
                        status, Kind::Failed, 1u));
    EXPECT_TRUE(form.WorkImage.get() == before && form.ImageLoaded && !PathExists(dir / "out.srf"));
  }
}

// SRF -> PNG -> SRF through the menus (both kinds pinned byte for byte by
// tests/golden through velkor-cli): names proposed beside the file
// converted, the version from the PNG's size. The wrong kind of SRF is named;
// a cancel or a PNG that cannot be written leaves the working image as it was.
TEST_F(Conversions, SrfToPngToSrfThroughTheMenus) {
  for (const auto& [version, written] : {std::pair<std::string, std::string>{"2.20", "2.20"}, {"1.00", "2.00"}}) {
    LoadPattern(2880, version == "2.20" ? 150 : 160);
    const std::vector<uint8_t> expected = SaveSrf(written, "expected.srf");
    SaveSrf(version, "car.srf");
    view.dialogs.clear();
    view.dialogAnswers = {dir / "car.srf", dir / "car.bmp", dir / "car.png", dir / "back.srf"};
    view.questionAnswers = {true};
    form.mnuSRFtoPNG_Click();
    EXPECT_EQ(std::make_pair(view.dialogs.at(1).fileName, view.LastStatus()),
              std::make_pair(dir / "car.bmp", std::string("Status: Done...")));
    const cAlphaDibSection* read = form.WorkImage.get();
    form.mnuPNGtoSRF_Click();
    EXPECT_EQ(std::make_pair(view.dialogs.back().fileName, view.LastStatus()),
              std::make_pair(dir / "car.srf", "Status: SRF version #" + written + " file written...."));
    EXPECT_TRUE(!expected.empty() && ReadFileBytes(dir / "back.srf") == expected && view.messages.empty());
    EXPECT_NE(form.WorkImage.get(), read) << "the converted picture is kept once written";
  }
  std::filesystem::rename(dir / "car.png", dir / "kept.png");
  std::filesystem::create_directory(dir / "car.png");
  form.WorkImage = std::make_unique<cAlphaDibSection>();  // no picture, as the window starts
  form.ImageLoaded = false;
  form.RedrawPreview();
  const auto state = [&] {
    return std::make_tuple(form.WorkImage.get(), form.LastImageFile, form.ImageLoaded, PixelBytes(form.Plotter()));
  };
  const auto before = state();
  const std::tuple<void (frmMain::*)(), std::string, std::string, std::string> cases[] = {
      {&frmMain::mnuASRFtoPNG_Click, dir / "car.srf",
       dir / "car.srf is a static SRF file (version 1.00): use \"SRF to PNG\" for it.",
       "Status: Error reading SRF FILE!"},
      {&frmMain::mnuPNGtoSRF_Click, dir / "kept.png", "", "Status: Nothing written..."},  // cancelled
      {&frmMain::mnuSRFtoPNG_Click, WriteSmallSrf(dir / "anim.srf", true),
       dir / "anim.srf is an animated SRF file: use \"Animated SRF to PNG\" for it.",
       "Status: Error reading SRF FILE!"},
      {&frmMain::mnuASRFtoPNG_Click, dir / "anim.srf", "", "Status: Nothing written..."},
      {&frmMain::mnuSRFtoPNG_Click, dir / "car.srf",
       "Cannot write the PNG file " + dir / "car.png: " + platform::ApiErrorText(EISDIR),
       "Status: Error writing PNG file!"}};
  for (const auto& [command, file, message, status] : cases) {
    view.messages.clear();
    view.dialogAnswers = {file, message.empty() ? std::nullopt : std::optional(dir / "car.bmp")};
    view.questionAnswers = {true};
    (form.*command)();
    EXPECT_EQ(
        std::make_tuple(view.messages, view.LastStatus()),
        std::make_tuple(message.empty() ? std::vector<std::string>{} : std::vector<std::string>{message}, status));
    EXPECT_TRUE(state() == before) << file;
  }
}

// velkor-cli's conversion commands run as a program. Their bytes are pinned
// by tests/golden; here what a digest cannot show: names resolved in the
// working folder, what stdout reports, exit statuses and error texts (1 for
// a failure, naming the file; 2 for a usage error; 0 for help).
TEST(Cli, ReportsTheFilesWrittenAndTellsFailureFromUsage) {
  ScratchDir dir;
  const auto velkor = [&](const std::string& args) { return RunCli(args, dir.path()); };
  cAlphaDibSection strip;
  ASSERT_TRUE(strip.Create(2880, 150));
  FillRaster(strip, PatternPixel);
  ASSERT_EQ(ConvertRasterToPng(strip, dir / "in.png"), BmpToPng::Written);
  CliResult run = velkor("png2srf in.png out.srf");
  EXPECT_EQ(run.out, "srf: " + dir / "out.srf" + "\n") << run.err;
  EXPECT_NE(run.err.find("Status: SRF version #2.20 file written...."), std::string::npos);
  run = velkor("srf2png out.srf back.png");
  EXPECT_EQ(run.out, "png: " + dir / "back.png" + "\nbmp: " + dir / "back.bmp" + "\n") << run.err;
  EXPECT_NE(("\n" + velkor("info out.srf").out).find("\nfile: " + dir / "out.srf" + "\n"), std::string::npos);

  WriteFileBytes(dir / "short.srf", {1, 2, 3});
  const std::vector<uint8_t> srf = ReadFileBytes(dir / "out.srf"), png = ReadFileBytes(dir / "in.png");
  WriteFileBytes(dir / "cut.srf", {srf.begin(), srf.begin() + 71 + 40 + 3 * 2880 * 80 + 100});  // inside record 2
  std::vector<uint8_t> wide = srf;
  wide[71 + 18] = wide[71 + 19] = 0xFF;  // record 1's row bytes, which no reader uses
  WriteFileBytes(dir / "rows.srf", wide);
  wide[71 + 14] = wide[71 + 15] = 0xFF;  // and its width
  WriteFileBytes(dir / "wide.srf", wide);
  ::mkfifo((dir / "fifo.srf").c_str(), 0600);
  std::filesystem::create_symlink(dir / "out.srf", dir / "link.png");
  std::filesystem::create_hard_link(dir / "out.srf", dir / "same.bmp");
  const std::string longName = std::string(247, 'n') + ".gif";  // 251 bytes: its temporary name must fit too
  const std::tuple<std::string, int, std::string> cases[] = {
      {"info fifo.srf", 1, "Cannot read " + dir / "fifo.srf: not a regular file"},
      {"info /dev/zero", 1, "Cannot read /dev/zero: not a regular file"},
      {"srf2png fifo.srf x.png", 1, "not a regular file"},
      {"asrf2png fifo.srf x.png", 1, "not a regular file"},
      {"png2srf fifo.srf x.srf", 1, "not a regular file"},
      {"gif fifo.srf x.gif", 1, "not a regular file"},
      {"thumbnail fifo.srf x.png 64", 1, "not a regular file"},
      {"gif out.srf out.srf", 1, dir / "out.srf is the input file " + dir / "out.srf"},
      {"thumbnail out.srf link.png 64", 1, "link.png is the input file out.srf"},
      {"png2srf in.png in.png", 1, "is the input file"},
      {"srf2png out.srf same.png", 1, "same.bmp is the input file"},
      {"info cut.srf", 1, "record 2 is cut short"},
      {"thumbnail cut.srf x.png 64", 1, "record 2 is cut short"},
      {"gif cut.srf x.gif", 1, "record 2 is cut short"},
      {"info wide.srf", 1, "has a size of 65535 x 80 pixels"},
      {"thumbnail out.srf x.png 0", 2, "SIZE"},
      {"thumbnail out.srf x.png 1025", 2, "SIZE"},
      {"gif out.srf " + longName, 0, ""},
      {"png2srf in.png " + std::string(247, 'n') + ".srf", 0, ""},
      {"info short.srf", 1, "Cannot read " + dir / "short.srf"},
      {"srf2png missing.srf x.png", 1, "Cannot read " + dir / "missing.srf"},
      {"srf2png short.srf x.png", 1, "too short for the 71-byte header"},
      {"png2srf missing.png x.srf", 1, "Cannot read " + dir / "missing.png" + ": No such file or directory"},
      {"png2srf short.srf x.srf", 1, "Cannot read " + dir / "short.srf"},
      {"srf2png short.srf x.v2.png", 2, "x.v2.png"},
      {"srf2png short.srf x.PNG", 2, "written as " + dir / "x.png"},
      {"srf2png short.srf", 2, ""},
      {"png2srf", 2, ""},
      {"info", 2, ""},
      {"info --help", 0, ""},
      {"srf2png --help", 0, ""},
      {"asrf2png --help", 0, ""},
      {"png2srf --help", 0, ""},
      {"png2asrf --help", 0, ""}};
  for (const auto& [args, status, stderrPart] : cases) {
    run = velkor(args);
    EXPECT_EQ(run.status, status) << args;
    EXPECT_NE(run.err.find(stderrPart), std::string::npos) << args << "\n" << run.err;
  }
  for (const char* output : {"x.png", "x.bmp", "x.srf", "x.gif"}) EXPECT_FALSE(PathExists(dir / output));
  EXPECT_TRUE(ReadFileBytes(dir / "out.srf") == srf && ReadFileBytes(dir / "in.png") == png) << "an input was replaced";
  EXPECT_NE(velkor("info rows.srf").out.find("\nrecord.1.row-bytes: 65535\n"), std::string::npos);
  run = velkor("--help");
  EXPECT_EQ(run.status, 0);
  for (const char* name : {"srf2png", "asrf2png", "png2srf", "png2asrf", "info"})
    EXPECT_NE(run.out.find(name), std::string::npos);
}

}  // namespace
}  // namespace velkor
