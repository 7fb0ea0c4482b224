// The root page of the application: the page that shows every menu screen is a Canvas named
// "gamePage", and templates are loaded into it from the GUI folder, replacing what it shows.
// The program's entry point hands these to the application.
#pragma once

#include <memory>
#include <string_view>

#include "scene/Canvas.h"

namespace scene {

constexpr const char* kRootPageName = "gamePage";
constexpr const char* kCoverTemplate = "cover.properties";

// A new, windowless root page (buffered) built with `creators` (borrowed); the application
// gives it its window.
std::unique_ptr<Canvas> createRootCanvas(const CreatorTable& creators);
// Loads `name` from the GUI folder into `page` (replace mode) when `page` is a Canvas, and
// activates it so that frames run. When the file cannot be loaded (the user is told) the page
// keeps what it shows; a page that shows nothing yet loads the cover instead, and when that
// fails as well the program's main window is closed, which ends the program. False when `page`
// is not a Canvas.
bool loadRootTemplate(platform::Window& page, std::string_view name);

}  // namespace scene
