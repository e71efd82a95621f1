#include "render/FrameSets.h"

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <thread>

#include "pipeline/StripLayout.h"
#include "platform/Interruption.h"
#include "platform/ParallelFor.h"
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
  // Made whole or not at all before a Ctrl-C removes the folders above them
  // (folders made afterwards would bring those back).
  const platform::InterruptDeferral making;
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

// Frames are rendered on every core (ParallelFor takes them in order from one
// counter); each is computed the same whichever thread takes it, so the
// output does not depend on timing. Progress is told on the calling thread.
class Workers {
 public:
  Workers(const std::vector<Job>& jobs, const RenderSettings& s) : jobs_(jobs), settings_(s) {}

  bool Run(const RenderProgress& progress, std::string& error) {
    const int total = static_cast<int>(jobs_.size());
    const std::thread::id caller = std::this_thread::get_id();
    platform::ParallelFor(total, 1, [&](int64_t first, int64_t last) {
      std::unique_ptr<FrameRenderer> renderer = TakeRenderer();
      for (int64_t i = first; i < last && !failed_; ++i) Render(static_cast<size_t>(i), *renderer);
      GiveBack(std::move(renderer));
      const int done = done_;
      if (progress && std::this_thread::get_id() == caller && done < total) progress(done, total);
    });
    if (progress && !failed_) progress(total, total);
    if (failed_) error = error_;
    return !failed_;
  }

 private:
  void Render(size_t index, FrameRenderer& renderer) {
    const Job& job = jobs_[index];
    std::string error;
    FrameImage frame =
        renderer.Render(*job.scene, job.view, job.plan->cell, KeyBytes(settings_.keyRgb), job.plan->emissiveBoost);
    if (job.kept) {
      *job.kept = std::move(frame);
    } else {
      const platform::InterruptDeferral writing;  // no frame lands in a folder Ctrl-C is removing
      if (!WriteFrameBmp(frame, job.path, error)) Fail(index, error);
    }
    ++done_;
  }
  // The first frame in order that failed names the error, whatever the timing.
  void Fail(size_t index, const std::string& error) {
    const std::lock_guard lock(mutex_);
    if (index < failedIndex_) {
      failedIndex_ = index;
      error_ = error;
    }
    failed_ = true;
  }
  // One renderer per thread at a time, kept with its buffers for the next frame.
  std::unique_ptr<FrameRenderer> TakeRenderer() {
    const std::lock_guard lock(mutex_);
    if (idle_.empty()) return std::make_unique<FrameRenderer>();
    std::unique_ptr<FrameRenderer> renderer = std::move(idle_.back());
    idle_.pop_back();
    return renderer;
  }
  void GiveBack(std::unique_ptr<FrameRenderer> renderer) {
    const std::lock_guard lock(mutex_);
    idle_.push_back(std::move(renderer));
  }

  const std::vector<Job>& jobs_;
  const RenderSettings& settings_;
  std::atomic<int> done_{0};
  std::atomic<bool> failed_{false};
  std::mutex mutex_;
  size_t failedIndex_ = SIZE_MAX;
  std::string error_;
  std::vector<std::unique_ptr<FrameRenderer>> idle_;
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
