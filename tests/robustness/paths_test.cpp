// Long paths (over 300 characters), spaces and non-ASCII names (UTF-8)
// through every open and save, the frame import, GuessPrefix and the command
// line: what is written under such a name reads back the same.
#include "srf/SrfPreviewLoader.h"
#include "RobustnessSupport.h"
#include "pipeline/GuessPrefix.h"
#include "pipeline/PipelineTestSupport.h"
#include "platform/Files.h"

namespace velkor {
namespace {

using namespace testing;

// Folders below the scratch folder whose full path is over 300 bytes, each
// name with spaces and letters outside ASCII.
std::string HardFolder(const ScratchDir& dir) {
  std::string path = dir.path();
  for (const char* part : {"Fahrzeug Ünïcødé 車 ñ", "  two  spaces ", "ελληνικά και русский", "Ω≈ç√ 🚗 icons"}) {
    for (int i = 0; i < 2; ++i) path += "/" + std::string(part) + " " + std::to_string(i);
  }
  path += "/" + std::string(60, 'x') + " é";
  std::filesystem::create_directories(path);
  return path;
}

class HardPaths : public HostileWindow {
 protected:
  std::string folder = HardFolder(dir);

  void LoadPattern(int width, int height) {
    form.WorkImage->Create(width, height);
    uint8_t* bits = form.WorkImage->DIBSectionBitsPtr();
    for (size_t i = 0; i < size_t(width) * height * 4; ++i) bits[i] = static_cast<uint8_t>(i % 251);
    // Opaque pixels, so that the SRF round trip is exact in colour too.
    for (size_t i = 3; i < size_t(width) * height * 4; i += 4) bits[i] = 255;
    form.ImageLoaded = true;
    form.LastImageFile.clear();
  }
};

TEST_F(HardPaths, TheFolderIsLongAndItsNamesAreUtf8) {
  EXPECT_GT(folder.size(), 300u);
  EXPECT_NE(folder.find("車"), std::string::npos);
}

TEST_F(HardPaths, StaticAndAnimatedSrfSaveAndRead) {
  const std::string file = folder + "/Käfer 1.00 ümlaut.srf";
  LoadPattern(2880, 150);
  view.dialogAnswers = {file};
  form.SaveSRF("2.20");
  ASSERT_TRUE(view.messages.empty()) << view.messages[0];
  const std::vector<uint8_t> written = ReadFileBytes(file);
  ASSERT_EQ(written.size(), 71u + 40 + 3 * 2880 * 80 + 40 + 3 * 2520 * 70 + 56 + 1);
  ASSERT_TRUE(form.ReadSRFFile(file));
  EXPECT_EQ(form.WorkImage->Width(), 2880);
  CreateFromGarminSRF(*form.ViewerImage, file);
  EXPECT_EQ(form.ViewerImage->Height(), 150);

  const std::string animated = folder + "/Animiert 車.srf";
  LoadPattern(3242, 340);
  view.dialogAnswers = {animated};
  form.SaveASRF("1.00");
  ASSERT_TRUE(view.messages.empty()) << view.messages[0];
  ASSERT_TRUE(form.ReadASRFFile(animated));
  EXPECT_EQ(form.WorkImage->Height(), 340);

  // Errors name such a file in full.
  EXPECT_FALSE(form.ReadSRFFile(folder + "/nicht da.srf"));
  ASSERT_EQ(view.messages.size(), 1u);
  EXPECT_EQ(view.messages[0].rfind("Cannot read " + folder + "/nicht da.srf: ", 0), 0u);
}

TEST_F(HardPaths, BmpAndPngSaveLoadPngAndLoadImage) {
  LoadPattern(6, 4);
  const std::vector<uint8_t> pixels = StateOf(form).bytes;
  const std::string bmp = folder + "/Bild mit Ä.v2.bmp";
  view.dialogAnswers = {bmp};
  ASSERT_TRUE(form.SaveAsPNG()) << view.messages[0];
  const std::string png = folder + "/Bild mit Ä.png";  // the name up to its first dot
  ASSERT_TRUE(platform::FileExists(png));

  form.WorkImage->Create(1, 1);
  view.dialogAnswers = {png};
  ASSERT_TRUE(form.LoadPNG()) << view.messages[0];
  EXPECT_EQ(StateOf(form).bytes, pixels);

  form.WorkImage->Destroy();
  form.ImageLoaded = false;
  view.dialogAnswers = {bmp};
  form.cmdLoadImage_Click();
  ASSERT_EQ(form.WorkImage->Width(), 14400);
  // The BMP's bottom-left pixel lands at the strip's (0, 3) from the top.
  const uint8_t* bottomLeft = form.WorkImage->DIBSectionBitsPtr() + size_t(750 - 4) * 14400 * 4;
  EXPECT_EQ(std::vector<uint8_t>(bottomLeft, bottomLeft + 3), std::vector<uint8_t>(pixels.begin(), pixels.begin() + 3));
}

TEST_F(HardPaths, FrameImportAndGuessPrefix) {
  const std::string frames = folder + "/Frames ü";
  std::filesystem::create_directory(frames);
  // The boxes are trimmed, so a prefix has spaces inside only.
  const char* prefixes[4] = {"Käfer r3d", "Käfer r2d", "車 a3d", "車 a2d"};
  for (int set = 0; set < 4; ++set) WriteFrameSet(frames, prefixes[set], "0000-0035", set, 2);
  // The first file the listing gives names one of the sets.
  const std::string guessed = GuessPrefix(frames);
  EXPECT_TRUE(std::find(std::begin(prefixes), std::end(prefixes), guessed) != std::end(prefixes)) << guessed;
  {
    ScratchDir one;
    const std::string only = HardFolder(one) + "/nur ein Bild";
    std::filesystem::create_directory(only);
    WriteFileBytes(only + "/Ölwagen Ä0012.bmp", {1});
    EXPECT_EQ(GuessPrefix(only), "Ölwagen Ä");
  }
  for (int item = 1; item <= 2; ++item) {
    form.Controls.txtWorkDir[item].Text = frames;
    form.Controls.txt2DWorkDir[item].Text = frames;
    form.Controls.txt3DPrefix[item].Text = prefixes[item == 1 ? 0 : 2];
    form.Controls.txt2DPrefix[item].Text = prefixes[item == 1 ? 1 : 3];
  }
  form.BuildCompositeImage("2.20");
  EXPECT_EQ(form.LastImport, ImportOutcome::Complete) << view.LastStatus();
}

TEST_F(HardPaths, CommandLineRoundTrip) {
  LoadPattern(2880, 150);
  const std::string srf = folder + "/CLI ñ.srf";
  view.dialogAnswers = {srf};
  form.SaveSRF("2.20");
  const std::string png = folder + "/CLI ñ out.png";
  CliResult run = RunCli("srf2png " + Quoted(srf) + " " + Quoted(png), dir.path());
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string again = folder + "/CLI ñ again.srf";
  run = RunCli("png2srf " + Quoted(png) + " " + Quoted(again), dir.path());
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(ReadFileBytes(again), ReadFileBytes(srf));
}

}  // namespace
}  // namespace velkor
