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
  EXPECT_TRUE(d.save && d.filter == "Bitmap Files|*.bmp" && d.flags == 0x82002u && d.fileName == platform::ProgramFolder() + "/Temp.bmp");
  EXPECT_EQ(view.statuses, (std::vector<std::string>{"Status: Writing 32-bit BMP...",
                                                     "Status: Converting 32-bit BMP to PNG...", "Status: Idle..."}));
  EXPECT_TRUE(view.messages.empty() && PathExists(bmp) && form.LastOutcome.kind == Kind::Completed);
  std::string problem;
  const auto png = ReadPngFile(dir / "car.png", problem);  // named up to the first dot
  ASSERT_TRUE(png) << problem;
  EXPECT_EQ(PixelBytes(*png), PixelBytes(*form.WorkImage));
  EXPECT_TRUE(form.SaveAsPNG()) << "a cancel is no failure";
  EXPECT_EQ(view.dialogs.at(1).fileName, bmp) << "the name chosen before";
  EXPECT_TRUE(form.LastOutcome.kind == Kind::Cancelled && view.statuses.size() == 3u);
}

TEST_F(Conversions, SaveToPngReplacesAnExistingPngOnlyWhenTheUserSaysSo) {
  LoadPattern(2, 2);
  WriteFileBytes(dir / "icon.png", {'o', 'l', 'd'});
  for (const bool replace : {false, true}) {
    view.dialogAnswers = {dir / "icon.bmp"};
    view.questionAnswers = {replace};
    EXPECT_TRUE(form.SaveAsPNG());
    EXPECT_EQ(view.questions.back(), dir / "icon.png" + " already exists.\nDo you want to replace it?");
    EXPECT_EQ(ReadFileBytes(dir / "icon.png").size() == 3, !replace);
    EXPECT_EQ(PathExists(dir / "icon.bmp"), replace) << "a cancelled save writes nothing";
    EXPECT_TRUE(form.LastOutcome.kind == (replace ? Kind::Completed : Kind::Cancelled) && view.statuses.empty() == !replace);
  }
}

TEST_F(Conversions, SaveToPngSaysWhyTheBmpOrPngCannotBeWritten) {
  LoadPattern(2, 2);
  std::filesystem::create_directory(dir / "taken.png");
  const std::tuple<std::string, std::string, std::string> cases[] = {
      {dir / "missing/out.bmp", "Cannot write the BMP file " + dir / "missing/out.bmp" + ": " + platform::ApiErrorText(ENOENT),
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

TEST_F(Conversions, LoadPngCopiesThePixelsAndEndsTheViewer) {
  // Bottom-left opaque red, the rest a transparent shade (R, G, B, A in the file).
  WriteFileBytes(dir / "p.png", PngWithHeader(2, 2, 8, 6, Rows({{30, 20, 10, 40, 30, 20, 10, 40},
                                                               {255, 0, 0, 255, 30, 20, 10, 40}})));
  form.Controls.CommonDialog1.FileName = "/last/chosen.srf";
  form.ViewerShowing = form.Controls.Timer1.Enabled = true;
  view.dialogAnswers = {dir / "p.png", std::nullopt, std::string()};
  ASSERT_TRUE(form.LoadPNG());
  const FileDialogRequest d = view.dialogs.at(0);
  EXPECT_TRUE(!d.save && d.filter == "PNG Files|*.png" && d.flags == 0x82000u && form.ImageLoaded);
  EXPECT_EQ(d.fileName, "/last/chosen.srf") << "the open dialog keeps the last name";
  EXPECT_EQ(PixelBytes(*form.WorkImage), (std::vector<uint8_t>{0, 0, 255, 255, 10, 20, 30, 40, 10, 20, 30, 40, 10, 20, 30, 40}));
  EXPECT_TRUE(form.LastOutcome.kind == Kind::Completed && gdi::GetPixel(form.Plotter().hDC(), 0, 1) == 0x0000FFu) << "shown in the pane";
  EXPECT_FALSE(form.ViewerShowing || form.Controls.Timer1.Enabled);
  EXPECT_FALSE(form.LoadPNG());  // cancelled, or no name
  EXPECT_FALSE(form.LoadPNG());
  EXPECT_TRUE(view.messages.empty() && view.statuses.empty());
}

// A PNG that cannot be read, or whose raster cannot be made, leaves the
// working image and stops the command before its save dialog.
TEST_F(Conversions, LoadPngRefusalsKeepTheWorkingImage) {
  WriteFileBytes(dir / "fake.png", {'x', 'y', 'z'});
  WriteFileBytes(dir / "p.png", PngWithHeader(3, 2, 8, 2, Rows({std::vector<uint8_t>(9, 7), std::vector<uint8_t>(9, 7)})));
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
  const std::tuple<std::string, std::string, bool> cases[] = {
      {dir / "fake.png", "it is not a picture FreeImage can read", false},
      {dir / "missing.png", "No such file or directory", false},
      {dir / "fifo.png", "not a regular file", false},
      {dir.path(), "not a regular file", false},
      {dir / "w8192.png", "its header claims 8192 x 8192 pixels, far more than its " + std::to_string(wide.size()) +
                              " bytes can hold", false},
      {dir / "w8193.png", "its header claims 8193 x 8192 pixels, more than the 67108864 (8192 x 8192) a picture may have", false},
      {dir / "huge.bmp", "it is not a picture FreeImage can read", false},
      {dir / "tight.png", "its header claims 9 x " + std::to_string(tightHeight) + " pixels, far more than its " +
                              std::to_string(tightLength) + " bytes can hold", false},
      {dir / "p.png", "a 3 x 2 picture cannot be created", true}};
  for (const auto& [path, problem, failRaster] : cases) {
    LoadPattern(4, 4);
    const cAlphaDibSection* before = form.WorkImage.get();
    view.messages.clear();
    view.dialogs.clear();
    view.dialogAnswers = {path, dir / "out.srf"};
    gdi::testing::FailNextDibSections(failRaster ? 1 : 0);
    form.mnuPNGtoSRF_Click();
    gdi::testing::FailNextDibSections(0);
    EXPECT_EQ(std::make_tuple(view.messages, view.LastStatus(), form.LastOutcome.kind, view.dialogs.size()),  // no save dialog
              std::make_tuple(std::vector<std::string>{"Cannot read " + path + ": " + problem}, "Status: Error reading PNG file!", Kind::Failed, 1u));
    EXPECT_TRUE(form.WorkImage.get() == before && form.ImageLoaded && !PathExists(dir / "out.srf"));
  }
}

// SRF -> PNG -> SRF through the menus (both kinds pinned byte for byte by
// tests/golden through velkor-cli): the dialogs and statuses; a PNG that
// cannot be written is not announced as done.
TEST_F(Conversions, SrfToPngToSrfThroughTheMenus) {
  LoadPattern(2880, 150);
  const std::vector<uint8_t> first = SaveSrf("2.20", "static.srf");
  view.dialogs.clear();
  view.dialogAnswers = {dir / "static.srf", dir / "strip.bmp", dir / "strip.png", dir / "second.srf"};
  form.mnuSRFtoPNG_Click();
  EXPECT_EQ(std::make_pair(view.dialogs.at(0).filter, view.LastStatus()), std::make_pair(std::string("SRF Files|*.srf"), std::string("Status: Done...")));
  form.WorkImage->Create(1, 1);
  form.mnuPNGtoSRF_Click();
  EXPECT_EQ(view.LastStatus(), "Status: SRF version #2.20 file written....");
  EXPECT_EQ(view.dialogs.back().fileName, dir / "strip.srf") << "named after the last BMP";
  EXPECT_TRUE(!first.empty() && ReadFileBytes(dir / "second.srf") == first && view.messages.empty());
  std::filesystem::remove(dir / "strip.png");
  std::filesystem::create_directory(dir / "strip.png");
  view.dialogAnswers = {dir / "static.srf", dir / "strip.bmp"};
  form.mnuSRFtoPNG_Click();
  EXPECT_EQ(view.LastStatus(), "Status: Error writing PNG file!");
  EXPECT_EQ(view.messages.size(), 1u);
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
      {"srf2png fifo.srf x.png", 1, "not a regular file"}, {"asrf2png fifo.srf x.png", 1, "not a regular file"},
      {"png2srf fifo.srf x.srf", 1, "not a regular file"}, {"gif fifo.srf x.gif", 1, "not a regular file"},
      {"thumbnail fifo.srf x.png 64", 1, "not a regular file"},
      {"gif out.srf out.srf", 1, dir / "out.srf is the input file " + dir / "out.srf"},
      {"thumbnail out.srf link.png 64", 1, "link.png is the input file out.srf"},
      {"png2srf in.png in.png", 1, "is the input file"}, {"srf2png out.srf same.png", 1, "same.bmp is the input file"},
      {"info cut.srf", 1, "record 2 is cut short"}, {"thumbnail cut.srf x.png 64", 1, "record 2 is cut short"},
      {"gif cut.srf x.gif", 1, "record 2 is cut short"}, {"info wide.srf", 1, "has a size of 65535 x 80 pixels"},
      {"thumbnail out.srf x.png 0", 2, "SIZE"}, {"thumbnail out.srf x.png 1025", 2, "SIZE"},
      {"gif out.srf " + longName, 0, ""}, {"png2srf in.png " + std::string(247, 'n') + ".srf", 0, ""},
      {"info short.srf", 1, "Cannot read " + dir / "short.srf"},
      {"srf2png missing.srf x.png", 1, "Cannot read " + dir / "missing.srf"},
      {"srf2png short.srf x.png", 1, "too short for the 71-byte header"},
      {"png2srf missing.png x.srf", 1, "Cannot read " + dir / "missing.png" + ": No such file or directory"},
      {"png2srf short.srf x.srf", 1, "Cannot read " + dir / "short.srf"},
      {"srf2png short.srf x.v2.png", 2, "x.v2.png"}, {"srf2png short.srf x.PNG", 2, "written as " + dir / "x.png"},
      {"srf2png short.srf", 2, ""}, {"png2srf", 2, ""}, {"info", 2, ""}, {"info --help", 0, ""},
      {"srf2png --help", 0, ""}, {"asrf2png --help", 0, ""}, {"png2srf --help", 0, ""}, {"png2asrf --help", 0, ""}};
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
  for (const char* name : {"srf2png", "asrf2png", "png2srf", "png2asrf", "info"}) EXPECT_NE(run.out.find(name), std::string::npos);
}

}  // namespace
}  // namespace velkor
