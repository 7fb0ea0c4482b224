#include "media/Runtime.h"

#include "media/AwtCreators.h"
#include "media/Creators3D.h"
#include "media/SoundCreators.h"
#include "media/SpriteCreators.h"
#include "media/WaveSound.h"
#include "platform/MessagePump.h"

namespace media {

Runtime::Runtime() : pageModels_(pageModelOptions(textures_)) {
  registerSpriteCreators(creators_, spriteImages_);
  registerAwtCreators(creators_);
  register3DCreators(creators_, pageModels_, textures_);
  registerSoundCreators(creators_);
  platform::setWaveDoneHook(&WaveSound::onWaveDone);
}

Runtime::~Runtime() {
  // The page sounds are gone with the pages; a completion still queued finds no sound to end.
  platform::setWaveDoneHook(nullptr);
}

}  // namespace media
