#include "jobs/Render.h"

#include "render/ModelRender.h"

namespace velkor {

namespace {

render::RenderProgress Counted(Progress& progress) {
  return [&progress](int done, int total) { progress.Frames(done, total); };
}

}  // namespace

Result<RenderedFrames> RenderFrames(const render::RenderOptions& options, Progress& progress) {
  RenderedFrames rendered;
  std::string error;
  if (!render::RenderModelFrames(options, Counted(progress), rendered.axes, rendered.frames, error)) {
    return Failure{error};
  }
  return rendered;
}

Result<RenderedFrames> RenderFrames(const render::Scene& model, const render::RenderOptions& options,
                                    Progress& progress) {
  RenderedFrames rendered;
  rendered.axes = render::ChooseAxes(model, options.up, options.front);
  std::string error;
  if (!render::RenderFrameSets(model, model, render::PlanFrameSets(options),
                               render::SettingsFor(options, rendered.axes), Counted(progress), error,
                               &rendered.frames)) {
    return Failure{"cannot render model " + options.model + ": " + error};
  }
  return rendered;
}

Result<render::ModelAxes> RenderFramesToFolder(const render::RenderOptions& options, Progress& progress,
                                               const render::Scene* loaded) {
  render::ModelAxes axes;
  std::string error;
  if (loaded) {
    axes = render::ChooseAxes(*loaded, options.up, options.front);
    if (!render::RenderScene(*loaded, options, Counted(progress), error)) return Failure{error};
  } else if (!render::RenderModel(options, Counted(progress), axes, error)) {
    return Failure{error};
  }
  return axes;
}

}  // namespace velkor
