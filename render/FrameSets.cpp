#include "render/FrameSets.h"

#include <atomic>
#include <filesystem>
#include <mutex>
#include <thread>

#include "pipeline/StripLayout.h"
#include "render/BmpOutput.h"
#include "render/FrameRenderer.h"

namespace velkor::render {

namespace {

struct Job {
  const Scene* scene;
  const FrameSetPlan* plan;
  FrameView view;
  std::string path;
  FrameImage* kept;  // the frame is kept here rather than written to `path`
};

bool MakeFolders(const std::vector<FrameSetPlan>& plans, std::string& error) {
  for (const FrameSetPlan& plan : plans) {
    std::error_code ec;
    std::filesystem::create_directories(plan.folder, ec);
    if (ec || !std::filesystem::is_directory(plan.folder, ec)) {
      error = "cannot create folder " + plan.folder + (ec ? ": " + ec.message() : std::string());
      return false;
    }
  }
  return true;
}

// Both threads take frames in turn from one counter; each frame is computed
// the same whichever thread takes it, so the output does not depend on timing.
class Workers {
 public:
  Workers(const std::vector<Job>& jobs, const RenderSettings& s) : jobs_(jobs), settings_(s) {}

  bool Run(const RenderProgress& progress, std::string& error) {
    std::thread helper([this] { Loop(nullptr); });
    Loop(&progress);
    helper.join();
    if (progress && error_.empty()) progress(static_cast<int>(jobs_.size()), static_cast<int>(jobs_.size()));
    if (!error_.empty()) error = error_;
    return error_.empty();
  }

 private:
  void Loop(const RenderProgress* progress) {
    FrameRenderer renderer;
    const std::array<uint8_t, 3> key = KeyBytes(settings_.keyRgb);
    for (size_t i = next_++; i < jobs_.size() && !failed_; i = next_++) {
      const Job& job = jobs_[i];
      std::string error;
      FrameImage frame = renderer.Render(*job.scene, job.view, job.plan->cell, key, job.plan->emissiveBoost);
      if (job.kept) {
        *job.kept = std::move(frame);
      } else if (!WriteFrameBmp(frame, job.path, error)) {
        Fail(error);
      }
      const int done = ++done_;
      if (progress && *progress && done < static_cast<int>(jobs_.size())) (*progress)(done, static_cast<int>(jobs_.size()));
    }
  }
  void Fail(const std::string& error) {
    std::lock_guard lock(mutex_);
    if (error_.empty()) error_ = error;
    failed_ = true;
  }

  const std::vector<Job>& jobs_;
  const RenderSettings& settings_;
  std::atomic<size_t> next_{0};
  std::atomic<int> done_{0};
  std::atomic<bool> failed_{false};
  std::mutex mutex_;
  std::string error_;
};

}  // namespace

bool RenderFrameSets(const Scene& rotation, const Scene& animation, const std::vector<FrameSetPlan>& plans,
                     const RenderSettings& settings, const RenderProgress& progress, std::string& error,
                     std::vector<FrameImage>* frames) {
  ModelFrame rotationFrame, animationFrame;
  if (!MakeModelFrame(rotation, settings.rig, rotationFrame, error) ||
      !MakeModelFrame(animation, settings.rig, animationFrame, error) || (!frames && !MakeFolders(plans, error))) {
    return false;
  }
  if (frames) frames->assign(plans.size() * kFramesPerSet, FrameImage{});
  std::vector<Job> jobs;
  for (const FrameSetPlan& plan : plans) {
    const Scene& scene = plan.animationScene ? animation : rotation;
    const ModelFrame& model = plan.animationScene ? animationFrame : rotationFrame;
    for (int k = 0; k < kFramesPerSet; ++k) {
      jobs.push_back({&scene, &plan, ViewForFrame(model, settings.rig, plan.view, plan.cell, k),
                      FrameFileName(plan.folder, settings.prefix, settings.numbering, k),
                      frames ? &(*frames)[jobs.size()] : nullptr});
    }
  }
  return Workers(jobs, settings).Run(progress, error);
}

}  // namespace velkor::render
