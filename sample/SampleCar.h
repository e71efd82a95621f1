#pragma once
// The bundled sample vehicle: a low-poly car built in code, in glTF's axes
// (+Y up, front +Z, right −X), metres, wheels on y = 0. Headlights and tail
// lights are emissive, so the "lights on" animation set shows them lit; the
// cabin sits towards the rear and the lamps differ front to back, so every
// heading is readable.
#include "render/Scene.h"

namespace velkor::sample {

render::Scene BuildSampleCar();

}  // namespace velkor::sample
