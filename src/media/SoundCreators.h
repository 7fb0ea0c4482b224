// The template creator of `WaveSound` objects, and the completion path of wave sounds.
#pragma once

namespace media {

// Installs the `WaveSound` creator in scene::TemplateFactory (replacing an earlier one) and
// hands MM_WOM_DONE of every window to WaveSound::onWaveDone. A `WaveSound` object reads `src`
// (the wave file, relative to the page's template folder): the page loads each file once and
// names the sound after the template key. Without `src` nothing is created.
void registerSoundCreators();

}  // namespace media
