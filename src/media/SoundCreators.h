// The template creator of `WaveSound` objects, and the completion path of wave sounds.
#pragma once

#include "scene/CreatorTable.h"

namespace media {

// Installs the `WaveSound` creator in `table` (replacing an earlier one). A `WaveSound` object
// reads `src` (the wave file, relative to the page's template folder): the page loads each file
// once and names the sound after the template key. Without `src` nothing is created. The
// sounds hear of their end through WaveSound::onWaveDone, which the runtime hands MM_WOM_DONE.
void registerSoundCreators(scene::CreatorTable& table);

}  // namespace media
