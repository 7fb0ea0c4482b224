// Template creators of the native-control layer: `SceneAWT` and `AWTComponent` objects of a
// page template.
#pragma once

namespace media {

// Installs the two creators in scene::TemplateFactory, replacing earlier ones.
void registerAwtCreators();

}  // namespace media
