// Private record of WindowManager, shared by its source files (windows and messages).
#pragma once

#include <string>
#include <vector>

#include "host/WindowManager.h"

namespace host {

struct WindowManager::WindowData {
  Hwnd handle = 0;
  std::string className;
  std::string title;
  std::uint32_t style = 0;
  std::uint32_t exStyle = 0;
  std::uint32_t id = 0;
  Hwnd parent = 0;
  Rect rect;  // parent client coordinates
  bool visible = false;
  bool minimized = false;
  bool enabled = true;
  WindowProc proc;
  std::intptr_t userData = 0;
  Rect invalid;  // client coordinates
  bool erase = false;
  bool destroying = false;
  std::vector<Hwnd> children;
};
}  // namespace host
