// Runtime: what the pages of one run share, owned in one place.
//
// The program (`skirrow`, `skirrow-cl`), skirrow-tool, the benchmarks and the tests make one
// after the host has started and destroy it before the host ends; every page borrows it (a
// GuiCanvas is given it when it is made, see GuiCanvas::runtime()) and must be gone before it.
// Destroying it releases everything it holds, so a second runtime after the first (a relaunch
// in the same process, the next test) starts from nothing, and no release step is left to the
// caller.
//
// It owns each layer's shared part, so that each layer sees only its own:
//   - creators()      the template creator table (scene layer), filled with every object type
//                     this layer builds: sprites, bitmap fonts, native controls, 3D nodes and
//                     wave sounds; every page's templates are built through it;
//   - drivers()       the renderer driver table (engine3d layer), empty: whoever makes the
//                     runtime adds the drivers it offers (the program both, the tool the
//                     software renderer, tests a recording stand-in);
//   - spriteImages()  the pictures of sprites, sprite scenes and the input pad, each file once;
//   - pageModels()    the models of page templates, each file once (pages get clones);
//   - textures()      the 3D textures models and chips share.
// While it lives, wave-out completions (MM_WOM_DONE) reach the page sounds.
#pragma once

#include "engine3d/ModelCache.h"
#include "engine3d/RendererDrivers.h"
#include "media/ImageCache.h"
#include "media/ImageTexture.h"
#include "scene/CreatorTable.h"

namespace media {

class Runtime {
 public:
  Runtime();
  ~Runtime();
  Runtime(const Runtime&) = delete;
  Runtime& operator=(const Runtime&) = delete;

  scene::CreatorTable& creators() { return creators_; }
  engine3d::RendererDrivers& drivers() { return drivers_; }
  const engine3d::RendererDrivers& drivers() const { return drivers_; }
  ImageCache& spriteImages() { return spriteImages_; }
  engine3d::ModelCache& pageModels() { return pageModels_; }
  TextureStore& textures() { return textures_; }

 private:
  // Members end in reverse order: the models (which hold textures) first, then the pictures,
  // the textures, and the tables whose creators refer to all of them last.
  scene::CreatorTable creators_;
  engine3d::RendererDrivers drivers_;
  TextureStore textures_;
  ImageCache spriteImages_;
  engine3d::ModelCache pageModels_;
};

}  // namespace media
