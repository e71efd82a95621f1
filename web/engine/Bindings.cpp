// The web page's one door to the engine: every call the page's worker makes,
// over files the worker has put in the module's in-memory file system. Each
// call returns a plain object: ok, message (naming the file and the problem
// when not ok), and what it made. Nothing here throws into JavaScript.
//
// What a user asks for (Do All, a render, SRF and PNG conversions, the GIF)
// is the jobs layer's call, the one the window and velkor-cli make.
#include <emscripten/bind.h>
#include <emscripten/val.h>
#include <sys/stat.h>

#include <array>
#include <exception>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "common/VbError.h"
#include "convert/PngFiles.h"
#include "convert/PngHeader.h"
#include "convert/PngWriter.h"
#include "jobs/Conversions.h"
#include "jobs/DoAll.h"
#include "jobs/Render.h"
#include "jobs/SrfFiles.h"
#include "jobs/SrfOutputs.h"
#include "pipeline/FrameLoader.h"
#include "pipeline/GuessPrefix.h"
#include "pipeline/NumberingScheme.h"
#include "platform/Files.h"
#include "platform/FillRectangle.h"
#include "platform/Gdi.h"
#include "platform/ImageCodec.h"
#include "raster/cAlphaDibSection.h"
#include "raster/cDib.h"
#include "render/AxisGuess.h"
#include "render/ModelRender.h"
#include "render/PreviewFrames.h"
#include "render/RenderOptions.h"
#include "render/SceneCodec.h"
#include "render/SceneLimits.h"
#include "sample/DeviceScreen.h"
#include "srf/SrfFileCheck.h"
#include "srf/SrfFileInfo.h"
#include "srf/SrfPreviewLoader.h"
#include "srf/SrfVersion.h"

namespace velkor::web {

namespace {

using emscripten::val;

val Bytes(const std::vector<uint8_t>& bytes) {
  // A copy the page owns: a view of the module's memory would move when it grows.
  return val::global("Uint8Array").new_(emscripten::typed_memory_view(bytes.size(), bytes.data())).call<val>("slice");
}

val Outcome(bool ok, const std::string& message = {}) {
  val result = val::object();
  result.set("ok", ok);
  result.set("message", message);
  return result;
}

val Refused(const std::string& message) { return Outcome(false, message); }

// A job's failure as the page shows it: its message.
val Refused(const velkor::Failure& failure) { return Refused(failure.message); }

// The jobs' progress as the page's bar shows it: the keying's share done and
// the frames rendered.
class PageProgress : public Progress {
 public:
  explicit PageProgress(const val& report) : report_(report) {}
  void Fraction(float percent) override { report_(static_cast<int>(percent), 100); }
  void Frames(int done, int total) override { report_(done, total); }

 private:
  val report_;
};

// A file a job wrote in the worker's scratch folder, as bytes for the page.
constexpr const char* kScratch = "/files/made";

std::string ScratchFile(const std::string& name) {
  ::mkdir(kScratch, 0755);
  return std::string(kScratch) + "/" + name;
}

std::optional<val> FileBytes(const std::string& path) {
  const std::optional<std::vector<uint8_t>> bytes = platform::ReadWholeFile(path);
  if (!bytes) return std::nullopt;
  return Bytes(*bytes);
}

// Runs `work`, turning what the engine raises into a failure naming `what`.
template <typename Work>
val Guarded(const std::string& what, Work&& work) {
  try {
    return work();
  } catch (const VbError& e) {
    return Refused(e.Description());
  } catch (const std::bad_alloc&) {
    return Refused("Cannot " + what + ": not enough memory");
  } catch (const std::exception& e) {
    return Refused("Cannot " + what + ": " + e.what());
  }
}

// R, G, B of a region of the raster, rows top-down.
std::vector<uint8_t> RgbOf(const cAlphaDibSection& raster, int32_t left, int32_t top, int32_t width, int32_t height) {
  std::vector<uint8_t> rgb;
  rgb.reserve(size_t{3} * width * height);
  for (int32_t y = top; y < top + height; ++y) {
    const uint8_t* row = raster.PictureRow(y);
    for (int32_t x = left; x < left + width; ++x) rgb.insert(rgb.end(), {row[4 * x + 2], row[4 * x + 1], row[4 * x]});
  }
  return rgb;
}

val PictureResult(const cAlphaDibSection& raster) {
  const std::vector<uint8_t> png = EncodePng(raster);
  if (png.empty()) return Refused("The picture cannot be encoded as PNG");
  val result = Outcome(true);
  result.set("png", Bytes(png));
  result.set("width", raster.Width());
  result.set("height", raster.Height());
  return result;
}

// ---- SRF and PNG conversions, info ----

// The SRF or animated SRF file's picture as a PNG, as "SRF to PNG" makes it.
val SrfToPng(const std::string& path, bool animated) {
  return Guarded("read " + path, [&] {
    Progress quiet;
    const std::string bmp = ScratchFile("picture.bmp");
    if (Result<Done> done = velkor::SrfToPng(path, bmp, animated, quiet); !done) return Refused(done.failure());
    const std::optional<std::vector<uint8_t>> png = platform::ReadWholeFile(PngNameFor(bmp));
    const std::optional<PngHeader> header = png ? ParsePngHeader(png->data(), png->size()) : std::nullopt;
    if (!header) return Refused("The PNG of " + path + " cannot be read back");
    val result = Outcome(true);
    result.set("png", Bytes(*png));
    result.set("width", header->width);
    result.set("height", header->height);
    return result;
  });
}

// A PNG of an SRF picture as that SRF, as "PNG to SRF" makes it.
val PngToSrf(const std::string& path, bool animated) {
  return Guarded("read " + path, [&] {
    Progress quiet;
    const std::string srf = ScratchFile("picture.srf");
    const Result<const SrfVersion*> version = velkor::PngToSrf(path, srf, animated, quiet);
    if (!version) return Refused(version.failure());
    const std::optional<val> bytes = FileBytes(srf);
    if (!bytes) return Refused("The SRF of " + path + " cannot be read back");
    val result = Outcome(true);
    result.set("version", (*version)->text);
    result.set("srf", *bytes);
    return result;
  });
}

val DescribeSrf(const std::string& path) {
  return Guarded("describe " + path, [&] {
    const SRFFileInfo info = DescribeSRFFile(path);
    val facts = val::array();
    for (const auto& [key, value] : info.facts) {
      val fact = val::array();
      fact.call<void>("push", key);
      fact.call<void>("push", value);
      facts.call<void>("push", fact);
    }
    val result = Outcome(true);
    result.set("readable", info.readable);
    result.set("verdict", info.verdict);
    result.set("facts", facts);
    return result;
  });
}

// Why the SRF file must not go to a device (as the desktop's Send to Device
// checks it: complete, every record readable, the checksum right); "" when
// it may.
val SendProblem(const std::string& path) {
  return Guarded("read " + path, [&] {
    const std::string problem = SRFFileProblem(path);
    return problem.empty() ? Outcome(true) : Refused(problem + "; nothing was sent.");
  });
}

// The file's turning icon as the desktop's "Save as Animated GIF" makes it.
val Gif(const std::string& path) {
  return Guarded("read " + path, [&] {
    Progress quiet;
    const std::string gif = ScratchFile("icon.gif");
    if (Result<Done> done = WriteGif(path, gif, quiet); !done) return Refused(done.failure());
    const std::optional<val> bytes = FileBytes(gif);
    if (!bytes) return Refused("The GIF of " + path + " cannot be read back");
    val result = Outcome(true);
    result.set("gif", *bytes);
    return result;
  });
}

// ---- The SRF viewer ----

// JOBS: the SRF viewer's drawing (frmMain::ShowSRFInViewer and
// DrawViewerFrame) until one engine function serves the window and the page:
// the device screen, made and read back through the image codec as the
// desktop's Garmin760.bmp is, and a static SRF's 36 headings, each blended
// into the icon cell over the screen's patch. The page shows what the
// window's preview pane shows of the viewer's canvas at its real size: its
// top-left 693 x 403.
constexpr int32_t kPaneWidth = 693, kPaneHeight = 403;
constexpr int32_t kCellLeft = sample::kIconCellX, kCellTop = sample::kIconCellY, kCellSize = sample::kIconCellSize;

std::string DeviceScreenFile() {
  static const std::string file = [] {
    const std::string path = "/assets/Garmin760.bmp";
    ::mkdir("/assets", 0755);
    MakeDeviceScreen(path);  // a file that is not there is named when it is read
    return path;
  }();
  return file;
}

val Viewer(const std::string& path) {
  const auto refuse = [&path](const std::string& why) {
    return Refused("The SRF file " + path + " cannot be shown: " + why);
  };
  return Guarded("show " + path, [&] {
    cAlphaDibSection icon;
    try {
      CreateFromGarminSRF(icon, path);
    } catch (const std::exception& e) {
      return refuse(e.what());
    }
    if (icon.Width() != kFramesPerSet * kCellSize || icon.Height() < kCellSize) {
      return refuse("its rotation picture is " + std::to_string(icon.Width()) +
                    " pixels wide, the viewer turns static SRF icons of " + std::to_string(kFramesPerSet) +
                    " headings of " + std::to_string(kCellSize) + " x " + std::to_string(kCellSize) + " pixels (" +
                    std::to_string(kFramesPerSet * kCellSize) +
                    " pixels wide). Animated SRF files cannot be shown in the viewer.");
    }
    cDib background;
    if (background.CreateFromBitmapFile(DeviceScreenFile()) == 0) {
      return refuse("the device screen picture " + DeviceScreenFile() + " cannot be read as a BMP file.");
    }
    cAlphaDibSection canvas, patch;
    if (!canvas.Create(kPaneWidth, kPaneHeight) || !patch.Create(kCellSize, kCellSize)) {
      return refuse("there is not enough memory for its canvas.");
    }
    // Where the cell runs past the screen the canvas is white, and so is the patch.
    FillRectangle(canvas.hDC(), 0, 0, kPaneWidth, kPaneHeight, 0xFFFFFF);
    FillRectangle(patch.hDC(), 0, 0, kCellSize, kCellSize, 0xFFFFFF);
    patch.LoadPictureBlt(background.hDIBDC(), kCellLeft, kCellTop, kCellSize, kCellSize);
    canvas.LoadPictureBlt(background.hDIBDC(), 0, 0, kPaneWidth, kPaneHeight);
    val result = Outcome(true);
    result.set("screen", Bytes(RgbOf(canvas, 0, 0, kPaneWidth, kPaneHeight)));
    std::vector<uint8_t> cells;
    for (int i = 0; i < kFramesPerSet; ++i) {
      patch.PaintPicture(canvas.hDC(), kCellLeft, kCellTop, kCellSize, kCellSize, 0, 0, gdi::SRCCOPY);
      icon.AlphaPaintPicture(canvas.hDC(), kCellLeft, kCellTop, kCellSize, kCellSize, i * kCellSize, 0, 255);
      const std::vector<uint8_t> cell = RgbOf(canvas, kCellLeft, kCellTop, kCellSize, kCellSize);
      cells.insert(cells.end(), cell.begin(), cell.end());
    }
    result.set("width", kPaneWidth);
    result.set("height", kPaneHeight);
    result.set("cells", Bytes(cells));
    result.set("cellLeft", kCellLeft);
    result.set("cellTop", kCellTop);
    result.set("cellSize", kCellSize);
    return result;
  });
}

// ---- Frame folders ----

// How many of the 36 frames named by prefix and scheme are in `folder`, and
// the names of those that are not.
val CountFrames(const std::string& folder, const std::string& prefix, const std::string& scheme) {
  const NumberingScheme numbering = SchemeFromText(scheme);
  val missing = val::array();
  int found = 0;
  for (int i = 0; i < kFramesPerSet; ++i) {
    const std::string name = platform::ResolveNameCase(FrameFileName(folder, prefix, numbering, i));
    if (platform::FileExists(name)) {
      ++found;
    } else {
      missing.call<void>("push", name);
    }
  }
  val result = Outcome(true);
  result.set("first", platform::ResolveNameCase(FrameFileName(folder, prefix, numbering, 0)));
  result.set("found", found);
  result.set("missing", missing);
  return result;
}

std::string PrefixOf(const std::string& folder) { return GuessPrefix(folder); }

// A frame file as the import reads it, R, G, B rows top-down, for the page
// to show and to pick the key colour from.
val FrameImage(const std::string& path) {
  return Guarded("read " + path, [&] {
    LoadedFrame frame = LoadFrame(path);
    if (!frame.exists || !frame.readable) return Refused("Cannot read " + path + " as a BMP file");
    cAlphaDibSection picture;
    if (!picture.Create(frame.dib->Width(), frame.dib->Height())) return Refused("The frame is too large to show");
    gdi::BitBlt(picture.hDC(), 0, 0, picture.Width(), picture.Height(), frame.dib->hDIBDC(), 0, 0, gdi::SRCCOPY);
    val result = Outcome(true);
    result.set("width", picture.Width());
    result.set("height", picture.Height());
    result.set("rgb", Bytes(RgbOf(picture, 0, 0, picture.Width(), picture.Height())));
    return result;
  });
}

// ---- 3D models ----

val AxesResult(const render::ModelAxes& axes) {
  val result = Outcome(true);
  result.set("up", render::AxisName(axes.up));
  result.set("front", render::AxisName(axes.front));
  result.set("axes", render::DescribeAxes(axes));
  return result;
}

// The model the page decoded last (the engine validates the scene bytes the
// page's three.js flattening made, as it does the loader helper's).
render::Scene& CurrentScene() {
  static render::Scene scene;
  return scene;
}

val LoadScene(const val& bytes) {
  return Guarded("read the model", [&] {
    // Copied into the module's memory in one go (the scene can be large).
    std::vector<uint8_t> data(bytes["length"].as<size_t>());
    val(emscripten::typed_memory_view(data.size(), data.data())).call<void>("set", bytes);
    std::string error;
    if (!render::DecodeScene(data.data(), data.size(), CurrentScene(), error)) {
      CurrentScene() = {};
      return Refused(error);
    }
    val result = AxesResult(render::ChooseAxes(CurrentScene(), std::nullopt, std::nullopt));
    result.set("triangles", static_cast<double>(CurrentScene().triangles.size()));
    return result;
  });
}

// The axes after one of the render dialog's changes: "up" or "front" chosen
// in its box (the other follows when they would no longer be
// perpendicular), "turn" ("Turn front 90°") or "flip" ("Flip up", the front
// guessed for the new up).
val Axes(const std::string& change, const std::string& upText, const std::string& frontText) {
  const std::optional<render::Axis> up = render::ParseAxis(upText), front = render::ParseAxis(frontText);
  if (!up || !front) return Refused("Unknown axis: " + upText + " / " + frontText);
  const render::Scene& scene = CurrentScene();
  render::ModelAxes axes{*up, *front};
  const bool perpendicular = render::Perpendicular(*up, *front);
  if (change == "up" && !perpendicular) {
    axes.front = render::ChooseAxes(scene, *up, std::nullopt).front;
  } else if (change == "front" && !perpendicular) {
    axes.up = render::ChooseAxes(scene, std::nullopt, *front).up;
  } else if (!perpendicular) {
    return Refused("the up and front axes must be perpendicular");
  } else if (change == "turn") {
    axes.front = render::TurnedFront(*up, *front);
  } else if (change == "flip") {
    axes.up = render::NextUp(*up);
    axes.front = render::ChooseAxes(scene, axes.up, std::nullopt).front;
  }
  return AxesResult(axes);
}

// A render's options from the page's: the model's name, up, front,
// elevation, fill, keyRgb, animated, version, and the folder the frames go
// to. Checked by the one validation the window and velkor-cli use.
render::RenderOptions RenderOptionsFrom(const val& o, std::string& problem) {
  render::RenderOptions options;
  options.model = o["model"].as<std::string>();
  options.outDir = o["folder"].as<std::string>();
  options.up = render::ParseAxis(o["up"].as<std::string>());
  options.front = render::ParseAxis(o["front"].as<std::string>());
  options.elevation = o["elevation"].as<double>();
  options.fill = o["fill"].as<double>();
  options.keyRgb = o["keyRgb"].as<uint32_t>();
  options.animated = o["animated"].as<bool>();
  // The version is parsed here, at the edge: the options hold the table's entry.
  const std::string version = o["version"].as<std::string>();
  options.version = &StaticSrfVersion(version);
  problem = !options.up || !options.front                           ? "Unknown axis"
            : !options.animated && !IsStaticSrfVersionText(version) ? "not an SRF version: " + version
                                                                    : render::RenderOptionsProblem(options);
  return options;
}

// A texture's file decoded by the image codec: R, G, B, A rows top-down, as
// the scene holds textures.
val DecodeTexture(const std::string& path) {
  return Guarded("decode a texture", [&] {
    // Bounded by its header before it is decoded, as every picture read is.
    platform::InputFile file(path);
    std::string problem = file.Problem();
    const std::optional<DeclaredSize> size = file.IsOpen() ? DeclaredPictureSize(file, path, problem) : std::nullopt;
    if (!size) return Refused("a texture cannot be decoded: " + problem);
    if (size->width * size->height > render::kMaxTexturePixels) {
      return Refused("a texture of " + std::to_string(size->width) + "x" + std::to_string(size->height) +
                     " pixels is larger than the limit of " + std::to_string(render::kMaxTexturePixels) + " pixels");
    }
    std::vector<uint8_t> bgra;
    int32_t width = 0, height = 0;
    const auto target = [&](int32_t w, int32_t h) -> uint8_t* {
      width = w;
      height = h;
      bgra.resize(size_t{4} * static_cast<uint32_t>(w) * static_cast<uint32_t>(h));
      return bgra.data();
    };
    if (platform::DecodePicture(path, file.Stream(), target) != platform::PictureDecode::Decoded) {
      return Refused("a texture cannot be decoded");
    }
    std::vector<uint8_t> rgba(bgra.size());
    const size_t row = size_t{4} * static_cast<uint32_t>(width);
    for (int32_t y = 0; y < height; ++y) {
      const uint8_t* in = &bgra[(height - 1 - y) * row];
      uint8_t* out = &rgba[y * row];
      for (size_t x = 0; x < row; x += 4) {
        out[x] = in[x + 2];
        out[x + 1] = in[x + 1];
        out[x + 2] = in[x];
        out[x + 3] = in[x + 3];
      }
    }
    val result = Outcome(true);
    result.set("width", width);
    result.set("height", height);
    result.set("rgba", Bytes(rgba));
    return result;
  });
}

// The render dialog's preview frames of the current model (R, G, B rows
// top-down, kPreviewSize pixels square) with their captions.
val Preview(const val& page) {
  return Guarded("render the model", [&] {
    std::string error;
    const render::RenderOptions o = RenderOptionsFrom(page, error);
    render::PreviewImages images;
    if (!error.empty() || !render::RenderPreview(CurrentScene(), {*o.up, *o.front, o.elevation, o.fill},
                                                 render::kPreviewSize, o.keyRgb, images, error)) {
      return Refused("Cannot render the model: " + error);
    }
    val frames = val::array();
    for (size_t i = 0; i < images.size(); ++i) {
      val frame = val::object();
      frame.set("caption", std::string(render::kPreviewFrames[i].caption));
      frame.set("size", images[i].size);
      frame.set("rgb", Bytes(images[i].rgb));
      frames.call<void>("push", frame);
    }
    val result = Outcome(true);
    result.set("frames", frames);
    return result;
  });
}

// The current model's frame sets, kept for the Do All that follows (as
// velkor-cli's do-all --model renders into memory and imports from there).
FramesInMemory& RenderedFrames() {
  static FramesInMemory frames;
  return frames;
}

val RenderFrames(const val& page, const val& report) {
  return Guarded("render the model", [&] {
    RenderedFrames().clear();
    std::string problem;
    const render::RenderOptions o = RenderOptionsFrom(page, problem);
    if (!problem.empty()) return Refused("Cannot render the model: " + problem);
    PageProgress progress(report);
    Result<velkor::RenderedFrames> rendered = velkor::RenderFrames(CurrentScene(), o, progress);
    if (!rendered) return Refused(rendered.failure());
    RenderedFrames() = std::move(rendered->frames);
    return Outcome(true);
  });
}

// ---- Do All ----

// The page's options as the Do All job takes them: the frame sets' folders
// and prefixes (or the frames just rendered, with `rendered`), numbering,
// mode and version, key colour (0x00BBGGRR), keying rule and tolerance, step
// sampling.
DoAllSettings SettingsFrom(const val& o) {
  DoAllSettings s;
  s.import.animated = o["animated"].as<bool>();
  s.import.version = s.import.animated ? &AnimatedSrfVersion() : &StaticSrfVersion(o["version"].as<std::string>());
  s.import.numbering = SchemeFromText(o["numbers"].as<std::string>());
  s.import.keyColour = o["keyColor"].as<uint32_t>();
  for (size_t i = 0; i < s.import.sets.size(); ++i) {
    s.import.sets[i] = {o["folders"][i].as<std::string>(), o["prefixes"][i].as<std::string>()};
  }
  if (o["rendered"].as<bool>()) s.import.frames = &RenderedFrames();
  const std::string rule = o["keying"].as<std::string>();
  s.finish.keying = {s.import.keyColour, o["tolerance"].as<int>(),
                     rule == "graded"   ? KeyingRule::Graded
                     : rule == "binary" ? KeyingRule::Binary
                                        : KeyingRule::CleanEdges};
  s.finish.stepSample = o["stepSample"].as<bool>();
  s.finish.steps = o["steps"].as<int>();
  return s;
}

// "Do All": the icon and its SRF file's bytes.
val DoAll(const val& options, const val& report) {
  return Guarded("build the icon", [&] {
    const DoAllSettings s = SettingsFrom(options);
    PageProgress progress(report);
    Result<DoAllOutcome> done = velkor::DoAll(s, progress);
    RenderedFrames().clear();  // taken by the import
    if (!done) return Refused(done.failure());
    if (Result<Done> shown = CheckSrfHasVehicle(*done->icon, *s.import.version, progress); !shown) {
      return Refused(shown.failure().message + "\nDo All stopped: no SRF file was written.");
    }
    const Result<std::vector<uint8_t>> srf = EncodeSrf(*done->icon, *s.import.version, progress);
    if (!srf) return Refused(srf.failure());
    val result = PictureResult(*done->icon);
    result.set("srf", Bytes(*srf));
    return result;
  });
}

}  // namespace

EMSCRIPTEN_BINDINGS(velkor) {
  // The in-memory file system starts with a umask of 0777, which would leave
  // every file the engine writes without permissions; a desktop's is 022.
  ::umask(022);
  emscripten::function("srfToPng", &SrfToPng);
  emscripten::function("pngToSrf", &PngToSrf);
  emscripten::function("describeSrf", &DescribeSrf);
  emscripten::function("viewer", &Viewer);
  emscripten::function("gif", &Gif);
  emscripten::function("sendProblem", &SendProblem);
  emscripten::function("countFrames", &CountFrames);
  emscripten::function("guessPrefix", &PrefixOf);
  emscripten::function("frameImage", &FrameImage);
  emscripten::function("loadScene", &LoadScene);
  emscripten::function("decodeTexture", &DecodeTexture);
  emscripten::function("axes", &Axes);
  emscripten::function("preview", &Preview);
  emscripten::function("renderFrames", &RenderFrames);
  emscripten::function("doAll", &DoAll);
}

}  // namespace velkor::web
