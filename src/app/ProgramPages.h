// The pages the program offers, as the application reaches them: every page is made with the
// run's runtime, so it finds the shared caches, creators and drivers through it.
#pragma once

#include "app/Application.h"
#include "media/Runtime.h"

namespace app {

// The root page is a pages::RootPage (named "gamePage") over which the menu templates load from
// the GUI folder; its 3D scenes use the software renderer, or OpenGL ES with
// SKIRROW_RENDERER=gles (the game page takes its driver from its command line instead). It gets
// the score text of a scoreboard start, the race score file and the relaunch. `runtime` must
// outlive the application.
PageHooks programPages(media::Runtime& runtime);

}  // namespace app
